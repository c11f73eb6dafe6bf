#pragma once
// The printed comparison of measures ("Massnahmenvergleich"): the farm data, the target line
// and the table of the current assessment with the best plans and single measures.

#include "key/measures/measures.h"
#include "report/page.h"
#include "report/table_page.h"

namespace brisolt::report {

// At most this many rows besides the current assessment fit the page.
inline constexpr std::size_t kMeasureRowsOnPage = 12;

// The rows the comparison prints, in print order: the current assessment, then every plan,
// then the single measures with the lowest EFL, up to kMeasureRowsOnPage further rows in all.
std::vector<const MeasureRow*> PrintedMeasureRows(const MeasureExploration& exploration);

// The change of EFL as the table shows it: the difference of the whole EFL values shown,
// "+2", "-11", "0"; empty for the current assessment.
std::string DeltaText(const MeasureRow& row);

// C as the table shows it: three decimals in every row, so the column reads down.
std::string CText(Real c, char separator);

// The rows as a table, in the given order: what each row is, its measures, C, EF, EL, EFL,
// the soil loss, GBF and the change of EFL, in the protocol's formats.
Table MeasuresTable(const std::vector<const MeasureRow*>& rows, char separator);

// A line of the measures table: a row, or the heading of a change made in several years.
struct MeasureLine {
    const MeasureRow* row = nullptr;
    std::string heading;
};

// The lines the window shows: the current assessment, the plans (one per level reached,
// then all measures together), then the single measures by kind, a change made in several
// years under one heading with one line per year.
std::vector<MeasureLine> MeasureLines(const MeasureExploration& exploration);

// The lines as a table: what each row is, its measures (a plan's one per line), C, EF, EL,
// EFL, the soil loss, GBF and the change of EFL, in the protocol's formats.
Table MeasuresTable(const MeasureExploration& exploration, const std::vector<MeasureLine>& lines,
                    char separator);

// The comparison of measures; a table longer than the page continues on further pages, so
// no plan is ever cut short.
std::vector<Page> BuildMeasuresComparison(const MeasureExploration& exploration, char separator);

// The plan the farm's sheet shows unless one is chosen: the one for the lowest level reached
// (all measures together when no level is lowered); nullptr without measures.
const MeasureRow* SheetPlan(const MeasureExploration& exploration);

// "Massnahmenblatt", one page for the farm: farm and parcel, today's result and the plan's
// side by side with the level's meaning, the plan's measures by year, the remark, `date` and
// the author.
Page BuildMeasuresSheet(const MeasureExploration& exploration, const MeasureRow* plan,
                        const std::string& date, char separator);

} // namespace brisolt::report
