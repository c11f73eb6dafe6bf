// brisolt-cli compare on variant files made by brisolt-cli measures: its result cells against
// what evaluate gives for each file, the differ flags against the values themselves.

#include <algorithm>
#include <filesystem>
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

const std::string kCli = BRISOLT_CLI;

TEST(CliCompare, ResultCellsAreWhatEvaluateGivesAndDifferMeansDifferentTexts) {
    TempDir dir;
    const std::string ten = dir.File("zehn.txt");
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), ten);
    std::filesystem::create_directory(dir.File("v"));
    ASSERT_EQ(RunCommand(kCli + " measures --variants " + ShellQuote(dir.File("v")) + " " +
                         ShellQuote(ten) + " >/dev/null")
                  .status,
              0);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.File("v"))) {
        files.push_back(entry.path().string());
    }
    std::sort(files.begin(), files.end());
    files.resize(std::min<std::size_t>(files.size(), 6));
    // A file that cannot be loaded, in the middle.
    files.insert(files.begin() + 2, dir.Write("kaputt.txt", "V1.0\r\n"));

    std::string args;
    for (const auto& f : files) {
        args += " " + ShellQuote(f);
    }
    const auto compared = RunCommand(kCli + " compare" + args + " 2>/dev/null");
    EXPECT_EQ(compared.status, 1);
    const Json c = ParseJson(compared.out);
    ASSERT_EQ(c["variants"].items.size(), files.size());
    EXPECT_FALSE(c["variants"].items[2]["loaded"].boolean);

    const auto evaluated = RunCommand(kCli + " evaluate" + args + " 2>/dev/null");
    const std::vector<Json> results = ParseJsonLines(evaluated.out);
    ASSERT_EQ(results.size(), files.size());

    const std::map<std::string, std::string> display{
        {"Gesamtgefährdung (EFL)", "EFL"},
        {"flächenhafte Erosionsgefährdung (EF)", "EF"},
        {"Fruchtfolgefaktor (C)", "C"},
        {"Bodenverlust in mm/Jahr", "SoilLossMM"},
        {"Bodenverlust in t/ha/Jahr", "SoilLossTHA"},
        {"Gefährdungsstufe der Bodenfruchtbarkeit (GBF)", "GBF"}};
    std::size_t checked = 0;
    for (const Json& row : c["rows"].items) {
        const auto& values = row["values"].items;
        ASSERT_EQ(values.size(), files.size());
        std::set<std::string> distinct;
        for (const Json& v : values) {
            distinct.insert(v.text);
        }
        EXPECT_EQ(row["differ"].boolean, distinct.size() > 1) << row["label"].text;
        EXPECT_EQ(values[2].text,
                  row["label"].text == "Meldung" ? results[2]["load_message"].text : std::string())
            << row["label"].text;
        const auto it = display.find(row["label"].text);
        if (it == display.end()) {
            continue;
        }
        for (std::size_t i = 0; i < files.size(); ++i) {
            if (i != 2) {
                EXPECT_EQ(values[i].text, results[i]["display"][it->second].text)
                    << files[i] << " " << it->first;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, display.size() * (files.size() - 1));

    // Only the differing rows, and one CSV line per row with a column per variant.
    const Json only =
        ParseJson(RunCommand(kCli + " compare --only-differences" + args + " 2>/dev/null").out);
    for (const Json& row : only["rows"].items) {
        EXPECT_TRUE(row["differ"].boolean);
    }
    const auto csv = RunCommand(kCli + " compare --format csv" + args + " 2>/dev/null").out;
    std::istringstream csvLines(csv);
    std::string header;
    std::getline(csvLines, header);
    EXPECT_EQ(header.rfind("group,label,", 0), 0u);
    std::size_t rows = 0;
    for (std::string line; std::getline(csvLines, line);) {
        ++rows;
    }
    EXPECT_EQ(rows, c["rows"].items.size());

    EXPECT_EQ(RunCommand(kCli + " compare " + ShellQuote(ten) + " 2>/dev/null").status, 2);
}

} // namespace
} // namespace brisolt
