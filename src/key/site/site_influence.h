#pragma once
// Step 1 of the key: the site influence value ST and its stone-reduced value ST'.

#include <string>
#include <vector>

#include "key/core/record.h"

namespace brisolt {

const std::vector<std::string>& RegionLetters();      // "A" ... "H"
const std::vector<std::string>& RegionDescriptions(); // one per region
// Soil type names and descriptions of a region (0 ... 7); empty lists for any other value.
const std::vector<std::string>& SoilTypeNames(Index region);
const std::vector<std::string>& SoilTypeDescriptions(Index region);
const std::vector<std::string>& ManagementDirections(); // "In Fallinie", "Quer zum Hang"

// 1 - 0.0194 s + 0.0001 s^2 for a stone cover of s %.
Real StoneFactor(Int stones);

// Writes ST and STReduced from the six site inputs of the record.
void ComputeSiteInfluence(AssessmentRecord& record);

} // namespace brisolt
