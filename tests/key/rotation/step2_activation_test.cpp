// What the step 2 screen shows each time it becomes active: the entry from the record and
// the record's own results, never a C left over from an earlier assessment.

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "rotation_test_support.h"

namespace brisolt {
namespace {

using testing::kMulch;
using testing::kPlough;

class Step2ActivationTest : public testing::Step2Test {
protected:
    void EnterWorkedExample() {
        Enter(1, {"Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr,
                  "20.07. bis 31.07."});
        Enter(2, {"Mais (Körnermais)", kMulch, "Zwischenfutter/Gründüngung vor Winterkultur",
                  kPlough, "01.08. bis 15.08."});
        Enter(3, {"Gerste (Winter)", kPlough, "Schwarzbrache im Herbst und Winter", nullptr,
                  "vor dem 31.07."});
    }
};

TEST_F(Step2ActivationTest, ShowsTheCalculatedResultsOfTheRecord) {
    EnterWorkedExample();
    ASSERT_EQ(form.Calculate(record), std::nullopt);

    // The same screen coming back, and a screen that never calculated, both show the record.
    Step2Form fresh;
    for (Step2Form* shown : {&form, &fresh}) {
        shown->Activate(record);
        EXPECT_EQ(shown->CText, "1.512");
        EXPECT_EQ(shown->CABAGText, "0.1512");
        EXPECT_EQ(shown->KWBCountText, "");
        EXPECT_EQ(shown->BFPercentageText, FormatPositiveReal(Real{1} / 3 * 100));
        EXPECT_EQ(shown->YearsText, "3");
    }
    // The separator is the one in force when the screen becomes active.
    SetDecimalSeparator(',');
    form.Activate(record);
    EXPECT_EQ(form.CText, "1,512");
    EXPECT_EQ(form.CABAGText, "0,1512");
}

TEST_F(Step2ActivationTest, LoadingAnotherAssessmentEmptiesTheCFieldUntilCalculated) {
    EnterWorkedExample();
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    ASSERT_EQ(form.CText, "1.512");
    const std::string file = CalculationFileBytes(record);

    // Loading resets every result; the screen must not go on showing the old C beside the
    // loaded rotation, as if it belonged to it.
    ASSERT_TRUE(LoadCalculationBytes(record, file, 2024).loaded);
    form.Activate(record);
    EXPECT_EQ(form.CText, "");
    EXPECT_EQ(form.CABAGText, "");
    EXPECT_EQ(form.BFPercentageText, "");
    EXPECT_EQ(ChosenText(2, Choice::Crop), "Mais (Körnermais)"); // the loaded entry is shown
    EXPECT_TRUE(form.NextEnabled);

    ASSERT_EQ(form.Calculate(record), std::nullopt);
    EXPECT_EQ(form.CText, "1.512");
}

TEST_F(Step2ActivationTest, ClearedFieldsStayEmptyOnReturn) {
    EnterWorkedExample();
    ASSERT_EQ(form.Calculate(record), std::nullopt);
    form.ClearFields(record);
    form.Activate(record);
    EXPECT_EQ(form.CText, "");
    EXPECT_EQ(form.YearsText, "");
}

} // namespace
} // namespace brisolt
