#include "key/rotation/catalogues.h"

#include <array>
#include <string_view>

#include "key/core/number_text.h"

namespace brisolt {

namespace {

struct CropRow {
    const char* name;
    const char* code;
    const char* group;
    const char* cls;
    const char* column;
    const char* spring;
};

// Alphabetical by name; the codes are the key's own numbering.
constexpr CropRow kCrops[] = {
    {"", "0", "-", "-", "-", "-"},
    {"Ackerbohnen (Winter)", "2", "HF", "BFW", "Q", "0"},
    {"Ackerbohnen (Sommer)", "1", "HF", "BFS", "P", "1"},
    {"Chinaschilf 1. Jahr", "3", "CH", "SOK", "-", "1"},
    {"Chinaschilf 2. und folgende Jahre", "38", "CH", "SOK", "-", "1"},
    {"Dinkel", "4", "WW", "HFW", "-", "0"},
    {"Einkorn", "5", "WW", "HFW", "-", "0"},
    {"Eiweiss-/Ackererbsen (Winter)", "7", "HF", "BFW", "Q", "0"},
    {"Eiweiss-/Ackererbsen (Sommer)", "8", "HF", "BFS", "M", "1"},
    {"Emmer", "6", "WW", "HFW", "-", "0"},
    {"Freilandgemüse", "9", "BF", "SOK", "G", "1"},
    {"Gerste (Winter)", "10", "HF", "HFW", "J", "0"},
    {"Gerste (Sommer)", "11", "HF", "HFS", "M", "1"},
    {"Hafer (Winter)", "12", "HF", "HFW", "K", "0"},
    {"Hafer (Sommer)", "13", "HF", "HFS", "L", "1"},
    {"Hanf (Faserhanf)", "14", "HF", "SOK", "R", "1"},
    {"Kartoffeln (Saatkartoffeln)", "16", "BF", "BFS", "B", "1"},
    {"Kartoffeln (übrige)", "15", "BF", "BFS", "A", "1"},
    {"Korn", "17", "WW", "HFW", "-", "0"},
    {"Kunstwiese 1. Jahr (Frühlingssaat)", "19", "KW", "KWB", "-", "1"},
    {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", "18", "KW", "KWB", "-", "0"},
    {"Kunstwiese 2. und folgende Jahre", "20", "KW", "KWB", "-", "0"},
    {"Mais (Körnermais)", "21", "BF", "BFS", "C", "1"},
    {"Mais (Silomais)", "22", "BF", "BFS", "D", "1"},
    {"Raps (Winter)", "23", "HF", "BFW", "N", "0"},
    {"Raps (Sommer)", "24", "HF", "BFS", "O", "1"},
    {"Roggen (Winter)", "25", "HF", "HFW", "J", "0"},
    {"Rotations-/Buntbrachen (Frühlingssaat)", "26", "RB", "KWB", "-", "1"},
    {"Rotations-/Buntbrachen (Herbstsaat)", "27", "RB", "KWB", "-", "0"},
    {"Rotations-/Buntbrachen 2. und folgende Jahre", "28", "RB", "KWB", "-", "0"},
    {"Rüben (Futterrüben)", "30", "BF", "BFS", "F", "1"},
    {"Rüben (Zuckerrüben)", "29", "BF", "BFS", "E", "1"},
    {"Soja", "31", "BF", "BFS", "G", "1"},
    {"Sonnenblumen", "32", "BF", "BFS", "H", "1"},
    {"Tabak", "33", "BF", "BFS", "I", "1"},
    {"Triticale (Winter)", "34", "HF", "HFW", "J", "0"},
    {"Triticale (Sommer)", "35", "HF", "HFS", "M", "1"},
    {"Weizen (Winter)", "36", "WW", "HFW", "-", "0"},
    {"Weizen (Sommer)", "37", "HF", "HFS", "M", "1"},
};

constexpr CropGroup ParseGroup(std::string_view g) {
    if (g == "WW")
        return CropGroup::WW;
    if (g == "HF")
        return CropGroup::HF;
    if (g == "BF")
        return CropGroup::BF;
    if (g == "KW")
        return CropGroup::KW;
    if (g == "RB")
        return CropGroup::RB;
    if (g == "CH")
        return CropGroup::CH;
    return CropGroup::None;
}

constexpr CropClass ParseClass(std::string_view c) {
    if (c == "HFW")
        return CropClass::HFW;
    if (c == "HFS")
        return CropClass::HFS;
    if (c == "BFW")
        return CropClass::BFW;
    if (c == "BFS")
        return CropClass::BFS;
    if (c == "KWB")
        return CropClass::KWB;
    if (c == "SOK")
        return CropClass::SOK;
    return CropClass::None;
}

static_assert(std::size(kCrops) == kCropCount);

constexpr Int ParseCode(std::string_view code) {
    Int n = 0;
    for (char c : code) {
        n = n * 10 + (c - '0');
    }
    return n;
}

constexpr std::array<CropFacts, kCropCount> kFacts = [] {
    std::array<CropFacts, kCropCount> facts{};
    for (std::size_t i = 0; i < facts.size(); ++i) {
        const CropRow& row = kCrops[i];
        facts[i].Group = ParseGroup(row.group);
        facts[i].Class = ParseClass(row.cls);
        facts[i].Code = ParseCode(row.code);
        facts[i].Column = row.column[0];
        facts[i].SpringSown = std::string_view(row.spring) == "1";
    }
    return facts;
}();

CropCatalogueList BuildCropCatalogue() {
    std::vector<std::string> names;
    std::vector<std::string> codes;
    for (const CropRow& row : kCrops) {
        names.emplace_back(row.name);
        codes.emplace_back(row.code);
    }
    CropCatalogueList list(std::move(names), std::move(codes));
    for (const CropRow& row : kCrops) {
        list.Groups.emplace_back(row.group);
        list.Classes.emplace_back(row.cls);
        list.TableColumns.emplace_back(row.column);
        list.SpringSown.emplace_back(row.spring);
    }
    return list;
}

Catalogue CodeIsPosition(std::initializer_list<const char*> texts) {
    std::vector<std::string> names;
    std::vector<std::string> codes;
    for (const char* text : texts) {
        codes.push_back(std::to_string(names.size()));
        names.emplace_back(text);
    }
    return Catalogue(std::move(names), std::move(codes));
}

const std::string kEmpty;

} // namespace

constinit const std::array<CropFacts, kCropCount> kCropFacts = kFacts;

Catalogue::Catalogue(std::vector<std::string> texts, std::vector<std::string> codes)
    : Texts(std::move(texts)), Codes(std::move(codes)) {
    for (const std::string& code : Codes) {
        Numbers.push_back(ParseIntOrZero(code));
    }
}

const CropCatalogueList& CropCatalogue() {
    static const CropCatalogueList list = BuildCropCatalogue();
    return list;
}

const Catalogue& PeriodTypes() {
    static const Catalogue list = CodeIsPosition({
        "",
        "Keine Zwischenperiode",
        "Schwarzbrache im Herbst und Winter",
        "Stoppelbrache im Winter",
        "Stoppelbrache vor Winterkultur",
        "Zwischenfutter/Gründüngung vor Schwarzbrache",
        "Zwischenfutter/Gründüngung vor Winterkultur",
        "Zwischenfutter/Gründüngung im Winter, abfrierend",
        "Zwischenfutter/Gründüngung im Winter, überwinternd",
    });
    return list;
}

const Catalogue& TillageOptions() {
    static const Catalogue list{
        {"", "keine Bodenbearbeitung", "Plug/pfluglos unter 10% Bedeckung",
         "Mulchsaat 10-30% Bedeckung", "Mulchsaat über 30% Bedeckung",
         "Direktsaat/Streifenfrässaat"},
        {"0", "99", "1", "2", "3", "4"},
    };
    return list;
}

const Catalogue& PeriodStarts() {
    static const Catalogue list = CodeIsPosition({
        "",
        "vor dem 20.07.",
        "vor dem 31.07.",
        "20.07. bis 31.07.",
        "01.08. bis 15.08.",
        "16.08. bis 31.08.",
        "01.09. bis 15.09.",
        "16.09. bis 30.09.",
        "01.10. bis 15.10.",
        "16.10. bis 31.10.",
        "01.11. bis 15.11.",
        "16.11. bis 30.11.",
        "01.12. bis 15.12.",
    });
    return list;
}

const std::string& CodeOfCrop(Index position) {
    return CropCatalogue().Contains(position)
               ? CropCatalogue().Codes[static_cast<std::size_t>(position)]
               : kEmpty;
}

void BuildCatalogues() {
    (void)CropCatalogue();
    (void)PeriodTypes();
    (void)TillageOptions();
    (void)PeriodStarts();
}

} // namespace brisolt
