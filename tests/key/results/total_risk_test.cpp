#include "key/results/total_risk.h"

#include <gtest/gtest.h>

#include "key/core/number_text.h"

namespace brisolt {
namespace {

struct SoilLossCase {
    Real efl;
    const char* eflText;
    const char* mm;
    const char* tha;
};

class SoilLossTexts : public ::testing::TestWithParam<SoilLossCase> {};

// No rills, so EFL is EF and every text comes from the value under test.
TEST_P(SoilLossTexts, ShowHalfToEvenRoundedTexts) {
    const SoilLossCase& c = GetParam();
    AssessmentRecord record; // default answers: "Nein"
    record.EF = c.efl;
    ComputeTotalRisk(record);
    EXPECT_EQ(record.EL, 0);
    EXPECT_EQ(TotalRiskText(record), c.eflText);
    EXPECT_EQ(SoilLossMMText(record), c.mm);
    EXPECT_EQ(SoilLossTHAText(record), c.tha);
}

INSTANTIATE_TEST_SUITE_P(
    Step5, SoilLossTexts,
    ::testing::Values(SoilLossCase{11.53L, "12", "0.10", "1.153"},
                      SoilLossCase{54, "54", "0.45", "5.400"},
                      SoilLossCase{7, "7", "0.06", "0.700"}, SoilLossCase{0, "0", "0.00", "0.000"},
                      SoilLossCase{125, "125", "1.04", "12.500"},
                      SoilLossCase{15, "15", "0.12", "1.500"}, // 0.125 mm: even 12
                      SoilLossCase{3, "3", "0.02", "0.300"},   // 0.025 mm: even 2
                      SoilLossCase{9, "9", "0.08", "0.900"},   // 0.075 mm: even 8
                      SoilLossCase{12.5L, "12", "0.10", "1.250"},
                      SoilLossCase{13.5L, "14", "0.11", "1.350"},
                      SoilLossCase{0.005L, "0", "0.00", "0.000"}, // 0.0005 t: even 0
                      SoilLossCase{0.015L, "0", "0.00", "0.002"}, // 0.0015 t: even 2
                      SoilLossCase{1200, "1200", "10.00", "120.000"}));

TEST(TotalRisk, AddsTheRillSurchargeToEf) {
    AssessmentRecord record;
    record.EF = 11.53L;
    record.Channels = 0;
    record.NumChannels = 0;
    record.DepthChannel = 1;
    record.WidthChannel = 1;
    record.FrequencyChannels = 0;
    ComputeTotalRisk(record);
    EXPECT_EQ(record.EL, 150);
    EXPECT_EQ(record.EFL, 161.53L);
    EXPECT_EQ(record.SoilLossMM, 161.53L / 120);
    EXPECT_EQ(record.SoilLossTHA, 161.53L / 10);
    EXPECT_EQ(TotalRiskText(record), "162");
    EXPECT_EQ(SoilLossMMText(record), "1.35");
    EXPECT_EQ(SoilLossTHAText(record), "16.153");
}

TEST(TotalRisk, SoilLossIgnoresTheRegionalSeparator) {
    SetDecimalSeparator(',');
    AssessmentRecord record;
    record.EF = 54;
    ComputeTotalRisk(record);
    EXPECT_EQ(SoilLossMMText(record), "0.45");
    EXPECT_EQ(SoilLossTHAText(record), "5.400");
    SetDecimalSeparator('.');
}

} // namespace
} // namespace brisolt
