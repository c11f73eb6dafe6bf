#include "key/files/file_system.h"

#include <cerrno>
#include <ctime>
#include <fcntl.h>
#include <langinfo.h>
#include <locale.h>
#include <sys/stat.h>
#include <unistd.h>

#include "key/core/errors.h"
#include "key/core/texts.h"

namespace brisolt {

namespace {

std::string FileErrorText(int error) {
    switch (error) {
    case ENOENT:
        return std::string(texts::files::kFileNotFound);
    case ENOTDIR:
        return std::string(texts::files::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
        return std::string(texts::files::kAccessDenied);
    case EISDIR:
        return std::string(texts::files::kNotAFile);
    case ENOSPC:
    case EDQUOT:
        return std::string(texts::files::kDiskFull);
    default:
        return texts::files::kIoError(error);
    }
}

[[noreturn]] void ThrowFileError(int error) { throw FileError(FileErrorText(error)); }

int Descriptor(std::intptr_t handle) { return static_cast<int>(handle); }

void WriteAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError(errno);
        }
        done += static_cast<std::size_t>(n);
    }
}

} // namespace

InputFile::InputFile(const std::string& path) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        ThrowFileError(errno);
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        ThrowFileError(error);
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        throw FileError(std::string(texts::files::kNotAFile));
    }
    handle_ = fd;
}

InputFile::~InputFile() { ::close(Descriptor(handle_)); }

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(Descriptor(handle_), buffer, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            ThrowFileError(errno);
        }
    }
}

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    struct stat old {};
    const bool existed = ::stat(path.c_str(), &old) == 0;
    if (existed && S_ISDIR(old.st_mode)) {
        ThrowFileError(EISDIR);
    }
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        ThrowFileError(errno);
    }
    bool open = true;
    try {
        WriteAll(fd, bytes);
        if (existed) {
            ::fchmod(fd, old.st_mode & 07777);
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            ::fchmod(fd, 0666 & ~mask);
        }
        if (::fsync(fd) != 0) {
            ThrowFileError(errno);
        }
        open = false;
        if (::close(fd) != 0) {
            ThrowFileError(errno);
        }
    } catch (...) {
        if (open) {
            ::close(fd);
        }
        ::unlink(temp.c_str());
        throw;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        ThrowFileError(error);
    }
}

int SystemCalendarYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    return local.tm_year + 1900;
}

char SystemDecimalSeparator() {
    const locale_t user = ::newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
    if (user == static_cast<locale_t>(nullptr)) {
        return '.';
    }
    const char* point = ::nl_langinfo_l(RADIXCHAR, user);
    const char separator =
        point != nullptr && point[0] > 0 && point[1] == '\0' ? point[0] : '.';
    ::freelocale(user);
    return separator;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteStandardStreamsAsBytes() {}

} // namespace brisolt
