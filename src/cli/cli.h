#pragma once
// brisolt-cli: the assessment key without windows.

#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

#include "key/core/record.h"

namespace brisolt::cli {

// Runs the command line (without the program name). Returns the exit status:
// 0 success, 1 when a file could not be loaded or written, 2 for a usage error.
int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// Writes "brisolt-cli: <path>: <message>" to `err`, both readable whatever bytes they hold.
void FileProblem(std::ostream& err, const std::string& path, const std::string& message);

// Writes the problem and the usage text to `err`; returns the usage error status 2.
int UsageError(std::ostream& err, const std::string& problem);

// Text helpers, shared with the tests. Both write bytes that are not UTF-8 as U+FFFD.
std::string JsonString(const std::string& utf8);
std::string CsvField(const std::string& text);

// Numbers as JSON writes them (round trip, null for NaN), and the result texts of the
// screens, always with ".": EF, EFL, SoilLossMM, SoilLossTHA, C, GBF.
std::string JsonNumber(Real x);
std::vector<std::pair<std::string, std::string>> DisplayFields(const AssessmentRecord& record);
std::string DisplayJson(const AssessmentRecord& record);

} // namespace brisolt::cli
