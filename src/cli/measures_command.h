#pragma once
// brisolt-cli measures: which changes in management lower the erosion risk.

#include <iosfwd>
#include <string>
#include <vector>

namespace brisolt::cli {

// `measures [--format json|csv] [--variants DIR] [--pdf OUT.pdf] FILE...`; returns the exit
// status: 0, 1 when a file cannot be loaded or written, 2 for usage, 3 when a walk stopped
// at step 1 or 2.
int Measures(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brisolt::cli
