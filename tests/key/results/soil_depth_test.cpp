#include "key/results/soil_depth.h"

#include <gtest/gtest.h>

#include <climits>

#include "key/core/errors.h"
#include "key/results/step6_form.h"

namespace brisolt {
namespace {

struct RegionDepth {
    Index region;
    const char* text; // what the read-only field shows
    Int depth;        // what is stored
};

class RegionalStandard : public ::testing::TestWithParam<RegionDepth> {};

// "Regionale Standardwerte" fills the field from the region chosen on step 1. A region
// outside A ... H (only from an edited file) has no standard value: empty field, depth 0.
TEST_P(RegionalStandard, FillsAReadOnlyFieldAndStoresTheDepth) {
    const RegionDepth& c = GetParam();
    AssessmentRecord record;
    record.Region = c.region;
    record.Method = kMethodRegionalStandard;
    record.DepthSoil = 123;
    Step6Form form;
    form.Activate(record);
    EXPECT_FALSE(form.Filling);
    EXPECT_EQ(form.MethodIndex, kMethodRegionalStandard);
    EXPECT_EQ(form.DepthText, c.text);
    EXPECT_TRUE(form.DepthReadOnly);
    EXPECT_EQ(record.DepthSoil, c.depth);
    form.Next(record);
    EXPECT_EQ(record.DepthSoil, c.depth);
    EXPECT_EQ(record.Method, kMethodRegionalStandard);
}

INSTANTIATE_TEST_SUITE_P(Step6, RegionalStandard,
                         ::testing::Values(RegionDepth{0, "80", 80}, RegionDepth{1, "80", 80},
                                           RegionDepth{2, "80", 80}, RegionDepth{3, "80", 80},
                                           RegionDepth{4, "80", 80}, RegionDepth{5, "60", 60},
                                           RegionDepth{6, "80", 80}, RegionDepth{7, "90", 90},
                                           RegionDepth{8, "", 0}, RegionDepth{42, "", 0},
                                           RegionDepth{-1, "", 0}, RegionDepth{INT_MAX, "", 0},
                                           RegionDepth{INT_MIN, "", 0}));

TEST(SoilDepth, TypedMethodsShowTheStoredDepthEditable) {
    for (const Index method : {kMethodSoilMap, kMethodBoring}) {
        AssessmentRecord record;
        record.Region = 5;
        record.Method = method;
        record.DepthSoil = 45;
        Step6Form form;
        form.Activate(record);
        EXPECT_EQ(form.MethodIndex, method);
        EXPECT_EQ(form.DepthText, "45");
        EXPECT_FALSE(form.DepthReadOnly);
        EXPECT_EQ(record.DepthSoil, 45);
    }
}

TEST(SoilDepth, RegionChangedOnStep1UpdatesTheStandardOnReturn) {
    AssessmentRecord record;
    record.Method = kMethodRegionalStandard;
    Step6Form form;
    form.Activate(record);
    EXPECT_EQ(form.DepthText, "80");
    record.Region = 5; // step 1: A -> F
    form.Activate(record);
    EXPECT_EQ(form.DepthText, "60");
    EXPECT_EQ(record.DepthSoil, 60);
}

TEST(SoilDepth, LeavingTheStandardKeepsItsValueEditable) {
    AssessmentRecord record;
    record.Region = 7;
    Step6Form form;
    form.Activate(record);
    form.MethodClick(record, kMethodRegionalStandard);
    EXPECT_EQ(form.DepthText, "90");
    EXPECT_TRUE(form.DepthReadOnly);
    EXPECT_EQ(record.DepthSoil, 90);
    form.MethodClick(record, kMethodBoring);
    EXPECT_EQ(form.DepthText, "90");
    EXPECT_FALSE(form.DepthReadOnly);
    EXPECT_EQ(record.Method, kMethodBoring);
    EXPECT_EQ(record.DepthSoil, 90);
}

struct Typed {
    const char* typed;
    const char* shown;
    Int stored;
};

class DepthField : public ::testing::TestWithParam<Typed> {};

TEST_P(DepthField, KeepsOnlyDigitsWhenLeft) {
    const Typed& c = GetParam();
    AssessmentRecord record;
    record.Method = kMethodBoring;
    record.DepthSoil = 70;
    Step6Form form;
    form.Activate(record);
    form.SetDepthText(c.typed);
    form.DepthSoilExit(record);
    EXPECT_EQ(form.DepthText, c.shown);
    EXPECT_EQ(record.DepthSoil, c.stored);
}

INSTANTIATE_TEST_SUITE_P(Step6, DepthField,
                         ::testing::Values(Typed{"45 cm", "45", 45}, Typed{"", "", 0},
                                           Typed{"ca. -30", "30", 30}, Typed{"abc", "", 0},
                                           Typed{"2147483647", "2147483647", INT_MAX}));

// A digit run beyond int32 is refused with the program's message; the depth keeps its
// previous value.
TEST(SoilDepth, TooLargeDepthFailsAndKeepsThePreviousValue) {
    AssessmentRecord record;
    record.Method = kMethodBoring;
    record.DepthSoil = 70;
    Step6Form form;
    form.Activate(record);
    form.SetDepthText("99999999999");
    try {
        form.DepthSoilExit(record);
        FAIL() << "no ConversionError";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'99999999999' ist kein gültiger Integerwert");
    }
    EXPECT_EQ(record.DepthSoil, 70);
    EXPECT_THROW(form.Next(record), ConversionError);
    EXPECT_EQ(record.DepthSoil, 70);
}

// A method outside the list (only from an edited file) shows nothing chosen and an
// editable field; "Weiter" then stores -1 and the typed depth.
TEST(SoilDepth, MethodOutsideTheListChoosesNothing) {
    for (const Index method : {3, 5, -1, INT_MAX, INT_MIN}) {
        AssessmentRecord record;
        record.Method = method;
        record.DepthSoil = 55;
        Step6Form form;
        form.Activate(record);
        EXPECT_EQ(form.MethodIndex, kNone);
        EXPECT_FALSE(form.DepthReadOnly);
        EXPECT_EQ(form.DepthText, "55");
        form.Next(record);
        EXPECT_EQ(record.Method, kNone);
        EXPECT_EQ(record.DepthSoil, 55);
    }
}

} // namespace
} // namespace brisolt
