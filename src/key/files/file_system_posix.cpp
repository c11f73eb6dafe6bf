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

// The German text of an operating-system error. `writing`: the error came from creating a
// file, so a missing entry is a missing folder.
std::string FileErrorText(int error, bool writing = false) {
    namespace t = texts::files;
    switch (error) {
    case ENOENT:
        return std::string(writing ? t::kPathNotFound : t::kFileNotFound);
    case ENOTDIR:
        return std::string(t::kPathNotFound);
    case EACCES:
    case EPERM:
    case EROFS:
        return std::string(t::kAccessDenied);
    case EISDIR:
    case ENXIO:
    case ENODEV:
    case ESPIPE:
        return std::string(t::kNotAFile);
    case ENOSPC:
    case EDQUOT:
        return std::string(t::kDiskFull);
    case ENAMETOOLONG:
        return std::string(t::kNameTooLong);
    case ELOOP:
        return std::string(t::kLinkLoop);
    case EMFILE:
    case ENFILE:
        return std::string(t::kTooManyOpenFiles);
    case EBUSY:
    case ETXTBSY:
        return std::string(t::kInUse);
    case EIO:
        return std::string(t::kDeviceError);
    case EFBIG:
    case EOVERFLOW:
        return std::string(t::kFileTooBig);
    case EEXIST:
        return std::string(t::kAlreadyExists);
    case EXDEV:
        return std::string(t::kOtherVolume);
    case ENOMEM:
        return std::string(t::kOutOfMemory);
    case EAGAIN:
        return std::string(t::kTryAgain);
    case EMLINK:
        return std::string(t::kTooManyLinks);
    case ESTALE:
    case ETIMEDOUT:
    case ENETDOWN:
    case ENETUNREACH:
    case EHOSTUNREACH:
    case ECONNRESET:
    case ECONNREFUSED:
    case ENOLINK:
        return std::string(t::kNetwork);
    case EOPNOTSUPP:
        return std::string(t::kNotSupported);
    case EINVAL:
    case EILSEQ:
        return std::string(t::kInvalidName);
    default:
        return t::kIoError(error);
    }
}

[[noreturn]] void ThrowFileError(int error, bool writing = false) {
    throw FileError(FileErrorText(error, writing));
}

int Descriptor(std::intptr_t handle) {
    return static_cast<int>(handle);
}

void WriteAll(int fd, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError(errno, true);
        }
        done += static_cast<std::size_t>(n);
    }
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

// The file a save into `path` writes: symbolic links are followed to the file they name
// (which need not exist yet), so a link stays a link and its file gets the new content.
std::string FollowLinks(std::string path) {
    for (int depth = 0; depth < 40; ++depth) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno == ENOENT) {
                return path; // a new file, or the missing file a link points at
            }
            ThrowFileError(errno, true);
        }
        if (!S_ISLNK(st.st_mode)) {
            return path;
        }
        std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n < 0) {
            ThrowFileError(errno, true);
        }
        target.resize(static_cast<std::size_t>(n));
        path = !target.empty() && target[0] == '/' ? target : FolderOf(path) + "/" + target;
    }
    ThrowFileError(ELOOP, true);
}

// A short, recognisable name for the temporary file, so that a name near the length limit
// still works and a leftover is easy to tell.
std::string TemporaryName(const std::string& folder, unsigned attempt) {
    return folder + "/.~brisolt" + std::to_string(::getpid()) + "-" + std::to_string(attempt) +
           ".tmp";
}

// Gives the unnamed file `fd` (created with O_TMPFILE) the name `name`; fails with EEXIST
// when that name is taken.
bool LinkAs(int fd, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
        return true;
    }
    // Without /proc the descriptor itself can be linked (this needs more privileges).
    return errno == ENOENT && ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

// Gives a temporary name in `folder` to the unnamed file `fd`.
bool LinkTemporary(int fd, const std::string& folder, std::string& name) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder, attempt);
        if (LinkAs(fd, name)) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

int CreateNamedTemporary(const std::string& folder, std::string& name) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        name = TemporaryName(folder, attempt);
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

void SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

InputFile::InputFile(const std::string& path) {
    // Non-blocking, so that opening a FIFO does not wait for a writer; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        const int error = errno;
        struct stat st {};
        if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
            throw FileError(std::string(texts::files::kNotAFile)); // a socket, for one
        }
        ThrowFileError(error);
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

InputFile::~InputFile() {
    ::close(Descriptor(handle_));
}

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
    const std::string target = FollowLinks(path);
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0;
    if (existed) {
        // Only a regular file is ever replaced: never a folder, a device, a pipe or a socket.
        if (!S_ISREG(old.st_mode)) {
            throw FileError(std::string(texts::files::kNotAFile));
        }
        // A read-only file is refused as writing into it would be, even where the process
        // could replace it (the folder is writable, or it runs as root).
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0) {
            ThrowFileError(EACCES, true);
        }
    }
    const std::string folder = FolderOf(target);
    // An unnamed file in the folder first: a kill before the end leaves nothing behind.
    std::string temp;
    bool named = false;
    int fd = -1;
#ifdef O_TMPFILE
    fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
        ThrowFileError(errno, true);
    }
#endif
    if (fd < 0) {
        fd = CreateNamedTemporary(folder, temp);
        if (fd < 0) {
            ThrowFileError(errno, true);
        }
        named = true;
    }
    bool open = true;
    try {
        WriteAll(fd, bytes);
        mode_t mode = 0;
        if (existed) {
            // Keep the owner and group where the process may set them (a user may still
            // give the file a group of their own).
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
                (void)::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
            }
            mode = old.st_mode & 01777; // never setuid or setgid
        } else {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            mode = 0666 & ~mask;
        }
        // Best effort, as some file systems keep no permissions; the file was created
        // private (0600), so a failure never leaves it more open or with setuid.
        (void)::fchmod(fd, mode);
        if (::fsync(fd) != 0) {
            ThrowFileError(errno, true);
        }
        if (!named) {
            // A new file gets its name in one step: there is no moment with a temporary name.
            if (!existed && LinkAs(fd, target)) {
                open = false;
                if (::close(fd) != 0) {
                    ThrowFileError(errno, true);
                }
                SyncFolder(folder);
                return;
            }
            // An existing file can only be replaced by renaming a named one over it: the
            // temporary name exists from here to the rename, two system calls later.
            if (!LinkTemporary(fd, folder, temp)) {
                ThrowFileError(errno, true);
            }
            named = true;
        }
        if (::rename(temp.c_str(), target.c_str()) != 0) {
            ThrowFileError(errno, true);
        }
        named = false; // the name is the target's now
        open = false;
        if (::close(fd) != 0) {
            ThrowFileError(errno, true);
        }
    } catch (...) {
        if (open) {
            ::close(fd);
        }
        if (named) {
            ::unlink(temp.c_str());
        }
        throw;
    }
    SyncFolder(folder);
}

std::string OutputErrorText(int error) {
    return FileErrorText(error, true);
}

std::string BundledDataFolder() {
    return {};
}

std::string SystemDateText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&now, &local) != nullptr) {
        std::strftime(text, sizeof text, "%d.%m.%Y", &local);
    }
    return text;
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
    const char separator = point != nullptr && point[0] > 0 && point[1] == '\0' ? point[0] : '.';
    ::freelocale(user);
    return separator;
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}

void WriteStandardStreamsAsBytes() {}

} // namespace brisolt
