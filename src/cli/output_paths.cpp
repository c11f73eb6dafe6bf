#include "cli/output_paths.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <fstream>
#include <system_error>

#include "key/core/texts.h"
#include "key/files/file_system.h"

namespace brisolt::cli {

namespace fs = std::filesystem;

namespace {

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

// Where a file would be, spelled one way: absolute, "." and ".." and links of the folders
// resolved as far as they exist.
fs::path Place(const std::string& path) {
    std::error_code error;
    fs::path place = fs::weakly_canonical(fs::absolute(PathFromUtf8(path), error), error);
    return error ? PathFromUtf8(path).lexically_normal() : place;
}

std::string StemOf(const std::string& file) {
    return Utf8FromPath(PathFromUtf8(file).stem());
}

// Names are compared as the file system does: without regard to case on Windows.
std::string Folded(std::string name) {
#ifdef _WIN32
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
#endif
    return name;
}

} // namespace

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    if (fs::equivalent(PathFromUtf8(a), PathFromUtf8(b), error)) {
        return true;
    }
    return Folded(Utf8FromPath(Place(a))) == Folded(Utf8FromPath(Place(b)));
}

std::optional<std::string> OutputClash(const std::vector<std::string>& outputs,
                                       const std::vector<std::string>& inputs) {
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        for (const std::string& input : inputs) {
            if (SameFile(outputs[i], input)) {
                return "die Ausgabe " + Quoted(outputs[i]) + " ist die Eingabedatei " +
                       Quoted(input) + "; sie würde überschrieben";
            }
        }
        for (std::size_t j = 0; j < i; ++j) {
            if (SameFile(outputs[i], outputs[j])) {
                return "die Ausgaben " + Quoted(outputs[j]) + " und " + Quoted(outputs[i]) +
                       " sind dieselbe Datei";
            }
        }
    }
    return std::nullopt;
}

std::optional<std::string> NotWritable(const std::string& path) {
    namespace t = texts::files;
    const auto because = [](std::string_view reason) {
        return std::string(t::kCannotWrite) + ": " + std::string(reason);
    };
    const fs::path target = PathFromUtf8(path);
    std::error_code error;
    const fs::file_status status = fs::status(target, error);
    if (fs::exists(status)) {
        if (!fs::is_regular_file(status)) {
            return because(t::kNotAFile);
        }
        // Replacing a read-only file is refused as writing into it would be.
        constexpr auto kWrite =
            fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
        if ((status.permissions() & kWrite) == fs::perms::none) {
            return because(t::kAccessDenied);
        }
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    if (!fs::is_directory(folder, error)) {
        return because(t::kPathNotFound);
    }
    // The output is made beside its place and then put there: the folder must take a file.
    static std::atomic<unsigned> counter{0};
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        const fs::path probe =
            folder / PathFromUtf8("~brisolt-" +
                                  std::to_string(
                                      std::chrono::steady_clock::now().time_since_epoch().count()) +
                                  "-" + std::to_string(counter++) + ".tmp");
        if (fs::exists(probe, error)) {
            continue;
        }
        bool made = false;
        {
            std::ofstream file(probe, std::ios::binary);
            made = file.is_open();
        }
        fs::remove(probe, error);
        return made ? std::nullopt : std::optional<std::string>(because(t::kAccessDenied));
    }
    return std::nullopt;
}

bool IsVariantFileOf(const std::string& name, const std::string& file) {
    const std::string stem = Folded(StemOf(file)) + "_";
    const std::string n = Folded(name);
    if (n.size() <= stem.size() + 4 || n.compare(0, stem.size(), stem) != 0 ||
        !n.ends_with(".txt")) {
        return false;
    }
    const std::string rest = n.substr(stem.size(), n.size() - stem.size() - 4);
    if (rest == "aktuell") {
        return true;
    }
    if (rest.starts_with("massnahme_")) {
        const std::string number = rest.substr(10);
        return !number.empty() && std::all_of(number.begin(), number.end(),
                                              [](unsigned char c) { return std::isdigit(c) != 0; });
    }
    return rest.starts_with("ziel_") && rest.size() > 5;
}

std::optional<std::string> VariantClash(const std::string& folder,
                                        const std::vector<std::string>& inputs,
                                        const std::string& pdf) {
    // Two inputs of the same name would write the same variant files, each row's file then
    // holding whichever input came last.
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        for (std::size_t j = 0; j < i; ++j) {
            if (Folded(StemOf(inputs[i])) == Folded(StemOf(inputs[j]))) {
                return "die Eingabedateien " + Quoted(inputs[j]) + " und " + Quoted(inputs[i]) +
                       " haben denselben Namen; ihre Variantendateien in " + Quoted(folder) +
                       " würden sich überschreiben";
            }
        }
    }
    const fs::path place = Place(folder);
    const auto inFolder = [&](const std::string& path) {
        std::error_code error;
        const fs::path parent = PathFromUtf8(path).parent_path();
        const fs::path of = parent.empty() ? fs::path(".") : parent;
        return fs::equivalent(of, PathFromUtf8(folder), error) ||
               Folded(Utf8FromPath(Place(Utf8FromPath(of)))) == Folded(Utf8FromPath(place));
    };
    const auto variantName = [&](const std::string& path) {
        const std::string name = Utf8FromPath(PathFromUtf8(path).filename());
        return std::any_of(inputs.begin(), inputs.end(),
                           [&](const std::string& file) { return IsVariantFileOf(name, file); });
    };
    for (const std::string& input : inputs) {
        if (inFolder(input) && variantName(input)) {
            return "die Eingabedatei " + Quoted(input) +
                   " trägt den Namen einer Variantendatei; sie würde überschrieben";
        }
    }
    if (!pdf.empty() && inFolder(pdf) && variantName(pdf)) {
        return "die Ausgabe " + Quoted(pdf) + " trägt den Namen einer Variantendatei";
    }
    // A variant file already there may be a link to an input.
    std::error_code error;
    for (fs::directory_iterator it(PathFromUtf8(folder), error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = Utf8FromPath(it->path().filename());
        if (!std::any_of(inputs.begin(), inputs.end(),
                         [&](const std::string& file) { return IsVariantFileOf(name, file); })) {
            continue;
        }
        for (const std::string& input : inputs) {
            if (SameFile(Utf8FromPath(it->path()), input)) {
                return "die Variantendatei " + Quoted(Utf8FromPath(it->path())) +
                       " ist die Eingabedatei " + Quoted(input) + "; sie würde überschrieben";
            }
        }
    }
    return std::nullopt;
}

} // namespace brisolt::cli
