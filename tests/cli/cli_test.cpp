// Runs the built brisolt-cli on calculation files made here and checks what it prints.

#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "key/core/record.h"
#include "support/json.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::Json;
using testing::ParseJson;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

const std::string kLoaded = "Daten wurden aus der Datei eingelesen.";
const std::string kIncomplete = "Die Datei ist unvollständig und kann nicht eingelesen werden.";
const std::string kIncompatible = "Daten wurden mit einer inkompatiblen Version von \"Brisolt\" "
                                  "erstellt und können nicht eingelesen werden!";
const std::string kGradient = "Bei Gefälle von weniger als 2% ist der Schlag kaum "
                              "erosionsgefährdet. Weitere Abklärungen erübrigen sich.";
const std::string kStones = "Die Oberflächenbedeckung mit Steinen kann nicht mehr als 100% "
                            "betragen. Bitte Eingabe korrigieren.";

// The 85 lines of a calculation file, written out here without the program's code.
std::vector<std::string> DefaultLines(int year) {
    std::vector<std::string> l(85, "0");
    for (int i : {2, 3, 4, 5, 6, 8, 9, 77}) {
        l[static_cast<std::size_t>(i - 1)] = "";
    }
    l[0] = "V2.02";
    l[6] = std::to_string(year);
    for (int n = 1; n <= 10; ++n) {
        l[static_cast<std::size_t>(10 + 6 * n - 1)] = std::to_string(year - 10 + n);
    }
    l[77] = "1";
    return l;
}

std::string Crlf(const std::vector<std::string>& lines) {
    std::string out;
    for (const auto& l : lines) {
        out += l + "\r\n";
    }
    return out;
}

int ThisYear() { return CurrentCalendarYear(); }

std::vector<Json> Evaluate(const std::vector<std::string>& files, int& status,
                           const std::string& options = "") {
    std::string command = std::string(BRISOLT_CLI) + " evaluate " + options;
    for (const auto& f : files) {
        command += " " + ShellQuote(f);
    }
    const auto result = RunCommand(command + " 2>/dev/null");
    status = result.status;
    std::vector<Json> objects;
    std::istringstream lines(result.out);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(ParseJson(line));
    }
    return objects;
}

TEST(CliEvaluate, LoadOutcomes) {
    TempDir dir;
    const int year = ThisYear();
    std::vector<std::string> named = DefaultLines(year);
    named[1] = "Anna Graf, \"Hof\"";
    named[11] = "8";
    named[10] = "90";
    std::string lfOnly;
    for (const auto& l : DefaultLines(year)) {
        lfOnly += l + "\n";
    }
    std::vector<std::string> badInt = DefaultLines(year);
    badInt[1] = "Zuerst";
    badInt[11] = "12a";
    std::vector<std::string> emptyTexts = DefaultLines(year);
    emptyTexts[11] = "5";
    emptyTexts[6] = "";
    std::string line85Open = Crlf(named);
    line85Open.resize(line85Open.size() - 2);
    std::vector<std::string> version = named;
    version[0] = "V2.02 ";

    struct Case {
        std::string name;
        std::string bytes;
        bool loaded;
        std::string message;
    };
    const std::vector<Case> cases{
        {"ok.txt", Crlf(named), true, kLoaded},
        {"version.txt", Crlf(version), false, kIncompatible},
        {"lf.txt", lfOnly, false, kIncompatible},
        {"cut.txt", Crlf(std::vector<std::string>(named.begin(), named.begin() + 40)), false,
         kIncomplete},
        {"badint.txt", Crlf(badInt), false, "'12a' ist kein gültiger Integerwert"},
        {"empty-texts.txt", Crlf(emptyTexts), true, kLoaded},
        {"84-line-ends.txt", line85Open, true, kLoaded},
        {"leer.txt", "", false, kIncompatible},
    };
    std::vector<std::string> paths;
    for (const Case& c : cases) {
        paths.push_back(dir.Write(c.name, c.bytes));
    }
    paths.push_back(dir.File("fehlt.txt"));
    int status = 0;
    const std::vector<Json> out = Evaluate(paths, status);
    ASSERT_EQ(out.size(), cases.size() + 1);
    EXPECT_EQ(status, 1);
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Json& o = out[i];
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(o["file"].text, paths[i]);
        EXPECT_EQ(o["loaded"].boolean, cases[i].loaded);
        EXPECT_EQ(o["load_message"].text, cases[i].message);
        if (!cases[i].loaded) {
            // Nothing ran: the fresh defaults of a new assessment.
            EXPECT_TRUE(o["stopped_at"].IsNull());
            EXPECT_EQ(o["NameSurname"].text, "");
            EXPECT_EQ(o["Gradient"].text, "0");
            EXPECT_EQ(o["Year"].text, std::to_string(year));
            EXPECT_EQ(o["Year1"].text, std::to_string(year - 9));
            EXPECT_EQ(o["Channels"].text, "1");
            EXPECT_EQ(o["GBF"].text, "");
        }
    }
    EXPECT_EQ(out[0]["NameSurname"].text, "Anna Graf, \"Hof\"");
    EXPECT_EQ(out[0]["Gradient"].text, "8");
    EXPECT_EQ(out[6]["NameSurname"].text, "Anna Graf, \"Hof\"");
    EXPECT_EQ(out[5]["Year"].text, std::to_string(year)); // empty line: fresh default
    EXPECT_EQ(out[5]["Gradient"].text, "5");
    EXPECT_FALSE(out.back()["loaded"].boolean);
    EXPECT_EQ(out.back()["load_message"].text, "Datei nicht gefunden");

    // Every file loaded: status 0.
    Evaluate({paths[0], paths[5]}, status);
    EXPECT_EQ(status, 0);
}

// Step 1 on many generated sites: what the screen would do with the loaded values.
TEST(CliEvaluate, StepOneStopsOnGeneratedFiles) {
    TempDir dir;
    const int year = ThisYear();
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> pick(0, 99);
    const auto someInt = [&](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    struct Expected {
        int gradient, length, stones, region, soil, direction;
        int stoppedAt;
        std::string message;
    };
    std::vector<std::string> paths;
    std::vector<Expected> expected;
    for (int i = 0; i < 120; ++i) {
        std::vector<std::string> lines = DefaultLines(year);
        const int gradient = pick(random) < 30 ? someInt(-3, 2) : someInt(0, 80);
        const int length = someInt(-20, 400);
        const int stones = pick(random) < 20 ? someInt(95, 250) : someInt(-5, 60);
        const int region = someInt(-2, 9);
        const int soil = someInt(-1, 4);
        const int direction = someInt(-1, 2);
        lines[11] = std::to_string(gradient);
        lines[10] = std::to_string(length);
        lines[14] = std::to_string(stones);
        lines[12] = std::to_string(region);
        lines[13] = std::to_string(soil);
        lines[9] = std::to_string(direction);
        paths.push_back(dir.Write("site" + std::to_string(i) + ".txt", Crlf(lines)));

        // The screen shows non-positive numbers as empty fields and out-of-range choices as
        // nothing chosen; "Weiter" reads back what it shows.
        Expected e{};
        e.gradient = std::max(gradient, 0);
        e.length = std::max(length, 0);
        e.stones = std::max(stones, 0);
        e.region = region >= 0 && region <= 7 ? region : -1;
        const int soilCount = e.region == 5 ? 3 : e.region == 7 ? 2 : e.region < 0 ? 0 : 4;
        e.soil = soil >= 0 && soil < soilCount ? soil : -1;
        e.direction = direction == 0 || direction == 1 ? direction : -1;
        if (e.gradient <= 1) {
            e.stoppedAt = 1;
            e.message = kGradient;
        } else if (e.stones > 100) {
            e.stoppedAt = 1;
            e.message = kStones;
        }
        expected.push_back(e);
    }
    int status = 0;
    const std::vector<Json> out = Evaluate(paths, status);
    ASSERT_EQ(out.size(), paths.size());
    EXPECT_EQ(status, 0);
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Json& o = out[i];
        const Expected& e = expected[i];
        SCOPED_TRACE(paths[i]);
        EXPECT_TRUE(o["loaded"].boolean);
        EXPECT_EQ(o["Gradient"].text, std::to_string(e.gradient));
        EXPECT_EQ(o["FloatDistance"].text, std::to_string(e.length));
        EXPECT_EQ(o["Stones"].text, std::to_string(e.stones));
        EXPECT_EQ(o["Region"].text, std::to_string(e.region));
        EXPECT_EQ(o["SoilType"].text, std::to_string(e.soil));
        EXPECT_EQ(o["Entertainment"].text, std::to_string(e.direction));
        if (e.stoppedAt == 1) {
            EXPECT_EQ(o["stopped_at"].number, 1);
            EXPECT_EQ(o["stop_message"].text, e.message);
        } else {
            EXPECT_TRUE(o["stopped_at"].IsNull() || o["stopped_at"].number > 1);
        }
    }
}

TEST(CliEvaluate, CsvHasAHeaderAndQuotesLikeRfc4180) {
    TempDir dir;
    std::vector<std::string> lines = DefaultLines(ThisYear());
    lines[1] = "Graf, Anna \"Hof\"";
    lines[76] = "Bemerkung\nzweite Zeile";
    const std::string path = dir.Write("a,b.txt", Crlf(lines));
    const auto result =
        RunCommand(std::string(BRISOLT_CLI) + " evaluate --format csv " + ShellQuote(path));
    EXPECT_EQ(result.status, 0);
    ASSERT_EQ(result.out.rfind("file,loaded,load_message,stopped_at,stop_message,NameSurname,", 0),
              0u);
    EXPECT_NE(result.out.find("\r\n\"" + path + "\",true,"), std::string::npos);
    EXPECT_NE(result.out.find(",\"Graf, Anna \"\"Hof\"\"\","), std::string::npos);
    EXPECT_NE(result.out.find(",\"Bemerkung\nzweite Zeile\","), std::string::npos);
    EXPECT_EQ(result.out.substr(result.out.size() - 2), "\r\n");
}

TEST(CliEvaluate, UsageErrorsExitWithTwo) {
    for (const char* args : {"", "evaluate", "evaluate --format xml x.txt", "frobnicate",
                             "evaluate --bogus x.txt", "new", "new a b"}) {
        const auto result = RunCommand(std::string(BRISOLT_CLI) + " " + args + " 2>&1");
        EXPECT_EQ(result.status, 2) << args;
        EXPECT_NE(result.out.find("Aufruf:"), std::string::npos) << args;
    }
    EXPECT_EQ(RunCommand(std::string(BRISOLT_CLI) + " --help").status, 0);
}

TEST(CliNew, WritesTheFreshAssessment) {
    TempDir dir;
    const std::string path = dir.File("neu.txt");
    const auto result = RunCommand(std::string(BRISOLT_CLI) + " new " + ShellQuote(path));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(testing::ReadBytes(path), Crlf(DefaultLines(ThisYear())));
    const auto failed =
        RunCommand(std::string(BRISOLT_CLI) + " new " + ShellQuote(dir.File("fehlt/neu.txt")) +
                   " 2>&1");
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("Datei nicht gefunden."), std::string::npos);
}

} // namespace
} // namespace brisolt
