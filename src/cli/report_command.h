#pragma once
// brisolt-cli report: the two printed reports as PDF files, without a window.

#include <iosfwd>
#include <string>
#include <vector>

#include "report/page.h"

namespace brisolt::cli {

// True when this build can write PDF files.
bool ReportsAvailable();

// Writes a report page as PDF; on success names the file on `out`, otherwise writes the
// error to `err` and returns false.
bool WriteReportPdf(const report::Page& page, const std::string& path, std::ostream& out,
                    std::ostream& err);
bool WriteReportPdf(const std::vector<report::Page>& pages, const std::string& path,
                    std::ostream& out, std::ostream& err);

// `report FILE --protocol OUT.pdf [--sheet OUT2.pdf]`; returns the exit status.
int Report(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brisolt::cli
