#include <gtest/gtest.h>

#include <set>

#include "key/rotation/catalogues.h"

namespace brisolt {
namespace {

TEST(Catalogues, SizesAndBlankFirstEntry) {
    const std::pair<const Catalogue*, Int> lists[] = {
        {&CropCatalogue(), 39}, {&PeriodTypes(), 9}, {&TillageOptions(), 6}, {&PeriodStarts(), 13}};
    for (auto [list, size] : lists) {
        EXPECT_EQ(list->Size(), size);
        EXPECT_EQ(list->Codes.size(), list->Texts.size());
        EXPECT_EQ(list->Texts[0], "");
        EXPECT_EQ(list->Codes[0], "0");
    }
    const CropCatalogueList& crops = CropCatalogue();
    for (const auto* column :
         {&crops.Groups, &crops.Classes, &crops.TableColumns, &crops.SpringSown}) {
        ASSERT_EQ(column->size(), 39u);
        EXPECT_EQ((*column)[0], "-");
    }
}

TEST(Catalogues, CropRows) {
    struct Row {
        Index pos;
        const char* name;
        const char* code;
        const char* group;
        const char* cls;
        const char* column;
        const char* spring;
        CropGroup g;
        CropClass c;
    };
    const Row rows[] = {
        {1, "Ackerbohnen (Winter)", "2", "HF", "BFW", "Q", "0", CropGroup::HF, CropClass::BFW},
        {10, "Freilandgemüse", "9", "BF", "SOK", "G", "1", CropGroup::BF, CropClass::SOK},
        {20, "Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", "18", "KW", "KWB", "-", "0", CropGroup::KW,
         CropClass::KWB},
        {37, "Weizen (Winter)", "36", "WW", "HFW", "-", "0", CropGroup::WW, CropClass::HFW},
        {38, "Weizen (Sommer)", "37", "HF", "HFS", "M", "1", CropGroup::HF, CropClass::HFS},
    };
    const CropCatalogueList& crops = CropCatalogue();
    for (const Row& r : rows) {
        const auto p = static_cast<std::size_t>(r.pos);
        EXPECT_EQ(crops.Texts[p], r.name);
        EXPECT_EQ(crops.Codes[p], r.code) << r.name;
        EXPECT_EQ(crops.Groups[p], r.group) << r.name;
        EXPECT_EQ(crops.Classes[p], r.cls) << r.name;
        EXPECT_EQ(crops.TableColumns[p], r.column) << r.name;
        EXPECT_EQ(crops.SpringSown[p], r.spring) << r.name;
        EXPECT_EQ(GroupOfCrop(r.pos), r.g) << r.name;
        EXPECT_EQ(ClassOfCrop(r.pos), r.c) << r.name;
    }
    // Codes 1 ... 38 each name exactly one crop.
    std::set<std::string> codes(crops.Codes.begin() + 1, crops.Codes.end());
    EXPECT_EQ(codes.size(), 38u);
    for (int code = 1; code <= 38; ++code) {
        EXPECT_EQ(codes.count(std::to_string(code)), 1u) << code;
    }
}

// The checks and the calculation read the crops' facts in parsed form; they must say what the
// catalogue's texts say.
TEST(Catalogues, ParsedFactsMatchTheTexts) {
    const CropCatalogueList& crops = CropCatalogue();
    for (Index p = 0; p < kCropCount; ++p) {
        const auto i = static_cast<std::size_t>(p);
        const CropFacts& f = FactsOfCrop(p);
        EXPECT_EQ(std::to_string(f.Code), crops.Codes[i]) << p;
        EXPECT_EQ(std::string(1, f.Column), crops.TableColumns[i]) << p;
        EXPECT_EQ(f.SpringSown, crops.SpringSown[i] == "1") << p;
        const char* groups[] = {"-", "WW", "HF", "BF", "KW", "RB", "CH"};
        const char* classes[] = {"-", "HFW", "HFS", "BFW", "BFS", "KWB", "SOK"};
        EXPECT_EQ(groups[static_cast<int>(f.Group)], crops.Groups[i]) << p;
        EXPECT_EQ(classes[static_cast<int>(f.Class)], crops.Classes[i]) << p;
    }
    EXPECT_EQ(FactsOfCrop(kCropCount).Code, -1);
    EXPECT_EQ(FactsOfCrop(-1).Code, -1);
}

TEST(Catalogues, PositionsOutsideTheCropListAreNoCrop) {
    for (Index p : {-5, -1, 0, 39, 99}) {
        EXPECT_FALSE(IsCropPosition(p)) << p;
        EXPECT_EQ(GroupOfCrop(p), CropGroup::None);
        EXPECT_EQ(ClassOfCrop(p), CropClass::None);
    }
    EXPECT_EQ(CodeOfCrop(99), "");
    EXPECT_EQ(CodeOfCrop(-1), "");
    EXPECT_TRUE(IsCropPosition(38));
}

TEST(Catalogues, TillageAndPeriodTexts) {
    EXPECT_EQ(
        TillageOptions().Texts,
        (std::vector<std::string>{"", "keine Bodenbearbeitung", "Plug/pfluglos unter 10% Bedeckung",
                                  "Mulchsaat 10-30% Bedeckung", "Mulchsaat über 30% Bedeckung",
                                  "Direktsaat/Streifenfrässaat"}));
    EXPECT_EQ(TillageOptions().Codes, (std::vector<std::string>{"0", "99", "1", "2", "3", "4"}));
    EXPECT_EQ(PeriodTypes().Texts[4], "Stoppelbrache vor Winterkultur");
    EXPECT_EQ(PeriodTypes().Texts[8], "Zwischenfutter/Gründüngung im Winter, überwinternd");
    EXPECT_EQ(PeriodTypes().Codes[8], "8");
    EXPECT_EQ(PeriodStarts().Texts[1], "vor dem 20.07.");
    EXPECT_EQ(PeriodStarts().Texts[12], "01.12. bis 15.12.");
    EXPECT_EQ(PeriodStarts().Codes[12], "12");
}

} // namespace
} // namespace brisolt
