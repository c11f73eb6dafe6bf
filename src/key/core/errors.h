#pragma once
// The two kinds of error the key raises. Both carry a German message meant for the user.

#include <stdexcept>
#include <string>

namespace brisolt {

// A text that is not a valid whole or decimal number.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A file that cannot be created, opened, read or written.
class FileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace brisolt
