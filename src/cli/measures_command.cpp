#include "cli/measures_command.h"

#include <cmath>
#include <ctime>
#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "cli/output_paths.h"
#include "cli/report_command.h"
#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/windows1252.h"
#include "key/files/calculation_file.h"
#include "key/files/file_system.h"
#include "key/measures/measures.h"
#include "key/startup.h"
#include "report/measures_page.h"

namespace brisolt::cli {

namespace {

std::string KindName(MeasureRowKind kind) {
    switch (kind) {
    case MeasureRowKind::Current:
        return "current";
    case MeasureRowKind::Single:
        return "single";
    case MeasureRowKind::Plan:
        break;
    }
    return "plan";
}

// The variant file of a row: the file's name, then what the row is.
std::string VariantFileName(const std::string& file, const MeasureRow& row) {
    return Utf8FromPath(PathFromUtf8(file).stem()) + "_" + VariantFileSuffix(row) + ".txt";
}

constexpr const char* kNumberColumns[] = {"C",   "CABAG",      "EF",         "EL",
                                          "EFL", "SoilLossMM", "SoilLossTHA"};

std::vector<Real> Numbers(const MeasureRow& row) {
    const AssessmentRecord& r = row.record;
    return {r.C, r.CABAG, r.EF, r.EL, r.EFL, r.SoilLossMM, r.SoilLossTHA};
}

std::string JsonRow(const std::string& file, const MeasureRow& row, const std::string& variant) {
    std::string line = "{\"file\":" + JsonString(file) + ",\"kind\":\"" + KindName(row.kind) + "\"";
    line += ",\"title\":" + JsonString(RowTitle(row));
    line += ",\"measures\":[";
    for (std::size_t i = 0; i < row.descriptions.size(); ++i) {
        line += (i > 0 ? "," : "") + JsonString(row.descriptions[i]);
    }
    line += "],\"numbers\":[";
    for (std::size_t i = 0; i < row.measures.size(); ++i) {
        line += (i > 0 ? "," : "") + std::to_string(row.measures[i]);
    }
    line += "]";
    const std::vector<Real> numbers = Numbers(row);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        line += ",\"" + std::string(kNumberColumns[i]) + "\":" + JsonNumber(numbers[i]);
    }
    line += ",\"GBF\":" + JsonString(row.record.GBF);
    line += ",\"DeltaEFL\":" + JsonNumber(row.deltaEFL);
    if (row.kind == MeasureRowKind::Plan) {
        line += ",\"target\":" + JsonString(row.target);
        line += row.approximate ? ",\"approximate\":true" : ",\"approximate\":false";
    }
    if (!variant.empty()) {
        line += ",\"variant_file\":" + JsonString(variant);
    }
    // The texts the window shows, with its change of EFL.
    std::string display = DisplayJson(row.record);
    display.insert(display.size() - 1, ",\"DeltaEFL\":" + JsonString(report::DeltaText(row)));
    line += ",\"display\":" + display + "}\n";
    return line;
}

void WriteCsvHeader(std::ostream& out) {
    std::string line = "file,kind,title,target,approximate,measures";
    for (const char* name : kNumberColumns) {
        line += ",";
        line += name;
    }
    line += ",GBF,DeltaEFL,variant_file";
    for (const auto& field : DisplayFields(AssessmentRecord{})) {
        line += ",display_" + field.first;
    }
    out << line << ",display_DeltaEFL\r\n";
}

std::string CsvRow(const std::string& file, const MeasureRow& row, const std::string& variant) {
    std::string measures;
    for (std::size_t i = 0; i < row.descriptions.size(); ++i) {
        measures += (i > 0 ? "; " : "") + row.descriptions[i];
    }
    std::string line = CsvField(file) + "," + KindName(row.kind) + "," + CsvField(RowTitle(row));
    line += "," + CsvField(row.target);
    line += row.kind == MeasureRowKind::Plan ? (row.approximate ? ",true" : ",false") : ",";
    line += "," + CsvField(measures);
    for (const Real x : Numbers(row)) {
        line += "," + (std::isfinite(x) ? FormatRoundTrip(x) : std::string());
    }
    line += "," + CsvField(row.record.GBF) + "," + FormatRoundTrip(row.deltaEFL);
    line += "," + CsvField(variant);
    for (const auto& field : DisplayFields(row.record)) {
        line += "," + CsvField(field.second);
    }
    return line + "," + CsvField(report::DeltaText(row)) + "\r\n";
}

} // namespace

int Measures(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string format = "json";
    std::string variants;
    std::string pdf;
    std::string sheet;
    std::vector<std::string> files;
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const auto value = [&](std::string& target) {
            if (i + 1 >= args.size()) {
                return false;
            }
            target = args[++i];
            return true;
        };
        if (!optionsDone && a == "--") {
            optionsDone = true;
        } else if (!optionsDone && a == "--format") {
            if (!value(format) || (format != "json" && format != "csv")) {
                return UsageError(err, "--format braucht json oder csv");
            }
        } else if (!optionsDone && a == "--variants") {
            if (!value(variants) || variants.empty()) {
                return UsageError(err, "--variants braucht einen Ordner");
            }
        } else if (!optionsDone && a == "--pdf") {
            if (!value(pdf) || pdf.empty()) {
                return UsageError(err, "--pdf braucht eine Ausgabedatei");
            }
        } else if (!optionsDone && a == "--sheet") {
            if (!value(sheet)) {
                return UsageError(err, "--sheet braucht eine Ausgabedatei");
            }
        } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
            return UsageError(err, "unbekannte Option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.empty()) {
        return UsageError(err, "keine Datei angegeben");
    }
    if (!pdf.empty() && files.size() != 1) {
        return UsageError(err, "--pdf geht nur mit genau einer Datei");
    }
    if (!sheet.empty() && files.size() != 1) {
        return UsageError(err, "--sheet geht nur mit genau einer Datei");
    }
    if ((!pdf.empty() || !sheet.empty()) && !ReportsAvailable()) {
        return UsageError(err, "diese Ausgabe wurde ohne PDF-Unterstützung gebaut");
    }
    if (!pdf.empty()) {
        if (const auto clash = OutputClash({pdf}, files)) {
            return UsageError(err, *clash);
        }
    }
    if (!variants.empty()) {
        if (const auto clash = VariantClash(variants, files, pdf)) {
            return UsageError(err, *clash);
        }
    }

    const Int year = CurrentCalendarYear();
    BuildKeyTables();
    if (format == "csv") {
        WriteCsvHeader(out);
    }
    int status = 0;
    for (const std::string& file : files) {
        const Evaluation loaded = LoadCalculationFile(file, year);
        if (!loaded.outcome.loaded) {
            FileProblem(err, file, loaded.outcome.loadMessage);
            status = 1;
            continue;
        }
        // The search starts from the inputs as loaded; every row is walked on a copy.
        const AssessmentRecord& inputs = loaded.record;
        const MeasureExploration exploration = ExploreMeasures(inputs);
        if (exploration.outcome.stoppedAt != 0) {
            FileProblem(err, file,
                        "Schritt " + std::to_string(exploration.outcome.stoppedAt) + ": " +
                            exploration.outcome.stopMessage);
            status = status == 0 ? 3 : status;
            continue;
        }
        for (const MeasureRow& row : exploration.rows) {
            std::string variantPath;
            if (!variants.empty()) {
                variantPath =
                    Utf8FromPath(PathFromUtf8(variants) / PathFromUtf8(VariantFileName(file, row)));
                try {
                    SaveCalculation(AdoptRow(inputs, exploration, row), variantPath);
                } catch (const std::exception& error) {
                    // The other rows and inputs still get theirs; this row names no file,
                    // so nothing points at stale content.
                    FileProblem(err, variantPath, MessageOf(error));
                    variantPath.clear();
                    status = 1;
                }
            }
            out << (format == "csv" ? CsvRow(file, row, variantPath)
                                    : JsonRow(file, row, variantPath));
        }
        if (!pdf.empty() &&
            !WriteReportPdf(report::BuildMeasuresComparison(exploration, '.'), pdf, out, err)) {
            status = 1;
        }
        if (!sheet.empty() &&
            !WriteReportPdf(report::BuildMeasuresSheet(exploration, report::SheetPlan(exploration),
                                                       SystemDateText(), '.'),
                            sheet, out, err)) {
            status = 1;
        }
    }
    out.flush();
    return status;
}

} // namespace brisolt::cli
