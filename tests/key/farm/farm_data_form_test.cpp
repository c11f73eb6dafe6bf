#include "key/farm/farm_data_form.h"

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "key/files/calculation_file.h"
#include "key/startup.h"

namespace brisolt {
namespace {

TEST(FarmDataForm, YearFieldRules) {
    AssessmentRecord r = FreshRecord(2026);
    FarmDataForm form;
    form.Activate(r);
    EXPECT_EQ(form.yearText, "2026");
    EXPECT_EQ(form.nameSurname, "");
    form.yearText = "20a6";
    form.YearExit(r);
    EXPECT_EQ(form.yearText, "206");
    EXPECT_EQ(r.Year, 206);
    form.yearText = "";
    form.YearExit(r);
    EXPECT_EQ(r.Year, 0);
    form.Activate(r);
    EXPECT_EQ(form.yearText, "");
}

TEST(FarmDataForm, KeystrokesCopyAtOnceButNotWhileFilling) {
    AssessmentRecord r = FreshRecord(2026);
    FarmDataForm form;
    form.Activate(r);
    form.nameSurname = "Hans";
    form.TextChanged(r);
    EXPECT_EQ(r.NameSurname, "Hans");
    form.filling = true;
    form.nameSurname = "Fritz";
    form.TextChanged(r);
    EXPECT_EQ(r.NameSurname, "Hans");
}

TEST(FarmDataForm, OversizedYearStopsAfterTheFirstFiveTexts) {
    AssessmentRecord r = FreshRecord(2026);
    r.EnteredBy = "alt";
    FarmDataForm form;
    form.Activate(r);
    form.variant = "B";
    form.enteredBy = "neu";
    form.yearText = "99999999999";
    EXPECT_THROW(form.YearExit(r), ConversionError);
    EXPECT_EQ(r.Variant, "B");
    EXPECT_EQ(r.Year, 2026);
    EXPECT_EQ(r.EnteredBy, "alt");
}

TEST(FarmDataForm, WhatTheScreenShowsAfterwardsIsWhatTheFileKeeps) {
    AssessmentRecord r = FreshRecord(2026);
    FarmDataForm form;
    form.Activate(r);
    form.nameSurname = "Łukasz Müller 日";
    form.TextChanged(r);
    // While typing the field keeps what was typed; leaving it shows the stored form.
    EXPECT_EQ(form.nameSurname, "Łukasz Müller 日");
    form.TextExit(&FarmDataForm::nameSurname);
    EXPECT_EQ(form.nameSurname, "Lukasz Müller ?");
    EXPECT_EQ(r.NameSurname, form.nameSurname);
    form.Activate(r);
    EXPECT_EQ(form.nameSurname, "Lukasz Müller ?");
    AssessmentRecord back = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(back, CalculationFileBytes(r), 2026).loaded);
    EXPECT_EQ(back.NameSurname, form.nameSurname);
}

} // namespace
} // namespace brisolt
