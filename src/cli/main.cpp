#include <cerrno>
#include <cstdio>
#include <iostream>
#include <streambuf>

#include "cli/cli.h"
#include "key/core/texts.h"
#include "key/files/file_system.h"

namespace {

// The standard output, buffered, remembering the first failed write (a full disk, a closed
// pipe, /dev/full), so that lost output ends the program with an error instead of success.
class CheckedOutput : public std::streambuf {
public:
    explicit CheckedOutput(std::FILE* file) : file_(file) {
        setp(buffer_, buffer_ + sizeof buffer_);
    }

    // Writes what is left and closes the file; the error number of the first failure, or 0.
    int Close() {
        Flush();
        if (std::fclose(file_) != 0 && error_ == 0) {
            error_ = errno != 0 ? errno : EIO;
        }
        return error_;
    }

protected:
    int_type overflow(int_type c) override {
        if (!Flush()) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return Flush() ? 0 : -1; }

private:
    bool Flush() {
        const std::size_t size = static_cast<std::size_t>(pptr() - pbase());
        setp(buffer_, buffer_ + sizeof buffer_);
        if (error_ != 0) {
            return false; // nothing more is written once something was lost
        }
        errno = 0;
        if ((size > 0 && std::fwrite(buffer_, 1, size, file_) != size) || std::fflush(file_) != 0) {
            error_ = errno != 0 ? errno : EIO;
            return false;
        }
        return true;
    }

    std::FILE* file_;
    int error_ = 0;
    char buffer_[1 << 16];
};

} // namespace

int main(int argc, char** argv) {
    brisolt::WriteStandardStreamsAsBytes();
    std::ios::sync_with_stdio(false);
    const std::vector<std::string> args = brisolt::CommandLineArguments(argc, argv);
    CheckedOutput output(stdout);
    std::ostream out(&output);
    int status = brisolt::cli::Run(args, out, std::cerr);
    out.flush();
    if (const int error = output.Close(); error != 0) {
        std::cerr << "brisolt-cli: " << brisolt::texts::files::kOutputLost << ": "
                  << brisolt::OutputErrorText(error) << ".\n";
        status = 1;
    }
    return status;
}
