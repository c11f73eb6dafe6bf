#pragma once
// Step 6 of the key: how the soil depth was determined and the regional standard depths.

#include <string>
#include <vector>

#include "key/core/record.h"
#include "key/core/tables.h"

namespace brisolt {

// Positions of the methods in DepthMethods() and in `Method`.
inline constexpr Index kMethodSoilMap = 0;
inline constexpr Index kMethodBoring = 1;
inline constexpr Index kMethodRegionalStandard = 2;

// "Bodenkarte", "Bohrung", "Regionale Standardwerte".
const std::vector<std::string>& DepthMethods();

// 9 rows x 2 columns: a header row, then regions A ... H with their assumed mean soil
// depth in cm as text. The help page shows it whole.
const TmtxStringArray& RegionalDepthTable();

// The standard depth text of a region (0 ... 7 for A ... H): column 1 of row region + 1.
// Any other region has no standard depth and gives the empty text.
std::string RegionalStandardDepthText(Index region);

} // namespace brisolt
