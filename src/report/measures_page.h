#pragma once
// The printed comparison of measures ("Massnahmenvergleich"): the farm data, the target line
// and the table of the current assessment with the best plans and single measures.

#include "key/measures/measures.h"
#include "report/page.h"

namespace brisolt::report {

// At most this many rows besides the current assessment fit the page.
inline constexpr std::size_t kMeasureRowsOnPage = 12;

// The rows the page prints, in print order: the current assessment, then the plans, then
// the single measures with the lowest EFL, up to kMeasureRowsOnPage further rows.
std::vector<const MeasureRow*> PrintedMeasureRows(const MeasureExploration& exploration);

Page BuildMeasuresComparison(const MeasureExploration& exploration, char separator);

} // namespace brisolt::report
