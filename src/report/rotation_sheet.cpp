#include "report/reports.h"

namespace brisolt::report {

Page BuildRotationSheet(const AssessmentRecord& record, char separator) {
    (void)record;
    (void)separator;
    Page page;
    page.name = "Fruchtfolgeblatt";
    return page;
}

} // namespace brisolt::report
