#pragma once
// The few file operations the key needs from the operating system, behind one interface:
// reading a regular file piece by piece, and replacing a file atomically. One
// implementation per platform (file_system_posix.cpp, file_system_windows.cpp); nothing
// else in the key or the reports calls the operating system. Paths are UTF-8. Every
// failure throws FileError with a German message.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brisolt {

// A UTF-8 name as a path and back. Windows' narrow paths are in the ANSI code page, so there
// the conversion goes through UTF-8 explicitly.
inline std::filesystem::path PathFromUtf8(const std::string& utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}
inline std::string Utf8FromPath(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
}

// A regular file opened for reading. Folders, devices, pipes and sockets are refused
// without blocking.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to `size` bytes; 0 at the end of the file.
    std::size_t Read(char* buffer, std::size_t size);

private:
    std::intptr_t handle_;
};

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk and then puts it
// in the place of `path` in one step, so `path` holds either its old or its new content,
// never a mixture. A symbolic link is followed: the file it names gets the new content and
// the link stays. A read-only file and anything but a regular file (folder, device, pipe,
// socket) are refused. A file that is replaced keeps its permissions (without setuid and
// setgid) and, where the process may set them, its owner and group; a new one gets the
// defaults of the process. Another hard link to the old file keeps the old content. The
// temporary file has no name until it is complete where the platform allows it (so a
// killed save leaves nothing behind), otherwise a short hidden one ("~brisolt…tmp"); on a
// failure it is removed.
void ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// The German text of a C library error number (errno), for failures outside this layer
// such as writing the standard output.
std::string OutputErrorText(int error);

// The other two things the key takes from the system: the calendar year of the local date,
// and the decimal separator of the user's regional settings ('.' when that is not a single
// ASCII character). The Qt program takes the separator from QLocale instead.
int SystemCalendarYear();
// Today's local date as the reports print it: "09.12.2026".
std::string SystemDateText();
char SystemDecimalSeparator();

// Where a program finds the data it brings along (GDAL's and PROJ's), read by no other program:
// on Windows the folder "share" beside the executable (or one folder up, for the tests of a
// build); empty on Linux, where the system's packages hold that data.
std::string BundledDataFolder();

// For a command-line program: its arguments (without the program name) as UTF-8, on Windows
// taken from the wide command line since `argv` is in the ANSI code page there; and standard
// output and error set to write bytes as they are (no CR LF translation on Windows).
std::vector<std::string> CommandLineArguments(int argc, char** argv);
void WriteStandardStreamsAsBytes();

} // namespace brisolt
