#include "report/report_formats.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

#include "key/startup.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

struct RealCase {
    Real value;
    const char* text;
};

class RoundedValues : public ::testing::TestWithParam<RealCase> {};
TEST_P(RoundedValues, RoundHalvesToEven) {
    EXPECT_EQ(RoundedText(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Format2, RoundedValues,
                         ::testing::Values(RealCase{0, "0"}, RealCase{2.5L, "2"},
                                           RealCase{3.5L, "4"}, RealCase{0.5L, "0"},
                                           RealCase{1.5L, "2"}, RealCase{2.4999L, "2"},
                                           RealCase{2.5001L, "3"}, RealCase{54.3L, "54"},
                                           RealCase{-2.5L, "-2"}, RealCase{-3.6L, "-4"},
                                           RealCase{std::numeric_limits<Real>::quiet_NaN(), ""}));

class TwoDecimals : public ::testing::TestWithParam<RealCase> {};
TEST_P(TwoDecimals, AlwaysWithPoint) {
    EXPECT_EQ(TwoDecimalText(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Format5, TwoDecimals,
                         ::testing::Values(RealCase{0, "0.00"}, RealCase{2.5L, "2.50"},
                                           RealCase{0.05L, "0.05"}, RealCase{0.125L, "0.12"},
                                           RealCase{0.135L, "0.14"}, RealCase{0.45L, "0.45"},
                                           RealCase{15.0L / 120, "0.12"},
                                           RealCase{12.999L, "13.00"}));

class ThreeDecimals : public ::testing::TestWithParam<RealCase> {};
TEST_P(ThreeDecimals, AlwaysWithPoint) {
    EXPECT_EQ(ThreeDecimalText(GetParam().value), GetParam().text);
}
INSTANTIATE_TEST_SUITE_P(Format6, ThreeDecimals,
                         ::testing::Values(RealCase{0, "0.000"}, RealCase{3.25L, "3.250"},
                                           RealCase{1.007L, "1.007"}, RealCase{0.045L, "0.045"},
                                           RealCase{5.4L, "5.400"}, RealCase{0.0005L, "0.000"},
                                           RealCase{0.0015L, "0.002"}));

struct SeparatedCase {
    Real value;
    char separator;
    const char* general;
    const char* share;
};

class NumbersWithSeparator : public ::testing::TestWithParam<SeparatedCase> {};
TEST_P(NumbersWithSeparator, GeneralNumberAndShare) {
    const SeparatedCase& c = GetParam();
    EXPECT_EQ(GeneralNumberText(c.value, c.separator), c.general);
    EXPECT_EQ(ShareText(c.value, c.separator), c.share);
}
INSTANTIATE_TEST_SUITE_P(
    Formats3And4, NumbersWithSeparator,
    ::testing::Values(SeparatedCase{0, '.', "0", ""}, SeparatedCase{0, ',', "0", ""},
                      SeparatedCase{12.5L, '.', "12.5", "12.5 % "},
                      SeparatedCase{12.5L, ',', "12,5", "12,5 % "},
                      SeparatedCase{100, '.', "100", "100 % "},
                      SeparatedCase{0.1L, ',', "0,1", "0,1 % "},
                      SeparatedCase{1.0L / 3, '.', "0.333333333333333", "0.333333333333333 % "},
                      // C is never negative; if it were, the sign must not be lost.
                      SeparatedCase{-0.25L, '.', "-0.25", ""},
                      SeparatedCase{std::numeric_limits<Real>::quiet_NaN(), '.', "", ""},
                      SeparatedCase{std::numeric_limits<Real>::infinity(), '.', "", ""}));

TEST(ListEntry, IndexOutsideTheListGivesEmptyText) {
    const std::vector<std::string> list = {"a", "b"};
    EXPECT_EQ(ListEntry(list, 0), "a");
    EXPECT_EQ(ListEntry(list, 1), "b");
    EXPECT_EQ(ListEntry(list, 2), "");
    EXPECT_EQ(ListEntry(list, -1), "");
    EXPECT_EQ(ListEntry(list, std::numeric_limits<Index>::min()), "");
    EXPECT_EQ(ListEntry({}, 0), "");
}

struct NameCase {
    const char* parzelle;
    const char* variant;
    Int year;
    const char* kind;
    const char* name;
};

class PdfNames : public ::testing::TestWithParam<NameCase> {};
TEST_P(PdfNames, SafeAndComplete) {
    const NameCase& c = GetParam();
    AssessmentRecord record;
    record.Parzelle = c.parzelle;
    record.Variant = c.variant;
    record.Year = c.year;
    EXPECT_EQ(ProposedPdfName(record, c.kind), c.name);
}
INSTANTIATE_TEST_SUITE_P(
    ProposedPdfName, PdfNames,
    ::testing::Values(NameCase{"Langacker", "A", 2026, "Auswertung",
                               "Auswertung_Langacker_A_2026.pdf"},
                      NameCase{"Im Grund / Süd", "B:2", 2026, "Fruchtfolge",
                               "Fruchtfolge_Im_Grund_Süd_B_2_2026.pdf"},
                      NameCase{"", "", 2026, "Auswertung", "Auswertung_2026.pdf"},
                      NameCase{"", "", 0, "Auswertung", "Auswertung.pdf"},
                      NameCase{"..", "*?", 2026, "Auswertung", "Auswertung_2026.pdf"},
                      NameCase{"../etc/passwd", "", 0, "Auswertung", "Auswertung_etc_passwd.pdf"},
                      NameCase{"Feld\r\n", "\t", -5, "", "Bericht_Feld.pdf"}));

TEST(ProposedPdfName, VeryLongParcelIsCutWithoutBreakingACharacter) {
    AssessmentRecord record;
    for (int i = 0; i < 200; ++i) {
        record.Parzelle += "ä";
    }
    record.Year = 2026;
    const std::string name = ProposedPdfName(record, "Auswertung");
    EXPECT_LE(name.size(), 130u);
    ASSERT_GE(name.size(), 4u);
    EXPECT_EQ(name.substr(name.size() - 4), ".pdf");
    const std::string stem = name.substr(0, name.size() - 4);
    // "Auswertung_" is 11 bytes; every "ä" is two, so a whole number of them remains.
    EXPECT_EQ((stem.size() - 11) % 2, 0u);
}

TEST(PageBackground, TitleProductLineAndRule) {
    Page page;
    AddPageBackground(page, "Titel");
    ASSERT_EQ(page.elements.size(), 3u);
    const Element& title = page.elements[0];
    EXPECT_EQ(title.text, "Titel");
    EXPECT_DOUBLE_EQ(title.box.x, 21.2);
    EXPECT_DOUBLE_EQ(title.box.y, 10.6);
    EXPECT_EQ(title.fontPoints, 11);
    EXPECT_TRUE(title.bold);
    const Element& product = page.elements[1];
    EXPECT_EQ(product.text, "Brisolt V2.02");
    EXPECT_EQ(product.align, Align::Right);
    EXPECT_DOUBLE_EQ(product.box.x, 141.8);
    const Element& rule = page.elements[2];
    EXPECT_EQ(rule.kind, ElementKind::Line);
    EXPECT_DOUBLE_EQ(rule.box.x, 20.6);
    EXPECT_DOUBLE_EQ(rule.box.y, 15.1);
    EXPECT_DOUBLE_EQ(rule.box.width, 178.6);
    EXPECT_DOUBLE_EQ(rule.box.height, 2.1);
}

} // namespace
} // namespace brisolt::report
