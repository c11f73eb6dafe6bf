#pragma once
// brisolt-cli report: the two printed reports as PDF files, without a window.

#include <iosfwd>
#include <string>
#include <vector>

namespace brisolt::cli {

// True when this build can write PDF files.
bool ReportsAvailable();

// `report FILE --protocol OUT.pdf [--sheet OUT2.pdf]`; returns the exit status.
int Report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brisolt::cli
