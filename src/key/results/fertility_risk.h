#pragma once
// Step 7 of the key: the risk level of soil fertility GBF from EFL and the soil depth.

#include <string>

#include "key/core/record.h"
#include "key/core/tables.h"

namespace brisolt {

// Grid table of 17 rows x 27 columns, corner -1. Row keys are soil depths in cm and column
// keys rounded EFL values, both in pairs bounding a band (0/29, 30/40, ... and 0/10,
// 11/20, ...); both keys of a band carry the same class code 0, 11, 12, 20 or 30.
const TmtxExtendedArray& FertilityRiskTable();

// 5 rows x 2 columns: class code text to level label ("11" -> "1A").
const TmtxStringArray& FertilityRiskLabels();

// Stores in GBF and returns the level label ("0", "1A", "1B", "2" or "3") for the record's
// EFL and DepthSoil; depths and EFL values beyond 999 take the last band.
std::string ComputeFertilityRisk(AssessmentRecord& record);

} // namespace brisolt
