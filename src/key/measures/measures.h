#pragma once
// Which changes in management lower the erosion risk of a parcel. Every measure is a change
// a user could make on the step 1 or step 2 screen, made here through the same form states
// the screens use; every result comes from the forward walk, as if the user had entered the
// change and pressed "Weiter" through all steps. The crops, the site itself, the rills and
// the soil depth are never touched: they are the farm's choices or observations.

#include <optional>
#include <string>
#include <vector>

#include "key/core/record.h"
#include "key/walk.h"

namespace brisolt {

enum class MeasureKind {
    Direction,     // management across the slope instead of down it
    CropTillage,   // a less intensive tillage of a main crop
    CatchCrop,     // a catch crop instead of a bare or stubble period
    PeriodTillage, // a less intensive tillage in a catch crop period
    FlowLength,    // the slope divided, so the water runs a shorter way
};

// One change of inputs.
struct Measure {
    MeasureKind kind = MeasureKind::Direction;
    int year = 0;           // rotation year 1 ... 10; 0 for the site measures
    Index position = kNone; // tillage or period type chosen, as a position in the year's list
    Index tillage = kNone;  // catch crop: period tillage chosen, position in its list
    Index start = kNone;    // catch crop: period start chosen, position in its list
    Int flowLength = 0;     // new flow length in m
    std::string description;
    std::string heading;   // the change without its year: the same in every year it is made
    std::string yearLabel; // "2016" or "3. Jahr"; empty for the site measures
    std::string label;     // the change in a few words, for a variant's name: "2016 Direktsaat"

    // Measures with the same choice (the same field of the same year) exclude each other.
    int Choice() const;
};

// Applies measures to the record through the step 1 and step 2 form states, as a user
// entering them would. No result is computed.
void ApplyMeasures(AssessmentRecord& record, const std::vector<const Measure*>& measures);

enum class MeasureRowKind { Current, Single, Plan };

struct MeasureRow {
    MeasureRowKind kind = MeasureRowKind::Current;
    std::vector<int> measures; // numbers of the single measures it applies, counted from 1
    std::vector<std::string> descriptions;
    std::string target;       // plans: the level the plan is for, or "alle"
    bool approximate = false; // plans found by the greedy search beyond four measures
    AssessmentRecord record;  // the assessment with the measures, walked (the current row
                              // as it is; the others without the free texts of farm data
                              // and remark, which no result depends on)
    Real deltaEFL = 0;        // EFL against the current assessment (negative: lower)
    Int shownDeltaEFL = 0;    // the same between the whole EFL values the screens show
};

struct MeasureExploration {
    WalkOutcome outcome;    // the current assessment's walk
    std::string targetLine; // empty when the walk stopped
    std::string rillLine;   // with observed rills: that no measure changes EL
    std::vector<Measure> measures;
    std::vector<MeasureRow> rows; // current first, then the single measures, then the plans
};

// Walks the assessment, then tries every measure on a copy and combines them into plans.
// A walk that stops at step 1 or 2 gives its outcome and no rows.
MeasureExploration ExploreMeasures(const AssessmentRecord& record);

// "Bei 80 cm Gründigkeit: Stufe 0 bis EFL 20, Stufe 1A bis EFL 30, …": for each level the
// largest whole EFL that still gives it at the soil depth.
std::string TargetLine(Int depthSoil);

// What the first column of the table says of a row: "Aktuelle Berechnung", "Massnahme 3",
// "Ziel Stufe 1B", "Ziel Stufe 0 (Näherung)", "Alle Massnahmen zusammen".
std::string RowTitle(const MeasureRow& row);

// The variant's name after the row is adopted: what was adopted, appended to the user's
// text: "Ist-Zustand + Ziel Stufe 1A" (a plan; the user's text in place of "Ist-Zustand"
// when there is one), "2016 Direktsaat" or "B + 2016 Direktsaat" (a single measure).
std::string AdoptedVariant(const std::string& variant, const MeasureExploration& exploration,
                           const MeasureRow& row);

// What names the row's variant file after the assessment's own name: "aktuell",
// "massnahme_3", "ziel_1A", "ziel_alle".
std::string VariantFileSuffix(const MeasureRow& row);

// The row's assessment as "Übernehmen" makes it: the original inputs with the row's
// measures applied and the variant label set; results are left to the walk.
AssessmentRecord AdoptRow(const AssessmentRecord& current, const MeasureExploration& exploration,
                          const MeasureRow& row);

} // namespace brisolt
