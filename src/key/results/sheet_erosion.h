#pragma once
// Step 3 of the key: the basic risk from sheet erosion, EF = ST' x C.

#include <string>

#include "key/core/record.h"

namespace brisolt {

// Recomputes ST and ST' from the site inputs, then stores and returns EF = STReduced x C.
Real ComputeSheetErosionRisk(AssessmentRecord& record);

// EF as the step 3 result field shows it: a whole number, halves to the even neighbour
// ("12" for 12.5, "0" for 0).
std::string SheetErosionRiskText(const AssessmentRecord& record);

} // namespace brisolt
