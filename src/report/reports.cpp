#include "report/reports.h"

namespace brisolt::report {

std::string ProposedPdfName(const AssessmentRecord& record, std::string_view kind) {
    (void)record;
    return std::string(kind) + ".pdf";
}

} // namespace brisolt::report
