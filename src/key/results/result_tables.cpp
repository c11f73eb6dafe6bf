#include "key/results/result_tables.h"

#include "key/results/fertility_risk.h"
#include "key/results/rill_erosion.h"
#include "key/results/soil_depth.h"

namespace brisolt {

void BuildResultTables() {
    (void)RillQuestionLists();
    (void)RillSurchargeTable();
    (void)DepthMethods();
    (void)RegionalDepthTable();
    (void)FertilityRiskTable();
    (void)FertilityRiskLabels();
}

} // namespace brisolt
