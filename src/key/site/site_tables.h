#pragma once
// The four constant tables of the site influence value. The soil and regional factors are
// found by the site key, region x 100 + soil type.

#include "key/core/record.h"
#include "key/core/tables.h"

namespace brisolt {

const TmtxExtendedArray& SlopeExponentTable(); // gradient % -> exponent m
const TmtxExtendedArray& SoilFactorTable();    // site key -> soil factor
const TmtxExtendedArray& RegionFactorTable();  // site key -> regional factor
const TmtxExtendedArray& ContourFactorTable(); // gradient % x flow length m -> factor

} // namespace brisolt
