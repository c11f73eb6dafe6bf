#include "key/measures/measures.h"

#include <algorithm>
#include <map>
#include <set>

#include <gtest/gtest.h>

#include "key/core/number_text.h"
#include "key/core/windows1252.h"
#include "key/files/calculation_file.h"
#include "key/results/total_risk.h"
#include "key/rotation/catalogues.h"
#include "key/rotation/codes.h"
#include "key/rotation/step2_form.h"
#include "key/startup.h"
#include "key/walk.h"
#include "support/rotation_entry.h"

namespace brisolt {
namespace {

const std::string kWorkedExample = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";

AssessmentRecord WorkedExample() {
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, kWorkedExample, 2024);
    return r;
}

const MeasureRow* FindRow(const MeasureExploration& x, std::string_view description) {
    for (const MeasureRow& row : x.rows) {
        if (row.kind == MeasureRowKind::Single && row.descriptions.front() == description) {
            return &row;
        }
    }
    return nullptr;
}

int Rank(const std::string& gbf) {
    static const std::vector<std::string> levels{"0", "1A", "1B", "2", "3"};
    return static_cast<int>(std::find(levels.begin(), levels.end(), gbf) - levels.begin());
}

// Every compatible set of `size` single measures, by the walk; calls `visit` with the walked
// record of each.
template <typename Visit>
void ForEachSet(const AssessmentRecord& inputs, const MeasureExploration& x, std::size_t size,
                Visit visit) {
    std::vector<const Measure*> chosen;
    const auto recurse = [&](auto&& self, std::size_t from) -> void {
        if (chosen.size() == size) {
            AssessmentRecord r = inputs;
            ApplyMeasures(r, chosen);
            if (WalkForward(r).stoppedAt == 0) {
                visit(r);
            }
            return;
        }
        for (std::size_t i = from; i < x.measures.size(); ++i) {
            const Measure* m = &x.measures[i];
            if (std::any_of(chosen.begin(), chosen.end(),
                            [&](const Measure* c) { return c->Choice() == m->Choice(); })) {
                continue;
            }
            chosen.push_back(m);
            self(self, i + 1);
            chosen.pop_back();
        }
    };
    recurse(recurse, 0);
}

// What every exploration must hold, checked against brute force over small sets.
void CheckExploration(const AssessmentRecord& inputs, std::size_t bruteForceUpTo) {
    const MeasureExploration x = ExploreMeasures(inputs);
    ASSERT_EQ(x.outcome.stoppedAt, 0);
    ASSERT_FALSE(x.rows.empty());
    const MeasureRow& current = x.rows.front();
    ASSERT_EQ(current.kind, MeasureRowKind::Current);
    AssessmentRecord walked = inputs;
    WalkForward(walked);
    EXPECT_EQ(current.record.EFL, walked.EFL);

    const MeasureRow* all = nullptr;
    for (const MeasureRow& row : x.rows) {
        if (row.kind == MeasureRowKind::Current) {
            continue;
        }
        // Only ever better than today, and what the walk of the changed inputs gives; a
        // single measure lowers the EFL the screens show.
        EXPECT_LT(row.record.EFL, current.record.EFL) << RowTitle(row);
        if (row.kind == MeasureRowKind::Single) {
            EXPECT_LT(RoundHalfEven(row.record.EFL), RoundHalfEven(current.record.EFL))
                << RowTitle(row);
        }
        AssessmentRecord again = AdoptRow(inputs, x, row);
        ASSERT_EQ(WalkForward(again).stoppedAt, 0) << RowTitle(row);
        EXPECT_EQ(again.EFL, row.record.EFL) << RowTitle(row);
        EXPECT_EQ(again.GBF, row.record.GBF) << RowTitle(row);
        // Never two changes of the same choice.
        std::set<int> choices;
        for (const int n : row.measures) {
            EXPECT_TRUE(choices.insert(x.measures[static_cast<std::size_t>(n - 1)].Choice()).second)
                << RowTitle(row);
        }
        if (row.kind == MeasureRowKind::Plan && row.target == "alle") {
            all = &row;
        }
    }
    ASSERT_NE(all, nullptr);
    for (const MeasureRow& row : x.rows) {
        EXPECT_LE(all->record.EFL, row.record.EFL + 1e-9L) << RowTitle(row);
    }

    // A plan reaches its level, and no smaller set of measures does.
    for (const MeasureRow& plan : x.rows) {
        if (plan.kind != MeasureRowKind::Plan || plan.target == "alle") {
            continue;
        }
        const int level = Rank(plan.target);
        EXPECT_LE(Rank(plan.record.GBF), level) << RowTitle(plan);
        const std::size_t smaller = std::min(plan.measures.size() - 1, bruteForceUpTo);
        for (std::size_t size = 1; size <= smaller; ++size) {
            ForEachSet(inputs, x, size, [&](const AssessmentRecord& r) {
                EXPECT_GT(Rank(r.GBF), level) << RowTitle(plan) << ": " << size << " measures do";
            });
        }
        if (!plan.approximate && plan.measures.size() - 1 <= bruteForceUpTo) {
            // Among the sets of the plan's size that reach the level, none has a lower EFL.
            ForEachSet(inputs, x, plan.measures.size(), [&](const AssessmentRecord& r) {
                if (Rank(r.GBF) <= level) {
                    EXPECT_GE(r.EFL + 1e-9L, plan.record.EFL) << RowTitle(plan);
                }
            });
        }
    }
}

TEST(Measures, WorkedExampleSinglesAndPlans) {
    BuildKeyTables();
    const MeasureExploration x = ExploreMeasures(WorkedExample());
    ASSERT_EQ(x.outcome.stoppedAt, 0);
    EXPECT_EQ(x.targetLine, "Bei 80 cm Gründigkeit: Stufe 0 bis EFL 20, Stufe 1A bis EFL 40, "
                            "Stufe 1B bis EFL 50, Stufe 2 bis EFL 100, Stufe 3 ab EFL 101");
    EXPECT_EQ(TotalRiskText(x.rows.front().record), "70");

    // Winter wheat 2015 with direct seeding instead of the plough: its own cell goes from
    // Tab14 row 1 (0.0856) to row 4 (0.0181), and the stubble after it from Tab36 row 1
    // (0.0159) to row 4 (0.0106): S = 0.4535 - 0.0856 - 0.0159 + 0.0181 + 0.0106 = 0.3807,
    // C = 0.3807 / 3 x 10 = 1.269.
    const MeasureRow* direct = FindRow(
        x, "2015 Weizen (Winter): Direktsaat/Streifenfrässaat statt Plug/pfluglos unter 10% "
           "Bedeckung");
    ASSERT_NE(direct, nullptr);
    EXPECT_EQ(direct->record.C, 1.269L);
    EXPECT_EQ(direct->record.EF, direct->record.STReduced * direct->record.C);
    EXPECT_EQ(TotalRiskText(direct->record), "59");
    EXPECT_EQ(direct->record.GBF, "2");

    // The bare fallow after barley replaced by a catch crop before the winter crop, with the
    // start and tillage of the lowest C; C 0.942 brings EFL to 43, level 1B.
    const MeasureRow* catchCrop = FindRow(
        x, "2017 nach Gerste (Winter): Zwischenfutter/Gründüngung vor Winterkultur (Beginn "
           "01.09. bis 15.09., Direktsaat/Streifenfrässaat) statt Schwarzbrache im Herbst und "
           "Winter");
    ASSERT_NE(catchCrop, nullptr);
    EXPECT_EQ(catchCrop->record.C, 0.942L);
    EXPECT_EQ(catchCrop->record.GBF, "1B");

    // The flow length of 100 m halved and divided by three; C stays, ST' falls.
    const MeasureRow* third = FindRow(
        x, "Hanglänge unterteilen (z. B. Grünstreifen quer zum Hang): Fliessstrecke 33 m statt "
           "100 m");
    ASSERT_NE(third, nullptr);
    EXPECT_NE(FindRow(x, "Hanglänge unterteilen (z. B. Grünstreifen quer zum Hang): "
                         "Fliessstrecke 50 m statt 100 m"),
              nullptr);
    EXPECT_EQ(third->record.C, 1.512L);
    EXPECT_EQ(third->record.FloatDistance, 33);
    EXPECT_EQ(TotalRiskText(third->record), "39");

    // Levels 1B and 1A need one measure (the shorter flow), level 0 three.
    std::vector<std::pair<std::string, std::size_t>> plans;
    for (const MeasureRow& row : x.rows) {
        if (row.kind == MeasureRowKind::Plan) {
            plans.emplace_back(row.target, row.measures.size());
        }
    }
    const std::vector<std::pair<std::string, std::size_t>> expected{
        {"1B", 1}, {"1A", 1}, {"0", 3}, {"alle", 8}};
    EXPECT_EQ(plans, expected);
    EXPECT_EQ(x.rows.back().record.GBF, "0");
}

TEST(Measures, PlansAreTheSmallestThatReachTheirLevel) {
    BuildKeyTables();
    CheckExploration(WorkedExample(), 3);
    // Ten years of ploughed crops, each followed by bare fallow: the hardest case for the
    // search (a measure for every year and choice).
    AssessmentRecord tenYears = testing::TenYearsPloughAndBareFallow();
    CheckExploration(tenYears, 1);
}

// A two-year rotation: winter barley with bare fallow from `start`, then `follower` with no
// intermediate period; the year after the follower is the barley again.
AssessmentRecord BarleyThen(Index follower, const std::string& start) {
    AssessmentRecord r = FreshRecord(2026);
    r.Gradient = 14;
    r.FloatDistance = 120;
    r.Method = 1;
    r.DepthSoil = 60;
    Step2Form form;
    form.Activate(r);
    testing::ChooseText(form, r, 1, Choice::Crop, "Gerste (Winter)");
    testing::ChooseText(form, r, 1, Choice::CropTillage, "Plug/pfluglos unter 10% Bedeckung");
    testing::ChooseText(form, r, 1, Choice::PeriodType, "Schwarzbrache im Herbst und Winter");
    testing::ChooseText(form, r, 1, Choice::PeriodStart, start);
    form.ChoiceChange(2, Choice::Crop, follower, r);
    testing::ChooseText(form, r, 2, Choice::CropTillage, "Plug/pfluglos unter 10% Bedeckung");
    testing::ChooseText(form, r, 2, Choice::PeriodType, "Keine Zwischenperiode");
    return r;
}

// The catch crops proposed for year 1, as (type, start code).
std::vector<std::pair<Int, Int>> CatchCrops(const AssessmentRecord& inputs) {
    const MeasureExploration x = ExploreMeasures(inputs);
    EXPECT_EQ(x.outcome.stoppedAt, 0) << x.outcome.stopMessage;
    Step2Form form;
    AssessmentRecord r = inputs;
    form.Activate(r);
    std::vector<std::pair<Int, Int>> out;
    for (const Measure& m : x.measures) {
        if (m.kind == MeasureKind::CatchCrop && m.year == 1) {
            form.Select(1, Choice::PeriodType, m.position);
            out.emplace_back(form.Row(1).List(Choice::PeriodType).EntryAt(m.position),
                             form.Row(1).List(Choice::PeriodStart).EntryAt(m.start));
        }
    }
    return out;
}

TEST(Measures, CatchCropsFitTheFollowingCropAndTheFreeField) {
    BuildKeyTables();
    // Every crop of the catalogue after winter barley (the continuations of a stand cannot
    // follow it): a catch crop before a winter crop only before one not sown in spring, one
    // lasting over winter only before a spring-sown one; and each class gets some.
    std::map<CropClass, int> offeredByClass;
    for (Index follower = 1; follower < kCropCount; ++follower) {
        const CropFacts& facts = FactsOfCrop(follower);
        if (facts.Code == 20 || facts.Code == 28 || facts.Code == 38) {
            continue;
        }
        for (const auto& [type, start] : CatchCrops(BarleyThen(follower, "vor dem 31.07."))) {
            EXPECT_TRUE(period_type::FitsFollowingCrop(type, facts.SpringSown))
                << CropCatalogue().Texts[static_cast<std::size_t>(follower)] << ": type " << type;
            EXPECT_NE(start, period_start::kBefore2007) << "starts before the field is free";
            ++offeredByClass[facts.Class];
        }
    }
    for (const CropClass c : {CropClass::HFW, CropClass::HFS, CropClass::BFW, CropClass::BFS,
                              CropClass::KWB, CropClass::SOK}) {
        EXPECT_GT(offeredByClass[c], 0) << "class " << static_cast<int>(c);
    }

    // The start the user entered is the earliest a catch crop may begin; a field free only in
    // October gets none of those that must be sown by mid-September.
    struct StartCase {
        const char* userStart;
        Int earliest; // start code
        bool any;
    };
    const Index maize = 22; // "Mais (Körnermais)", spring-sown
    for (const StartCase& c : {StartCase{"vor dem 31.07.", period_start::k2007To3107, true},
                               StartCase{"16.08. bis 31.08.", period_start::k1608To3108, true},
                               StartCase{"01.10. bis 15.10.", period_start::k0110To1510, true},
                               StartCase{"16.10. bis 31.10.", 0, false}}) {
        const auto offered = CatchCrops(BarleyThen(maize, c.userStart));
        EXPECT_EQ(!offered.empty(), c.any) << c.userStart;
        for (const auto& [type, start] : offered) {
            EXPECT_GE(period_start::LatestDayRank(start), period_start::LatestDayRank(c.earliest))
                << c.userStart;
        }
    }
}

TEST(Measures, StripsStayWideEnoughToFarm) {
    BuildKeyTables();
    struct FlowCase {
        Int length;
        std::vector<Int> offered;
    };
    // A strip is measured before rounding: 59 m halved are 29.5 m, 89 m in three 29.7 m.
    for (const FlowCase& c :
         {FlowCase{30, {}}, FlowCase{45, {}}, FlowCase{59, {}}, FlowCase{60, {30}},
          FlowCase{61, {30}}, FlowCase{89, {44}}, FlowCase{90, {45, 30}}, FlowCase{100, {50, 33}},
          FlowCase{300, {150, 100}}}) {
        AssessmentRecord r = WorkedExample();
        r.FloatDistance = c.length;
        std::vector<Int> offered;
        for (const Measure& m : ExploreMeasures(r).measures) {
            if (m.kind == MeasureKind::FlowLength) {
                offered.push_back(m.flowLength);
            }
        }
        EXPECT_EQ(offered, c.offered) << c.length << " m";
    }
}

TEST(Measures, SameChangeInSeveralYearsIsOneRun) {
    BuildKeyTables();
    const MeasureExploration x = ExploreMeasures(testing::TenYearsPloughAndBareFallow());
    // Winter wheat in three years: its tillage changes are numbered one after the other.
    std::map<std::string, std::vector<int>> numbers;
    for (std::size_t i = 0; i < x.measures.size(); ++i) {
        numbers[x.measures[i].heading].push_back(static_cast<int>(i) + 1);
    }
    const auto& wheat =
        numbers["Weizen (Winter): Direktsaat/Streifenfrässaat statt Plug/pfluglos unter 10% "
                "Bedeckung"];
    EXPECT_EQ(wheat.size(), 3u);
    for (const auto& [heading, run] : numbers) {
        EXPECT_EQ(run.back() - run.front() + 1, static_cast<int>(run.size())) << heading;
    }
}

TEST(Measures, ObservedRillsAreSaidToStay) {
    BuildKeyTables();
    EXPECT_EQ(ExploreMeasures(WorkedExample()).rillLine, "");
    AssessmentRecord rills = WorkedExample();
    rills.Channels = 0;      // rills form
    rills.NumChannels = 1;   // several
    rills.DepthChannels = 1; // deeper than 15 cm
    rills.FrequencyChannels = 0;
    const MeasureExploration x = ExploreMeasures(rills);
    ASSERT_EQ(x.outcome.stoppedAt, 0);
    ASSERT_GT(x.rows.front().record.EL, 0);
    EXPECT_EQ(x.rillLine,
              "Der Zuschlag für beobachtete Rinnen (EL " +
                  std::to_string(static_cast<int>(RoundHalfEven(x.rows.front().record.EL))) +
                  ") bleibt bei allen Massnahmen; er fällt erst weg, wenn keine "
                  "Rinnen mehr entstehen.");
}

TEST(Measures, MeasuresOfOneChoiceExcludeEachOther) {
    BuildKeyTables();
    const MeasureExploration x = ExploreMeasures(WorkedExample());
    const auto choiceOf = [](MeasureKind kind, int year) {
        Measure m;
        m.kind = kind;
        m.year = year;
        return m.Choice();
    };
    std::map<int, int> perChoice;
    for (const Measure& m : x.measures) {
        ++perChoice[m.Choice()];
    }
    // 2015 wheat offers three less intensive tillages, the flow two shorter lengths.
    EXPECT_EQ(perChoice[choiceOf(MeasureKind::CropTillage, 1)], 3);
    EXPECT_EQ(perChoice[choiceOf(MeasureKind::FlowLength, 0)], 2);
    // A catch crop and a period tillage of the same year change the same choice.
    EXPECT_EQ(choiceOf(MeasureKind::CatchCrop, 2), choiceOf(MeasureKind::PeriodTillage, 2));
    EXPECT_NE(choiceOf(MeasureKind::CropTillage, 2), choiceOf(MeasureKind::PeriodTillage, 2));
}

TEST(Measures, TargetLineFollowsTheSoilDepth) {
    BuildKeyTables();
    EXPECT_EQ(TargetLine(25), "Bei 25 cm Gründigkeit: Stufe 1A bis EFL 20, Stufe 2 bis EFL 30, "
                              "Stufe 3 ab EFL 31");
    EXPECT_EQ(TargetLine(60), "Bei 60 cm Gründigkeit: Stufe 0 bis EFL 10, Stufe 1A bis EFL 20, "
                              "Stufe 1B bis EFL 30, Stufe 2 bis EFL 80, Stufe 3 ab EFL 81");
    EXPECT_EQ(TargetLine(120), "Bei 120 cm Gründigkeit: Stufe 0 bis EFL 40, Stufe 1B bis EFL 70, "
                               "Stufe 2 bis EFL 120, Stufe 3 ab EFL 121");
}

TEST(Measures, NothingToSearch) {
    BuildKeyTables();
    // A walk that stops at step 1 gives its message and no rows.
    AssessmentRecord flat = WorkedExample();
    flat.Gradient = 1;
    const MeasureExploration stopped = ExploreMeasures(flat);
    EXPECT_EQ(stopped.outcome.stoppedAt, 1);
    EXPECT_TRUE(stopped.rows.empty());
    EXPECT_TRUE(stopped.targetLine.empty());

    // At level 0 the measures that lower EFL are still listed, with the plan of them all.
    AssessmentRecord low = WorkedExample();
    low.FloatDistance = 10;
    low.Entertainment = 1;
    const MeasureExploration x = ExploreMeasures(low);
    ASSERT_EQ(x.outcome.stoppedAt, 0);
    ASSERT_EQ(x.rows.front().record.GBF, "0");
    EXPECT_GT(x.rows.size(), 2u);
    EXPECT_EQ(x.rows.back().target, "alle");
    for (const MeasureRow& row : x.rows) {
        EXPECT_TRUE(row.kind != MeasureRowKind::Plan || row.target == "alle");
    }
}

TEST(Measures, AdoptingARowChangesOnlyItsInputsAndTheVariant) {
    BuildKeyTables();
    const AssessmentRecord inputs = WorkedExample();
    const MeasureExploration x = ExploreMeasures(inputs);
    const MeasureRow& all = x.rows.back();
    const AssessmentRecord adopted = AdoptRow(inputs, x, all);
    EXPECT_EQ(adopted.Variant, "A + Alle Massnahmen zusammen");
    // Lines of the file: only the variant, the direction, the flow length and rotation
    // choices differ.
    int lineEnds = 0;
    const auto before = SplitCalculationLines(CalculationFileBytes(inputs), lineEnds);
    const auto after = SplitCalculationLines(CalculationFileBytes(adopted), lineEnds);
    ASSERT_EQ(before.size(), after.size());
    for (std::size_t line = 1; line <= before.size(); ++line) {
        const bool mayDiffer =
            line == 6 || line == 10 || line == 11 ||
            (line >= 16 && line <= 75 && (line - 16) % 6 != 0 && (line - 16) % 6 != 1);
        if (!mayDiffer) {
            EXPECT_EQ(before[line - 1], after[line - 1]) << "line " << line;
        }
    }
}

// The variant's name says what was adopted, in words, whatever the rows' numbers are.
TEST(Measures, AnAdoptedVariantIsNamedByWhatWasAdopted) {
    BuildKeyTables();
    AssessmentRecord unnamed = WorkedExample();
    unnamed.Variant.clear();
    const MeasureExploration x = ExploreMeasures(unnamed);
    const MeasureRow& plan1A = x.rows[x.rows.size() - 3]; // plans 1B, 1A, 0, all
    const MeasureRow& all = x.rows.back();
    ASSERT_EQ(plan1A.target, "1A");
    const MeasureRow& direct = *FindRow(
        x, "2015 Weizen (Winter): Direktsaat/Streifenfrässaat statt Plug/pfluglos unter 10% "
           "Bedeckung");
    struct LabelCase {
        const MeasureRow* row;
        std::string variant;
        std::string expected;
        std::string suffix;
    };
    for (const LabelCase& c : {
             LabelCase{&plan1A, "", "Ist-Zustand + Ziel Stufe 1A", "ziel_1A"},
             LabelCase{&plan1A, "Oberfeld", "Oberfeld + Ziel Stufe 1A", "ziel_1A"},
             LabelCase{&all, "", "Ist-Zustand + Alle Massnahmen zusammen", "ziel_alle"},
             LabelCase{&direct, "", "2015 Direktsaat", "massnahme_4"},
             LabelCase{&direct, "B", "B + 2015 Direktsaat", "massnahme_4"},
             LabelCase{FindRow(x, "Hanglänge unterteilen (z. B. Grünstreifen quer zum Hang): "
                                  "Fliessstrecke 33 m statt 100 m"),
                       "", "Fliessstrecke 33 m statt 100 m", "massnahme_17"},
             LabelCase{&x.rows.front(), "A", "A", "aktuell"},
         }) {
        AssessmentRecord named = unnamed;
        named.Variant = c.variant;
        EXPECT_EQ(AdoptRow(named, x, *c.row).Variant, c.expected);
        EXPECT_EQ(VariantFileSuffix(*c.row), c.suffix) << c.expected;
    }

    // A second adoption adds to the first; a plan found step by step is named by its level.
    AssessmentRecord adopted = AdoptRow(unnamed, x, plan1A);
    WalkForward(adopted);
    const MeasureExploration again = ExploreMeasures(adopted);
    EXPECT_EQ(AdoptRow(adopted, again, again.rows.back()).Variant,
              "Ist-Zustand + Ziel Stufe 1A + Alle Massnahmen zusammen");

    // Every measure of the hardest case gets a short name the calculation file keeps as it is.
    const MeasureExploration ten = ExploreMeasures(testing::TenYearsPloughAndBareFallow());
    for (const MeasureRow& r : ten.rows) {
        const std::string label = AdoptedVariant("", ten, r);
        EXPECT_EQ(MakeWindows1252Safe(label), label);
        EXPECT_LE(label.size(), 42u) << label;
        EXPECT_EQ(label.find("Näherung"), std::string::npos) << label;
    }
}

} // namespace
} // namespace brisolt
