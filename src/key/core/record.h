#pragma once
// The one assessment: every input the user gives and every result derived from it.

#include <array>
#include <cstdint>
#include <string>

namespace brisolt {

using Int = std::int32_t;
using Index = std::int32_t; // position in a choice list; -1 means nothing chosen
using Real = long double;

constexpr Index kNone = -1;
constexpr int kRotationYears = 10;

// Stone cover factor: 1 - 0.0194 s + 0.0001 s^2.
inline const Real StoneCoef0 = 1.0L;
inline const Real StoneCoef1 = 0.0194L;
inline const Real StoneCoef2 = 0.0001L;

// One year of the crop rotation (cmbYearNa ... cmbYearNe and the fields beside them).
struct RotationYear {
    Int Year = 0;                    // calendar year
    Index a = 0;                     // main crop
    Index b = 0;                     // type of the intermediate period
    Index c = 0;                     // soil tillage of the main crop
    Index d = 0;                     // soil tillage in the intermediate period
    Index e = 0;                     // beginning of the intermediate period
    std::string w;                   // intermediate period's contribution to C
    std::string x;                   // ... and its table reference
    std::string y;                   // main crop's contribution to C
    std::string z;                   // ... and its table reference
    std::array<std::string, 5> text; // captions of the chosen entries of a ... e

    bool operator==(const RotationYear&) const = default;
};

struct AssessmentRecord {
    // Farm and parcel
    std::string NameSurname;
    std::string Address1;
    std::string Address2;
    std::string Parzelle;
    std::string Variant;
    Int Year = 0;
    std::string EnteredBy;
    std::string EnteredOn;

    // Site (step 1)
    Index Entertainment = 0; // management direction: 0 "In Fallinie", 1 "Quer zum Hang"
    Int FloatDistance = 0;   // flow length of the surface water in m
    Int Gradient = 0;
    Index Region = 0;
    Index SoilType = 0;
    Int Stones = 0;

    // Crop rotation (step 2)
    std::array<RotationYear, kRotationYears> Rotation{};
    Int Years = 0;
    std::string Remark;

    // Rills (step 4)
    Index Channels = 1;
    Index NumChannels = 0;
    Index DepthChannels = 0;
    Index DepthChannel = 0;
    Index WidthChannel = 0;
    Index FrequencyChannels = 0;

    // Soil depth (step 6)
    Index Method = 0;
    Int DepthSoil = 0;

    // Results, never saved
    Real ST = 0;
    Real STReduced = 0;
    Real C = 0;
    Real CABAG = 0;
    Int KWBCount = 0;
    Real BFPercentage = 0;
    std::array<Real, 6> Total2A{}; // main crop groups 1 ... 6
    std::array<Real, 5> Total2B{}; // main crop tillage 1 ... 4, then 99
    std::array<Real, 8> Total2C{}; // intermediate period types 1 ... 8
    std::array<Real, 5> Total2D{}; // intermediate period tillage 1 ... 4, then 99
    Real EF = 0;
    Real EL = 0;
    Real EFL = 0;
    Real SoilLossMM = 0;
    Real SoilLossTHA = 0;
    std::string GBF;

    // Not part of the assessment and never saved: the calculation file the persisted inputs
    // made at program start, at the last successful load or at the last successful save
    // (kept by the calculation file's functions; a save of a const record still counts).
    mutable std::string savedFile;

    RotationYear& RotationYearAt(int n) { return Rotation.at(static_cast<std::size_t>(n - 1)); }
    const RotationYear& RotationYearAt(int n) const {
        return Rotation.at(static_cast<std::size_t>(n - 1));
    }

    // Every field the same (windows use it to tell that nothing changed since they last
    // showed the record).
    bool operator==(const AssessmentRecord&) const = default;
};

// The calendar year of the system date.
Int CurrentCalendarYear();

// Sets every field to the value it has at program start for the given calendar year:
// the year of the assessment, the ten rotation years ending with it, "Nein" for rills,
// every other number 0 and every text empty.
void ResetRecordDefaults(AssessmentRecord& record, Int currentYear);

} // namespace brisolt
