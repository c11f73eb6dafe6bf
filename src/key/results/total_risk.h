#pragma once
// Step 5 of the key: the total erosion risk EFL = EF + EL and the average soil loss.

#include <string>

#include "key/core/record.h"

namespace brisolt {

// Soil loss per year: EFL / 120 in mm (120 stands for the bulk density of the topsoil)
// and EFL / 10 in t per ha.
inline const Real kSoilLossMMDivisor = 120;
inline const Real kSoilLossTHADivisor = 10;

// Writes EL (from the rill answers), EFL, SoilLossMM and SoilLossTHA; reads EF.
void ComputeTotalRisk(AssessmentRecord& record);

// The three result fields of step 5. Rounding is half to even; the soil loss is always
// written with "." whatever the regional separator.
std::string TotalRiskText(const AssessmentRecord& record);   // EFL, whole number: "12"
std::string SoilLossMMText(const AssessmentRecord& record);  // two decimals: "0.10"
std::string SoilLossTHAText(const AssessmentRecord& record); // three decimals: "1.153"

} // namespace brisolt
