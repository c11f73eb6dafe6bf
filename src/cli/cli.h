#pragma once
// brisolt-cli: the assessment key without windows.

#include <iosfwd>
#include <string>
#include <vector>

namespace brisolt::cli {

// Runs the command line (without the program name). Returns the exit status:
// 0 success, 1 when a file could not be loaded or written, 2 for a usage error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Text helpers, shared with the tests. Both write bytes that are not UTF-8 as U+FFFD.
std::string JsonString(const std::string& utf8);
std::string CsvField(const std::string& text);

} // namespace brisolt::cli
