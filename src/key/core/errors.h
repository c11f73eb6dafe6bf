#pragma once
// The two kinds of error the key raises. Both carry a German message meant for the user.

#include <exception>
#include <stdexcept>
#include <string>

namespace brisolt {

// What both kinds share: the message as a whole, whatever bytes it holds (what() gives it
// as a C string, which would end at a NUL).
class KeyError : public std::runtime_error {
public:
    explicit KeyError(const std::string& message)
        : std::runtime_error(message), message_(message) {}
    const std::string& Message() const noexcept { return message_; }

private:
    std::string message_;
};

// A text that is not a valid whole or decimal number.
class ConversionError : public KeyError {
public:
    using KeyError::KeyError;
};

// A file that cannot be created, opened, read or written.
class FileError : public KeyError {
public:
    using KeyError::KeyError;
};

// The whole message of any error, for showing it.
inline std::string MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const KeyError*>(&error)) {
        return own->Message();
    }
    return error.what();
}

} // namespace brisolt
