// How fast the whole key runs: a ten-year rotation walked from step 1 to GBF in memory,
// the same read from a calculation file first, and the measures search on a rotation that
// offers many measures.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <stdexcept>
#include <string>

#include "key/files/calculation_file.h"
#include "key/measures/measures.h"
#include "key/rotation/step2_form.h"
#include "key/startup.h"
#include "key/walk.h"
#include "support/rotation_entry.h"

namespace {

using namespace brisolt;

struct Entry {
    const char* crop;
    const char* tillage;
    const char* period;
    const char* periodTillage;
    const char* start;
};

void Choose(Step2Form& form, AssessmentRecord& record, int n, Choice choice, const char* text) {
    if (text == nullptr) {
        return;
    }
    const auto texts = form.Row(n).List(choice).Texts();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (texts[i] == text) {
            form.ChoiceChange(n, choice, static_cast<Index>(i), record);
            return;
        }
    }
    throw std::runtime_error(std::string("not offered: ") + text);
}

// A ten-year rotation with meadow, cereals, root crops and maize, entered as a user would.
AssessmentRecord TenYearAssessment() {
    AssessmentRecord r = FreshRecord(2026);
    r.Gradient = 12;
    r.FloatDistance = 140;
    r.Region = 1;
    r.SoilType = 2;
    r.Entertainment = 1;
    r.Stones = 5;
    r.Channels = 0;
    r.NumChannels = 1;
    r.DepthChannels = 1;
    r.FrequencyChannels = 2;
    r.Method = 1;
    r.DepthSoil = 65;
    const char* plough = "Plug/pfluglos unter 10% Bedeckung";
    const char* mulch = "Mulchsaat 10-30% Bedeckung";
    const char* none = "Keine Zwischenperiode";
    const Entry years[10] = {
        {"Kunstwiese 1. Jahr (Sommer-/Herbstsaat)", plough, none, nullptr, nullptr},
        {"Kunstwiese 2. und folgende Jahre", plough, none, nullptr, nullptr},
        {"Kunstwiese 2. und folgende Jahre", plough, "Schwarzbrache im Herbst und Winter", nullptr,
         "vor dem 31.07."},
        {"Mais (Silomais)", mulch, "Stoppelbrache vor Winterkultur", nullptr, "01.10. bis 15.10."},
        {"Weizen (Winter)", plough, "Stoppelbrache im Winter", nullptr, "20.07. bis 31.07."},
        {"Kartoffeln (übrige)", plough, "Zwischenfutter/Gründüngung vor Winterkultur", plough,
         "01.08. bis 15.08."},
        {"Weizen (Winter)", mulch, none, nullptr, nullptr},
        {"Rüben (Zuckerrüben)", plough, "Stoppelbrache im Winter", nullptr, "01.10. bis 15.10."},
        {"Gerste (Sommer)", plough, none, nullptr, nullptr},
        {"Raps (Winter)", mulch, none, nullptr, nullptr},
    };
    Step2Form form;
    form.Activate(r);
    for (int n = 1; n <= 10; ++n) {
        const Entry& e = years[n - 1];
        Choose(form, r, n, Choice::Crop, e.crop);
        Choose(form, r, n, Choice::CropTillage, e.tillage);
        Choose(form, r, n, Choice::PeriodType, e.period);
        Choose(form, r, n, Choice::PeriodTillage, e.periodTillage);
        Choose(form, r, n, Choice::PeriodStart, e.start);
    }
    return r;
}

void BM_WalkInMemory(benchmark::State& state) {
    const AssessmentRecord start = TenYearAssessment();
    {
        AssessmentRecord check = start;
        const WalkOutcome o = WalkForward(check);
        if (o.stoppedAt != 0 || check.GBF.empty()) {
            state.SkipWithError(("walk stopped: " + o.stopMessage).c_str());
            return;
        }
    }
    for (auto _ : state) {
        AssessmentRecord record = start;
        benchmark::DoNotOptimize(WalkForward(record));
        benchmark::DoNotOptimize(record.GBF);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_WalkInMemory);

void BM_LoadAndWalkFromFile(benchmark::State& state) {
    const std::string path = "/tmp/brisolt_bench_ten_years.txt";
    SaveCalculation(TenYearAssessment(), path);
    for (auto _ : state) {
        Evaluation e = EvaluateCalculationFile(path, 2026);
        benchmark::DoNotOptimize(e.record.GBF);
    }
    state.SetItemsProcessed(state.iterations());
    std::remove(path.c_str());
    SaveCalculation(TenYearAssessment(), "/tmp/ten.txt");
}
BENCHMARK(BM_LoadAndWalkFromFile);

void BM_DisplayTexts(benchmark::State& state) {
    AssessmentRecord record = TenYearAssessment();
    WalkForward(record);
    for (auto _ : state) {
        benchmark::DoNotOptimize(DisplayResults(record, '.'));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DisplayTexts);

// The whole exploration: single measures, plans and the target line.
void BM_ExploreMeasures(benchmark::State& state) {
    // Every year offers less intensive tillage and catch crops, so the search tries the most.
    const AssessmentRecord start = testing::TenYearsPloughAndBareFallow();
    {
        const MeasureExploration x = ExploreMeasures(start);
        if (x.outcome.stoppedAt != 0 || x.rows.size() < 2) {
            state.SkipWithError(("exploration found nothing: " + x.outcome.stopMessage).c_str());
            return;
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExploreMeasures(start));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExploreMeasures)->Unit(benchmark::kMillisecond);

// The same search with a remark of 0, 1 and 4 MiB: free texts change no result, and should
// cost the search nothing either.
void BM_ExploreMeasuresWithRemark(benchmark::State& state) {
    AssessmentRecord start = testing::TenYearsPloughAndBareFallow();
    start.Remark = std::string(static_cast<std::size_t>(state.range(0)) << 20, 'x');
    for (auto _ : state) {
        benchmark::DoNotOptimize(ExploreMeasures(start));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ExploreMeasuresWithRemark)->Arg(0)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
