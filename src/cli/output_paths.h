#pragma once
// Checks on the files a command is about to write, made before anything is written: an
// output must never replace one of the command's inputs or another of its outputs.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace brisolt::cli {

// True when both name the same file: the same existing file (links and other spellings
// included), or, for a file not there yet, the same place.
bool SameFile(const std::string& a, const std::string& b);

// The German problem when an output names an input or when two outputs name the same file;
// nothing otherwise.
std::optional<std::string> OutputClash(const std::vector<std::string>& outputs,
                                       const std::vector<std::string>& inputs);

// The German reason why `path` cannot be written (its folder is missing or takes no new file,
// it is a folder or a read-only file); nothing when it can. Makes and removes a file of its own
// beside it to find out.
std::optional<std::string> NotWritable(const std::string& path);

// The variant files of measures: "<stem>_aktuell.txt", "<stem>_massnahme_<n>.txt",
// "<stem>_ziel_<level>.txt". True when `name` is one of them for the input `file`.
bool IsVariantFileOf(const std::string& name, const std::string& file);

// The German problem when the variant files of the inputs could overwrite an input, each
// other (two inputs of the same name) or `pdf`; nothing otherwise.
std::optional<std::string> VariantClash(const std::string& folder,
                                        const std::vector<std::string>& inputs,
                                        const std::string& pdf);

} // namespace brisolt::cli
