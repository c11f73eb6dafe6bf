// Runs the built brisolt-cli on calculation files made here and checks what it prints.

#include <random>
#include <sstream>

#include <gtest/gtest.h>

#include "cli/report_command.h"
#include "key/core/record.h"
#include "support/json.h"
#include "support/run.h"
#include "support/temp_dir.h"
#include "support/utf8.h"

namespace brisolt {
namespace {

using testing::IsUtf8;
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

int ThisYear() {
    return CurrentCalendarYear();
}

std::vector<Json> Evaluate(const std::vector<std::string>& files, int& status,
                           const std::string& options = "") {
    std::string command = std::string(BRISOLT_CLI) + " evaluate " + options;
    for (const auto& f : files) {
        command += " " + ShellQuote(f);
    }
    const auto result = RunCommand(command + " 2>/dev/null");
    status = result.status;
    return testing::ParseJsonLines(result.out);
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
    const auto help = RunCommand(std::string(BRISOLT_CLI) + " --help");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("Aufruf:", 0), 0u);
    const auto version = RunCommand(std::string(BRISOLT_CLI) + " --version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "Brisolt V2.02\n");
}

TEST(CliNew, WritesTheFreshAssessment) {
    TempDir dir;
    const std::string path = dir.File("neu.txt");
    const auto result = RunCommand(std::string(BRISOLT_CLI) + " new " + ShellQuote(path));
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(testing::ReadBytes(path), Crlf(DefaultLines(ThisYear())));
    const auto failed = RunCommand(std::string(BRISOLT_CLI) + " new " +
                                   ShellQuote(dir.File("fehlt/neu.txt")) + " 2>&1");
    EXPECT_EQ(failed.status, 1);
    EXPECT_NE(failed.out.find("Pfad nicht gefunden."), std::string::npos) << failed.out;
}

const std::string kReplacement = "\xEF\xBF\xBD";

// Text in a number line and a name that is not UTF-8 (Latin-1 from an old stick): every
// output quotes them readably and stays valid UTF-8.
TEST(CliText, NumberLineTextAndNonUtf8NamesAreShownReadably) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: a name with bytes that are not UTF-8 "
                    "cannot exist there";
#endif
    TempDir dir;
    std::vector<std::string> lines = DefaultLines(ThisYear());
    lines[1] = "M\xFCller \x80 \x81";
    lines[11] = "Sch\xE4r Ueli"; // a remark shifted into the gradient line
    const std::string shifted = dir.Write("verschoben.txt", Crlf(lines));
    lines[11] = "5";
    const std::string latin1 = dir.Write("b\xE4"
                                         "d.txt",
                                         Crlf(lines));
    const std::string message = "'Schär Ueli' ist kein gültiger Integerwert";

    int status = 0;
    const auto json = RunCommand(std::string(BRISOLT_CLI) + " evaluate " + ShellQuote(shifted) +
                                 " " + ShellQuote(latin1) + " 2>/dev/null");
    ASSERT_TRUE(IsUtf8(json.out));
    const std::vector<Json> out = Evaluate({shifted, latin1}, status);
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0]["load_message"].text, message);
    EXPECT_EQ(out[1]["file"].text, dir.File("b" + kReplacement + "d.txt"));
    EXPECT_EQ(out[1]["NameSurname"].text, "Müller € \xC2\x81");

    const auto csv = RunCommand(std::string(BRISOLT_CLI) + " evaluate --format csv " +
                                ShellQuote(shifted) + " " + ShellQuote(latin1));
    EXPECT_TRUE(IsUtf8(csv.out));
    EXPECT_NE(csv.out.find(",false," + message + ","), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("\r\n" + dir.File("b" + kReplacement + "d.txt") + ",true,"),
              std::string::npos);

    const std::string pdf = dir.File("b\xE4"
                                     "d.pdf");
    const auto reports = {
        RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(shifted) + " --protocol " +
                   ShellQuote(pdf) + " 2>&1"),
        RunCommand(std::string(BRISOLT_CLI) + " new " + ShellQuote(dir.File("x\xFF/n.txt")) +
                   " 2>&1"),
        RunCommand(std::string(BRISOLT_CLI) + " evaluate --format=\xFF 2>&1"),
    };
    for (const auto& r : reports) {
        EXPECT_TRUE(IsUtf8(r.out)) << r.out;
        EXPECT_NE(r.status, 0);
    }
    if (cli::ReportsAvailable()) { // without PDF output `report` stops before loading
        EXPECT_NE(reports.begin()->out.find(message), std::string::npos);
    }
    EXPECT_NE((reports.begin() + 1)->out.find("x" + kReplacement + "/n.txt: Pfad nicht gefunden."),
              std::string::npos);
}

// Random damage to a calculation file, in its bytes and in its name: the CLI answers every
// file with one valid UTF-8 line (JSON) or row (CSV) and a readable message.
TEST(CliText, ByteDamagedFilesGiveValidUtf8) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: a name with bytes that are not UTF-8 "
                    "cannot exist there";
#endif
    TempDir dir;
    std::mt19937 random(9120612);
    const auto below = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
    };
    const std::string good = Crlf(DefaultLines(ThisYear()));
    std::vector<std::string> paths;
    for (int i = 0; i < 80; ++i) {
        std::string bytes = good;
        for (int k = 1 + static_cast<int>(below(6)); k > 0; --k) {
            const char b = static_cast<char>(0x80 + below(0x80));
            if (below(2) == 0) {
                bytes[below(bytes.size())] = b;
            } else {
                bytes.insert(below(bytes.size()), 1, b);
            }
        }
        std::string name = "f" + std::to_string(i);
        name.push_back(static_cast<char>(0x80 + below(0x80)));
        paths.push_back(dir.Write(name + ".txt", bytes));
    }
    int status = 0;
    const std::vector<Json> out = Evaluate(paths, status);
    ASSERT_EQ(out.size(), paths.size());
    std::string command = std::string(BRISOLT_CLI) + " evaluate ";
    for (const auto& p : paths) {
        command += " " + ShellQuote(p);
    }
    for (const char* format : {"json", "csv"}) {
        const auto result = RunCommand(command + " --format " + format + " 2>&1");
        EXPECT_TRUE(IsUtf8(result.out)) << format;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_TRUE(IsUtf8(out[i]["file"].text));
        EXPECT_EQ(out[i]["file"].text,
                  paths[i].substr(0, paths[i].size() - 5) + kReplacement + ".txt");
        const std::string& message = out[i]["load_message"].text;
        EXPECT_TRUE(message == kLoaded || message == kIncompatible || message == kIncomplete ||
                    message.find("' ist kein gültiger Integerwert") != std::string::npos)
            << message;
    }
}

} // namespace
} // namespace brisolt
