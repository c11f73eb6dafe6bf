#include "key/results/total_risk.h"

#include "key/core/number_text.h"
#include "key/results/rill_erosion.h"

namespace brisolt {

void ComputeTotalRisk(AssessmentRecord& record) {
    record.EL = LookupRillSurcharge(record);
    record.EFL = record.EF + record.EL;
    record.SoilLossMM = record.EFL / kSoilLossMMDivisor;
    record.SoilLossTHA = record.EFL / kSoilLossTHADivisor;
}

std::string TotalRiskText(const AssessmentRecord& record) {
    return FormatFixed(record.EFL, 0, '.');
}

std::string SoilLossMMText(const AssessmentRecord& record) {
    return FormatFixed(record.SoilLossMM, 2, '.');
}

std::string SoilLossTHAText(const AssessmentRecord& record) {
    return FormatFixed(record.SoilLossTHA, 3, '.');
}

} // namespace brisolt
