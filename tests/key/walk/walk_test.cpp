#include "key/walk.h"

#include <gtest/gtest.h>

#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

const std::string kWorkedExample = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";

TEST(Walk, WorkedExampleFromFileToRiskLevel) {
    const Evaluation e = EvaluateCalculationFile(kWorkedExample, 2026);
    ASSERT_TRUE(e.outcome.loaded) << e.outcome.loadMessage;
    EXPECT_EQ(e.outcome.stoppedAt, 0) << e.outcome.stopMessage;
    const AssessmentRecord& r = e.record;
    // Region A, "Lehmiger Sand", 10 %, 100 m, down the slope, no stones.
    EXPECT_NEAR(static_cast<double>(r.ST), 46.12, 0.005);
    EXPECT_EQ(r.STReduced, r.ST);
    // Winter wheat, grain maize, winter barley.
    EXPECT_EQ(r.C, 1.512L);
    EXPECT_EQ(r.CABAG, 0.1512L);
    EXPECT_EQ(r.Years, 3);
    EXPECT_EQ(r.KWBCount, 0);
    EXPECT_EQ(r.RotationYearAt(1).y, "0.0856");
    EXPECT_EQ(r.RotationYearAt(2).z, "Tab05/2/C");
    EXPECT_EQ(r.RotationYearAt(3).w, "0.1753");
    // EF = ST' x C, no rills, regional standard depth 80 cm in region A.
    EXPECT_EQ(r.EF, r.STReduced * r.C);
    EXPECT_EQ(r.EL, 0);
    EXPECT_EQ(r.EFL, r.EF);
    EXPECT_EQ(r.DepthSoil, 80);
    EXPECT_EQ(r.GBF, "2"); // EFL 70 at 71-80 cm

    const ResultDisplay d = DisplayResults(r, ',');
    EXPECT_EQ(d.EF, "70");
    EXPECT_EQ(d.EFL, "70");
    EXPECT_EQ(d.SoilLossMM, "0.58");
    EXPECT_EQ(d.SoilLossTHA, "6.974");
    EXPECT_EQ(d.C, "1,512");
    EXPECT_EQ(d.GBF, "2");
}

TEST(Walk, StopsWhereAUserWouldBeStopped) {
    testing::TempDir dir;
    AssessmentRecord base;
    ASSERT_TRUE(LoadCalculation(base, kWorkedExample, 2026).loaded);

    AssessmentRecord flat = base;
    flat.Gradient = 1;
    flat.C = 9; // a result from earlier: nothing after the stop recomputes it
    WalkOutcome o = WalkForward(flat);
    EXPECT_EQ(o.stoppedAt, 1);
    EXPECT_EQ(o.stopMessage.rfind("Bei Gefälle von weniger als 2%", 0), 0u);
    EXPECT_EQ(flat.C, 9);
    EXPECT_EQ(DisplayResults(flat, '.').EF, "0");

    AssessmentRecord gap = base;
    gap.RotationYearAt(5).a = 5; // a crop after two empty years
    o = WalkForward(gap);
    EXPECT_EQ(o.stoppedAt, 2);
    EXPECT_EQ(o.stopMessage, "Lücke in der Fruchtfolge. Bitte lückenlos erfassen.");
    EXPECT_EQ(gap.EF, 0);
    EXPECT_EQ(gap.GBF, "");

    // Missing inputs are no results: no crop at all (C would be 0, the best protection), and
    // a map or boring depth of 0 (the shallowest soil); the regional standard needs no depth.
    struct Missing {
        const char* what;
        void (*change)(AssessmentRecord&);
        int step;
        const char* message;
    };
    const Missing cases[] = {
        {"no crop",
         [](AssessmentRecord& r) {
             for (int n = 1; n <= kRotationYears; ++n) {
                 r.RotationYearAt(n).a = 0;
             }
         },
         2, "Bitte zuerst die Fruchtfolge eingeben."},
        {"map, no depth",
         [](AssessmentRecord& r) {
             r.Method = 0;
             r.DepthSoil = 0;
         },
         6, "Bitte die Gründigkeit des Bodens in cm eingeben."},
        {"boring, no depth",
         [](AssessmentRecord& r) {
             r.Method = 1;
             r.DepthSoil = 0;
         },
         6, "Bitte die Gründigkeit des Bodens in cm eingeben."},
        {"regional standard", [](AssessmentRecord& r) { r.DepthSoil = 0; }, 0, ""},
    };
    for (const Missing& c : cases) {
        AssessmentRecord r = base;
        c.change(r);
        o = WalkForward(r);
        EXPECT_EQ(o.stoppedAt, c.step) << c.what;
        EXPECT_EQ(o.stopMessage, c.message) << c.what;
        EXPECT_EQ(r.GBF, c.step == 0 ? "2" : "") << c.what;
    }
}

TEST(Walk, SameResultsWhateverTheRegionalSeparator) {
    AssessmentRecord point;
    AssessmentRecord comma;
    ASSERT_TRUE(LoadCalculation(point, kWorkedExample, 2026).loaded);
    comma = point;
    SetDecimalSeparator('.');
    WalkForward(point);
    SetDecimalSeparator(',');
    WalkForward(comma);
    SetDecimalSeparator('.');
    EXPECT_EQ(CalculationFileBytes(point), CalculationFileBytes(comma));
    EXPECT_EQ(point.C, comma.C);
    EXPECT_EQ(point.EFL, comma.EFL);
    EXPECT_EQ(point.Total2A, comma.Total2A);
    EXPECT_EQ(point.Total2D, comma.Total2D);
}

TEST(Walk, AFileThatDoesNotLoadLeavesAFreshAssessment) {
    const Evaluation e = EvaluateCalculationFile("/nonexistent/file.txt", 2026);
    EXPECT_FALSE(e.outcome.loaded);
#ifdef _WIN32
    EXPECT_EQ(e.outcome.loadMessage, "Pfad nicht gefunden");
#else
    EXPECT_EQ(e.outcome.loadMessage, "Datei nicht gefunden");
#endif
    EXPECT_EQ(CalculationFileBytes(e.record), CalculationFileBytes(FreshRecord(2026)));
    EXPECT_EQ(e.outcome.stoppedAt, 0);
}

} // namespace
} // namespace brisolt
