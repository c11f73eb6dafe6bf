#pragma once
// brisolt-cli compare: several calculations of a parcel side by side.

#include <iosfwd>
#include <string>
#include <vector>

namespace brisolt::cli {

// `compare [--format json|csv] [--only-differences] [--pdf OUT.pdf] FILE FILE...`; returns
// 0, 1 when a file cannot be loaded (its column is still shown) or the PDF not written, 2
// for usage.
int Compare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brisolt::cli
