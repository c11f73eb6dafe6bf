#include <gtest/gtest.h>

#include <tuple>

#include "key/core/errors.h"
#include "key/rotation/catalogues.h"
#include "rotation_test_support.h"

namespace brisolt {
namespace {

using testing::kMulch;
using testing::kNoPeriod;
using testing::kPlough;
using testing::YearEntry;
using Step2Form_ = testing::Step2Test;

std::vector<std::string> StartTexts(std::initializer_list<int> codes) {
    std::vector<std::string> texts;
    for (int code : codes) {
        texts.push_back(PeriodStarts().Texts[static_cast<std::size_t>(code)]);
    }
    return texts;
}

TEST_F(Step2Form_, FirstShowingHasBlankCropsAndEmptyLists) {
    for (int n = 1; n <= kRotationYears; ++n) {
        EXPECT_EQ(form.Row(n).YearText, std::to_string(2014 + n));
        EXPECT_EQ(form.Row(n).List(Choice::Crop).Count(), 39);
        EXPECT_EQ(form.Row(n).List(Choice::Crop).Chosen(), 0);
        for (Choice c : {Choice::PeriodType, Choice::CropTillage, Choice::PeriodTillage,
                         Choice::PeriodStart}) {
            EXPECT_EQ(form.Row(n).List(c).Count(), 0);
            EXPECT_EQ(form.Row(n).List(c).Chosen(), kNone);
        }
    }
    EXPECT_EQ(form.YearsText, "");
    EXPECT_TRUE(form.NextEnabled);
}

TEST_F(Step2Form_, CropTillageOffersNoDirectSeedingForPotatoesAndTobacco) {
    const std::vector<std::string> three = {"", kPlough, kMulch, "Mulchsaat über 30% Bedeckung"};
    std::vector<std::string> four = three;
    four.push_back("Direktsaat/Streifenfrässaat");
    const std::pair<const char*, const std::vector<std::string>*> cases[] = {
        {"Tabak", &three},
        {"Kartoffeln (übrige)", &three},
        {"Kartoffeln (Saatkartoffeln)", &three},
        {"Soja", &four},
        {"Weizen (Winter)", &four},
        {"Kunstwiese 2. und folgende Jahre", &four},
    };
    for (auto [crop, expected] : cases) {
        Choose(1, Choice::Crop, crop);
        EXPECT_EQ(form.Row(1).List(Choice::CropTillage).Texts(), *expected) << crop;
        EXPECT_EQ(form.Row(1).List(Choice::CropTillage).Chosen(), 0) << crop;
    }
}

TEST_F(Step2Form_, PeriodTypesWithoutStubbleAfterMeadowFallowAndChinaschilf) {
    for (const char* crop : {"Kunstwiese 2. und folgende Jahre",
                             "Rotations-/Buntbrachen (Herbstsaat)", "Chinaschilf 1. Jahr"}) {
        Choose(1, Choice::Crop, crop);
        const auto texts = form.Row(1).List(Choice::PeriodType).Texts();
        ASSERT_EQ(texts.size(), 7u) << crop;
        EXPECT_EQ(texts[3], "Zwischenfutter/Gründüngung vor Schwarzbrache");
    }
    Choose(2, Choice::Crop, "Mais (Körnermais)");
    EXPECT_EQ(form.Row(2).List(Choice::PeriodType).Texts(), PeriodTypes().Texts);
}

TEST_F(Step2Form_, PeriodChoicesFollowTheTypeAndTheCropGroup) {
    struct Case {
        const char* crop;
        const char* period;
        std::vector<std::string> tillage;
        Index tillageChosen;
        std::vector<std::string> starts;
    };
    const std::vector<std::string> catchCropTillage = {
        "", kPlough, kMulch, "Mulchsaat über 30% Bedeckung", "Direktsaat/Streifenfrässaat"};
    const Case cases[] = {
        {"Weizen (Winter)",
         "Schwarzbrache im Herbst und Winter",
         {"", kPlough},
         1,
         StartTexts({0, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12})},
        {"Gerste (Winter)",
         "Stoppelbrache im Winter",
         {"", "keine Bodenbearbeitung"},
         1,
         StartTexts({0, 1, 3, 4, 5, 6})},
        {"Mais (Körnermais)",
         "Stoppelbrache im Winter",
         {"", "keine Bodenbearbeitung"},
         1,
         StartTexts({0, 2, 4, 5, 6, 7, 8, 9, 10})},
        {"Gerste (Winter)",
         "Stoppelbrache vor Winterkultur",
         {"", "keine Bodenbearbeitung"},
         1,
         StartTexts({0, 1, 3, 4, 5, 6})},
        {"Dinkel",
         "Stoppelbrache vor Winterkultur",
         {"", "keine Bodenbearbeitung"},
         1,
         StartTexts({0, 1, 3, 4, 5, 6})},
        // After a row crop the starts run up to "01.11. bis 15.11.", the last column of the
        // tables that give this period's value.
        {"Mais (Körnermais)",
         "Stoppelbrache vor Winterkultur",
         {"", "keine Bodenbearbeitung"},
         1,
         StartTexts({0, 3, 4, 5, 6, 7, 8, 9, 10})},
        {"Soja", "Zwischenfutter/Gründüngung vor Schwarzbrache", catchCropTillage, 0,
         StartTexts({0, 1, 3, 4, 5, 6})},
        {"Soja", "Zwischenfutter/Gründüngung vor Winterkultur", catchCropTillage, 0,
         StartTexts({0, 1, 3, 4, 5, 6})},
        {"Kunstwiese 2. und folgende Jahre", "Zwischenfutter/Gründüngung im Winter, abfrierend",
         catchCropTillage, 0, StartTexts({0, 1, 3, 4, 5, 6})},
        {"Hafer (Sommer)", "Zwischenfutter/Gründüngung im Winter, überwinternd", catchCropTillage,
         0, StartTexts({0, 1, 3, 4, 5, 6, 7, 8})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.crop) + " / " + c.period);
        Choose(1, Choice::Crop, c.crop);
        Choose(1, Choice::PeriodType, c.period);
        EXPECT_EQ(form.Row(1).List(Choice::PeriodTillage).Texts(), c.tillage);
        EXPECT_EQ(form.Row(1).List(Choice::PeriodTillage).Chosen(), c.tillageChosen);
        EXPECT_EQ(form.Row(1).List(Choice::PeriodStart).Texts(), c.starts);
        EXPECT_EQ(form.Row(1).List(Choice::PeriodStart).Chosen(), 0);
    }
    // Every offered start of a row crop's "Stoppelbrache vor Winterkultur" has a value.
    Choose(1, Choice::Crop, "Mais (Körnermais)");
    Choose(1, Choice::PeriodType, "Stoppelbrache vor Winterkultur");
    EXPECT_EQ(form.Row(1).List(Choice::PeriodStart).Texts().back(), "01.11. bis 15.11.");
}

TEST_F(Step2Form_, NoIntermediatePeriodEmptiesItsChoices) {
    Enter(1, {"Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr, "vor dem 20.07."});
    Choose(1, Choice::PeriodType, kNoPeriod);
    EXPECT_EQ(form.Row(1).List(Choice::PeriodTillage).Count(), 0);
    EXPECT_EQ(form.Row(1).List(Choice::PeriodStart).Count(), 0);
    EXPECT_EQ(record.Rotation[0].d, kNone);
    EXPECT_EQ(record.Rotation[0].text[3], "");
}

TEST_F(Step2Form_, ChangingTheCropKeepsThePeriodTypeByMeaning) {
    struct Case {
        const char* from;
        const char* period;
        const char* to;
        const char* expected; // "" when the new crop does not offer the type
    };
    const Case cases[] = {
        {"Weizen (Winter)", "Zwischenfutter/Gründüngung vor Winterkultur",
         "Kunstwiese 2. und folgende Jahre", "Zwischenfutter/Gründüngung vor Winterkultur"},
        {"Weizen (Winter)", "Zwischenfutter/Gründüngung im Winter, überwinternd",
         "Chinaschilf 1. Jahr", "Zwischenfutter/Gründüngung im Winter, überwinternd"},
        {"Kunstwiese 2. und folgende Jahre", "Zwischenfutter/Gründüngung vor Schwarzbrache",
         "Mais (Silomais)", "Zwischenfutter/Gründüngung vor Schwarzbrache"},
        {"Weizen (Winter)", "Stoppelbrache im Winter", "Kunstwiese 2. und folgende Jahre", ""},
        {"Weizen (Winter)", "Stoppelbrache vor Winterkultur", "Rotations-/Buntbrachen (Herbstsaat)",
         ""},
        {"Weizen (Winter)", "Stoppelbrache vor Winterkultur", "Mais (Körnermais)",
         "Stoppelbrache vor Winterkultur"},
        {"Weizen (Winter)", "Schwarzbrache im Herbst und Winter", "Soja",
         "Schwarzbrache im Herbst und Winter"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " -> " + c.to);
        Enter(1, {c.from, kPlough, c.period, nullptr, nullptr});
        Choose(1, Choice::Crop, c.to);
        EXPECT_EQ(ChosenText(1, Choice::PeriodType), c.expected);
        EXPECT_EQ(record.Rotation[0].text[1], c.expected);
        if (*c.expected == '\0') {
            EXPECT_EQ(form.Row(1).List(Choice::PeriodType).Chosen(), 0);
        }
        // The crop tillage of the new crop is always blank.
        EXPECT_EQ(form.Row(1).List(Choice::CropTillage).Chosen(), 0);
    }
}

TEST_F(Step2Form_, BlankCropEmptiesTheOtherChoices) {
    Enter(3, {"Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr, "vor dem 20.07."});
    form.MainCropChange(3, 0, record);
    for (Choice c :
         {Choice::PeriodType, Choice::CropTillage, Choice::PeriodTillage, Choice::PeriodStart}) {
        EXPECT_EQ(form.Row(3).List(c).Count(), 0);
    }
    const RotationYear& y = record.Rotation[2];
    EXPECT_EQ(y.a, 0);
    EXPECT_EQ(y.b, kNone);
    EXPECT_EQ(y.c, kNone);
    EXPECT_EQ(y.d, kNone);
    EXPECT_EQ(y.e, kNone);
    EXPECT_EQ(y.text[0], "");
    EXPECT_EQ(y.text[1], "");
}

TEST_F(Step2Form_, ShowingARecordRestoresEveryChoice) {
    Enter(1, {"Weizen (Winter)", kMulch, "Zwischenfutter/Gründüngung vor Winterkultur",
              "Direktsaat/Streifenfrässaat", "16.08. bis 31.08."});
    Enter(2, {"Kunstwiese 1. Jahr (Frühlingssaat)", kPlough,
              "Zwischenfutter/Gründüngung im Winter, überwinternd", kMulch, "16.09. bis 30.09."});
    Enter(3, {"Mais (Körnermais)", kPlough, "Stoppelbrache vor Winterkultur", nullptr,
              "01.11. bis 15.11."});
    Enter(4, {"Tabak", "Mulchsaat über 30% Bedeckung", "Schwarzbrache im Herbst und Winter",
              nullptr, "01.12. bis 15.12."});
    form.RemarkText = "Hanglage";
    form.RemarkExit(record);
    const AssessmentRecord saved = record;

    Step2Form fresh;
    fresh.Activate(saved);
    AssessmentRecord back = saved;
    fresh.ReadStep2Inputs(back);
    for (int n = 1; n <= kRotationYears; ++n) {
        const RotationYear& a = saved.RotationYearAt(n);
        const RotationYear& b = back.RotationYearAt(n);
        EXPECT_EQ(std::tie(a.Year, a.a, a.b, a.c, a.d, a.e),
                  std::tie(b.Year, b.a, b.b, b.c, b.d, b.e))
            << n;
        EXPECT_EQ(a.text, b.text) << n;
    }
    EXPECT_EQ(back.Remark, "Hanglage");
    EXPECT_EQ(fresh.Row(2).List(Choice::PeriodType).ChosenText(),
              "Zwischenfutter/Gründüngung im Winter, überwinternd");
    EXPECT_EQ(fresh.Row(1).List(Choice::PeriodTillage).ChosenText(), "Direktsaat/Streifenfrässaat");
    EXPECT_FALSE(fresh.Filling);
}

TEST_F(Step2Form_, StoredPositionsReferToTheFilteredLists) {
    // Position 5 of a meadow's period list is the sixth entry without the two stubble types.
    RotationYear& y = record.Rotation[0];
    y.a = 21; // Kunstwiese 2. und folgende Jahre
    y.b = 5;
    y.c = 1;
    y.d = 2;
    y.e = 3;
    form.Activate(record);
    EXPECT_EQ(ChosenText(1, Choice::PeriodType),
              "Zwischenfutter/Gründüngung im Winter, abfrierend");
    EXPECT_EQ(ChosenText(1, Choice::CropTillage), kPlough);
    EXPECT_EQ(ChosenText(1, Choice::PeriodTillage), kMulch);
    EXPECT_EQ(ChosenText(1, Choice::PeriodStart), "01.08. bis 15.08."); // codes 0 1 3 4 ...
}

TEST_F(Step2Form_, IndexesOutOfRangeChooseNothing) {
    const Index bad[] = {99, -5, 39, 1000000, -1};
    for (Index p : bad) {
        ResetRecordDefaults(record, 2024);
        for (int n = 1; n <= kRotationYears; ++n) {
            RotationYear& y = record.RotationYearAt(n);
            y.a = n % 2 == 0 ? p : 37; // every other year a bad crop, else Weizen (Winter)
            y.b = p;
            y.c = p;
            y.d = p;
            y.e = p;
        }
        form.Activate(record);
        EXPECT_EQ(form.Row(2).List(Choice::Crop).Chosen(), kNone) << p;
        EXPECT_EQ(form.Row(1).List(Choice::PeriodType).Chosen(), kNone) << p;
        AssessmentRecord copy = record;
        form.ReadStep2Inputs(copy);
        EXPECT_EQ(copy.Rotation[1].a, kNone);
        EXPECT_EQ(copy.Rotation[1].text[0], "");
        // The commands refuse such a rotation instead of reading past a list.
        EXPECT_TRUE(form.Next(copy).has_value()) << p;
        form.ClearFields(copy);
        EXPECT_EQ(copy.C, 0);
    }
}

TEST_F(Step2Form_, Year1FieldNumbersTheOtherYears) {
    form.NextEnabled = false;
    form.SetYear1Text("20a15");
    form.Year1Exit(record);
    EXPECT_EQ(form.Row(1).YearText, "2015");
    for (int n = 2; n <= kRotationYears; ++n) {
        EXPECT_EQ(form.Row(n).YearText, std::to_string(2014 + n));
        EXPECT_EQ(record.RotationYearAt(n).Year, 2014 + n);
    }
    EXPECT_FALSE(form.NextEnabled); // leaving the year field is no change of the rotation

    form.SetYear1Text("");
    form.Year1Exit(record);
    for (int n = 1; n <= kRotationYears; ++n) {
        EXPECT_EQ(form.Row(n).YearText, "");
        EXPECT_EQ(record.RotationYearAt(n).Year, 0);
    }
}

TEST_F(Step2Form_, Year1BeyondTheIntegerRangeFailsAndKeepsTheOtherYears) {
    for (const char* typed : {"99999999999", "2147483647", "2147483639"}) {
        form.SetYear1Text(typed);
        EXPECT_THROW(form.Year1Exit(record), ConversionError) << typed;
        EXPECT_EQ(form.Row(2).YearText, "2016");
        EXPECT_EQ(form.Row(10).YearText, "2024");
        EXPECT_EQ(record.Rotation[9].Year, 2024);
    }
    form.SetYear1Text("2147483638"); // year 10 is the largest integer
    form.Year1Exit(record);
    EXPECT_EQ(record.Rotation[9].Year, 2147483647);
}

TEST_F(Step2Form_, WeiterIsDisabledByEveryChangeAndEnabledByCalculation) {
    EXPECT_TRUE(form.NextEnabled);
    Choose(1, Choice::Crop, "Weizen (Winter)");
    EXPECT_FALSE(form.NextEnabled);
    form.Activate(record);
    EXPECT_TRUE(form.NextEnabled);
    form.RemarkExit(record);
    EXPECT_FALSE(form.NextEnabled);
    // A refused calculation leaves it disabled; the menu's "Weiter" still checks.
    EXPECT_EQ(form.Calculate(record), "Fehlender Eingabewert. Bitte Eingabe komplettieren.");
    EXPECT_FALSE(form.NextEnabled);
    Enter(1, {"Weizen (Winter)"});
    EXPECT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_TRUE(form.NextEnabled);
    form.OtherChoiceChange(1, Choice::CropTillage, 2, record);
    EXPECT_FALSE(form.NextEnabled);
    EXPECT_EQ(form.Next(record), std::nullopt);
    form.ClearFields(record);
    EXPECT_TRUE(form.NextEnabled);
}

TEST_F(Step2Form_, ClearFieldsKeepsYearsAndRemark) {
    EnterCrops(2, {"Weizen (Winter)", "Mais (Silomais)"});
    form.SetRemarkText("Bemerkung");
    form.RemarkExit(record);
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    ASSERT_NE(form.CText, "");
    form.ClearFields(record);
    EXPECT_EQ(form.YearsText, "");
    EXPECT_EQ(form.CText, "");
    EXPECT_EQ(record.Years, 0);
    EXPECT_EQ(record.C, 0);
    EXPECT_EQ(record.CABAG, 0);
    EXPECT_EQ(record.KWBCount, 0);
    EXPECT_EQ(record.BFPercentage, 0);
    for (Real share : record.Total2A)
        EXPECT_EQ(share, 0);
    for (Real share : record.Total2C)
        EXPECT_EQ(share, 0);
    EXPECT_EQ(record.Remark, "Bemerkung");
    for (int n = 1; n <= kRotationYears; ++n) {
        EXPECT_EQ(record.RotationYearAt(n).Year, 2014 + n);
        EXPECT_EQ(record.RotationYearAt(n).a, 0);
        EXPECT_EQ(record.RotationYearAt(n).b, kNone);
        EXPECT_EQ(form.Row(n).y, "");
    }
}

TEST_F(Step2Form_, RepeatRotationFillsOnlyTheEmptyYearsThatFollow) {
    Enter(1, {"Weizen (Winter)", kPlough, "Schwarzbrache im Herbst und Winter", nullptr,
              "vor dem 31.07."});
    Enter(2, {"Kartoffeln (übrige)", kMulch, "Zwischenfutter/Gründüngung vor Winterkultur",
              "Mulchsaat über 30% Bedeckung", "01.08. bis 15.08."});
    Enter(5, {"Soja"});
    // Years 3 and 4 repeat years 1 and 2, every choice; year 5 already has a crop and stays.
    EXPECT_EQ(form.EnteredYears(), 2);
    EXPECT_EQ(form.RepeatRotation(2, kRotationYears, record), 2);
    for (const auto& [n, from] : {std::pair{3, 1}, std::pair{4, 2}}) {
        for (const Choice c : {Choice::Crop, Choice::PeriodType, Choice::CropTillage,
                               Choice::PeriodTillage, Choice::PeriodStart}) {
            EXPECT_EQ(ChosenText(n, c), ChosenText(from, c)) << n;
        }
        EXPECT_EQ(record.RotationYearAt(n).e, record.RotationYearAt(from).e) << n;
    }
    EXPECT_EQ(ChosenText(5, Choice::Crop), "Soja");
    // Nothing to fill, or no sensible number of years.
    EXPECT_EQ(form.RepeatRotation(4, kRotationYears, record), 0);
    EXPECT_EQ(form.RepeatRotation(0, kRotationYears, record), 0);
    EXPECT_EQ(form.RepeatRotation(kRotationYears, kRotationYears, record), 0);
}

// A four-year rotation repeated to the proposed eight years leaves years 9 and 10 empty (it
// once filled all six, two and a half cycles); a rotation that does not fit twice is offered
// unchanged.
TEST_F(Step2Form_, RepeatRotationStopsAtTheLengthAsked) {
    EXPECT_EQ(Step2Form::ProposedRotationLength(4), 8);
    EXPECT_EQ(Step2Form::ProposedRotationLength(3), 9);
    EXPECT_EQ(Step2Form::ProposedRotationLength(5), 10);
    EXPECT_EQ(Step2Form::ProposedRotationLength(6), 6);
    Enter(1, {"Weizen (Winter)"});
    Enter(2, {"Kartoffeln (übrige)"});
    Enter(3, {"Soja"});
    Enter(4, {"Weizen (Winter)"});
    EXPECT_EQ(form.RepeatRotation(4, 8, record), 4);
    EXPECT_EQ(form.EnteredYears(), 8);
    EXPECT_EQ(ChosenText(7, Choice::Crop), "Soja");
    EXPECT_EQ(form.Row(9).List(Choice::Crop).Chosen(), 0);
    EXPECT_EQ(form.Row(10).List(Choice::Crop).Chosen(), 0);
}

TEST_F(Step2Form_, RemarkIsCutTo256Characters) {
    std::string umlauts;
    for (int i = 0; i < 300; ++i)
        umlauts += "ü";
    form.SetRemarkText(umlauts);
    form.RemarkExit(record);
    EXPECT_EQ(record.Remark.size(), 512u); // 256 two-byte characters
    form.SetRemarkText(std::string(100, 'x'));
    EXPECT_EQ(form.RemarkText.size(), 100u);
}

TEST_F(Step2Form_, LeavingTheRemarkShowsWhatTheRecordStores) {
    form.SetRemarkText("Hang bei Łódź");
    EXPECT_EQ(form.RemarkText, "Hang bei Łódź"); // typing changes nothing
    form.OtherChoiceChange(1, Choice::CropTillage, 1, record);
    EXPECT_EQ(record.Remark, "Hang bei Lódz");
    form.RemarkExit(record);
    EXPECT_EQ(form.RemarkText, "Hang bei Lódz");
    // Folding can lengthen a remark; it is cut again so the field can show all of it.
    std::string digraphs;
    for (int i = 0; i < 200; ++i)
        digraphs += "ǆ";
    form.SetRemarkText(digraphs);
    form.RemarkExit(record);
    EXPECT_EQ(form.RemarkText.size(), 128 * 3u); // 128 times "d" plus two-byte "ž"
    EXPECT_EQ(record.Remark, form.RemarkText);
}

TEST_F(Step2Form_, NothingIsCopiedWhileFilling) {
    form.Filling = true;
    form.MainCropChange(1, 37, record);
    EXPECT_EQ(record.Rotation[0].a, 0);
    form.Filling = false;
    form.OtherChoiceChange(1, Choice::CropTillage, 1, record);
    EXPECT_EQ(record.Rotation[0].a, 37);
    EXPECT_EQ(record.Rotation[0].text[2], kPlough);
}

} // namespace
} // namespace brisolt

namespace brisolt {
namespace {

// Choices made with Select and copied once leave the record as ChoiceChange after each.
using Step2Selection = testing::Step2Test;

TEST_F(Step2Selection, SelectedChoicesCopiedOnceEqualChangedChoices) {
    struct Step {
        int n;
        Choice choice;
        Index position;
    };
    const Step steps[] = {
        {1, Choice::Crop, 37},       {1, Choice::PeriodType, 6}, {1, Choice::PeriodTillage, 2},
        {1, Choice::PeriodStart, 3}, {2, Choice::Crop, 22},      {2, Choice::CropTillage, 2},
        {1, Choice::Crop, 21},       {2, Choice::PeriodType, 2}, {3, Choice::PeriodStart, 4},
    };
    AssessmentRecord selected = record;
    Step2Form selecting = form;
    for (const Step& s : steps) {
        form.ChoiceChange(s.n, s.choice, s.position, record);
        selecting.Select(s.n, s.choice, s.position);
    }
    selecting.ReadStep2Inputs(selected);
    EXPECT_FALSE(selecting.NextEnabled);
    for (int k = 1; k <= kRotationYears; ++k) {
        const RotationYear& a = record.RotationYearAt(k);
        const RotationYear& b = selected.RotationYearAt(k);
        EXPECT_EQ(std::tie(a.Year, a.a, a.b, a.c, a.d, a.e, a.text),
                  std::tie(b.Year, b.a, b.b, b.c, b.d, b.e, b.text))
            << k;
        for (std::size_t i = 0; i < kChoicesPerYear; ++i) {
            EXPECT_EQ(form.Row(k).Lists[i].Texts(), selecting.Row(k).Lists[i].Texts()) << k;
        }
    }
}

} // namespace
} // namespace brisolt
