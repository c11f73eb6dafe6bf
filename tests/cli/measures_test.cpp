// brisolt-cli measures on files made here: the variant files it writes are checked against
// what `evaluate` makes of them, and against the file they started from.

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "support/json.h"
#include "support/rotation_entry.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::Json;
using testing::ParseJson;
using testing::ParseJsonLines;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

std::vector<std::string> FileLines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    int lineEnds = 0;
    return SplitCalculationLines(bytes.str(), lineEnds);
}

// File lines a measure may change, by the words of its description.
std::set<int> LinesOf(const std::string& description, const std::map<std::string, int>& years) {
    if (description == "Bewirtschaftung quer zum Hang") {
        return {10};
    }
    if (description.rfind("Hanglänge unterteilen", 0) == 0) {
        return {11};
    }
    const int n = years.at(description.substr(0, 4));
    const int base = 10 + 6 * n;
    if (description.find(" nach ") == std::string::npos) {
        return {base + 3}; // main crop tillage
    }
    return {base + 2, base + 4, base + 5}; // the intermediate period
}

TEST(CliMeasures, VariantFilesGiveTheirRowsResultsAndChangeOnlyTheirLines) {
    TempDir dir;
    const std::string ten = dir.File("zehn.txt");
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), ten);
    const std::string worked = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";
    std::filesystem::create_directory(dir.File("varianten"));
    const auto run = RunCommand(std::string(BRISOLT_CLI) + " measures --variants " +
                                ShellQuote(dir.File("varianten")) + " " + ShellQuote(worked) + " " +
                                ShellQuote(ten));
    ASSERT_EQ(run.status, 0);
    const std::vector<Json> rows = ParseJsonLines(run.out);
    ASSERT_GT(rows.size(), 40u);

    std::string files;
    for (const Json& row : rows) {
        files += " " + ShellQuote(row["variant_file"].text);
    }
    const auto evaluated = RunCommand(std::string(BRISOLT_CLI) + " evaluate" + files);
    ASSERT_EQ(evaluated.status, 0);
    const std::vector<Json> results = ParseJsonLines(evaluated.out);
    ASSERT_EQ(results.size(), rows.size());

    std::map<std::string, Json> current;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const Json& row = rows[i];
        const Json& result = results[i];
        const std::string what = row["file"].text + " " + row["title"].text;
        EXPECT_TRUE(result["stopped_at"].IsNull()) << what;
        for (const char* field : {"C", "CABAG", "EF", "EL", "EFL", "SoilLossMM", "SoilLossTHA"}) {
            EXPECT_EQ(row[field].text, result[field].text) << what << " " << field;
        }
        EXPECT_EQ(row["GBF"].text, result["GBF"].text) << what;
        EXPECT_EQ(row["display"]["EFL"].text, result["display"]["EFL"].text) << what;
        if (row["kind"].text == "current") {
            current[row["file"].text] = row;
            continue;
        }
        // Better than today, and different from the file it came from only where its
        // measures say (and in the variant's name, line 6).
        EXPECT_LT(row["EFL"].number, current[row["file"].text]["EFL"].number) << what;
        std::map<std::string, int> years;
        const auto original = FileLines(row["file"].text);
        for (int n = 1; n <= 10; ++n) {
            years[original[static_cast<std::size_t>(10 + 6 * n - 1)]] = n;
        }
        std::set<int> allowed{6};
        for (const Json& m : row["measures"].items) {
            const std::set<int> lines = LinesOf(m.text, years);
            allowed.insert(lines.begin(), lines.end());
        }
        const auto variant = FileLines(row["variant_file"].text);
        ASSERT_EQ(variant.size(), original.size()) << what;
        for (std::size_t line = 1; line <= variant.size(); ++line) {
            if (!allowed.count(static_cast<int>(line))) {
                EXPECT_EQ(variant[line - 1], original[line - 1]) << what << ", line " << line;
            }
        }
        // The variant's name: the user's text, then what was adopted in words.
        if (row["kind"].text == "plan" && !original[5].empty()) {
            EXPECT_EQ(variant[5], original[5] + " + " + row["title"].text) << what;
        }
        // The change of EFL as the window shows it: between the whole numbers shown.
        const int shownDelta = std::stoi(row["display"]["EFL"].text) -
                               std::stoi(current[row["file"].text]["display"]["EFL"].text);
        EXPECT_EQ(row["display"]["DeltaEFL"].text,
                  (shownDelta > 0 ? "+" : "") + std::to_string(shownDelta))
            << what;
    }
}

TEST(CliMeasures, StoppedWalksBadFilesAndUsage) {
    TempDir dir;
    AssessmentRecord flat = testing::TenYearsPloughAndBareFallow();
    flat.Gradient = 1;
    const std::string stopped = dir.File("flach.txt");
    SaveCalculation(flat, stopped);
    const std::string cli = std::string(BRISOLT_CLI) + " measures ";

    const auto s = RunCommand(cli + ShellQuote(stopped) + " 2>" + ShellQuote(dir.File("err")));
    EXPECT_EQ(s.status, 3);
    EXPECT_TRUE(s.out.empty());
    std::ifstream err(dir.File("err"));
    std::string message((std::istreambuf_iterator<char>(err)), {});
    EXPECT_NE(message.find("Schritt 1: Bei Gefälle von weniger als 2%"), std::string::npos)
        << message;

    EXPECT_EQ(RunCommand(cli + ShellQuote(dir.File("fehlt.txt")) + " 2>/dev/null").status, 1);
    EXPECT_EQ(RunCommand(cli + " 2>/dev/null").status, 2);
    EXPECT_EQ(RunCommand(cli + "--format xml a.txt 2>/dev/null").status, 2);
    EXPECT_EQ(RunCommand(cli + "--pdf x.pdf a.txt b.txt 2>/dev/null").status, 2);
}

TEST(CliMeasures, CsvHasOneLinePerRowAndThePdfItsTable) {
    TempDir dir;
    const std::string worked = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";
    const auto json = RunCommand(std::string(BRISOLT_CLI) + " measures " + ShellQuote(worked));
    const auto csv =
        RunCommand(std::string(BRISOLT_CLI) + " measures --format csv " + ShellQuote(worked));
    ASSERT_EQ(csv.status, 0);
    const std::size_t rows = ParseJsonLines(json.out).size();
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = csv.out.find("\r\n", at)) != std::string::npos; at += 2) {
        ++lines;
    }
    EXPECT_EQ(lines, rows + 1);
    EXPECT_EQ(csv.out.rfind("file,kind,title,target,approximate,measures,C,", 0), 0u);

    if (RunCommand("command -v pdftotext >/dev/null").status != 0) {
        GTEST_SKIP() << "pdftotext is not installed";
    }
    const std::string pdf = dir.File("massnahmen.pdf");
    const auto written = RunCommand(std::string(BRISOLT_CLI) + " measures --pdf " +
                                    ShellQuote(pdf) + " " + ShellQuote(worked) + " 2>&1");
    if (written.status == 2) {
        GTEST_SKIP() << "built without PDF output";
    }
    ASSERT_EQ(written.status, 0) << written.out;
    const std::string text = RunCommand("pdftotext -layout " + ShellQuote(pdf) + " -").out;
    for (const char* expected :
         {"Massnahmenvergleich", "Bei 80 cm Gründigkeit: Stufe 0 bis EFL 20", "Aktuelle",
          "Ziel Stufe 0", "Alle Massnahmen", "Berechnet mit dem Schlüssel für diese Parzelle."}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }

    // The farm's sheet: today and the plan for the lowest level, its measures by year.
    const std::string sheet = dir.File("blatt.pdf");
    const auto sheetRun = RunCommand(std::string(BRISOLT_CLI) + " measures --sheet " +
                                     ShellQuote(sheet) + " " + ShellQuote(worked) + " 2>&1");
    ASSERT_EQ(sheetRun.status, 0) << sheetRun.out;
    const std::string sheetText = RunCommand("pdftotext -layout " + ShellQuote(sheet) + " -").out;
    for (const char* expected : {"Massnahmenblatt", "Heute", "Ziel Stufe 0", "Was zu ändern ist",
                                 "Bodenfruchtbarkeit nicht gefährdet", "Erstellt durch"}) {
        EXPECT_NE(sheetText.find(expected), std::string::npos) << expected << "\n" << sheetText;
    }
    EXPECT_EQ(RunCommand(std::string(BRISOLT_CLI) + " measures --sheet x.pdf " +
                         ShellQuote(worked) + " " + ShellQuote(worked) + " 2>/dev/null")
                  .status,
              2);
}

} // namespace
} // namespace brisolt
