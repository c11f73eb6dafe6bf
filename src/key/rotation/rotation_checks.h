#pragma once
// The checks run before C is calculated: the extent of the rotation among the ten years,
// gaps, impossible sequences of the multi-year crops, the automatic corrections for the
// follow-on years of a stand, and missing choices.

#include <optional>
#include <string>
#include <string_view>

#include "key/core/record.h"

namespace brisolt {

class Step2Form;
struct Step2Year;

// The rotation is the years First ... Last (1-based), taken cyclically: the year before
// First is Last. Last is 0 when no year has a main crop.
struct RotationExtent {
    int First = 0;
    int Last = 0;
    bool HasGap = false; // a second start below First

    bool Empty() const { return Last == 0; }
    bool Contains(int n) const { return !Empty() && n >= First && n <= Last; }
    int Next(int n) const { return n == Last ? First : n + 1; }
    int Prev(int n) const { return n == First ? Last : n - 1; }
};

// Finds the extent from the record's main crop positions. A position outside the crop list
// counts as no crop, like the blank entry.
RotationExtent FindRotationExtent(const AssessmentRecord& record);

// The sequence message when `current` continues a stand (Kunstwiese, Rotations-/Buntbrache,
// Chinaschilf) that `previous` does not belong to. Arguments are crop codes, -1 for no crop.
std::optional<std::string> CheckCropSequence(Int previous, Int current);

// True when the crop `next` continues the stand of the crop `current` (crop codes).
bool ContinuesStand(Int current, Int next);

// The missing-input message when a choice of the year is missing. With the year's screen
// block given, a position beyond its list counts as missing as well.
std::optional<std::string> CheckYearComplete(const RotationYear& year,
                                             const Step2Year* row = nullptr);

// Runs every check on the rotation as last copied from the screen and applies the automatic
// corrections (tillage of follow-on years, "Keine Zwischenperiode" inside a stand) to screen
// and record. Returns the one message of the first failure, nullopt when the rotation is
// accepted (also when it is empty). The screen is copied into the record in either case.
std::optional<std::string> CheckRotation(AssessmentRecord& record, Step2Form& form);

} // namespace brisolt
