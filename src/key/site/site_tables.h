#pragma once
// The four constant tables of the site influence value and the key that selects a soil.

#include "key/core/record.h"
#include "key/core/tables.h"

namespace brisolt {

const TmtxExtendedArray& SlopeExponentTable(); // gradient % -> exponent m
const TmtxExtendedArray& SoilFactorTable();    // SiteKey -> soil factor
const TmtxExtendedArray& RegionFactorTable();  // SiteKey -> regional factor
const TmtxExtendedArray& ContourFactorTable(); // gradient % x flow length m -> factor

// Region x 100 + soil type.
inline Int SiteKey(Index region, Index soilType) { return region * 100 + soilType; }

} // namespace brisolt
