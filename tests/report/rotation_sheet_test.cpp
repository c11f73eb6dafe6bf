#include <array>
#include <string>

#include <gtest/gtest.h>

#include "key/startup.h"
#include "report/report_test_support.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

using testing::BodyText;
using testing::IsCell;

constexpr std::array<double, 10> kLine1 = {55.0,  65.6,  76.2,  87.0,  97.4,
                                           108.2, 118.5, 129.4, 140.0, 150.5};
constexpr std::array<double, 10> kLine2 = {59.3,  69.8,  80.4,  91.0,  101.6,
                                           112.2, 122.8, 133.3, 143.9, 154.5};

// A three-year rotation: caption texts a ... e of each year.
AssessmentRecord ThreeYears() {
    AssessmentRecord record = FreshRecord(2026);
    const std::array<std::array<const char*, 5>, 3> captions = {{
        {"Winterweizen", "Gründüngung abfrierend", "Pflug", "Mulchsaat", "August"},
        {"Mais", "Keine Zwischenperiode", "Direktsaat", "", ""},
        {"Kunstwiese", "", "Pflug", "", ""},
    }};
    for (std::size_t i = 0; i < captions.size(); ++i) {
        for (std::size_t k = 0; k < 5; ++k) {
            record.Rotation[i].text[k] = captions[i][k];
        }
    }
    record.C = 0.21L;
    record.Remark = "Hanglage";
    return record;
}

TEST(RotationSheet, TenBlocksWhateverTheRotationLength) {
    const AssessmentRecord record = ThreeYears();
    const Page page = BuildRotationSheet(record, '.');
    for (std::size_t i = 0; i < 10; ++i) {
        const double y1 = kLine1[i], y2 = kLine2[i];
        const Element& year = BodyText(page, 0, y1);
        EXPECT_EQ(year.text, std::to_string(record.Rotation[i].Year)) << "year " << i + 1;
        EXPECT_TRUE(IsCell(year));
        EXPECT_EQ(year.align, Align::Center);
        for (const auto& [y, marker] : {std::pair{y1, "1"}, std::pair{y2, "2"}}) {
            const Element& e = BodyText(page, 19.1, y);
            EXPECT_EQ(e.text, marker);
            EXPECT_EQ(e.fill, Fill::White);
            EXPECT_TRUE(e.frame.Any());
            EXPECT_EQ(e.align, Align::Center);
        }
        const std::array<std::pair<double, double>, 5> cells = {
            {{23.3, y1}, {23.3, y2}, {99.5, y1}, {99.5, y2}, {154.5, y2}}}; // a b c d e
        for (std::size_t k = 0; k < cells.size(); ++k) {
            const Element& cell = BodyText(page, cells[k].first, cells[k].second);
            EXPECT_EQ(cell.text, record.Rotation[i].text[k]) << "year " << i + 1 << " text " << k;
            EXPECT_TRUE(IsCell(cell));
            EXPECT_EQ(cell.align, Align::Left);
            EXPECT_DOUBLE_EQ(cell.box.height, 4.5);
        }
    }
    EXPECT_EQ(BodyText(page, 23.3, kLine1[0]).text, "Winterweizen");
    EXPECT_EQ(BodyText(page, 154.5, kLine2[0]).text, "August");
    EXPECT_EQ(BodyText(page, 99.5, kLine1[1]).text, "Direktsaat");
    EXPECT_EQ(BodyText(page, 23.3, kLine1[3]).text, "");
    // The fresh record's ten calendar years end with the assessment year.
    EXPECT_EQ(BodyText(page, 0, kLine1[9]).text, "2026");
}

TEST(RotationSheet, YearNumbersOfZeroPrint) {
    AssessmentRecord record = FreshRecord(2026);
    for (RotationYear& year : record.Rotation) {
        year.Year = 0;
    }
    const Page page = BuildRotationSheet(record, '.');
    for (const double y : kLine1) {
        EXPECT_EQ(BodyText(page, 0, y).text, "0");
    }
}

struct CCase {
    Real c;
    char separator;
    const char* text;
};

class RotationFactor : public ::testing::TestWithParam<CCase> {};
TEST_P(RotationFactor, GeneralNumberAndBlank) {
    AssessmentRecord record = FreshRecord(2026);
    record.C = GetParam().c;
    const Page page = BuildRotationSheet(record, GetParam().separator);
    const Element& cell = BodyText(page, 154.5, 165.1);
    EXPECT_EQ(cell.text, GetParam().text);
    EXPECT_TRUE(IsCell(cell));
    EXPECT_EQ(cell.align, Align::Right);
}
INSTANTIATE_TEST_SUITE_P(Sheet, RotationFactor,
                         ::testing::Values(CCase{0, '.', "0 "}, CCase{0, ',', "0 "},
                                           CCase{0.21L, '.', "0.21 "}, CCase{0.21L, ',', "0,21 "},
                                           CCase{1.5L, ',', "1,5 "}, CCase{2, '.', "2 "}));

TEST(RotationSheet, FixedTextsAndFarmData) {
    AssessmentRecord record = ThreeYears();
    record.Parzelle = "Langacker";
    record.EnteredBy = "Beraterin";
    const Page page = BuildRotationSheet(record, '.');
    EXPECT_EQ(page.elements.at(0).text, "Schritt 2: Fruchtfolge");
    EXPECT_EQ(page.elements.at(1).text, "Brisolt V2.02");
    EXPECT_EQ(page.elements.at(2).kind, ElementKind::Line);

    EXPECT_EQ(BodyText(page, 0, 10.6).text, "Name und Vorname :");
    EXPECT_EQ(BodyText(page, 120.7, 10.6).text, "2026");
    EXPECT_EQ(BodyText(page, 38.1, 23.3).text, "Langacker");
    EXPECT_EQ(BodyText(page, 120.7, 23.3).text, "Beraterin");
    EXPECT_DOUBLE_EQ(BodyText(page, 120.7, 23.3).box.height, 8.7);

    const Element& heading = BodyText(page, 0, 44.5);
    EXPECT_EQ(heading.text, "Schritt 2");
    EXPECT_EQ(heading.fontPoints, 12);
    EXPECT_TRUE(heading.bold);
    EXPECT_DOUBLE_EQ(heading.box.height, 5.3);
    EXPECT_EQ(BodyText(page, 23.3, 44.5).text,
              "Fruchtfolgefaktor bestimmen und Auswertungen zu Fruchtfolge und Bodenbearbeitung");

    EXPECT_EQ(BodyText(page, 21.2, 165.1).text, "Fruchtfolgefaktor C (gemäss Schlüssel)");
    EXPECT_EQ(BodyText(page, 0, 188.4).text, "Bemerkungen :");
    EXPECT_EQ(BodyText(page, 0, 192.6).text, "Hanglage");

    const Element& place = BodyText(page, -2.1, 230.7);
    const Element& signature = BodyText(page, 91.0, 230.7);
    EXPECT_EQ(place.text, "Ort, Datum " + std::string(88, '.'));
    EXPECT_EQ(signature.text, "Unterschrift " + std::string(86, '.'));
    EXPECT_TRUE(place.bold);
    EXPECT_TRUE(signature.bold);
}

TEST(RotationSheet, LongRemarkAndCaptionsKeepTheirBoxes) {
    const Page plain = BuildRotationSheet(FreshRecord(2026), '.');
    AssessmentRecord record = FreshRecord(2026);
    std::string remark;
    for (int i = 0; i < 300; ++i) {
        remark += "Bemerkung ";
    }
    record.Remark = remark;
    for (RotationYear& year : record.Rotation) {
        year.text.fill(std::string(200, 'w'));
    }
    const Page page = BuildRotationSheet(record, ',');
    ASSERT_EQ(page.elements.size(), plain.elements.size());
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        EXPECT_DOUBLE_EQ(page.elements[i].box.y, plain.elements[i].box.y);
        EXPECT_DOUBLE_EQ(page.elements[i].box.height, plain.elements[i].box.height);
    }
    const Element& box = BodyText(page, 0, 192.6);
    EXPECT_EQ(box.text, remark);
    EXPECT_DOUBLE_EQ(box.box.height, 25.7);
    EXPECT_DOUBLE_EQ(box.box.width, 178.1);
    EXPECT_TRUE(box.wrap);
    EXPECT_EQ(box.align, Align::Left);
}

TEST(RotationSheet, EverythingLiesOnOnePage) {
    const Page page = BuildRotationSheet(ThreeYears(), '.');
    for (const Element& e : page.elements) {
        EXPECT_GE(e.box.x, 17.9 - 1e-9) << e.text;
        EXPECT_LE(e.box.x + e.box.width, 200.2 + 1e-9) << e.text;
        EXPECT_GE(e.box.y, 10.0) << e.text;
        EXPECT_LE(e.box.y + e.box.height, 287.0) << e.text;
    }
}

} // namespace
} // namespace brisolt::report
