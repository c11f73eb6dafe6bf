// The files a command writes never replace its inputs, and a run that cannot write one file
// still writes all the others.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/report_command.h"
#include "key/files/calculation_file.h"
#include "support/json.h"
#include "support/rotation_entry.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::Json;
using testing::ParseJsonLines;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

std::string Bytes(const std::string& path) {
    std::ifstream in(testing::PathOf(path), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Cli() {
    return std::string(BRISOLT_CLI) + " ";
}

TEST(CliOutputs, AnOutputNamingAnInputIsAUsageErrorAndNothingIsWritten) {
    TempDir dir;
    const std::string in = dir.File("in.txt");
    const std::string other = dir.File("other.txt");
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), in);
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), other);
    const std::string original = Bytes(in);
    std::filesystem::create_directory(dir.File("sub"));
    std::filesystem::create_directory(dir.File("v"));
    const std::string spelled = dir.File("sub") + "/../in.txt";
#ifndef _WIN32
    std::filesystem::create_symlink(in, dir.File("link.pdf"));
    // A variant file already there that is a link to the input.
    std::filesystem::create_symlink(in, dir.File("v") + "/in_aktuell.txt");
#endif
    const std::string q = ShellQuote(in);
    struct Case {
        std::string args;
        bool needsPdf;
    };
    const std::vector<Case> cases = {
        {"report " + q + " --protocol " + q, true},
        {"report " + q + " --protocol " + ShellQuote(spelled), true},
        {"report " + q + " --protocol " + ShellQuote(dir.File("p.pdf")) + " --sheet " + q, true},
        {"report " + q + " --protocol " + ShellQuote(dir.File("x.pdf")) + " --sheet " +
             ShellQuote(dir.File("x.pdf")),
         true},
        {"measures --pdf " + q + " " + q, true},
        {"compare --pdf " + ShellQuote(other) + " " + q + " " + ShellQuote(other), true},
        // The input lies in the variants folder under the name of one of its variant files.
        {"measures --variants " + ShellQuote(dir.File(".")) + " " + q + " " +
             ShellQuote(dir.File("in_aktuell.txt")),
         false},
        // Two inputs of the same name would share their variant files.
        {"measures --variants " + ShellQuote(dir.File("v")) + " " + q + " " +
             ShellQuote(dir.File("sub") + "/in.txt"),
         false},
        // Empty option arguments.
        {"measures --variants '' " + q, false},
        {"measures --pdf '' " + q, false},
        {"compare --pdf '' " + q + " " + ShellQuote(other), false},
        {"report " + q + " --protocol ''", false},
        {"report " + q + " --protocol " + ShellQuote(dir.File("y.pdf")) + " --sheet ''", false},
        {"new ''", false},
#ifndef _WIN32
        {"report " + q + " --protocol " + ShellQuote(dir.File("link.pdf")), true},
        {"measures --variants " + ShellQuote(dir.File("v")) + " " + q, false},
#endif
    };
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), dir.File("in_aktuell.txt"));
    for (const Case& c : cases) {
        if (c.needsPdf && !cli::ReportsAvailable()) {
            continue;
        }
        const auto run = RunCommand(Cli() + c.args + " 2>&1");
        EXPECT_EQ(run.status, 2) << c.args << "\n" << run.out;
        EXPECT_NE(run.out.find("brisolt-cli: "), std::string::npos) << c.args;
        EXPECT_EQ(Bytes(in), original) << c.args;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("x.pdf")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("p.pdf")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.File("sub")));
}

#ifndef _WIN32
TEST(CliOutputs, MeasuresWritesEveryVariantFileItCanAndNamesTheOthers) {
    TempDir dir;
    const std::string first = dir.File("erste.txt");
    const std::string longName = dir.File(std::string(250, 'l') + ".txt");
    const std::string last = dir.File("letzte.txt");
    for (const std::string& f : {first, longName, last}) {
        SaveCalculation(testing::TenYearsPloughAndBareFallow(), f);
    }
    const std::string folder = dir.File("v");
    std::filesystem::create_directory(folder);
    // A variant file from an earlier run, now read-only.
    const std::string locked = folder + "/erste_massnahme_1.txt";
    { std::ofstream(locked) << "alt"; }
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read);
    const auto run = RunCommand(Cli() + "measures --variants " + ShellQuote(folder) + " " +
                                ShellQuote(first) + " " + ShellQuote(longName) + " " +
                                ShellQuote(last) + " 2>" + ShellQuote(dir.File("err")));
    EXPECT_EQ(run.status, 1);
    const std::string err = Bytes(dir.File("err"));
    EXPECT_NE(err.find("erste_massnahme_1.txt: Dateizugriff verweigert"), std::string::npos) << err;
    EXPECT_NE(err.find("Der Dateiname ist zu lang"), std::string::npos) << err;

    const std::vector<Json> rows = ParseJsonLines(run.out);
    std::map<std::string, int> perInput;
    for (const Json& row : rows) {
        ++perInput[row["file"].text];
        const bool written = row.Has("variant_file");
        if (row["file"].text == longName) {
            EXPECT_FALSE(written);
            continue;
        }
        if (row["kind"].text == "single" && row["numbers"].items.front().number == 1 &&
            row["file"].text == first) {
            EXPECT_FALSE(written); // the locked file is named in no row
            continue;
        }
        ASSERT_TRUE(written) << row["file"].text << " " << row["title"].text;
        // Each file holds its row's assessment: the variant label names the row's measures.
        const std::string bytes = Bytes(row["variant_file"].text);
        EXPECT_EQ(bytes.rfind("V2.02\r\n", 0), 0u);
    }
    EXPECT_EQ(perInput.size(), 3u);
    EXPECT_EQ(perInput[first], perInput[last]);
    EXPECT_EQ(Bytes(locked), "alt");
    EXPECT_TRUE(std::filesystem::exists(folder + "/letzte_aktuell.txt"));
}
#endif

TEST(CliOutputs, ComparingTooManyPagesEndsWithAMessageNotAnAbort) {
    if (!cli::ReportsAvailable()) {
        GTEST_SKIP() << "built without PDF support";
    }
    // Rotations are compared year by year whatever calendar years they have, so only many
    // files make many pages: five across, at least one page down for each five.
#ifdef _WIN32
    GTEST_SKIP() << "five thousand file names do not fit a Windows command line";
#endif
    TempDir dir;
    SaveCalculation(testing::TenYearsPloughAndBareFallow(), dir.File("f.txt"));
    std::string files;
    for (int i = 0; i < 5 * 1001; ++i) {
        files += " f.txt"; // short: the whole command is one argument of the shell
    }
    const std::string pdf = dir.File("v.pdf");
    const auto run = RunCommand("cd " + ShellQuote(dir.File("")) + " && " + Cli() +
                                "compare --pdf " + ShellQuote(pdf) + files + " 2>&1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.out.find("Seiten werden nicht gedruckt"), std::string::npos) << run.out;
    EXPECT_FALSE(std::filesystem::exists(pdf));
}

} // namespace
} // namespace brisolt
