#include "key/results/sheet_erosion.h"

#include "key/core/number_text.h"
#include "key/site/site_influence.h"

namespace brisolt {

Real ComputeSheetErosionRisk(AssessmentRecord& record) {
    ComputeSiteInfluence(record);
    record.EF = record.STReduced * record.C;
    return record.EF;
}

std::string SheetErosionRiskText(const AssessmentRecord& record) {
    return FormatFixed(record.EF, 0, '.');
}

} // namespace brisolt
