// Windows implementation of the file layer: wide-character paths converted from UTF-8,
// binary reads and writes (no text-mode translation of CR LF), and an atomic replace with
// MoveFileExW, since rename() there refuses to replace an existing file.

#include "key/files/file_system.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <limits>

#include "key/core/errors.h"
#include "key/core/texts.h"

namespace brisolt {

namespace {

std::string FileErrorText(DWORD error) {
    namespace t = texts::files;
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
        return std::string(t::kFileNotFound);
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
        return std::string(t::kPathNotFound);
    case ERROR_ACCESS_DENIED:
    case ERROR_WRITE_PROTECT:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return std::string(t::kAccessDenied);
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        return std::string(t::kDiskFull);
    case ERROR_FILENAME_EXCED_RANGE:
    case ERROR_BUFFER_OVERFLOW:
        return std::string(t::kNameTooLong);
    case ERROR_CANT_RESOLVE_FILENAME:
        return std::string(t::kLinkLoop);
    case ERROR_TOO_MANY_OPEN_FILES:
        return std::string(t::kTooManyOpenFiles);
    case ERROR_USER_MAPPED_FILE:
    case ERROR_BUSY:
        return std::string(t::kInUse);
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_GEN_FAILURE:
    case ERROR_NOT_READY:
    case ERROR_IO_DEVICE:
        return std::string(t::kDeviceError);
    case ERROR_FILE_TOO_LARGE:
        return std::string(t::kFileTooBig);
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return std::string(t::kAlreadyExists);
    case ERROR_NOT_SAME_DEVICE:
        return std::string(t::kOtherVolume);
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return std::string(t::kOutOfMemory);
    case ERROR_BAD_NET_NAME:
    case ERROR_NETNAME_DELETED:
    case ERROR_UNEXP_NET_ERR:
    case ERROR_NETWORK_UNREACHABLE:
    case ERROR_SEM_TIMEOUT:
        return std::string(t::kNetwork);
    case ERROR_NOT_SUPPORTED:
    case ERROR_INVALID_FUNCTION:
        return std::string(t::kNotSupported);
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY:
        return std::string(t::kInvalidName);
    default:
        return t::kIoError(static_cast<int>(error));
    }
}

[[noreturn]] void ThrowFileError(DWORD error) {
    throw FileError(FileErrorText(error));
}

std::wstring WidePath(const std::string& utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int wide = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (wide <= 0) {
        ThrowFileError(ERROR_INVALID_NAME);
    }
    std::wstring out(static_cast<std::size_t>(wide), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, out.data(), wide);
    return out;
}

HANDLE Handle(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

void WriteAll(HANDLE file, std::string_view data) {
    std::size_t done = 0;
    while (done < data.size()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(data.size() - done, std::numeric_limits<DWORD>::max() / 2));
        DWORD written = 0;
        if (!::WriteFile(file, data.data() + done, chunk, &written, nullptr)) {
            ThrowFileError(::GetLastError());
        }
        done += written;
    }
}

// Whether another handle on `path` kept it from being replaced (Windows refuses to replace
// an open file, whatever sharing that handle allows): it cannot be opened exclusively.
bool HeldOpen(const std::wstring& path) {
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    }
    ::CloseHandle(file);
    return false;
}

} // namespace

InputFile::InputFile(const std::string& path) {
    const std::wstring wide = WidePath(path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        throw FileError(std::string(texts::files::kNotAFile));
    }
    HANDLE file = ::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ThrowFileError(::GetLastError());
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        throw FileError(std::string(texts::files::kNotAFile));
    }
    handle_ = reinterpret_cast<std::intptr_t>(file);
}

InputFile::~InputFile() {
    ::CloseHandle(Handle(handle_));
}

std::size_t InputFile::Read(char* buffer, std::size_t size) {
    DWORD read = 0;
    const DWORD chunk =
        static_cast<DWORD>(std::min<std::size_t>(size, std::numeric_limits<DWORD>::max() / 2));
    if (!::ReadFile(Handle(handle_), buffer, chunk, &read, nullptr)) {
        ThrowFileError(::GetLastError());
    }
    return read;
}

namespace {

// The file a save into `path` writes: a symbolic link is followed to the file it names, so
// the link stays a link. A name that does not exist (yet) is its own target.
std::wstring FollowLinks(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        return path;
    }
    HANDLE file = ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        ThrowFileError(::GetLastError());
    }
    std::wstring out(MAX_PATH, L'\0');
    DWORD size = ::GetFinalPathNameByHandleW(file, out.data(), static_cast<DWORD>(out.size()),
                                             FILE_NAME_NORMALIZED);
    if (size >= out.size()) {
        out.resize(size + 1);
        size = ::GetFinalPathNameByHandleW(file, out.data(), static_cast<DWORD>(out.size()),
                                           FILE_NAME_NORMALIZED);
    }
    const DWORD error = ::GetLastError();
    ::CloseHandle(file);
    if (size == 0 || size >= out.size()) {
        ThrowFileError(error);
    }
    out.resize(size);
    return out;
}

} // namespace

void ReplaceFileAtomically(const std::string& path, std::string_view bytes) {
    const std::wstring target = FollowLinks(WidePath(path));
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        // Only a regular file is ever replaced; a read-only one is refused as writing into
        // it would be.
        if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) {
            throw FileError(std::string(texts::files::kNotAFile));
        }
        if (attributes & FILE_ATTRIBUTE_READONLY) {
            ThrowFileError(ERROR_ACCESS_DENIED);
        }
    }
    // A short hidden name beside the target, so the replace never crosses volumes.
    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        const std::size_t slash = target.find_last_of(L"\\/");
        const std::wstring folder =
            slash == std::wstring::npos ? std::wstring() : target.substr(0, slash + 1);
        temp = folder + L"~brisolt" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
               std::to_wstring(attempt) + L".tmp";
        file = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_HIDDEN, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            ThrowFileError(::GetLastError());
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        ThrowFileError(ERROR_FILE_EXISTS);
    }
    try {
        WriteAll(file, bytes);
        if (!::FlushFileBuffers(file)) {
            ThrowFileError(::GetLastError());
        }
    } catch (...) {
        ::CloseHandle(file);
        ::DeleteFileW(temp.c_str());
        throw;
    }
    ::CloseHandle(file);
    // The new file takes the attributes of the one it replaces (or plain ones).
    const DWORD keep =
        attributes != INVALID_FILE_ATTRIBUTES
            ? attributes & (FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)
            : FILE_ATTRIBUTE_NORMAL;
    ::SetFileAttributesW(temp.c_str(), keep != 0 ? keep : FILE_ATTRIBUTE_NORMAL);
    if (!::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
            (error == ERROR_ACCESS_DENIED && HeldOpen(target))) {
            throw FileError(std::string(texts::files::kInUse));
        }
        ThrowFileError(error);
    }
}

std::string OutputErrorText(int error) {
    switch (error) {
    case ENOSPC:
        return std::string(texts::files::kDiskFull);
    case EACCES:
    case EPERM:
        return std::string(texts::files::kAccessDenied);
    case EIO:
        return std::string(texts::files::kDeviceError);
    default:
        return texts::files::kIoError(error);
    }
}

int SystemCalendarYear() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return local.wYear;
}

std::string SystemDateText() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    char text[16];
    std::snprintf(text, sizeof text, "%02u.%02u.%04u", local.wDay, local.wMonth, local.wYear);
    return text;
}

char SystemDecimalSeparator() {
    wchar_t point[8] = {};
    const int size = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, point, 8);
    // The size counts the terminating zero.
    return size == 2 && point[0] > 0 && point[0] < 128 ? static_cast<char>(point[0]) : '.';
}

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    int count = 0;
    LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) {
        return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
    }
    std::vector<std::string> args;
    for (int i = 1; i < count; ++i) {
        const int length = static_cast<int>(::wcslen(wide[i]));
        const int size =
            ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, nullptr, 0, nullptr, nullptr);
        std::string utf8(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
        ::WideCharToMultiByte(CP_UTF8, 0, wide[i], length, utf8.data(), size, nullptr, nullptr);
        args.push_back(std::move(utf8));
    }
    ::LocalFree(wide);
    return args;
}

std::string BundledDataFolder() {
    std::wstring exe(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, exe.data(), static_cast<DWORD>(exe.size()));
        if (length == 0) {
            return {};
        }
        if (length < exe.size()) {
            exe.resize(length);
            break;
        }
        exe.resize(exe.size() * 2);
    }
    const std::filesystem::path folder = std::filesystem::path(exe).parent_path();
    for (const std::filesystem::path& share :
         {folder / L"share", folder.parent_path() / L"share"}) {
        std::error_code error;
        if (std::filesystem::is_directory(share, error)) {
            return Utf8FromPath(share);
        }
    }
    return {};
}

void WriteStandardStreamsAsBytes() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

} // namespace brisolt
