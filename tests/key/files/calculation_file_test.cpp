#include "key/files/calculation_file.h"

#include <csignal>
#include <filesystem>
#include <functional>
#ifndef _WIN32
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "key/startup.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::ReadBytes;
using testing::TempDir;

const std::string kLoaded = "Daten wurden aus der Datei eingelesen.";
const std::string kIncomplete = "Die Datei ist unvollständig und kann nicht eingelesen werden.";
const std::string kIncompatible = "Daten wurden mit einer inkompatiblen Version von \"Brisolt\" "
                                  "erstellt und können nicht eingelesen werden!";

std::vector<std::string> Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = bytes.find("\r\n", start)) != std::string::npos; start = pos + 2) {
        lines.push_back(bytes.substr(start, pos - start));
    }
    EXPECT_EQ(start, bytes.size()) << "data after the last CR LF";
    return lines;
}

std::string Join(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& l : lines) {
        out += l + "\r\n";
    }
    return out;
}

// A filled-in assessment touching every persisted field with distinct values.
AssessmentRecord Filled() {
    AssessmentRecord r = FreshRecord(2026);
    r.NameSurname = "Müller Hans";
    r.Address1 = "Hauptstrasse 1";
    r.Address2 = "3000 Bern";
    r.Parzelle = "Grossacker";
    r.Variant = "mit Mulchsaat";
    r.Year = 2025;
    r.EnteredBy = "R. Beraterin";
    r.EnteredOn = "1.5.2025";
    r.Entertainment = 1;
    r.FloatDistance = 120;
    r.Gradient = 9;
    r.Region = 6;
    r.SoilType = 3;
    r.Stones = 15;
    for (int n = 1; n <= kRotationYears; ++n) {
        RotationYear& y = r.RotationYearAt(n);
        y.Year = 2000 + n;
        y.a = n;
        y.b = n % 8;
        y.c = n % 4;
        y.d = -1;
        y.e = n % 11;
    }
    r.Years = 7;
    r.Remark = "Gülle im Herbst; „Zwischenfutter“ – 50 €";
    r.Channels = 0;
    r.NumChannels = 1;
    r.DepthChannels = 1;
    r.DepthChannel = 2;
    r.WidthChannel = 1;
    r.FrequencyChannels = 4;
    r.Method = 2;
    r.DepthSoil = 60;
    return r;
}

void ExpectSameInputs(const AssessmentRecord& a, const AssessmentRecord& b) {
    EXPECT_EQ(CalculationFileBytes(a), CalculationFileBytes(b));
}

TEST(SaveCalculation, FreshAssessmentByteForByte) {
    TempDir dir;
    const std::string path = dir.File("neu.txt");
    EXPECT_EQ(SaveCalculation(FreshRecord(2026), path), "Daten wurden in die Datei geschrieben.");
    const std::vector<std::string> lines = Lines(ReadBytes(path));
    ASSERT_EQ(lines.size(), 85u);
    EXPECT_EQ(lines[0], "V2.02");
    for (int i : {2, 3, 4, 5, 6, 8, 9, 77}) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i - 1)], "") << "line " << i;
    }
    EXPECT_EQ(lines[6], "2026");
    for (int n = 1; n <= 10; ++n) {
        const std::size_t yearLine = static_cast<std::size_t>(10 + 6 * n);
        EXPECT_EQ(lines[yearLine - 1], std::to_string(2016 + n)) << "year " << n;
        for (std::size_t k = yearLine; k < yearLine + 5; ++k) {
            EXPECT_EQ(lines[k], "0") << "line " << k + 1;
        }
    }
    EXPECT_EQ(lines[77], "1"); // no rills
    for (int i : {10, 11, 12, 13, 14, 15, 76, 79, 80, 81, 82, 83, 84, 85}) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i - 1)], "0") << "line " << i;
    }
}

TEST(SaveCalculation, FieldsGoToTheirLinesInWindows1252) {
    const std::vector<std::string> lines = Lines(CalculationFileBytes(Filled()));
    ASSERT_EQ(lines.size(), 85u);
    EXPECT_EQ(lines[1], "M\xFCller Hans");
    EXPECT_EQ(lines[4], "Grossacker");
    EXPECT_EQ(lines[5], "mit Mulchsaat");
    EXPECT_EQ(lines[9], "1");     // management
    EXPECT_EQ(lines[10], "120");  // flow length
    EXPECT_EQ(lines[11], "9");    // gradient
    EXPECT_EQ(lines[12], "6");    // region
    EXPECT_EQ(lines[14], "15");   // stones
    EXPECT_EQ(lines[27], "2003"); // Year3 on line 28
    EXPECT_EQ(lines[31], "-1");   // Year3d on line 32
    EXPECT_EQ(lines[75], "7");    // Years
    EXPECT_EQ(lines[76], "G\xFClle im Herbst; \x84Zwischenfutter\x93 \x96 50 \x80");
    EXPECT_EQ(lines[77], "0");
    EXPECT_EQ(lines[82], "4");  // frequency
    EXPECT_EQ(lines[83], "2");  // method
    EXPECT_EQ(lines[84], "60"); // depth
}

TEST(LoadCalculation, WhatIsSavedLoadsBack) {
    TempDir dir;
    const AssessmentRecord original = Filled();
    const std::string path = dir.File("acker.txt");
    SaveCalculation(original, path);
    AssessmentRecord loaded = FreshRecord(2026);
    const LoadOutcome outcome = LoadCalculation(loaded, path, 2026);
    EXPECT_TRUE(outcome.loaded);
    EXPECT_EQ(outcome.message, kLoaded);
    ExpectSameInputs(loaded, original);
    EXPECT_EQ(loaded.Remark, original.Remark);
}

TEST(LoadCalculation, ReplacesTheWholeAssessment) {
    AssessmentRecord r = Filled();
    r.ST = 12;
    r.C = 1.5L;
    r.GBF = "2";
    r.RotationYearAt(2).y = "0.0444";
    // A file with empty text lines and an empty Gradient line.
    std::vector<std::string> lines = Lines(CalculationFileBytes(FreshRecord(2019)));
    lines[1] = "";
    lines[11] = "";
    lines[15] = "";
    const LoadOutcome outcome = LoadCalculationBytes(r, Join(lines), 2026);
    ASSERT_TRUE(outcome.loaded);
    EXPECT_EQ(r.NameSurname, ""); // not the earlier name
    EXPECT_EQ(r.Gradient, 0);
    EXPECT_EQ(r.Year, 2019);
    EXPECT_EQ(r.RotationYearAt(1).Year, 2017); // empty line: fresh default of this run
    EXPECT_EQ(r.RotationYearAt(2).Year, 2011);
    EXPECT_EQ(r.ST, 0);
    EXPECT_EQ(r.C, 0);
    EXPECT_EQ(r.GBF, "");
    EXPECT_EQ(r.RotationYearAt(2).y, "");
    EXPECT_EQ(r.Channels, 1);
}

struct BadFile {
    const char* name;
    std::function<std::string(std::vector<std::string>)> make;
    std::string message;
};

TEST(LoadCalculation, AFailedLoadLeavesTheRecordAsItWas) {
    const std::vector<std::string> good = Lines(CalculationFileBytes(Filled()));
    const auto lfOnly = [](std::vector<std::string> l) {
        std::string out;
        for (const auto& s : l) {
            out += s + "\n";
        }
        return out;
    };
    const BadFile cases[] = {
        {"other version",
         [](auto l) {
             l[0] = "V2.01";
             return Join(l);
         },
         kIncompatible},
        {"lower case",
         [](auto l) {
             l[0] = "v2.02";
             return Join(l);
         },
         kIncompatible},
        {"trailing blank",
         [](auto l) {
             l[0] = "V2.02 ";
             return Join(l);
         },
         kIncompatible},
        {"LF only", lfOnly, kIncompatible},
        {"empty file", [](auto) { return std::string(); }, kIncompatible},
        {"bad gradient",
         [](auto l) {
             l[11] = "12a";
             return Join(l);
         },
         "'12a' ist kein gültiger Integerwert"},
        {"bad year 10e",
         [](auto l) {
             l[74] = "1.5";
             return Join(l);
         },
         "'1.5' ist kein gültiger Integerwert"},
        {"too large",
         [](auto l) {
             l[84] = "99999999999";
             return Join(l);
         },
         "'99999999999' ist kein gültiger Integerwert"},
        {"cut after line 40",
         [](auto l) {
             l.resize(40);
             return Join(l);
         },
         kIncomplete},
        {"83 line ends",
         [](auto l) {
             l.resize(83);
             return Join(l) + "60";
         },
         kIncomplete},
        {"Ctrl-Z early",
         [](auto l) {
             l[50] += "\x1A";
             return Join(l);
         },
         kIncomplete},
        {"bad line before the cut",
         [](auto l) {
             l[11] = "x";
             l.resize(20);
             return Join(l);
         },
         "'x' ist kein gültiger Integerwert"},
        {"version before a bad line",
         [](auto l) {
             l[0] = "V3";
             l[11] = "x";
             return Join(l);
         },
         kIncompatible},
        // A number line holding text is quoted as the user reads it, not as raw bytes.
        {"remark shifted into a number line",
         [](auto l) {
             l[11] = "Sch\xE4r Ueli";
             return Join(l);
         },
         "'Schär Ueli' ist kein gültiger Integerwert"},
        {"typographic marks and undefined bytes",
         [](auto l) {
             l[84] = "\x84"
                     "60\x93 \x80\x81\xFF";
             return Join(l);
         },
         "'„60“ €\xC2\x81ÿ' ist kein gültiger Integerwert"},
        // A huge line is quoted by its first 40 characters; a NUL is shown, not cut at.
        {"10 MB number line",
         [](auto l) {
             l[11] = std::string(10'000'000, '1');
             return Join(l);
         },
         "'" + std::string(40, '1') + "…' ist kein gültiger Integerwert"},
        {"41 characters",
         [](auto l) {
             l[11] = std::string(40, '1') + "\xE4";
             return Join(l);
         },
         "'" + std::string(40, '1') + "…' ist kein gültiger Integerwert"},
        {"NUL in a number line",
         [](auto l) {
             l[11] = {'7', '\0'};
             return Join(l);
         },
         "'7␀' ist kein gültiger Integerwert"},
    };
    for (const BadFile& c : cases) {
        AssessmentRecord r = Filled();
        r.ST = 7;
        const AssessmentRecord before = r;
        std::string message;
        try {
            const LoadOutcome outcome = LoadCalculationBytes(r, c.make(good), 2026);
            EXPECT_FALSE(outcome.loaded) << c.name;
            message = outcome.message;
        } catch (const std::exception& e) {
            message = e.what();
        }
        EXPECT_EQ(message, c.message) << c.name;
        ExpectSameInputs(r, before);
        EXPECT_EQ(r.ST, 7) << c.name;
    }
}

TEST(LoadCalculation, LineRulesOfTheFile) {
    std::vector<std::string> lines = Lines(CalculationFileBytes(Filled()));
    // An LF inside a line belongs to it; a lone LF after the CR LF does not end a line.
    lines[1] = "Name\nmit LF";
    std::string bytes = Join(lines);
    AssessmentRecord r = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(r, bytes, 2026).loaded);
    EXPECT_EQ(r.NameSurname, "Name\nmit LF");

    // Exactly 84 line ends: line 85 may end with the data.
    lines = Lines(CalculationFileBytes(Filled()));
    bytes = Join(lines);
    bytes.resize(bytes.size() - 2);
    r = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(r, bytes, 2026).loaded);
    EXPECT_EQ(r.DepthSoil, 60);

    // CR alone ends lines too; anything after line 85 and after a Ctrl-Z is ignored.
    bytes = "";
    for (const auto& l : Lines(CalculationFileBytes(Filled()))) {
        bytes += l + "\r";
    }
    bytes += "garbage\r\n\x1A more";
    r = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(r, bytes, 2026).loaded);
    ExpectSameInputs(r, Filled());

    // Integer lines take what the integer conversion takes.
    lines = Lines(CalculationFileBytes(Filled()));
    lines[11] = "  $1F";
    lines[12] = "+3";
    r = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(r, Join(lines), 2026).loaded);
    EXPECT_EQ(r.Gradient, 31);
    EXPECT_EQ(r.Region, 3);
}

TEST(LoadCalculation, AnyBytesGetAnAnswerNotACrash) {
    TempDir dir;
    std::string garbage;
    for (int i = 0; i < 100000; ++i) {
        garbage.push_back(static_cast<char>((i * 7919) % 256));
    }
    std::string nuls(5000, '\0');
    std::string longLine = "V2.02\r\n" + std::string(10 << 20, 'x') + "\r\n";
    std::string manyLines;
    manyLines.reserve(3000000);
    manyLines += "V2.02\r\n";
    for (int i = 0; i < 1000000; ++i) {
        manyLines += "1\r\n";
    }
    const std::pair<std::string, std::string> files[] = {
        {"garbage", garbage},
        {"nuls", nuls},
        {"no line ends", "V2.02 and nothing else"},
        {"long line", longLine},
        {"many lines", manyLines},
    };
    for (const auto& [name, bytes] : files) {
        AssessmentRecord r = Filled();
        std::string message;
        try {
            message = LoadCalculation(r, dir.Write(name, bytes), 2026).message;
        } catch (const std::exception& e) {
            message = e.what();
        }
        EXPECT_FALSE(message.empty()) << name;
        if (name != "many lines") {
            ExpectSameInputs(r, Filled());
        }
    }
    // A long text line with all 85 lines present loads, text and all.
    std::vector<std::string> lines = Lines(CalculationFileBytes(Filled()));
    lines[76] = std::string(10 << 20, 'y');
    AssessmentRecord r = FreshRecord(2026);
    EXPECT_TRUE(LoadCalculation(r, dir.Write("long remark", Join(lines)), 2026).loaded);
    EXPECT_EQ(r.Remark.size(), std::size_t{10} << 20);
    // A million lines: only the first 85 count.
    r = FreshRecord(2026);
    EXPECT_TRUE(LoadCalculation(r, dir.Write("million", manyLines), 2026).loaded);
    EXPECT_EQ(r.DepthSoil, 1);
}

TEST(LoadCalculation, FilesThatCannotBeReadGiveGermanMessages) {
    TempDir dir;
    AssessmentRecord r = Filled();
    const auto messageFor = [&](const std::string& path) {
        try {
            LoadCalculation(r, path, 2026);
        } catch (const FileError& e) {
            return std::string(e.what());
        }
        return std::string("no error");
    };
    EXPECT_EQ(messageFor(dir.File("fehlt.txt")), "Datei nicht gefunden");
    std::filesystem::create_directory(dir.File("ordner"));
    EXPECT_EQ(messageFor(dir.File("ordner")), "Der Name bezeichnet keine gewöhnliche Datei");
#ifdef _WIN32
    EXPECT_EQ(messageFor(dir.File("fehlt/x.txt")), "Pfad nicht gefunden");
#else
    EXPECT_EQ(messageFor(dir.File("fehlt/x.txt")), "Datei nicht gefunden");
#endif
#ifndef _WIN32
    EXPECT_EQ(messageFor("/dev/zero"), "Der Name bezeichnet keine gewöhnliche Datei");
    if (::geteuid() != 0) {
        const std::string locked = dir.Write("gesperrt.txt", CalculationFileBytes(Filled()));
        std::filesystem::permissions(locked, std::filesystem::perms::none);
        EXPECT_EQ(messageFor(locked), "Dateizugriff verweigert");
    }
#endif
    ExpectSameInputs(r, Filled());
}

#ifndef _WIN32
// The Windows build has its own failed-replace cases (file_system_windows_test.cpp).
TEST(SaveCalculation, AFailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("alt.txt");
    SaveCalculation(Filled(), path);
    const std::string before = ReadBytes(path);

    // Let every write beyond 100 bytes fail, as on a full disk.
    AssessmentRecord big = Filled();
    big.Remark = std::string(5000, 'z');
    struct rlimit old {};
    ::getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 100;
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(SaveCalculation(big, path), FileError);
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(ReadBytes(path), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.File("")),
                            std::filesystem::directory_iterator()),
              1)
        << "the temporary file was left behind";
    EXPECT_THROW(SaveCalculation(Filled(), dir.File("fehlt/x.txt")), FileError);
    std::filesystem::create_directory(dir.File("ordner"));
    EXPECT_THROW(SaveCalculation(Filled(), dir.File("ordner")), FileError);
}
#endif

TEST(SaveCalculation, TextWindows1252CannotHoldIsSavedAsTheClosestLettersOrQuestionMarks) {
    AssessmentRecord r = FreshRecord(2026);
    r.NameSurname = "Łukasz Nowak";
    r.Remark = "Feld 日本, Pflug\xFF";
    AssessmentRecord back = FreshRecord(2026);
    ASSERT_TRUE(LoadCalculationBytes(back, CalculationFileBytes(r), 2026).loaded);
    EXPECT_EQ(back.NameSurname, "Lukasz Nowak");
    EXPECT_EQ(back.Remark, "Feld ??, Pflug?");
}

TEST(HasUnsavedChanges, FollowsTheInputsSinceStartLoadAndSave) {
    TempDir dir;
    AssessmentRecord r = FreshRecord(2026);
    EXPECT_FALSE(HasUnsavedChanges(r)) << "fresh";
    r.EF = 3.5L;
    r.GBF = "B";
    r.RotationYearAt(1).w = "0,2";
    EXPECT_FALSE(HasUnsavedChanges(r)) << "results are never saved";

    // Each persisted field on its own makes the assessment changed; setting it back does not.
    const std::vector<std::function<void(AssessmentRecord&)>> changes = {
        [](AssessmentRecord& a) { a.NameSurname = "Muster"; },
        [](AssessmentRecord& a) { a.Year = 2025; },
        [](AssessmentRecord& a) { a.Gradient = 12; },
        [](AssessmentRecord& a) { a.RotationYearAt(10).e = 3; },
        [](AssessmentRecord& a) { a.Remark = "x"; },
        [](AssessmentRecord& a) { a.DepthSoil = 40; },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        AssessmentRecord changed = r;
        changes[i](changed);
        EXPECT_TRUE(HasUnsavedChanges(changed)) << "change " << i;
    }
    r.NameSurname = "Muster";
    r.NameSurname.clear();
    EXPECT_FALSE(HasUnsavedChanges(r)) << "typed and deleted again";

    r.NameSurname = "Muster";
    const std::string path = dir.File("a.txt");
    EXPECT_THROW(SaveCalculation(r, dir.File("fehlt/a.txt")), FileError);
    EXPECT_TRUE(HasUnsavedChanges(r)) << "a failed save";
    SaveCalculation(r, path);
    EXPECT_FALSE(HasUnsavedChanges(r)) << "saved";

    r.Gradient = 7;
    AssessmentRecord copy = r;
    EXPECT_THROW(LoadCalculationBytes(copy, "V2.02\r\n", 2026), FileError);
    EXPECT_TRUE(HasUnsavedChanges(copy)) << "a failed load";
    ASSERT_FALSE(LoadCalculationBytes(copy, "V9.99\r\n", 2026).loaded);
    EXPECT_TRUE(HasUnsavedChanges(copy)) << "a refused load";
    ASSERT_TRUE(LoadCalculation(r, path, 2026).loaded);
    EXPECT_FALSE(HasUnsavedChanges(r)) << "loaded";
    EXPECT_EQ(r.Gradient, 0);
}

} // namespace
} // namespace brisolt
