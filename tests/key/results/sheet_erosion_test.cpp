#include "key/results/sheet_erosion.h"

#include <gtest/gtest.h>

#include "key/results/result_tables.h"

namespace brisolt {
namespace {

TEST(SheetErosion, DisplayRoundsHalfToEven) {
    struct Case {
        Real ef;
        const char* text;
    };
    const Case cases[] = {
        {46.12L * 0.25L, "12"}, // 11.53
        {12.5L, "12"},          {13.5L, "14"}, {0.5L, "0"},       {1.5L, "2"},
        {12.4999L, "12"},       {0, "0"},      {1234.5L, "1234"},
    };
    for (const Case& c : cases) {
        AssessmentRecord record;
        record.EF = c.ef;
        EXPECT_EQ(SheetErosionRiskText(record), c.text) << "EF " << c.ef;
    }
}

TEST(SheetErosion, EfIsReducedSiteValueTimesC) {
    BuildResultTables();
    AssessmentRecord record;
    record.Gradient = 10;
    record.FloatDistance = 100;
    record.Stones = 20;
    record.C = 0.25L;
    const Real ef = ComputeSheetErosionRisk(record);
    EXPECT_EQ(ef, record.EF);
    EXPECT_EQ(record.EF, record.STReduced * 0.25L);
    EXPECT_GT(record.STReduced, 0);
    EXPECT_LT(record.STReduced, record.ST); // 20 % stones reduce the site value

    record.C = 0;
    ComputeSheetErosionRisk(record);
    EXPECT_EQ(record.EF, 0);
    EXPECT_EQ(SheetErosionRiskText(record), "0");
}

} // namespace
} // namespace brisolt
