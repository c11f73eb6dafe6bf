#include "cli/compare_command.h"

#include <ostream>
#include <sstream>

#include "cli/cli.h"
#include "cli/report_command.h"
#include "key/core/windows1252.h"
#include "key/startup.h"
#include "report/comparison.h"

namespace brisolt::cli {

namespace {

std::string OptionalNumber(int n) {
    return n > 0 ? std::to_string(n) : "null";
}

void WriteJson(std::ostream& out, const report::Comparison& c, bool onlyDifferences) {
    std::string text = "{\"variants\":[";
    for (std::size_t i = 0; i < c.variants.size(); ++i) {
        const report::ComparedVariant& v = c.variants[i];
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
    bool first = true;
    for (const report::ComparisonRow& row : c.rows) {
        if (onlyDifferences && !row.differ) {
            continue;
        }
        text += first ? "{" : ",{";
        first = false;
        text += "\"group\":" + JsonString(row.group) + ",\"label\":" + JsonString(row.label);
        text += ",\"values\":[";
        for (std::size_t i = 0; i < row.values.size(); ++i) {
            text += (i > 0 ? "," : "") + JsonString(row.values[i]);
        }
        text += row.differ ? "],\"differ\":true}" : "],\"differ\":false}";
    }
    text += "]}\n";
    out << text;
}

void WriteCsv(std::ostream& out, const report::Comparison& c, bool onlyDifferences) {
    std::string line = "group,label";
    for (const report::ComparedVariant& v : c.variants) {
        line += "," + CsvField(v.file);
    }
    out << line << ",differ\r\n";
    for (const report::ComparisonRow& row : c.rows) {
        if (onlyDifferences && !row.differ) {
            continue;
        }
        line = CsvField(row.group) + "," + CsvField(row.label);
        for (const std::string& value : row.values) {
            line += "," + CsvField(value);
        }
        out << line << (row.differ ? ",true\r\n" : ",false\r\n");
    }
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
            if (i + 1 >= args.size()) {
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
    BuildKeyTables();
    const report::Comparison comparison =
        report::CompareCalculations(files, CurrentCalendarYear(), '.');
    int status = 0;
    for (const report::ComparedVariant& v : comparison.variants) {
        if (!v.loaded) {
            FileProblem(err, v.file, v.loadMessage);
            status = 1;
        }
    }
    if (format == "csv") {
        WriteCsv(out, comparison, onlyDifferences);
    } else {
        WriteJson(out, comparison, onlyDifferences);
    }
    out.flush();
    if (!pdf.empty()) {
        std::ostringstream names; // the PDF's name is not part of the table on stdout
        if (!WriteReportPdf(report::BuildComparisonPages(comparison, onlyDifferences), pdf, names,
                            err)) {
            status = 1;
        }
    }
    return status;
}

} // namespace brisolt::cli
