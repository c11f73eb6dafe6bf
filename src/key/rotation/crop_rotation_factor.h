#pragma once
// The crop rotation factor C: every year of the rotation contributes a value for its main
// crop and one for the intermediate period after it, read from the key tables; C is ten
// times the mean of the per-year sums. The same pass counts the rotation's composition.

#include <array>
#include <string>

#include "key/core/record.h"
#include "key/rotation/catalogues.h"

namespace brisolt {

class Step2Form;

// A contribution text as stored in its table cell ("0.0589", "" when no cell was found) and
// the reference of the cell ("Tab05/2/C").
struct Contribution {
    std::string Value;
    std::string Reference;
    bool HasNumber = false; // Value is a number, already read into Number
    Real Number = 0;
};

// Crop positions (in CropCatalogue) of a year and of its neighbours in the cyclic rotation.
struct CropNeighbours {
    Index Crop = 0;
    Index Prev = 0;
    Index Next = 0;
    Index Prev2 = 0;
};

// Main crop contribution for main crop tillage code T, given the rotation figures of the
// previous calculation.
Contribution MainCropValue(const CropNeighbours& crops, Int T, Int kwbCount, Real bfPercentage);

// Intermediate period contribution for period type P, period tillage D, period start E, main
// crop tillage T and the group of the main crop (codes; -1 where nothing is chosen).
Contribution PeriodValue(Int P, Int D, Int E, Int T, CropGroup group);

// Counters behind the 24 shares, indexed like the share fields of the record.
struct RotationCounters {
    std::array<Int, 6> CropClass{};     // KWB, HFW, HFS, BFW, BFS, SOK
    std::array<Int, 5> CropTillage{};   // codes 1 ... 4, 99
    std::array<Int, 8> PeriodType{};    // codes 8, 7, ..., 1
    std::array<Int, 5> PeriodTillage{}; // codes 1 ... 4, 99 (and nothing chosen)
};

void CountRotationYear(RotationCounters& counters, CropClass cropClass, Int T, Int P, Int D);

// Computes C, CABAG, KWBCount, BFPercentage, Years, the shares and the per-year texts
// (w, x, y, z) from the rotation and shows them on the screen; then copies the screen into
// the record. Table choices use KWBCount and BFPercentage as the record holds them, so the
// commands run this twice in succession. Throws ConversionError if a cell without a value
// were read.
void ComputeCropRotationFactor(AssessmentRecord& record, Step2Form& form);

// The commands' calculation: ComputeCropRotationFactor twice in succession, with the same
// result. Where the first pass can leave nothing but the rotation figures for the second,
// only those are worked out for it.
void ComputeCropRotationFactorTwice(AssessmentRecord& record, Step2Form& form);

} // namespace brisolt
