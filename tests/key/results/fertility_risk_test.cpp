#include "key/results/fertility_risk.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace brisolt {
namespace {

// The band table of the key as printed, by label. Kept apart from the class codes the
// program builds its table from, so a wrong code or a shifted band shows up here.
constexpr std::array<std::array<int, 2>, 8> kDepthBands = {{
    {0, 29},
    {30, 40},
    {41, 50},
    {51, 60},
    {61, 70},
    {71, 80},
    {81, 90},
    {91, 999},
}};
constexpr std::array<std::array<int, 2>, 13> kEflBands = {{
    {0, 10},
    {11, 20},
    {21, 30},
    {31, 40},
    {41, 50},
    {51, 60},
    {61, 70},
    {71, 80},
    {81, 90},
    {91, 100},
    {101, 110},
    {111, 120},
    {121, 999},
}};
const std::array<std::array<const char*, 13>, 8> kPrintedLabels = {{
    {"1A", "1A", "2", "3", "3", "3", "3", "3", "3", "3", "3", "3", "3"},
    {"1A", "1A", "2", "2", "3", "3", "3", "3", "3", "3", "3", "3", "3"},
    {"1A", "1A", "2", "2", "2", "2", "3", "3", "3", "3", "3", "3", "3"},
    {"0", "1A", "1B", "2", "2", "2", "2", "2", "3", "3", "3", "3", "3"},
    {"0", "1A", "1B", "1B", "2", "2", "2", "2", "2", "3", "3", "3", "3"},
    {"0", "0", "1A", "1A", "1B", "2", "2", "2", "2", "2", "3", "3", "3"},
    {"0", "0", "0", "1A", "1B", "1B", "2", "2", "2", "2", "2", "3", "3"},
    {"0", "0", "0", "0", "1B", "1B", "1B", "2", "2", "2", "2", "2", "3"},
}};

std::string RiskFor(Real efl, Int depth) {
    AssessmentRecord record;
    record.EFL = efl;
    record.DepthSoil = depth;
    const std::string label = ComputeFertilityRisk(record);
    EXPECT_EQ(label, record.GBF);
    return label;
}

// Both ends of every depth band against both ends of every EFL band, plus the middle of
// each band pair, which is where the table interpolates between equal cells.
TEST(FertilityRisk, EveryBandBoundaryGivesThePrintedLevel) {
    for (std::size_t d = 0; d < kDepthBands.size(); ++d) {
        for (std::size_t e = 0; e < kEflBands.size(); ++e) {
            const std::string expected = kPrintedLabels[d][e];
            const auto [dLow, dHigh] = kDepthBands[d];
            const auto [eLow, eHigh] = kEflBands[e];
            for (const Int depth : {dLow, dHigh, (dLow + dHigh) / 2}) {
                for (const int efl : {eLow, eHigh, (eLow + eHigh) / 2}) {
                    EXPECT_EQ(RiskFor(efl, depth), expected)
                        << "depth " << depth << " cm, EFL " << efl;
                }
            }
        }
    }
}

TEST(FertilityRisk, WorkedCasesAndRounding) {
    struct Case {
        Real efl;
        Int depth;
        const char* label;
    };
    const Case cases[] = {
        {11.53L, 80, "0"}, // EFL shown as 12: band 11-20, depth 71-80
        {54, 60, "2"},         {54, 100, "1B"},
        {10.5L, 55, "0"},                                       // 10.5 rounds to the even 10
        {11, 55, "1A"},        {10.5000000000000001L, 55, "0"}, // a half at 15 significant digits
        {10.50001L, 55, "1A"}, {11.5L, 55, "1A"},               // 11.5 rounds to 12
        {20.5L, 55, "1A"},                   // 20.5 rounds to the even 20, still band 11-20
        {21.5L, 55, "1B"},                   // 21.5 rounds to 22
        {10.49L, 55, "0"},     {0, 0, "1A"}, // empty depth field
        {35, 29, "3"},         {35, 30, "2"},
        {1500, 1200, "3"}, // beyond 999 takes the last bands
        {0, 5000, "0"},        {1500, 0, "3"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RiskFor(c.efl, c.depth), c.label) << "EFL " << c.efl << ", depth " << c.depth;
    }
}

// Values only a loaded file or an odd record can hold stay inside the table.
TEST(FertilityRisk, OutlandishInputsTakeTheEdgeBands) {
    EXPECT_EQ(RiskFor(0, -5), "1A");
    EXPECT_EQ(RiskFor(0, INT32_MIN), "1A");
    EXPECT_EQ(RiskFor(0, INT32_MAX), "0");
    EXPECT_EQ(RiskFor(-40, 95), "0");
    EXPECT_EQ(RiskFor(1e30L, 95), "3");
}

} // namespace
} // namespace brisolt
