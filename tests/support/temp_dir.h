#pragma once
// A folder of its own for each test, removed afterwards.

#include <filesystem>
#include <fstream>
#include <string>

#ifdef _WIN32
#include <random>
#else
#include <unistd.h>
#endif

namespace brisolt::testing {

// Paths in the tests are UTF-8 bytes, as the key takes them; Windows' narrow paths are in
// the ANSI code page instead, so there they go through UTF-8 explicitly.
inline std::filesystem::path PathOf(const std::string& utf8) {
#ifdef _WIN32
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
#else
    return std::filesystem::path(utf8);
#endif
}
inline std::string Utf8Of(const std::filesystem::path& path) {
#ifdef _WIN32
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
#else
    return path.string();
#endif
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
