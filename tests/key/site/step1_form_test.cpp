#include "key/site/step1_form.h"

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "key/startup.h"

namespace brisolt {
namespace {

const std::string kGradientMessage = "Bei Gefälle von weniger als 2% ist der Schlag kaum "
                                     "erosionsgefährdet. Weitere Abklärungen erübrigen sich.";

TEST(Step1Form, ActivationShowsTheRecord) {
    AssessmentRecord r = FreshRecord(2026);
    r.Gradient = 5;
    r.Region = 7;
    r.SoilType = 1;
    r.FloatDistance = 0;
    r.Stones = -3;
    r.Entertainment = 1;
    Step1Form form;
    form.Activate(r);
    EXPECT_EQ(form.GradientText, "5");
    EXPECT_EQ(form.FloatDistanceText, "");
    EXPECT_EQ(form.StonesText, "");
    EXPECT_EQ(form.RegionItems.at(static_cast<std::size_t>(form.RegionIndex)), "H");
    EXPECT_EQ(form.RegionDescription, "Koblenz - Klingnau, Ruckfeld, Rüfenach, Scherz - Habsburg");
    EXPECT_EQ(form.SoilTypeItems.size(), 2u);
    EXPECT_EQ(form.SoilTypeItems.at(static_cast<std::size_t>(form.SoilTypeIndex)), "unklar");
    EXPECT_EQ(form.SoilTypeDescription, "Die Einstufung der Bodenart ist unklar.");
    EXPECT_EQ(form.EntertainmentIndex, 1);
    EXPECT_FALSE(form.Filling);
}

TEST(Step1Form, OutOfRangeChoicesShowNothingChosen) {
    AssessmentRecord r = FreshRecord(2026);
    r.Region = 12;
    r.SoilType = 9;
    r.Entertainment = 4;
    Step1Form form;
    form.Activate(r);
    EXPECT_EQ(form.RegionIndex, kNone);
    EXPECT_EQ(form.RegionDescription, "");
    EXPECT_TRUE(form.SoilTypeItems.empty());
    EXPECT_EQ(form.SoilTypeIndex, kNone);
    EXPECT_EQ(form.EntertainmentIndex, kNone);
    form.ReadStep1Inputs(r);
    EXPECT_EQ(r.Region, kNone);
    EXPECT_EQ(r.SoilType, kNone);
}

// A decimal as an inclinometer shows it is rounded, not read as its digits run together
// ("12.5" once became a gradient of 125); other texts keep their digits.
TEST(Step1Form, NumberFieldsRoundDecimalsAndOtherwiseKeepTheirDigitsOnExit) {
    AssessmentRecord r = FreshRecord(2026);
    Step1Form form;
    form.Activate(r);
    form.GradientText = "12.5";
    form.GradientExit(r);
    form.FloatDistanceText = "12 m";
    form.FloatDistanceExit(r);
    form.StonesText = "-3";
    form.StonesExit(r);
    EXPECT_EQ(form.GradientText, "13");
    EXPECT_EQ(r.Gradient, 13);
    EXPECT_EQ(r.FloatDistance, 12);
    EXPECT_EQ(r.Stones, 3);
    form.FloatDistanceText = "84,4 m";
    form.FloatDistanceExit(r);
    EXPECT_EQ(form.FloatDistanceText, "84");
    EXPECT_EQ(r.FloatDistance, 84);
}

TEST(Step1Form, TooManyDigitsFailAndLaterFieldsKeepTheirValues) {
    AssessmentRecord r = FreshRecord(2026);
    r.FloatDistance = 80;
    r.Stones = 4;
    Step1Form form;
    form.Activate(r);
    form.RegionChange(r, 3);
    form.GradientText = "99999999999";
    try {
        form.GradientExit(r);
        FAIL() << "accepted an oversized gradient";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'99999999999' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(r.Region, 3); // read before the gradient
    EXPECT_EQ(r.FloatDistance, 80);
    EXPECT_EQ(r.Stones, 4);
}

TEST(Step1Form, ChoosingARegionResetsTheSoilType) {
    AssessmentRecord r = FreshRecord(2026);
    Step1Form form;
    form.Activate(r);
    form.SoilTypeChange(r, 3);
    EXPECT_EQ(r.SoilType, 3);
    form.RegionChange(r, 5);
    EXPECT_EQ(form.SoilTypeItems.size(), 3u);
    EXPECT_EQ(form.SoilTypeIndex, 0);
    EXPECT_EQ(form.SoilTypeDescription.rfind("Der Boden ist klebrig und nicht körnig.", 0), 0u);
    EXPECT_EQ(r.Region, 5);
    EXPECT_EQ(r.SoilType, 0);
    form.RegionChange(r, 7);
    EXPECT_EQ(form.SoilTypeItems.size(), 2u);
    EXPECT_EQ(form.SoilTypeDescription, "Lössboden");
}

TEST(Step1Form, FillingNeverWritesBack) {
    AssessmentRecord r = FreshRecord(2026);
    Step1Form form;
    form.Activate(r);
    form.Filling = true;
    form.GradientText = "17";
    form.GradientExit(r);
    form.RegionChange(r, 4);
    EXPECT_EQ(r.Gradient, 0);
    EXPECT_EQ(r.Region, 0);
}

TEST(Step1Form, NextRefusesLowGradientAndImpossibleStoneCover) {
    struct Case {
        const char* gradient;
        const char* stones;
        std::optional<std::string> message;
    };
    const std::string stonesMessage = "Die Oberflächenbedeckung mit Steinen kann nicht mehr als "
                                      "100% betragen. Bitte Eingabe korrigieren.";
    const Case cases[] = {
        {"", "", kGradientMessage}, {"1", "", kGradientMessage}, {"2", "", std::nullopt},
        {"2", "100", std::nullopt}, {"2", "101", stonesMessage}, {"1", "150", kGradientMessage},
        {"45", "0", std::nullopt},
    };
    for (const Case& c : cases) {
        AssessmentRecord r = FreshRecord(2026);
        Step1Form form;
        form.Activate(r);
        form.GradientText = c.gradient;
        form.StonesText = c.stones;
        EXPECT_EQ(form.Next(r), c.message) << c.gradient << "/" << c.stones;
    }
}

} // namespace
} // namespace brisolt
