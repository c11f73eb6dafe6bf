#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/rotation/crop_rotation_factor.h"
#include "rotation_test_support.h"

namespace brisolt {
namespace {

using testing::kMulch;
using testing::kNoPeriod;
using testing::kPlough;
using testing::YearEntry;
using CropRotationFactor = testing::Step2Test;

TEST_F(CropRotationFactor, WorkedExample) {
    Enter(1, {"Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr, "20.07. bis 31.07."});
    Enter(2, {"Mais (Körnermais)", kMulch, "Zwischenfutter/Gründüngung vor Winterkultur", kPlough,
              "01.08. bis 15.08."});
    Enter(3, {"Gerste (Winter)", kPlough, "Schwarzbrache im Herbst und Winter", nullptr,
              "vor dem 31.07."});
    for (char separator : {'.', ','}) {
        SCOPED_TRACE(separator);
        SetDecimalSeparator(separator);
        record.KWBCount = 0;
        record.BFPercentage = 0;
        ASSERT_EQ(form.Calculate(record), std::nullopt);

        EXPECT_EQ(record.Years, 3);
        EXPECT_EQ(form.YearsText, "3");
        EXPECT_EQ(record.KWBCount, 0);
        EXPECT_EQ(record.BFPercentage, Real{1} / 3 * 100);
        EXPECT_EQ(record.C, RoundHalfEven(1.512L, 3));
        EXPECT_EQ(record.CABAG, RoundHalfEven(0.1512L, 4));
        EXPECT_EQ(form.CText, separator == '.' ? "1.512" : "1,512");
        EXPECT_EQ(form.CABAGText, separator == '.' ? "0.1512" : "0,1512");

        const std::array<std::array<const char*, 4>, 3> years = {{
            {"0.0856", "Tab14/1/1", "0.0159", "Tab36/1/3"},
            {"0.0589", "Tab05/2/C", "0.0753", "Tab34/1/4"},
            {"0.0425", "Tab09/1/J", "0.1753", "Tab40/1/2"},
        }};
        for (int n = 1; n <= 3; ++n) {
            const RotationYear& y = record.RotationYearAt(n);
            const auto& want = years[static_cast<std::size_t>(n - 1)];
            EXPECT_EQ(y.y, want[0]) << n;
            EXPECT_EQ(y.z, want[1]) << n;
            EXPECT_EQ(y.w, want[2]) << n;
            EXPECT_EQ(y.x, want[3]) << n;
            EXPECT_EQ(form.Row(n).y, want[0]);
            EXPECT_EQ(form.Row(n).x, want[3]);
        }
        const Real third = RoundHalfEven(33.3L, 1);
        const Real twoThirds = RoundHalfEven(66.7L, 1);
        EXPECT_EQ(record.Total2A, (std::array<Real, 6>{0, twoThirds, 0, 0, third, 0}));
        EXPECT_EQ(record.Total2B, (std::array<Real, 5>{twoThirds, third, 0, 0, 0}));
        EXPECT_EQ(record.Total2C, (std::array<Real, 8>{0, 0, third, 0, 0, third, third, 0}));
        EXPECT_EQ(record.Total2D, (std::array<Real, 5>{twoThirds, 0, 0, 0, third}));
        EXPECT_EQ(FormatPositiveReal(record.Total2A[1], '.'), "66.7");
    }
}

TEST_F(CropRotationFactor, OneYearMeadowIsItsOwnNeighbour) {
    Enter(5, {"Kunstwiese 2. und folgende Jahre", kPlough, kNoPeriod});
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    const RotationYear& y = record.Rotation[4];
    EXPECT_EQ(y.y, "0.0020");
    EXPECT_EQ(y.z, "Tab21/1");
    EXPECT_EQ(y.w, "");
    EXPECT_EQ(record.C, RoundHalfEven(0.02L, 3));
    EXPECT_EQ(record.CABAG, RoundHalfEven(0.002L, 4));
    EXPECT_EQ(form.CText, "0.02");
    EXPECT_EQ(record.KWBCount, 1);
    EXPECT_EQ(form.KWBCountText, "1");
    EXPECT_EQ(record.Years, 1);
    EXPECT_EQ(record.Total2A[0], 100);
    EXPECT_EQ(record.Total2C[7], 100); // "Keine Zwischenperiode"
    EXPECT_EQ(record.Total2D[4], 100); // an empty period tillage list counts as none
}

TEST_F(CropRotationFactor, HalfBroadLeavedSelectsTheTablesForFiftyOrMore) {
    EnterCrops(1, {"Mais (Silomais)", "Weizen (Winter)"});
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.BFPercentage, 50);
    EXPECT_EQ(form.BFPercentageText, "50");
    EXPECT_EQ(record.Rotation[0].z, "Tab06/1/D");
    EXPECT_EQ(record.Rotation[0].y, "0.2982");
    EXPECT_EQ(record.Total2A[4], 50);
}

TEST_F(CropRotationFactor, BroadLeavedShareCountsClassesNotTableGroups) {
    // Rape is a broad-leaved crop read from the cereal tables; field vegetables are read from
    // the row crop tables but are a special crop.
    EnterCrops(1, {"Raps (Winter)", "Weizen (Winter)"});
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.BFPercentage, 50);
    EXPECT_EQ(record.Rotation[0].z, "Tab09/1/N");

    form.ClearFields(record);
    EnterCrops(1, {"Freilandgemüse", "Weizen (Winter)"});
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.BFPercentage, 0);
    EXPECT_EQ(record.Rotation[0].z, "Tab05/1/G");
    EXPECT_EQ(record.Total2A[5], 50);
}

TEST_F(CropRotationFactor, WheatColumnFollowsThePreviousCrop) {
    struct Case {
        const char* previous;
        const char* value;
        const char* reference;
    };
    const Case cases[] = {
        {"Kartoffeln (übrige)", "0.1070", "Tab14/1/2"},
        {"Kartoffeln (Saatkartoffeln)", "0.1070", "Tab14/1/2"},
        {"Mais (Körnermais)", "0.1011", "Tab14/1/3"},
        {"Rüben (Zuckerrüben)", "0.1264", "Tab14/1/4"},
        {"Rüben (Futterrüben)", "0.1264", "Tab14/1/4"},
        {"Mais (Silomais)", "0.0856", "Tab14/1/1"},
        {"Gerste (Winter)", "0.0856", "Tab14/1/1"},
    };
    for (const Case& c : cases) {
        form.ClearFields(record);
        EnterCrops(1, {c.previous, "Weizen (Winter)"});
        ASSERT_EQ(form.Calculate(record), std::nullopt) << c.previous;
        EXPECT_EQ(record.Rotation[1].y, c.value) << c.previous;
        EXPECT_EQ(record.Rotation[1].z, c.reference) << c.previous;
    }
}

TEST_F(CropRotationFactor, OneMeadowYearCountsLikeNone) {
    EnterCrops(1, {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", "Weizen (Winter)"});
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.KWBCount, 1);
    EXPECT_EQ(record.Rotation[1].z, "Tab14/1/1");
    EXPECT_EQ(record.Rotation[0].z, "Tab19/1"); // first meadow year before an autumn crop

    // A second meadow year since the last calculation: one run still sees 1, the second 2.
    form.ClearFields(record);
    record.KWBCount = 1;
    EnterCrops(1, {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", "Kunstwiese 2. und folgende Jahre",
                   "Weizen (Winter)"});
    ComputeCropRotationFactor(record, form);
    EXPECT_EQ(record.KWBCount, 2);
    EXPECT_EQ(record.Rotation[2].z, "Tab14/1/1");
    ComputeCropRotationFactor(record, form);
    EXPECT_EQ(record.Rotation[2].z, "Tab12/1");
    EXPECT_EQ(record.Rotation[2].y, "0.0347");
    EXPECT_EQ(record.Rotation[0].z, "Tab18/1");
    EXPECT_EQ(record.Rotation[1].z, "Tab22/1");
    EXPECT_EQ(record.Rotation[1].w, "");

    // The commands run both passes: the stored results are those of two meadow years.
    record.KWBCount = 0;
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.Rotation[2].z, "Tab12/1");
    // (0.0884 + 0.0015 + 0.0347) / 3 = 0.041533...
    EXPECT_EQ(record.C, RoundHalfEven(0.415L, 3));
    EXPECT_EQ(record.CABAG, RoundHalfEven(0.0415L, 4));
}

TEST_F(CropRotationFactor, MainCropTables) {
    // Positions in CropCatalogue.
    constexpr Index weizen = 37, gerste = 11, mais = 22, silomais = 23, kartoffeln = 17,
                    kw1Spring = 19, kw1Autumn = 20, kw2 = 21, rb1Spring = 27, rb1Autumn = 28,
                    rb2 = 29, ch1 = 3, ch2 = 4, tabak = 34;
    struct Case {
        CropNeighbours crops;
        Int kwb;
        Real bf;
        const char* reference;
    };
    const Case cases[] = {
        {{kw2, kw2, kw2, kw2}, 1, 0, "Tab21/2"},
        {{kw2, kw1Autumn, mais, kw2}, 2, 0, "Tab23/2"},
        {{kw2, kw1Autumn, weizen, kw2}, 2, 0, "Tab22/2"},
        {{kw1Spring, weizen, kw2, weizen}, 2, 0, "Tab15/2"},
        {{kw1Spring, weizen, weizen, weizen}, 2, 0, "Tab16/2"},
        {{kw1Spring, weizen, mais, weizen}, 2, 0, "Tab17/2"},
        {{kw1Autumn, weizen, kw2, weizen}, 2, 0, "Tab18/2"},
        {{kw1Autumn, weizen, gerste, weizen}, 2, 0, "Tab19/2"},
        {{kw1Autumn, weizen, silomais, weizen}, 2, 0, "Tab20/2"},
        {{rb2, rb1Autumn, rb2, weizen}, 2, 0, "Tab26/2"},
        {{rb2, rb1Autumn, kw1Spring, weizen}, 2, 0, "Tab26/2"},
        {{rb2, rb1Autumn, ch1, weizen}, 2, 0, "Tab26/2"},
        {{rb2, rb1Autumn, kw1Autumn, weizen}, 2, 0, "Tab27/2"},
        {{rb1Spring, weizen, rb2, weizen}, 2, 0, "Tab24/2"},
        {{rb1Autumn, weizen, rb2, weizen}, 2, 0, "Tab25/2"},
        {{ch1, weizen, ch2, weizen}, 0, 0, "Tab28/2"},
        {{ch2, ch1, weizen, weizen}, 0, 0, "Tab31/2"},
        {{ch2, ch2, ch1, ch1}, 0, 0, "Tab31/2"},
        {{ch2, ch1, ch2, weizen}, 0, 0, "Tab29/2"},
        {{ch2, ch2, ch2, ch1}, 0, 0, "Tab30/2"},
        {{weizen, kw2, gerste, kw2}, 2, 0, "Tab12/2"},
        {{weizen, mais, gerste, kw2}, 2, 0, "Tab13/2/3"},
        {{weizen, mais, gerste, gerste}, 2, 0, "Tab14/2/3"},
        {{mais, weizen, weizen, weizen}, 1, 50, "Tab06/2/C"},
        {{mais, kw2, weizen, weizen}, 2, 50, "Tab02/2/C"},
        {{mais, weizen, weizen, kw2}, 2, 50, "Tab04/2/C"},
        {{mais, weizen, weizen, weizen}, 2, 50, "Tab06/2/C"},
        {{tabak, weizen, weizen, weizen}, 0, 49.9L, "Tab05/2/I"},
        {{mais, kw2, weizen, weizen}, 2, 0, "Tab01/2/C"},
        {{mais, weizen, weizen, kw2}, 2, 0, "Tab03/2/C"},
        {{gerste, kartoffeln, weizen, weizen}, 1, 0, "Tab11/2/J"},
        {{gerste, kartoffeln, weizen, kw2}, 2, 0, "Tab10/2/J"},
        {{gerste, kartoffeln, weizen, weizen}, 2, 0, "Tab11/2/J"},
        {{gerste, kw2, weizen, weizen}, 1, 0, "Tab09/2/J"},
        {{gerste, kw2, weizen, weizen}, 2, 0, "Tab07/2/J"},
        {{gerste, weizen, weizen, kw2}, 2, 0, "Tab08/2/J"},
    };
    for (const Case& c : cases) {
        const Contribution got = MainCropValue(c.crops, 2, c.kwb, c.bf);
        EXPECT_EQ(got.Reference, c.reference);
        EXPECT_FALSE(got.Value.empty()) << c.reference;
        EXPECT_NE(got.Value, "-") << c.reference;
    }
    // Not a crop, or no tillage chosen: nothing found.
    EXPECT_EQ(MainCropValue({99, weizen, weizen, weizen}, 1, 0, 0).Value, "");
    EXPECT_EQ(MainCropValue({-5, -5, -5, -5}, 1, 0, 0).Value, "");
    EXPECT_EQ(MainCropValue({weizen, weizen, weizen, weizen}, -1, 0, 0).Value, "");
    EXPECT_EQ(MainCropValue({weizen, weizen, weizen, weizen}, 0, 0, 0).Value, "");
}

TEST(PeriodValueTest, TableByPeriodType) {
    struct Case {
        Int P, D, E, T;
        CropGroup g;
        const char* value;
        const char* reference;
    };
    const Case cases[] = {
        {8, 3, 7, 1, CropGroup::HF, "0.0118", "Tab32/3/7"},
        {7, 2, 6, 1, CropGroup::HF, "0.0171", "Tab33/2/6"},
        {6, 1, 4, 2, CropGroup::BF, "0.0753", "Tab34/1/4"},
        {5, 4, 1, 1, CropGroup::KW, "0.0552", "Tab35/4/1"},
        {2, 1, 12, 3, CropGroup::WW, "0.0470", "Tab40/1/12"},
        {4, 99, 3, 1, CropGroup::HF, "0.0101", "Tab38/1/3"},
        {4, 99, 10, 1, CropGroup::BF, "0.0000", "Tab38/2/10"},
        {4, 99, 4, 2, CropGroup::BF, "0.0760", "Tab39/2/4"},
        {3, 99, 3, 1, CropGroup::WW, "0.0159", "Tab36/1/3"},
        {3, 99, 10, 4, CropGroup::BF, "0.0120", "Tab37/4/10"},
        {1, -1, -1, 1, CropGroup::BF, "", "Tab37/1/"},
        {0, -1, -1, 1, CropGroup::BF, "0", ""},
        {-1, -1, -1, 1, CropGroup::BF, "0", ""},
        {8, 0, 1, 1, CropGroup::HF, "", "Tab32//1"},
    };
    for (const Case& c : cases) {
        const Contribution got = PeriodValue(c.P, c.D, c.E, c.T, c.g);
        EXPECT_EQ(got.Value, c.value) << c.reference;
        EXPECT_EQ(got.Reference, c.reference);
    }
}

TEST(CountRotationYearTest, Counters) {
    RotationCounters n;
    CountRotationYear(n, CropClass::KWB, 1, 8, 99);
    CountRotationYear(n, CropClass::SOK, 99, 1, kNone);
    CountRotationYear(n, CropClass::BFW, kNone, kNone, 0);
    CountRotationYear(n, CropClass::HFS, 4, 5, 4);
    EXPECT_EQ(n.CropClass, (std::array<Int, 6>{1, 0, 1, 1, 0, 1}));
    EXPECT_EQ(n.CropTillage, (std::array<Int, 5>{1, 0, 0, 1, 1}));
    EXPECT_EQ(n.PeriodType, (std::array<Int, 8>{1, 0, 0, 1, 0, 0, 0, 1}));
    EXPECT_EQ(n.PeriodTillage, (std::array<Int, 5>{0, 0, 0, 1, 2}));
}

TEST_F(CropRotationFactor, MeanThatIsADecimalHalfRoundsToEven) {
    struct Case {
        const char* second;
        Real c;     // mean x 10 to 3 decimals
        Real cabag; // mean to 4 decimals
    };
    // With "Gerste (Winter)" (0.0425): the means 0.04125 and 0.05015 are exact halves.
    const Case cases[] = {
        {"Hafer (Sommer)", 0.412L, 0.0412L},   // (0.0425 + 0.0400) / 2
        {"Hanf (Faserhanf)", 0.502L, 0.0502L}, // (0.0425 + 0.0578) / 2
    };
    for (const Case& c : cases) {
        form.ClearFields(record);
        EnterCrops(1, {"Gerste (Winter)", c.second});
        ASSERT_EQ(form.Calculate(record), std::nullopt);
        EXPECT_EQ(record.C, RoundHalfEven(c.c, 3)) << c.second;
        EXPECT_EQ(record.CABAG, RoundHalfEven(c.cabag, 4)) << c.second;
        EXPECT_EQ(FormatPositiveReal(record.CABAG, '.'), FormatPositiveReal(c.cabag, '.'));
    }
}

TEST_F(CropRotationFactor, EmptyRotationGivesZeroAndKeepsYears) {
    record.Years = 4;
    form.Activate(record);
    ComputeCropRotationFactor(record, form);
    EXPECT_EQ(record.Years, 4);
    EXPECT_EQ(form.YearsText, "4");
    EXPECT_EQ(record.C, 0);
    EXPECT_EQ(form.CText, "");
    EXPECT_EQ(record.BFPercentage, 0);
    EXPECT_EQ(form.BFPercentageText, "");
}

TEST_F(CropRotationFactor, OnlyRotationYearsGetNewTexts) {
    EnterCrops(2, {"Weizen (Winter)", "Soja"});
    record.Rotation[0].y = "alt";
    record.Rotation[5].w = "alt";
    form.Row(1).y = "alt";
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(record.Rotation[0].y, "alt");
    EXPECT_EQ(record.Rotation[5].w, "alt");
    EXPECT_EQ(form.Row(1).y, "");
    EXPECT_EQ(record.Rotation[2].z, "Tab06/1/G");
}

// The commands' calculation must leave screen and record as two passes do, whether it takes
// its shortcut (figures already right, figures to be set first) or not (a record changed
// behind the screen's back, a cell without a value, a year text that is no number).
TEST_F(CropRotationFactor, CommandCalculationEqualsTwoPasses) {
    struct Case {
        const char* name;
        std::initializer_list<const char*> crops;
        const char* tillage;
        Int kwbCount;
        Real bfPercentage;
        void (*change)(AssessmentRecord&, Step2Form&);
    };
    const auto none = [](AssessmentRecord&, Step2Form&) {};
    const Case cases[] = {
        {"figures to set",
         {"Weizen (Winter)", "Soja", "Kunstwiese 1. Jahr (Sommer-/Herbstsaat)"},
         kPlough,
         0,
         0,
         none},
        {"figures right",
         {"Weizen (Winter)", "Soja", "Kunstwiese 1. Jahr (Sommer-/Herbstsaat)"},
         kPlough,
         1,
         Real{1} / 3 * 100,
         none},
        {"mostly row crops",
         {"Soja", "Mais (Körnermais)", "Weizen (Winter)"},
         kPlough,
         5,
         10,
         none},
        {"unusual separator",
         {"Mais (Silomais)", "Weizen (Winter)"},
         kPlough,
         0,
         0,
         [](AssessmentRecord&, Step2Form&) { SetDecimalSeparator(';'); }},
        {"record behind the screen",
         {"Weizen (Winter)", "Soja"},
         kPlough,
         0,
         0,
         [](AssessmentRecord& r, Step2Form&) { r.Rotation[1].c = 42; }},
        {"year text",
         {"Weizen (Winter)", "Soja"},
         kPlough,
         0,
         0,
         [](AssessmentRecord&, Step2Form& f) { f.Row(3).YearText = "20x"; }},
        {"filling",
         {"Weizen (Winter)", "Soja"},
         kPlough,
         0,
         0,
         [](AssessmentRecord& r, Step2Form& f) {
             f.Filling = true;
             r.Rotation[0].c = 3;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetDecimalSeparator('.');
        ResetRecordDefaults(record, 2024);
        form = Step2Form();
        form.Activate(record);
        int n = 1;
        for (const char* crop : c.crops) {
            Enter(n++, YearEntry{crop, c.tillage});
        }
        record.KWBCount = c.kwbCount;
        record.BFPercentage = c.bfPercentage;
        c.change(record, form);
        AssessmentRecord twice = record;
        Step2Form twiceForm = form;
        std::string error;
        std::string twiceError;
        try {
            ComputeCropRotationFactorTwice(record, form);
        } catch (const ConversionError& e) {
            error = e.what();
        }
        try {
            ComputeCropRotationFactor(twice, twiceForm);
            ComputeCropRotationFactor(twice, twiceForm);
        } catch (const ConversionError& e) {
            twiceError = e.what();
        }
        SetDecimalSeparator('.');
        EXPECT_EQ(error, twiceError);
        EXPECT_EQ(record.C, twice.C);
        EXPECT_EQ(record.CABAG, twice.CABAG);
        EXPECT_EQ(record.KWBCount, twice.KWBCount);
        EXPECT_EQ(record.BFPercentage, twice.BFPercentage);
        EXPECT_EQ(record.Years, twice.Years);
        EXPECT_EQ(record.Total2A, twice.Total2A);
        EXPECT_EQ(record.Total2D, twice.Total2D);
        EXPECT_EQ(form.CText, twiceForm.CText);
        EXPECT_EQ(form.BFPercentageText, twiceForm.BFPercentageText);
        for (int k = 1; k <= kRotationYears; ++k) {
            const RotationYear& a = record.RotationYearAt(k);
            const RotationYear& b = twice.RotationYearAt(k);
            EXPECT_EQ(std::tie(a.Year, a.a, a.b, a.c, a.d, a.e, a.w, a.x, a.y, a.z, a.text),
                      std::tie(b.Year, b.a, b.b, b.c, b.d, b.e, b.w, b.x, b.y, b.z, b.text))
                << k;
            const Step2Year& r = form.Row(k);
            const Step2Year& t = twiceForm.Row(k);
            EXPECT_EQ(std::tie(r.w, r.x, r.y, r.z), std::tie(t.w, t.x, t.y, t.z)) << k;
        }
    }
}

TEST_F(CropRotationFactor, RecordPositionsBeyondTheListsReadAsNothingChosen) {
    // A record changed behind the screen's back: the calculation reads the lists the screen
    // offers and takes what lies outside them as nothing chosen.
    EnterCrops(1, {"Weizen (Winter)", "Soja"});
    record.Rotation[0].c = 42;
    record.Rotation[0].b = -7;
    record.Rotation[1].d = 99;
    record.Rotation[1].e = 99;
    ComputeCropRotationFactor(record, form);
    EXPECT_EQ(record.Years, 2);
}

} // namespace
} // namespace brisolt

namespace brisolt {
namespace {

TEST_F(CropRotationFactor, AnUnusualSeparatorFailsAsTheNumberReaderDoes) {
    EnterCrops(1, {"Weizen (Winter)", "Soja"});
    SetDecimalSeparator(';');
    EXPECT_THROW(form.Calculate(record), ConversionError);
    SetDecimalSeparator('.');
    EXPECT_EQ(form.Calculate(record), std::nullopt);
}

} // namespace
} // namespace brisolt
