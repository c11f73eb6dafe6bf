#include <gtest/gtest.h>

#include "key/core/texts_rotation.h"
#include "key/rotation/rotation_checks.h"
#include "rotation_test_support.h"

namespace brisolt {
namespace {

using testing::kMulch;
using testing::kNoPeriod;
using testing::kPlough;
using testing::YearEntry;
using RotationChecks = testing::Step2Test;

const std::string kGap(texts::step2::kGapInRotation);
const std::string kSequence(texts::step2::kWrongCropSequence);
const std::string kMissing(texts::step2::kMissingInput);

TEST(RotationExtentTest, FirstLastAndGaps) {
    struct Case {
        std::vector<Index> crops; // positions of years 1, 2, ...
        int first;
        int last;
        bool gap;
    };
    const Case cases[] = {
        {{}, 0, 0, false},
        {{0, 0, 5, 5, 5, 5, 5}, 3, 7, false},
        {{5, 5, 5, 0, 5, 5, 5, 5}, 5, 8, true},
        {{5, 0, 0, 0, 0, 0, 0, 0, 0, 5}, 10, 10, true},
        {{5, 5, 5, 5, 5, 5, 5, 5, 5, 5}, 1, 10, false},
        {{0, 0, 0, 0, 0, 0, 0, 0, 0, 5}, 10, 10, false},
        // Positions outside the crop list count as no crop.
        {{-1, 5, 5}, 2, 3, false},
        {{5, 99, 5}, 3, 3, true},
        {{-5, 39, 0}, 0, 0, false},
    };
    for (const Case& c : cases) {
        AssessmentRecord record;
        ResetRecordDefaults(record, 2024);
        for (std::size_t i = 0; i < c.crops.size(); ++i) {
            record.Rotation[i].a = c.crops[i];
        }
        const RotationExtent e = FindRotationExtent(record);
        EXPECT_EQ(e.First, c.first) << ::testing::PrintToString(c.crops);
        EXPECT_EQ(e.Last, c.last) << ::testing::PrintToString(c.crops);
        EXPECT_EQ(e.HasGap, c.gap) << ::testing::PrintToString(c.crops);
    }
}

TEST(RotationRules, SequenceAndStands) {
    struct Case {
        Int prev; // crop codes
        Int cur;
        bool wrong;
        bool continues; // ContinuesStand(prev, cur)
    };
    const Case cases[] = {
        {36, 20, true, false},  {18, 20, false, true},  {19, 20, false, true},
        {20, 20, false, true},  {19, 28, true, false},  {26, 28, false, true},
        {27, 28, false, true},  {28, 28, false, true},  {20, 38, true, false},
        {3, 38, false, true},   {38, 38, false, true},  {38, 3, false, false},
        {20, 18, false, false}, {28, 26, false, false}, {36, 36, false, false},
    };
    for (const Case& c : cases) {
        const auto message = CheckCropSequence(c.prev, c.cur);
        EXPECT_EQ(message.has_value(), c.wrong) << c.prev << " -> " << c.cur;
        if (message) {
            EXPECT_EQ(*message, kSequence);
        }
        EXPECT_EQ(ContinuesStand(c.prev, c.cur), c.continues) << c.prev << " -> " << c.cur;
    }
}

TEST(RotationRules, YearComplete) {
    struct Case {
        Index a, b, c, d, e;
        bool missing;
    };
    const Case cases[] = {
        {0, 1, 1, 1, 1, true},     {-1, 1, 1, 1, 1, true},  {37, 1, 0, 0, 0, true},
        {37, 1, -1, 0, 0, true},   {37, 0, 1, 1, 1, true},  {37, -1, 1, 1, 1, true},
        {37, 1, 1, -1, -1, false}, {37, 2, 1, 1, 0, true},  {37, 2, 1, 0, 1, true},
        {37, 2, 1, -1, 1, true},   {37, 2, 1, 1, 1, false}, {99, 1, 1, 1, 1, true},
    };
    for (const Case& c : cases) {
        RotationYear year;
        year.a = c.a;
        year.b = c.b;
        year.c = c.c;
        year.d = c.d;
        year.e = c.e;
        const auto message = CheckYearComplete(year);
        EXPECT_EQ(message.has_value(), c.missing)
            << c.a << " " << c.b << " " << c.c << " " << c.d << " " << c.e;
        if (message) {
            EXPECT_EQ(*message, kMissing);
        }
    }
}

TEST_F(RotationChecks, MessagesOfWholeRotations) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, const char*>> crops; // year, crop (complete entry)
        std::optional<std::string> message;
    };
    const Case cases[] = {
        {"empty", {}, std::nullopt},
        {"years 3 to 7",
         {{3, "Weizen (Winter)"},
          {4, "Mais (Silomais)"},
          {5, "Gerste (Winter)"},
          {6, "Soja"},
          {7, "Dinkel"}},
         std::nullopt},
        {"gap in year 4",
         {{1, "Weizen (Winter)"},
          {2, "Soja"},
          {3, "Dinkel"},
          {5, "Weizen (Winter)"},
          {6, "Soja"},
          {7, "Dinkel"},
          {8, "Soja"}},
         kGap},
        {"years 1 and 10", {{1, "Weizen (Winter)"}, {10, "Soja"}}, kGap},
        {"meadow follow-on after wheat",
         {{1, "Weizen (Winter)"}, {2, "Kunstwiese 2. und folgende Jahre"}},
         kSequence},
        {"fallow follow-on after meadow",
         {{1, "Kunstwiese 1. Jahr (Frühlingssaat)"},
          {2, "Rotations-/Buntbrachen 2. und folgende Jahre"}},
         kSequence},
        {"Chinaschilf follow-on after maize",
         {{1, "Mais (Silomais)"}, {2, "Chinaschilf 2. und folgende Jahre"}},
         kSequence},
        {"stand across the end of the rotation",
         {{1, "Kunstwiese 2. und folgende Jahre"},
          {2, "Weizen (Winter)"},
          {3, "Kunstwiese 1. Jahr (Sommer-/Herbstsaat)"}},
         std::nullopt},
        {"one-year meadow", {{4, "Kunstwiese 2. und folgende Jahre"}}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        form.ClearFields(record);
        for (auto [n, crop] : c.crops) {
            Enter(n, YearEntry{crop});
        }
        EXPECT_EQ(CheckRotation(record, form), c.message);
    }
}

TEST_F(RotationChecks, SequenceErrorHidesMissingInput) {
    Enter(1, {"Weizen (Winter)", nullptr, nullptr});
    Enter(2, {"Kunstwiese 2. und folgende Jahre"});
    EXPECT_EQ(CheckRotation(record, form), kSequence);
    form.ClearFields(record);
    Enter(1, {"Weizen (Winter)", nullptr, nullptr});
    EXPECT_EQ(CheckRotation(record, form), kMissing);
}

TEST_F(RotationChecks, BareFallowNeedsItsStart) {
    Enter(1, {"Weizen (Winter)", kPlough, "Schwarzbrache im Herbst und Winter"});
    EXPECT_EQ(CheckRotation(record, form), kMissing);
    Choose(1, Choice::PeriodStart, "vor dem 31.07.");
    EXPECT_EQ(CheckRotation(record, form), std::nullopt);
}

TEST_F(RotationChecks, ChinaschilfStandTakesTheTillageOfItsPlanting) {
    Enter(2, {"Chinaschilf 1. Jahr", kPlough, "Zwischenfutter/Gründüngung vor Schwarzbrache",
              kMulch, "vor dem 20.07."});
    Enter(3, {"Chinaschilf 2. und folgende Jahre", kMulch});
    Enter(4, {"Chinaschilf 2. und folgende Jahre", "Direktsaat/Streifenfrässaat"});
    EXPECT_EQ(CheckRotation(record, form), std::nullopt);
    for (int n : {3, 4}) {
        EXPECT_EQ(ChosenText(n, Choice::CropTillage), kPlough) << n;
        EXPECT_EQ(record.RotationYearAt(n).text[2], kPlough) << n;
    }
    for (int n : {2, 3}) {
        EXPECT_EQ(ChosenText(n, Choice::PeriodType), kNoPeriod) << n;
        EXPECT_EQ(form.Row(n).List(Choice::PeriodTillage).Count(), 0) << n;
        EXPECT_EQ(form.Row(n).List(Choice::PeriodStart).Count(), 0) << n;
        EXPECT_EQ(record.RotationYearAt(n).b, 1);
        EXPECT_EQ(record.RotationYearAt(n).d, kNone);
        EXPECT_EQ(record.RotationYearAt(n).e, kNone);
    }
    // Year 4 ends the stand (year 2 follows it in the cycle): its period is untouched.
    EXPECT_EQ(ChosenText(4, Choice::PeriodType), kNoPeriod);
}

TEST_F(RotationChecks, MeadowAcrossTheEndOfTheRotation) {
    // The rotation begins inside a stand: year 1 continues the meadow sown in the last year.
    Enter(1, {"Kunstwiese 2. und folgende Jahre", kMulch, "Schwarzbrache im Herbst und Winter",
              nullptr, "vor dem 31.07."});
    Enter(2, {"Weizen (Winter)"});
    Enter(3, {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", kPlough,
              "Zwischenfutter/Gründüngung im Winter, überwinternd", kMulch, "vor dem 20.07."});
    Enter(4, {"Kunstwiese 2. und folgende Jahre", "Direktsaat/Streifenfrässaat",
              "Schwarzbrache im Herbst und Winter", nullptr, "vor dem 31.07."});
    EXPECT_EQ(CheckRotation(record, form), std::nullopt);
    // Year 4 continues year 3's stand and takes its tillage; year 1 is the first year and
    // keeps its own. Years 3 and 4 are followed by their own stand.
    EXPECT_EQ(ChosenText(4, Choice::CropTillage), kPlough);
    EXPECT_EQ(ChosenText(1, Choice::CropTillage), kMulch);
    EXPECT_EQ(ChosenText(3, Choice::PeriodType), kNoPeriod);
    EXPECT_EQ(ChosenText(4, Choice::PeriodType), kNoPeriod);
    EXPECT_EQ(ChosenText(1, Choice::PeriodType), "Schwarzbrache im Herbst und Winter");
}

TEST_F(RotationChecks, CorrectionsStayAfterALaterMissingInput) {
    Enter(1, {"Kunstwiese 1. Jahr (Frühlingssaat)", kMulch, "Schwarzbrache im Herbst und Winter",
              nullptr, "vor dem 31.07."});
    Enter(2, {"Kunstwiese 2. und folgende Jahre", kPlough});
    Enter(3, {"Weizen (Winter)", nullptr, kNoPeriod});
    EXPECT_EQ(CheckRotation(record, form), kMissing);
    EXPECT_EQ(record.Rotation[1].text[2], kMulch);
    EXPECT_EQ(record.Rotation[0].text[1], kNoPeriod);
}

} // namespace
} // namespace brisolt
