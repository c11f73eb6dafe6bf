#include "report/reports.h"

namespace brisolt::report {

Page BuildEvaluationProtocol(const AssessmentRecord& record, char separator) {
    (void)record;
    (void)separator;
    Page page;
    page.name = "Auswertungsprotokoll";
    return page;
}

} // namespace brisolt::report
