#include <array>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "key/site/site_influence.h"
#include "key/startup.h"
#include "report/report_test_support.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

using testing::BodyText;
using testing::IsCell;

// Columns of the protocol, from the left margin.
constexpr double kA = 0, kC = 52.9, kD = 61.4, kE = 82.5, kF = 152.4;

AssessmentRecord Fresh() {
    return FreshRecord(2026);
}

TEST(EvaluationProtocol, FreshAssessment) {
    const AssessmentRecord record = Fresh();
    const Page page = BuildEvaluationProtocol(record, '.');

    EXPECT_EQ(page.elements.at(0).text, "Auswerteprotokoll Gefährdungsstufe Bodenfruchtbarkeit");
    EXPECT_EQ(page.elements.at(1).text, "Brisolt V2.02");
    EXPECT_EQ(BodyText(page, 120.7, 2.1).text, "2026");

    EXPECT_EQ(BodyText(page, kC, 36.0).text, "0 % "); // gradient
    EXPECT_EQ(BodyText(page, kF, 36.0).text, "A");    // region
    EXPECT_EQ(BodyText(page, kC, 40.2).text, "0 m "); // flow length
    EXPECT_EQ(BodyText(page, 23.3, 44.5).text, SoilTypeNames(0).at(0) + " ");
    EXPECT_EQ(BodyText(page, kC, 48.7).text, "0 % "); // stones
    EXPECT_EQ(BodyText(page, kC, 52.9).text, "In Fallinie ");
    EXPECT_EQ(BodyText(page, kF, 48.7).text, "0 ");  // ST
    EXPECT_EQ(BodyText(page, kF, 52.9).text, "0 ");  // ST'
    EXPECT_EQ(BodyText(page, kF, 135.5).text, "0 "); // C
    EXPECT_EQ(BodyText(page, kF, 148.2).text, "0 "); // EF
    EXPECT_EQ(BodyText(page, kF, 182.0).text, "0 "); // EL
    EXPECT_EQ(BodyText(page, kF, 194.7).text, "0 "); // EFL
    EXPECT_EQ(BodyText(page, 38.1, 199.0).text, "Bodenverlust/Jahr = 0.00 mm oder 0.000 t/ha");
    EXPECT_EQ(BodyText(page, kD, 211.1).text, "Bodenkarte");
    EXPECT_EQ(BodyText(page, kF, 211.7).text, "0 cm ");
    EXPECT_EQ(BodyText(page, kF, 226.5).text, " "); // no GBF yet

    // Every share cell is empty but still a framed grey cell.
    const std::vector<std::pair<double, double>> shares = {
        {kD, 76.2},  {kD, 80.4},  {kD, 84.7},  {kD, 88.9},  {kD, 93.1},  {kD, 97.4},
        {kF, 76.2},  {kF, 80.4},  {kF, 84.7},  {kF, 88.9},  {kF, 93.1},  {kF, 97.4},
        {kF, 101.6}, {kF, 105.8}, {kD, 118.5}, {kD, 122.8}, {kD, 127.0}, {kD, 131.2},
        {kD, 135.5}, {kE, 118.5}, {kE, 122.8}, {kE, 127.0}, {kE, 131.2}, {kE, 135.5}};
    for (const auto& [x, y] : shares) {
        const Element& cell = BodyText(page, x, y);
        EXPECT_EQ(cell.text, "") << x << ", " << y;
        EXPECT_TRUE(IsCell(cell)) << x << ", " << y;
    }

    // Only the first observation line; the other three are empty frames.
    EXPECT_EQ(BodyText(page, kA, 164.6).text, "Erosionsrinnen entstehen");
    EXPECT_EQ(BodyText(page, kD, 164.6).text, "Nein");
    for (const double y : {168.8, 173.0, 177.3}) {
        const Element& question = BodyText(page, kA, y);
        const Element& answer = BodyText(page, kD, y);
        EXPECT_EQ(question.text, "");
        EXPECT_EQ(answer.text, "");
        EXPECT_TRUE(question.frame.Any());
        EXPECT_EQ(question.fill, Fill::White);
        EXPECT_TRUE(IsCell(answer));
        EXPECT_EQ(answer.align, Align::Left);
    }
}

TEST(EvaluationProtocol, ElementPositionsAndStyles) {
    const Page page = BuildEvaluationProtocol(Fresh(), '.');

    const Element* step3 = FindText(page, "Schritt 3");
    ASSERT_NE(step3, nullptr);
    EXPECT_DOUBLE_EQ(step3->box.x, 20.0);
    EXPECT_DOUBLE_EQ(step3->box.y, 23.5 + 143.9);
    EXPECT_DOUBLE_EQ(step3->box.height, 5.3);
    EXPECT_EQ(step3->fontPoints, 11);
    EXPECT_TRUE(step3->bold);
    for (int step = 1; step <= 7; ++step) {
        EXPECT_NE(FindText(page, "Schritt " + std::to_string(step)), nullptr) << step;
    }

    const Element* unit = FindText(page, "EFL");
    ASSERT_NE(unit, nullptr);
    EXPECT_DOUBLE_EQ(unit->box.x, 20.0 + 169.3);
    EXPECT_DOUBLE_EQ(unit->box.y, 23.5 + 194.7);
    EXPECT_DOUBLE_EQ(unit->box.width, 9.0);
    EXPECT_TRUE(unit->bold);
    EXPECT_FALSE(unit->frame.Any());

    const Element& efl = BodyText(page, kF, 194.7);
    EXPECT_DOUBLE_EQ(efl.box.width, 15.1);
    EXPECT_DOUBLE_EQ(efl.box.height, 4.5);
    EXPECT_TRUE(IsCell(efl));
    EXPECT_EQ(efl.align, Align::Right);
    EXPECT_EQ(BodyText(page, kF, 36.0).align, Align::Center); // region

    const Element* step4 = FindText(page, "Zuschlag für linienhafte Erosion (Rinnenerosion) "
                                          "bestimmen (aus der Beobachtung von Rillen / Rinnen)");
    ASSERT_NE(step4, nullptr);
    EXPECT_DOUBLE_EQ(step4->box.height, 8.2);

    const Element* caption = FindText(page, "Gesamtgefährdung: EFL = EF + EL ");
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->align, Align::Right);
    EXPECT_TRUE(caption->bold);

    // The result box comes before its three lines, so they are drawn over it.
    std::size_t box = page.elements.size();
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        if (page.elements[i].kind == ElementKind::Box) {
            box = i;
        }
    }
    ASSERT_LT(box, page.elements.size());
    const Element& frame = page.elements[box];
    EXPECT_DOUBLE_EQ(frame.box.x, 20.0 + 84.7);
    EXPECT_DOUBLE_EQ(frame.box.y, 23.5 + 234.7);
    EXPECT_DOUBLE_EQ(frame.box.height, 17.2);
    EXPECT_EQ(frame.fill, Fill::Grey);
    EXPECT_TRUE(frame.frame.Any());
    const Element& line1 = BodyText(page, 86.8, 236.5);
    EXPECT_GT(&line1, &frame);
    EXPECT_DOUBLE_EQ(line1.box.height, 9.0);
}

TEST(EvaluationProtocol, EverythingLiesOnOnePage) {
    AssessmentRecord record = Fresh();
    record.GBF = "2";
    const Page page = BuildEvaluationProtocol(record, '.');
    for (const Element& e : page.elements) {
        EXPECT_GE(e.box.x, 20.0 - 1e-9) << e.text;
        EXPECT_LE(e.box.x + e.box.width, 200.2 + 1e-9) << e.text;
        EXPECT_GE(e.box.y, 10.0) << e.text;
        EXPECT_LE(e.box.y + e.box.height, 287.0) << e.text;
        EXPECT_GT(e.box.width, 0) << e.text;
        EXPECT_GT(e.box.height, 0) << e.text;
    }
}

struct SoilLossCase {
    Real mm;
    Real tha;
    const char* line;
};

class SoilLossLine : public ::testing::TestWithParam<SoilLossCase> {};
TEST_P(SoilLossLine, TwoAndThreeDecimalsWithPoint) {
    AssessmentRecord record = Fresh();
    record.SoilLossMM = GetParam().mm;
    record.SoilLossTHA = GetParam().tha;
    for (const char separator : {'.', ','}) {
        const Page page = BuildEvaluationProtocol(record, separator);
        const Element& line = BodyText(page, 38.1, 199.0);
        EXPECT_EQ(line.text, GetParam().line);
        EXPECT_EQ(line.align, Align::Right);
        EXPECT_FALSE(line.bold);
    }
}
INSTANTIATE_TEST_SUITE_P(
    Step5, SoilLossLine,
    ::testing::Values(
        SoilLossCase{0, 0, "Bodenverlust/Jahr = 0.00 mm oder 0.000 t/ha"},
        SoilLossCase{2.5L, 3.25L, "Bodenverlust/Jahr = 2.50 mm oder 3.250 t/ha"},
        SoilLossCase{54.0L / 120, 54.0L / 10, "Bodenverlust/Jahr = 0.45 mm oder 5.400 t/ha"},
        SoilLossCase{15.0L / 120, 15.0L / 10, "Bodenverlust/Jahr = 0.12 mm oder 1.500 t/ha"},
        SoilLossCase{0.05L, 1.007L, "Bodenverlust/Jahr = 0.05 mm oder 1.007 t/ha"}));

struct RoundedCase {
    Real value;
    const char* text;
};

class RoundedResults : public ::testing::TestWithParam<RoundedCase> {};
TEST_P(RoundedResults, EveryRoundedCellHalvesToEven) {
    const RoundedCase& c = GetParam();
    AssessmentRecord record = Fresh();
    record.ST = record.STReduced = record.EF = record.EL = record.EFL = c.value;
    const Page page = BuildEvaluationProtocol(record, '.');
    for (const double y : {48.7, 52.9, 148.2, 182.0, 194.7}) {
        EXPECT_EQ(BodyText(page, kF, y).text, c.text) << "y " << y;
    }
}
INSTANTIATE_TEST_SUITE_P(Format2, RoundedResults,
                         ::testing::Values(RoundedCase{2.5L, "2 "}, RoundedCase{3.5L, "4 "},
                                           RoundedCase{0.4L, "0 "}, RoundedCase{54.6L, "55 "},
                                           RoundedCase{117.5L, "118 "}));

TEST(EvaluationProtocol, SharesAndCWithEitherSeparator) {
    AssessmentRecord record = Fresh();
    record.Total2A[1] = 12.5L;
    record.Total2C[7] = 100;
    record.Total2B[4] = 33.3L;
    record.Total2D[0] = 66.7L;
    record.C = 0.125L;
    struct Expected {
        char separator;
        const char* a2;
        const char* c8;
        const char* b99;
        const char* d1;
        const char* c;
    };
    for (const Expected& x : {Expected{'.', "12.5 % ", "100 % ", "33.3 % ", "66.7 % ", "0.125 "},
                              Expected{',', "12,5 % ", "100 % ", "33,3 % ", "66,7 % ", "0,125 "}}) {
        const Page page = BuildEvaluationProtocol(record, x.separator);
        EXPECT_EQ(BodyText(page, kD, 80.4).text, x.a2);
        EXPECT_EQ(BodyText(page, kF, 105.8).text, x.c8);
        EXPECT_EQ(BodyText(page, kD, 135.5).text, x.b99);
        EXPECT_EQ(BodyText(page, kE, 118.5).text, x.d1);
        EXPECT_EQ(BodyText(page, kF, 135.5).text, x.c);
        EXPECT_EQ(BodyText(page, kD, 76.2).text, ""); // other shares stay empty
    }
}

struct GbfCase {
    const char* gbf;
    std::array<const char*, 3> lines;
};

class ResultBox : public ::testing::TestWithParam<GbfCase> {};
TEST_P(ResultBox, ThreeLinesByLevel) {
    AssessmentRecord record = Fresh();
    record.GBF = GetParam().gbf;
    const Page page = BuildEvaluationProtocol(record, '.');
    EXPECT_EQ(BodyText(page, kF, 226.5).text, std::string(GetParam().gbf) + " ");
    const std::array<double, 3> rows = {236.5, 240.8, 245.0};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Element& line = BodyText(page, 86.8, rows[i]);
        EXPECT_EQ(line.text, GetParam().lines[i]) << "line " << i + 1;
        EXPECT_EQ(line.align, Align::Center);
        EXPECT_TRUE(line.bold);
        // Line 2 lies over the lower half of line 1: it must not paint over it.
        EXPECT_NE(line.fill, Fill::White);
        EXPECT_FALSE(line.frame.Any());
    }
}
INSTANTIATE_TEST_SUITE_P(
    Step7, ResultBox,
    ::testing::Values(
        GbfCase{"0", {"", "Bodenfruchtbarkeit nicht gefährdet", ""}},
        GbfCase{"1A",
                {"Bodenfruchtbarkeit kann langfristig gefährdet sein", "",
                 "Schutzmassnahmen empfehlenswert"}},
        GbfCase{"1B",
                {"Bodenfruchtbarkeit langfristig gefährdet", "", "Schutzmassnahmen notwendig"}},
        GbfCase{"2",
                {"Bodenfruchtbarkeit gefährdet", "Schutzmassnahmen notwendig",
                 "Kontakt mit Beratung aufnehmen"}},
        GbfCase{"3",
                {"Bodenfruchtbarkeit akut gefährdet", "Schutzmassnahmen sehr dringlich",
                 "Kontakt mit Beratung aufnehmen"}},
        GbfCase{"1a", {"", "", ""}}, GbfCase{"", {"", "", ""}}, GbfCase{"4", {"", "", ""}}));

struct RillCase {
    Index channels, num, depths, depth, width, frequency;
    std::array<const char*, 8> lines; // question and answer of lines 1 to 4
};

class ObservationLines : public ::testing::TestWithParam<RillCase> {};
TEST_P(ObservationLines, FollowTheAnswers) {
    const RillCase& c = GetParam();
    AssessmentRecord record = Fresh();
    record.Channels = c.channels;
    record.NumChannels = c.num;
    record.DepthChannels = c.depths;
    record.DepthChannel = c.depth;
    record.WidthChannel = c.width;
    record.FrequencyChannels = c.frequency;
    const Page page = BuildEvaluationProtocol(record, '.');
    const std::array<double, 4> rows = {164.6, 168.8, 173.0, 177.3};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(BodyText(page, kA, rows[i]).text, c.lines[2 * i]) << "line " << i + 1;
        EXPECT_EQ(BodyText(page, kD, rows[i]).text, c.lines[2 * i + 1]) << "line " << i + 1;
    }
}
INSTANTIATE_TEST_SUITE_P(
    Step4, ObservationLines,
    ::testing::Values(
        // No rills: whatever the other answers say.
        RillCase{1, 1, 1, 2, 1, 4, {"Erosionsrinnen entstehen", "Nein", "", "", "", "", "", ""}},
        // One rill, shallow or middle: depth, width and frequency.
        RillCase{0,
                 0,
                 1,
                 0,
                 0,
                 0,
                 {"Anzahl Rinnen", "eine Rinne", "Tiefe der Einzelrinne", "< 15 cm",
                  "Breite der Einzelrinne", "gleich breit wie tief",
                  "Häufigkeit der Erosionsrinnen", "jedes Jahr"}},
        RillCase{0,
                 0,
                 0,
                 1,
                 1,
                 3,
                 {"Anzahl Rinnen", "eine Rinne", "Tiefe der Einzelrinne", "15 - 25 cm",
                  "Breite der Einzelrinne", "deutlich breiter als tief",
                  "Häufigkeit der Erosionsrinnen", "alle 4 - 5 Jahre"}},
        // One rill deeper than 25 cm: no width line.
        RillCase{0,
                 0,
                 0,
                 2,
                 1,
                 1,
                 {"Anzahl Rinnen", "eine Rinne", "Tiefe der Einzelrinne", "> 25 cm",
                  "Häufigkeit der Erosionsrinnen", "alle 2 Jahre", "", ""}},
        // Several rills: their own depth question, no width line.
        RillCase{0,
                 1,
                 0,
                 2,
                 1,
                 2,
                 {"Anzahl Rinnen", "mehrere Rinnen", "Tiefe der Rinnen", "<= 15 cm",
                  "Häufigkeit der Erosionsrinnen", "alle 3 Jahre", "", ""}},
        RillCase{0,
                 1,
                 1,
                 0,
                 0,
                 4,
                 {"Anzahl Rinnen", "mehrere Rinnen", "Tiefe der Rinnen", "> 15 cm",
                  "Häufigkeit der Erosionsrinnen", "seltener als alle 5 Jahre", "", ""}},
        // Answers outside their lists (a loaded file): empty answers, never a crash.
        RillCase{0,
                 0,
                 0,
                 7,
                 0,
                 99,
                 {"Anzahl Rinnen", "eine Rinne", "Tiefe der Einzelrinne", "",
                  "Häufigkeit der Erosionsrinnen", "", "", ""}},
        RillCase{0,
                 5,
                 -3,
                 0,
                 0,
                 -1,
                 {"Anzahl Rinnen", "", "Tiefe der Rinnen", "", "Häufigkeit der Erosionsrinnen", "",
                  "", ""}}));

// Every combination of answers within the lists: the lines are filled from the top without
// gaps, each question has its answer, and the frequency is asked exactly once when rills arise.
TEST(ObservationLines, EveryAnswerCombination) {
    const std::array<double, 4> rows = {164.6, 168.8, 173.0, 177.3};
    int combinations = 0;
    for (Index channels = 0; channels < 2; ++channels)
        for (Index num = 0; num < 2; ++num)
            for (Index depths = 0; depths < 2; ++depths)
                for (Index depth = 0; depth < 3; ++depth)
                    for (Index width = 0; width < 2; ++width)
                        for (Index frequency = 0; frequency < 5; ++frequency) {
                            ++combinations;
                            AssessmentRecord record = Fresh();
                            record.Channels = channels;
                            record.NumChannels = num;
                            record.DepthChannels = depths;
                            record.DepthChannel = depth;
                            record.WidthChannel = width;
                            record.FrequencyChannels = frequency;
                            const Page page = BuildEvaluationProtocol(record, '.');
                            int filled = 0;
                            int frequencyLines = 0;
                            bool gap = false;
                            for (const double y : rows) {
                                const std::string& q = BodyText(page, kA, y).text;
                                const std::string& a = BodyText(page, kD, y).text;
                                EXPECT_EQ(q.empty(), a.empty());
                                if (q.empty()) {
                                    gap = true;
                                    continue;
                                }
                                EXPECT_FALSE(gap) << "line after an empty one";
                                ++filled;
                                frequencyLines += q == "Häufigkeit der Erosionsrinnen";
                            }
                            const int expected =
                                channels == 1 ? 1 : (num == 0 && depth < 2 ? 4 : 3);
                            EXPECT_EQ(filled, expected);
                            EXPECT_EQ(frequencyLines, channels == 1 ? 0 : 1);
                        }
    EXPECT_EQ(combinations, 240);
}

TEST(EvaluationProtocol, CodesOutsideTheirListsLeaveEmptyFramedCells) {
    AssessmentRecord record = Fresh();
    record.Region = 8;
    record.SoilType = 0;
    record.Entertainment = 2;
    record.Method = 3;
    Page page = BuildEvaluationProtocol(record, '.');
    for (const auto& [x, y] : std::vector<std::pair<double, double>>{
             {kF, 36.0}, {23.3, 44.5}, {kC, 52.9}, {kD, 211.1}}) {
        const Element& cell = BodyText(page, x, y);
        EXPECT_EQ(cell.text, "") << x << ", " << y;
        EXPECT_TRUE(IsCell(cell)) << x << ", " << y;
    }

    record = Fresh();
    record.Region = -1;
    record.SoilType = 999;
    record.Entertainment = -1;
    record.Method = -1;
    page = BuildEvaluationProtocol(record, '.');
    EXPECT_EQ(BodyText(page, kF, 36.0).text, "");
    EXPECT_EQ(BodyText(page, 23.3, 44.5).text, "");
    EXPECT_EQ(BodyText(page, kC, 52.9).text, "");
    EXPECT_EQ(BodyText(page, kD, 211.1).text, "");
}

TEST(EvaluationProtocol, ChosenCodesShowTheirTexts) {
    AssessmentRecord record = Fresh();
    record.Region = 7;
    record.SoilType = static_cast<Index>(SoilTypeNames(7).size()) - 1;
    record.Entertainment = 1;
    record.Method = 2;
    record.Gradient = 12;
    record.FloatDistance = 150;
    record.Stones = 5;
    record.DepthSoil = 80;
    const Page page = BuildEvaluationProtocol(record, '.');
    EXPECT_EQ(BodyText(page, kF, 36.0).text, "H");
    EXPECT_EQ(BodyText(page, 23.3, 44.5).text, SoilTypeNames(7).back() + " ");
    EXPECT_EQ(BodyText(page, kC, 52.9).text, "Quer zum Hang ");
    EXPECT_EQ(BodyText(page, kD, 211.1).text, "Regionale Standardwerte");
    EXPECT_EQ(BodyText(page, kC, 36.0).text, "12 % ");
    EXPECT_EQ(BodyText(page, kC, 40.2).text, "150 m ");
    EXPECT_EQ(BodyText(page, kC, 48.7).text, "5 % ");
    EXPECT_EQ(BodyText(page, kF, 211.7).text, "80 cm ");
    EXPECT_EQ(FindText(page, "Bohrung"), nullptr);
}

// Long farm texts stay whole in their fixed boxes: the painter shrinks them or ends them with
// "…", and nothing else on the page moves.
TEST(EvaluationProtocol, LongTextsKeepTheLayout) {
    const Page plain = BuildEvaluationProtocol(Fresh(), '.');
    AssessmentRecord record = Fresh();
    const std::string longText(400, 'x');
    record.NameSurname = record.Address1 = record.Address2 = record.Parzelle = longText;
    record.Variant = record.EnteredBy = record.EnteredOn = longText;
    const Page page = BuildEvaluationProtocol(record, '.');

    ASSERT_EQ(page.elements.size(), plain.elements.size());
    for (std::size_t i = 0; i < page.elements.size(); ++i) {
        EXPECT_DOUBLE_EQ(page.elements[i].box.x, plain.elements[i].box.x);
        EXPECT_DOUBLE_EQ(page.elements[i].box.y, plain.elements[i].box.y);
        EXPECT_DOUBLE_EQ(page.elements[i].box.width, plain.elements[i].box.width);
        EXPECT_DOUBLE_EQ(page.elements[i].box.height, plain.elements[i].box.height);
    }
    EXPECT_EQ(BodyText(page, 38.1, 2.1).text, longText);
    EXPECT_DOUBLE_EQ(BodyText(page, 38.1, 2.1).box.height, 4.5);
    EXPECT_EQ(BodyText(page, 120.7, 14.8).text, longText);
    EXPECT_DOUBLE_EQ(BodyText(page, 120.7, 14.8).box.height, 8.7);
    EXPECT_TRUE(BodyText(page, 38.1, 2.1).wrap);
}

TEST(EvaluationProtocol, FarmData) {
    AssessmentRecord record = Fresh();
    record.NameSurname = "Muster Hans";
    record.Address1 = "Hof 1";
    record.Address2 = "9999 Dorf";
    record.Parzelle = "Langacker";
    record.Variant = "A";
    record.Year = 2031;
    record.EnteredBy = "Beraterin";
    record.EnteredOn = "1.4.2031";
    const Page page = BuildEvaluationProtocol(record, '.');
    const std::vector<std::tuple<double, double, std::string>> expected = {
        {0, 2.1, "Name und Vorname :"},
        {38.1, 2.1, "Muster Hans"},
        {82.5, 2.1, "Jahr der Abschätzung :"},
        {120.7, 2.1, "2031"},
        {0, 6.3, "Adresse :"},
        {38.1, 6.3, "Hof 1"},
        {82.5, 6.3, "Variante :"},
        {120.7, 6.3, "A"},
        {38.1, 10.6, "9999 Dorf"},
        {82.5, 10.6, "Erstellt am :"},
        {120.7, 10.6, "1.4.2031"},
        {0, 14.8, "Flurname / Parzelle :"},
        {38.1, 14.8, "Langacker"},
        {82.5, 14.8, "Erstellt durch :"},
        {120.7, 14.8, "Beraterin"}};
    for (const auto& [x, y, text] : expected) {
        const Element& e = BodyText(page, x, y);
        EXPECT_EQ(e.text, text);
        EXPECT_TRUE(e.bold) << text;
        EXPECT_FALSE(e.frame.Any()) << text;
    }
}

} // namespace
} // namespace brisolt::report
