#pragma once
// Names for the codes the rotation rules compare: intermediate period types, soil tillage,
// period beginnings, and the crops that have a rule of their own.

#include "key/core/record.h"

namespace brisolt {

// Intermediate period types. A type's code is its position in PeriodTypes().
namespace period_type {
inline constexpr Int kBlank = 0;
inline constexpr Int kNone = 1;                    // "Keine Zwischenperiode"
inline constexpr Int kBareFallow = 2;              // "Schwarzbrache im Herbst und Winter"
inline constexpr Int kStubbleWinter = 3;           // "Stoppelbrache im Winter"
inline constexpr Int kStubbleBeforeWinterCrop = 4; // "Stoppelbrache vor Winterkultur"
inline constexpr Int kCatchCropBeforeFallow = 5; // "Zwischenfutter/Gründüngung vor Schwarzbrache"
inline constexpr Int kCatchCropBeforeWinterCrop = 6; // "... vor Winterkultur"
inline constexpr Int kCatchCropFrostKilled = 7;      // "... im Winter, abfrierend"
inline constexpr Int kCatchCropOverwintering = 8;    // "... im Winter, überwinternd"

constexpr bool IsStubble(Int type) {
    return type == kStubbleWinter || type == kStubbleBeforeWinterCrop;
}
constexpr bool IsCatchCrop(Int type) {
    return type >= kCatchCropBeforeFallow && type <= kCatchCropOverwintering;
}
// Whether a period of this type can come before the following main crop: the types that end
// with the sowing of a winter crop only before one that is not sown in spring, those that last
// over winter only before a spring-sown one.
constexpr bool FitsFollowingCrop(Int type, bool followingSpringSown) {
    switch (type) {
    case kStubbleBeforeWinterCrop:
    case kCatchCropBeforeWinterCrop:
        return !followingSpringSown;
    case kBareFallow:
    case kStubbleWinter:
    case kCatchCropBeforeFallow:
    case kCatchCropFrostKilled:
    case kCatchCropOverwintering:
        return followingSpringSown;
    default:
        return true;
    }
}
} // namespace period_type

// Soil tillage. The codes run from the most intensive (1) to the least intensive (4);
// "keine Bodenbearbeitung" stands apart as 99. The positions are those in TillageOptions().
namespace tillage_code {
inline constexpr Int kPlough = 1;        // "Plug/pfluglos unter 10% Bedeckung"
inline constexpr Int kMulchLow = 2;      // "Mulchsaat 10-30% Bedeckung"
inline constexpr Int kMulchHigh = 3;     // "Mulchsaat über 30% Bedeckung"
inline constexpr Int kDirectSeeding = 4; // "Direktsaat/Streifenfrässaat"
inline constexpr Int kNoTillage = 99;    // "keine Bodenbearbeitung"

inline constexpr Index kPositionNoTillage = 1;
inline constexpr Index kPositionPlough = 2;
inline constexpr Index kPositionMulchLow = 3;
inline constexpr Index kPositionMulchHigh = 4;
inline constexpr Index kPositionDirectSeeding = 5;
} // namespace tillage_code

// Beginnings of an intermediate period. A beginning's code is its position in PeriodStarts().
namespace period_start {
inline constexpr Index kBefore2007 = 1; // "vor dem 20.07."
inline constexpr Index kBefore3107 = 2; // "vor dem 31.07."
inline constexpr Index k2007To3107 = 3; // "20.07. bis 31.07."
inline constexpr Index k0108To1508 = 4;
inline constexpr Index k1608To3108 = 5;
inline constexpr Index k0109To1509 = 6;
inline constexpr Index k1609To3009 = 7;
inline constexpr Index k0110To1510 = 8;
inline constexpr Index k1610To3110 = 9;
inline constexpr Index k0111To1511 = 10;
inline constexpr Index k1611To3011 = 11;
inline constexpr Index k0112To1512 = 12;

// The latest day a beginning can fall on, as a rank: "vor dem 31.07." and "20.07. bis 31.07."
// end on the same day. A period that begins at a later or equal rank never begins before the
// field is free.
constexpr int LatestDayRank(Index code) {
    return code <= kBefore2007 ? code : code == kBefore3107 ? 2 : code - 1;
}
} // namespace period_start

// Crop codes with a rule of their own.
namespace crop_code {
inline constexpr Int kChinaschilfFirstYear = 3;
inline constexpr Int kPotatoes = 15;         // "Kartoffeln (übrige)"
inline constexpr Int kSeedPotatoes = 16;     // "Kartoffeln (Saatkartoffeln)"
inline constexpr Int kMeadowSpringSown = 19; // "Kunstwiese 1. Jahr (Frühlingssaat)"
inline constexpr Int kGrainMaize = 21;       // "Mais (Körnermais)"
inline constexpr Int kFallowSpringSown = 26; // "Rotations-/Buntbrachen (Frühlingssaat)"
inline constexpr Int kSugarBeet = 29;        // "Rüben (Zuckerrüben)"
inline constexpr Int kFodderBeet = 30;       // "Rüben (Futterrüben)"

constexpr bool IsPotato(Int code) {
    return code == kPotatoes || code == kSeedPotatoes;
}
constexpr bool IsBeet(Int code) {
    return code == kSugarBeet || code == kFodderBeet;
}
constexpr bool IsRootCrop(Int code) {
    return IsPotato(code) || IsBeet(code);
}
} // namespace crop_code

} // namespace brisolt
