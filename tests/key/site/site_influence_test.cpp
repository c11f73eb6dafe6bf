#include "key/site/site_influence.h"

#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "key/core/number_text.h"
#include "key/site/site_tables.h"
#include "key/startup.h"

namespace brisolt {
namespace {

AssessmentRecord Site(Index region, Index soil, Int gradient, Int length, Index direction,
                      Int stones = 0) {
    AssessmentRecord r = FreshRecord(2026);
    r.Region = region;
    r.SoilType = soil;
    r.Gradient = gradient;
    r.FloatDistance = length;
    r.Entertainment = direction;
    r.Stones = stones;
    return r;
}

double ST(const AssessmentRecord& r) {
    return static_cast<double>(r.ST);
}

TEST(ComputeSiteInfluence, WorkedExamples) {
    AssessmentRecord downSlope = Site(0, 0, 10, 100, 0);
    ComputeSiteInfluence(downSlope);
    // (100/22)^0.52 x (10/9)^1.5 x 0.224 x 80
    EXPECT_NEAR(ST(downSlope), 46.12, 0.005);
    EXPECT_EQ(downSlope.STReduced, downSlope.ST);
    EXPECT_EQ(FormatFixed(downSlope.ST, 0, '.'), "46");

    AssessmentRecord across = Site(0, 0, 10, 100, 1);
    ComputeSiteInfluence(across);
    EXPECT_NEAR(ST(across), 41.97, 0.005);
    EXPECT_NEAR(static_cast<double>(across.ST / downSlope.ST), 0.91, 1e-15);

    AssessmentRecord regionC = Site(2, 2, 7, 50, 0);
    ComputeSiteInfluence(regionC);
    EXPECT_NEAR(ST(regionC), 16.14, 0.005);
}

TEST(ComputeSiteInfluence, IndependentFormulaAcrossManySites) {
    // The product written out by hand for a few sites whose keys hit table rows exactly.
    struct Case {
        Index region;
        Index soil;
        Int gradient;
        Int length;
        double m, soilFactor, regionFactor;
    };
    const Case cases[] = {
        {7, 0, 5, 40, 0.40, 0.424, 80},   {7, 1, 12, 300, 0.55, 0.162, 85},
        {5, 2, 60, 10, 0.71, 0.174, 90},  {1, 1, 3, 22, 0.31, 0.11, 85},
        {6, 3, 25, 150, 0.64, 0.162, 85}, {3, 2, 2, 500, 0.24, 0.204, 90},
    };
    for (const Case& c : cases) {
        AssessmentRecord r = Site(c.region, c.soil, c.gradient, c.length, 0, 10);
        ComputeSiteInfluence(r);
        const double expected = std::pow(c.gradient / 9.0, 1.5) * std::pow(c.length / 22.0, c.m) *
                                c.soilFactor * c.regionFactor;
        EXPECT_NEAR(ST(r), expected, expected * 1e-12) << c.region << "/" << c.soil;
        EXPECT_NEAR(static_cast<double>(r.STReduced), expected * (1 - 0.194 + 0.01),
                    expected * 1e-12);
    }
}

TEST(ComputeSiteInfluence, NoFlowLengthOrNoGradientGivesZero) {
    AssessmentRecord noLength = Site(0, 0, 10, 0, 0, 5);
    ComputeSiteInfluence(noLength);
    EXPECT_EQ(noLength.ST, 0);
    EXPECT_EQ(noLength.STReduced, 0);
    AssessmentRecord flat = Site(0, 0, 0, 100, 1);
    ComputeSiteInfluence(flat);
    EXPECT_EQ(flat.ST, 0);
}

TEST(ComputeSiteInfluence, DamagedInputsGiveNumbersNotNaN) {
    for (const auto& [region, soil, gradient, length] :
         {std::tuple{99, 5, 10, 100}, std::tuple{-1, -1, 10, 100},
          std::tuple{2147483647, 2147483647, 10, 10}, std::tuple{0, 0, -10, -100},
          std::tuple{0, 0, 2147483647, 2147483647}}) {
        AssessmentRecord r = Site(region, soil, gradient, length, 1);
        ComputeSiteInfluence(r);
        EXPECT_FALSE(std::isnan(r.ST)) << region << " " << gradient;
        EXPECT_FALSE(std::isnan(r.STReduced));
    }
}

TEST(StoneFactor, QuadraticInTheCover) {
    EXPECT_EQ(StoneFactor(0), 1);
    EXPECT_NEAR(static_cast<double>(StoneFactor(5)), 0.9055, 1e-15);
    EXPECT_NEAR(static_cast<double>(StoneFactor(25)), 0.5775, 1e-15);
    EXPECT_NEAR(static_cast<double>(StoneFactor(100)), 0.06, 1e-15);
    EXPECT_GT(StoneFactor(99), StoneFactor(97)); // rises again past 97 %
}

TEST(SiteTables, LookupEdgeCases) {
    EXPECT_NEAR(static_cast<double>(LookupInterpolated(SlopeExponentTable(), 7)), 0.455, 1e-15);
    EXPECT_EQ(LookupInterpolated(SlopeExponentTable(), 60), 0.71L);
    EXPECT_EQ(LookupInterpolated(SlopeExponentTable(), 75), 0.71L);
    EXPECT_EQ(LookupInterpolated(SlopeExponentTable(), 0), 0.04L);
    EXPECT_EQ(LookupInterpolated(SoilFactorTable(), 502), 0.174L);
    EXPECT_EQ(LookupInterpolated(RegionFactorTable(), 700), 80);
    EXPECT_EQ(LookupInterpolated(RegionFactorTable(), 701), 85);
    EXPECT_EQ(SlopeExponentTable().RowCount, 19);
    EXPECT_EQ(SoilFactorTable().RowCount, 29);
    EXPECT_EQ(ContourFactorTable().RowCount, 18);
    EXPECT_EQ(ContourFactorTable().ColCount, 31);

    const auto& contour = ContourFactorTable();
    EXPECT_EQ(LookupBilinear(contour, 2, 40), 0.79L);
    EXPECT_NEAR(static_cast<double>(LookupBilinear(contour, 2, 135)), 0.80, 1e-15);
    EXPECT_EQ(LookupBilinear(contour, 25, 500), 1);
    EXPECT_EQ(LookupBilinear(contour, 5, 10), 0.72L);
    EXPECT_EQ(LookupBilinear(contour, 12, 200), 0.98L);
    EXPECT_EQ(LookupBilinear(contour, 11, 280), 1);
    // Halfway between rows 9/10 and columns 60/70: mean of 0.75, 0.80, 0.81, 0.85.
    EXPECT_NEAR(static_cast<double>(LookupBilinear(contour, 9.5L, 65)), 0.8025, 1e-15);
    for (Int gradient = 2; gradient <= 30; ++gradient) {
        EXPECT_EQ(LookupBilinear(contour, gradient, 310), 1) << gradient;
        EXPECT_EQ(LookupBilinear(contour, 18 + gradient, 20 + 10 * gradient), 1) << gradient;
    }
}

TEST(SoilTypeLists, EachRegionHasItsOwn) {
    EXPECT_EQ(SoilTypeNames(0).size(), 4u);
    EXPECT_EQ(SoilTypeNames(5).size(), 3u);
    EXPECT_EQ(SoilTypeNames(7).size(), 2u);
    EXPECT_EQ(SoilTypeNames(6)[3], "unklar");
    EXPECT_EQ(SoilTypeNames(4)[3], "Unklar");
    EXPECT_EQ(SoilTypeNames(5)[0], "Toniger Lehm oder lehmiger Ton");
    EXPECT_EQ(SoilTypeDescriptions(7)[0], "Lössboden");
    EXPECT_TRUE(SoilTypeNames(8).empty());
    EXPECT_TRUE(SoilTypeNames(-1).empty());
    for (Index region = 0; region < 8; ++region) {
        EXPECT_EQ(SoilTypeNames(region).size(), SoilTypeDescriptions(region).size());
    }
}

} // namespace
} // namespace brisolt
