// Builds without Qt (the sanitizer build) cannot write PDF files.

#include <ostream>

#include "cli/report_command.h"

namespace brisolt::cli {

bool ReportsAvailable() {
    return false;
}

bool WriteReportPdf(const std::vector<report::Page>&, const std::string&, std::ostream&,
                    std::ostream& err) {
    err << "brisolt-cli: diese Ausgabe wurde ohne PDF-Unterstützung gebaut\n";
    return false;
}

bool WriteReportPdf(const report::Page& page, const std::string& path, std::ostream& out,
                    std::ostream& err) {
    return WriteReportPdf(std::vector<report::Page>{page}, path, out, err);
}

int Report(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    err << "brisolt-cli: diese Ausgabe wurde ohne PDF-Unterstützung gebaut\n";
    return 2;
}

} // namespace brisolt::cli
