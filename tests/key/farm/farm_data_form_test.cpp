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
    EXPECT_EQ(form.YearText, "2026");
    EXPECT_EQ(form.NameSurname, "");
    form.YearText = "20a6";
    form.YearExit(r);
    EXPECT_EQ(form.YearText, "206");
    EXPECT_EQ(r.Year, 206);
    form.YearText = "";
    form.YearExit(r);
    EXPECT_EQ(r.Year, 0);
    form.Activate(r);
    EXPECT_EQ(form.YearText, "");
}

TEST(FarmDataForm, KeystrokesCopyAtOnceButNotWhileFilling) {
    AssessmentRecord r = FreshRecord(2026);
    FarmDataForm form;
    form.Activate(r);
    form.NameSurname = "Hans";
    form.TextChange(r);
    EXPECT_EQ(r.NameSurname, "Hans");
    form.Filling = true;
    form.NameSurname = "Fritz";
    form.TextChange(r);
    EXPECT_EQ(r.NameSurname, "Hans");
}

TEST(FarmDataForm, OversizedYearStopsAfterTheFirstFiveTexts) {
    AssessmentRecord r = FreshRecord(2026);
    r.EnteredBy = "alt";
    FarmDataForm form;
    form.Activate(r);
    form.Variant = "B";
    form.EnteredBy = "neu";
    form.YearText = "99999999999";
    EXPECT_THROW(form.YearExit(r), ConversionError);
    EXPECT_EQ(r.Variant, "B");
    EXPECT_EQ(r.Year, 2026);
    EXPECT_EQ(r.EnteredBy, "alt");
}

TEST(FarmDataForm, WhatTheScreenShowsAfterwardsIsWhatTheFileKeeps) {
    AssessmentRecord r = FreshRecord(2026);
    FarmDataForm form;
    form.Activate(r);
    form.NameSurname = "Łukasz Müller 日";
    form.TextChange(r);
    // While typing the field keeps what was typed; leaving it shows the stored form.
    EXPECT_EQ(form.NameSurname, "Łukasz Müller 日");
    form.TextExit(&FarmDataForm::NameSurname);
    EXPECT_EQ(form.NameSurname, "Lukasz Müller ?");
    EXPECT_EQ(r.NameSurname, form.NameSurname);
    form.Activate(r);
    EXPECT_EQ(form.NameSurname, "Lukasz Müller ?");
    AssessmentRecord back = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(back, CalculationFileBytes(r), 2026).loaded);
    EXPECT_EQ(back.NameSurname, form.NameSurname);
}

} // namespace
} // namespace brisolt
