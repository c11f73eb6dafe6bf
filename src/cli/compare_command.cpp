#include "cli/compare_command.h"

#include <ostream>
#include <sstream>

#include "cli/cli.h"
#include "cli/output_paths.h"
#include "cli/report_command.h"
#include "key/core/windows1252.h"
#include "key/startup.h"
#include "report/comparison.h"

namespace brisolt::cli {

namespace {

std::string OptionalNumber(int n) {
    return n > 0 ? std::to_string(n) : "null";
}

// The rows are written as they are made, one at a time: with many files each bringing
// calendar years of its own, the table of all rows by all files would be far larger than
// what one row needs.
void WriteJson(std::ostream& out, const std::vector<report::ComparedVariant>& variants,
               bool onlyDifferences) {
    std::string text = "{\"variants\":[";
    for (std::size_t i = 0; i < variants.size(); ++i) {
        const report::ComparedVariant& v = variants[i];
        text += i > 0 ? ",{" : "{";
        text += "\"file\":" + JsonString(v.file);
        text += ",\"heading\":" + JsonString(report::VariantHeading(v));
        text += v.loaded ? ",\"loaded\":true" : ",\"loaded\":false";
        text += ",\"load_message\":" + JsonString(v.loadMessage);
        text += ",\"stopped_at\":" + OptionalNumber(v.stoppedAt);
        text += ",\"stop_message\":" + (v.stoppedAt > 0 ? JsonString(v.stopMessage) : "null");
        text += "}";
    }
    text += "],\"rows\":[";
    out << text;
    bool first = true;
    report::ForEachComparisonRow(variants, '.', [&](report::ComparisonRow&& row) {
        if (onlyDifferences && !row.differ) {
            return;
        }
        text = first ? "{" : ",{";
        first = false;
        text += "\"group\":" + JsonString(row.group) + ",\"label\":" + JsonString(row.label);
        text += ",\"values\":[";
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            text += (i > 0 ? "," : "") + JsonString(row.values[i]);
        }
        text += row.differ ? "],\"differ\":true}" : "],\"differ\":false}";
        out << text;
    });
    out << "]}\n";
}

void WriteCsv(std::ostream& out, const std::vector<report::ComparedVariant>& variants,
              bool onlyDifferences) {
    std::string line = "group,label";
    for (const report::ComparedVariant& v : variants) {
        line += "," + CsvField(v.file);
    }
    out << line << ",differ\r\n";
    report::ForEachComparisonRow(variants, '.', [&](report::ComparisonRow&& row) {
        if (onlyDifferences && !row.differ) {
            return;
        }
        line = CsvField(row.group) + "," + CsvField(row.label);
        for (const std::string& value : row.values) {
            line += "," + CsvField(value);
        }
        out << line << (row.differ ? ",true\r\n" : ",false\r\n");
    });
}

// The number of rows the table shows.
std::size_t ShownRows(const std::vector<report::ComparedVariant>& variants, bool onlyDifferences) {
    std::size_t rows = 0;
    report::ForEachComparisonRow(variants, '.', [&](report::ComparisonRow&& row) {
        rows += onlyDifferences && !row.differ ? 0 : 1;
    });
    return rows;
}

} // namespace

int Compare(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string format = "json";
    std::string pdf;
    bool onlyDifferences = false;
    std::vector<std::string> files;
    bool optionsDone = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (!optionsDone && a == "--") {
            optionsDone = true;
        } else if (!optionsDone && a == "--format") {
            if (i + 1 >= args.size() || (args[i + 1] != "json" && args[i + 1] != "csv")) {
                return UsageError(err, "--format braucht json oder csv");
            }
            format = args[++i];
        } else if (!optionsDone && a == "--only-differences") {
            onlyDifferences = true;
        } else if (!optionsDone && a == "--pdf") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                return UsageError(err, "--pdf braucht eine Ausgabedatei");
            }
            pdf = args[++i];
        } else if (!optionsDone && a.size() > 1 && a[0] == '-') {
            return UsageError(err, "unbekannte Option '" + a + "'");
        } else {
            files.push_back(a);
        }
    }
    if (files.size() < 2) {
        return UsageError(err, "compare braucht mindestens zwei Dateien");
    }
    if (!pdf.empty() && !ReportsAvailable()) {
        return UsageError(err, "diese Ausgabe wurde ohne PDF-Unterstützung gebaut");
    }
    if (!pdf.empty()) {
        if (const auto clash = OutputClash({pdf}, files)) {
            return UsageError(err, *clash);
        }
    }
    BuildKeyTables();
    const Int year = CurrentCalendarYear();
    std::vector<report::ComparedVariant> variants;
    variants.reserve(files.size());
    for (const std::string& file : files) {
        variants.push_back(report::LoadVariant(file, year));
    }
    if (!pdf.empty()) {
        // Refused before anything is written: a document this size cannot be made.
        const std::size_t pages =
            report::MinimumComparisonPages(variants.size(), ShownRows(variants, onlyDifferences));
        if (pages > report::kMaxComparisonPages) {
            FileProblem(err, pdf,
                        "Der Vergleich ergäbe mindestens " + std::to_string(pages) +
                            " Seiten; mehr als " + std::to_string(report::kMaxComparisonPages) +
                            " Seiten werden nicht gedruckt. Weniger Dateien vergleichen oder "
                            "--only-differences wählen.");
            return 1;
        }
    }
    int status = 0;
    for (const report::ComparedVariant& v : variants) {
        if (!v.loaded) {
            FileProblem(err, v.file, v.loadMessage);
            status = 1;
        }
    }
    if (format == "csv") {
        WriteCsv(out, variants, onlyDifferences);
    } else {
        WriteJson(out, variants, onlyDifferences);
    }
    out.flush();
    if (!pdf.empty()) {
        const report::Comparison comparison = report::CompareVariants(std::move(variants), '.');
        std::ostringstream names; // the PDF's name is not part of the table on stdout
        if (!WriteReportPdf(report::BuildComparisonPages(comparison, onlyDifferences), pdf, names,
                            err)) {
            status = 1;
        }
    }
    return status;
}

} // namespace brisolt::cli
