#pragma once
// The four constant catalogues of the crop rotation step: main crops, intermediate period
// types, soil tillage options and period beginnings. Each is a pair of parallel lists, the
// texts shown and the codes the key works with; position 0 is always the blank entry.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "key/core/record.h"

namespace brisolt {

struct Catalogue {
    std::vector<std::string> Texts;
    std::vector<std::string> Codes;
    std::vector<Int> Numbers; // the codes as integers, parsed once

    Catalogue() = default;
    Catalogue(std::vector<std::string> texts, std::vector<std::string> codes);

    Int Size() const { return static_cast<Int>(Texts.size()); }
    bool Contains(Index position) const { return position >= 0 && position < Size(); }
};

// Group of a crop; selects the key tables that give its contribution.
enum class CropGroup : std::uint8_t { None, WW, HF, BF, KW, RB, CH };
// Statistics class of a crop, counted in the shares of the rotation.
enum class CropClass : std::uint8_t { None, HFW, HFS, BFW, BFS, KWB, SOK };

// The main crops. Beside name and code every crop carries its group, class, column letter in
// the key tables of groups "BF" and "HF" ("-" for none) and whether it is sown in spring
// ("1") or not ("0").
struct CropCatalogueList : Catalogue {
    using Catalogue::Catalogue;
    std::vector<std::string> Groups;
    std::vector<std::string> Classes;
    std::vector<std::string> TableColumns;
    std::vector<std::string> SpringSown;
};

// The same facts of one crop, read from the catalogue's texts when the program is compiled,
// for the checks and the calculation.
struct CropFacts {
    CropGroup Group = CropGroup::None;
    CropClass Class = CropClass::None;
    Int Code = -1;     // -1 outside the list, 0 for the blank entry
    char Column = '-'; // letter column in the key tables of groups "BF" and "HF"
    bool SpringSown = false;
};

constexpr Int kCropCount = 39;

const CropCatalogueList& CropCatalogue(); // kCropCount positions
const Catalogue& PeriodTypes();           // 9 positions, code = position
const Catalogue& TillageOptions();        // 6 positions, codes 0, 99, 1, 2, 3, 4
const Catalogue& PeriodStarts();          // 13 positions, code = position

// The facts of every crop, by position in CropCatalogue, and those of no crop.
extern const std::array<CropFacts, kCropCount> kCropFacts;
inline constexpr CropFacts kNoCropFacts{};

// Facts of the crop at a position of CropCatalogue; for positions outside the list those of
// no crop (code -1).
inline const CropFacts& FactsOfCrop(Index position) {
    return position >= 0 && position < kCropCount ? kCropFacts[static_cast<std::size_t>(position)]
                                                  : kNoCropFacts;
}
// Group and class of the crop at a position of CropCatalogue; None for the blank entry and
// for positions outside the list.
inline CropGroup GroupOfCrop(Index position) {
    return FactsOfCrop(position).Group;
}
inline CropClass ClassOfCrop(Index position) {
    return FactsOfCrop(position).Class;
}
// Code text of the crop at a position; "" outside the list.
const std::string& CodeOfCrop(Index position);
// True when the position chooses a crop (not the blank entry, not outside the list).
inline bool IsCropPosition(Index position) {
    return position > 0 && position < kCropCount;
}

// Builds every catalogue now instead of on first use.
void BuildCatalogues();

} // namespace brisolt
