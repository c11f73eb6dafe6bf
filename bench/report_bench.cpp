// Building the evaluation protocol from the record and rendering it to a PDF file, in
// process: 20 single runs, report the median.

#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>

#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "key/walk.h"
#include "pdf/page_painter.h"
#include "report/comparison.h"
#include "report/reports.h"

namespace {

// With a name line of 10 million characters without a blank (argument: its length, 0 for the
// worked example as it is) only what fits on the page is measured, so it costs about the same.
void BM_ProtocolToPdf(benchmark::State& state) {
    brisolt::Evaluation e =
        brisolt::EvaluateCalculationFile(BRISOLT_TEST_DATA "/worked_example.txt", 2026);
    if (state.range(0) > 0) {
        e.record.NameSurname = std::string(static_cast<std::size_t>(state.range(0)), 'M');
    }
    const QString path = QDir::temp().filePath("brisolt-bench-protocol.pdf");
    for (auto _ : state) {
        const brisolt::report::Page page = brisolt::report::BuildEvaluationProtocol(e.record, '.');
        const QString error = brisolt::pdf::WritePdf(page, path.toStdString());
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
        }
    }
    QFile::remove(path);
}
BENCHMARK(BM_ProtocolToPdf)
    ->Arg(0)
    ->Arg(10'000'000)
    ->Iterations(1)
    ->Repetitions(20)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

// The comparison of two variants to PDF, one with a parcel name of 10k, 100k and 300k
// characters: what is printed is the same few lines whatever the length.
void BM_ComparisonWithLongParcelToPdf(benchmark::State& state) {
    std::vector<brisolt::report::ComparedVariant> variants;
    for (int i = 0; i < 2; ++i) {
        variants.push_back(
            brisolt::report::LoadVariant(BRISOLT_TEST_DATA "/worked_example.txt", 2026));
    }
    variants.front().record.Parzelle = std::string(static_cast<std::size_t>(state.range(0)), 'P');
    const brisolt::report::Comparison c =
        brisolt::report::CompareVariants(std::move(variants), '.');
    const QString path = QDir::temp().filePath("brisolt-bench-comparison.pdf");
    for (auto _ : state) {
        const QString error = brisolt::pdf::WritePdf(
            brisolt::report::BuildComparisonPages(c, false), path.toStdString());
        if (!error.isEmpty()) {
            state.SkipWithError(qPrintable(error));
        }
    }
    QFile::remove(path);
}
BENCHMARK(BM_ComparisonWithLongParcelToPdf)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(300'000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
