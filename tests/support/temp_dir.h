#pragma once
// A folder of its own for each test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <string>

#include "key/files/file_system.h"

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

namespace brisolt::testing {

// Paths in the tests are UTF-8 bytes, as the key takes them.
inline std::filesystem::path PathOf(const std::string& utf8) {
    return PathFromUtf8(utf8);
}
inline std::string Utf8Of(const std::filesystem::path& path) {
    return Utf8FromPath(path);
}

class TempDir {
public:
    TempDir() {
#ifdef _WIN32
        std::random_device seed;
        std::mt19937 rng(seed());
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("brisolt-test-" + std::to_string(rng() % 1000000000));
        } while (!std::filesystem::create_directory(path_));
#else
        std::string pattern =
            (std::filesystem::temp_directory_path() / "brisolt-test-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
#endif
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::string File(const std::string& name) const {
        return Utf8Of(path_ / PathOf(name));
    }

    std::string Write(const std::string& name, const std::string& bytes) const {
        const std::string path = File(name);
        std::ofstream out(PathOf(path), std::ios::binary);
        out << bytes;
        return path;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(PathOf(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace brisolt::testing
