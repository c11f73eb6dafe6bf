// brisolt-cli report: one-page A4 PDFs whose text is the assessment's.

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "cli/report_command.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

// The page's text without blanks: how text extraction spaces a line depends on the font's
// metrics, not on what the report printed.
std::string Squeezed(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\n'; });
    return text;
}

std::string PdfText(const std::string& path) {
    return Squeezed(RunCommand("pdftotext " + ShellQuote(path) + " - 2>/dev/null").out);
}

std::string PdfInfo(const std::string& path) {
    return RunCommand("pdfinfo " + ShellQuote(path) + " 2>/dev/null").out;
}

// Poppler's tools read the PDFs back; Windows has none (tools/test_windows.sh compares the
// Windows build's PDFs with the Linux build's instead).
bool PdfToolsAvailable() {
    return RunCommand("command -v pdftotext >/dev/null && command -v pdfinfo >/dev/null").status ==
           0;
}
#define SKIP_WITHOUT_PDF_TOOLS()                                                                   \
    if (!PdfToolsAvailable())                                                                      \
    GTEST_SKIP() << "pdftotext and pdfinfo are not available"

class CliReport : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cli::ReportsAvailable()) {
            GTEST_SKIP() << "built without PDF support";
        }
    }
    TempDir dir;
};

TEST_F(CliReport, WorkedExampleProtocolAndSheet) {
    SKIP_WITHOUT_PDF_TOOLS();
    const std::string protocol = dir.File("auswertung.pdf");
    const std::string sheet = dir.File("fruchtfolge.pdf");
    const auto result = RunCommand(
        std::string(BRISOLT_CLI) + " report " +
        ShellQuote(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt") + " --protocol " +
        ShellQuote(protocol) + " --sheet " + ShellQuote(sheet) + " 2>&1");
    ASSERT_EQ(result.status, 0) << result.out;
    for (const std::string& pdf : {protocol, sheet}) {
        const std::string info = PdfInfo(pdf);
        EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
        EXPECT_NE(info.find("595 x 842 pts (A4)"), std::string::npos) << info;
    }
    const std::string text = PdfText(protocol);
    for (const char* expected :
         {"Auswerteprotokoll Gefährdungsstufe Bodenfruchtbarkeit", "Brisolt V2.02", "Muster Hans",
          "Langacker", "10 %", "100 m", "Lehmiger Sand", "In Fallinie", "1.512", "66.7 %", "33.3 %",
          "Erosionsrinnen entstehen", "Nein", "Bodenverlust/Jahr = 0.58 mm oder 6.974 t/ha",
          "Regionale Standardwerte", "80 cm", "Bodenfruchtbarkeit gefährdet",
          "Kontakt mit Beratung aufnehmen"}) {
        EXPECT_NE(text.find(Squeezed(expected)), std::string::npos) << expected << "\n" << text;
    }
    const std::string rotation = PdfText(sheet);
    for (const char* expected :
         {"Schritt 2: Fruchtfolge", "Weizen (Winter)", "Mais (Körnermais)", "Gerste (Winter)",
          "Stoppelbrache im Winter", "01.08. bis 15.08.", "vor dem 31.07.", "1.512",
          "Fruchtfolgefaktor C (gemäss Schlüssel)", "Ort, Datum", "Unterschrift"}) {
        EXPECT_NE(rotation.find(Squeezed(expected)), std::string::npos) << expected << "\n"
                                                                        << rotation;
    }
}

// The worked example with the given lines (1-based) replaced; the file is Windows-1252.
std::string WithLines(const std::vector<std::pair<int, std::string>>& lines) {
    std::string bytes = testing::ReadBytes(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt");
    for (const auto& [number, text] : lines) {
        std::size_t pos = 0;
        for (int line = 1; line < number; ++line) {
            pos = bytes.find("\r\n", pos) + 2;
        }
        bytes.replace(pos, bytes.find("\r\n", pos) - pos, text);
    }
    return bytes;
}

// Values too long for their box at 8 pt print whole in a smaller font; one too long even at
// 6 pt ends with "…". Both reports share the farm data block.
TEST_F(CliReport, LongValuesPrintWholeOrEndWithEllipsis) {
    SKIP_WITHOUT_PDF_TOOLS();
    const std::string input = dir.Write(
        "lang.txt", WithLines({{2, "Hansruedi M\xfcller-Schwarzenbach"},
                               {3, "Hinterdorfstrasse 12, 3432 L\xfctzelfl\xfc"
                                   "h"},
                               {4, std::string(30, 'x') + " Postfach " + std::string(30, 'y')},
                               {5, "Langackerh\xf6"
                                   "he-Unterschwandenmatt"},
                               {6, "Variante mit Zwischenfutter und Mulchsaat"},
                               {8, "Landwirtschaftliches Bildungs- und Beratungszentrum "
                                   "Inforama R\xfc"
                                   "tti Zollikofen"},
                               {9, "Mittwoch, 24. Dezember 2025"},
                               {84, "1"},             // soil depth by boring ...
                               {85, "2147483647"}})); // ... as deep as the file allows
    const std::string protocol = dir.File("p.pdf");
    const std::string sheet = dir.File("s.pdf");
    const auto result =
        RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(input) + " --protocol " +
                   ShellQuote(protocol) + " --sheet " + ShellQuote(sheet) + " 2>&1");
    ASSERT_EQ(result.status, 0) << result.out;
    const std::string protocolText = PdfText(protocol);
    const std::string sheetText = PdfText(sheet);
    for (const char* expected :
         {"Hansruedi Müller-Schwarzenbach", "Hinterdorfstrasse 12, 3432 Lützelflüh",
          "Langackerhöhe-Unterschwandenmatt", "Variante mit Zwischenfutter und Mulchsaat",
          "Landwirtschaftliches Bildungs- und Beratungszentrum Inforama Rütti Zollikofen",
          "Mittwoch, 24. Dezember 2025"}) {
        EXPECT_NE(protocolText.find(Squeezed(expected)), std::string::npos) << expected << "\n"
                                                                            << protocolText;
        EXPECT_NE(sheetText.find(Squeezed(expected)), std::string::npos) << expected;
    }
    // The address line of 70 characters: whole words, then "…".
    const std::string cut = std::string(30, 'x') + "…";
    EXPECT_NE(protocolText.find(cut), std::string::npos) << protocolText;
    EXPECT_NE(sheetText.find(cut), std::string::npos);
    EXPECT_EQ(protocolText.find("Postfach"), std::string::npos);
    EXPECT_NE(protocolText.find("Gründigkeit2147483647"), std::string::npos) << protocolText;
}

TEST_F(CliReport, AStoppedWalkStillPrintsAndSaysWhy) {
    SKIP_WITHOUT_PDF_TOOLS();
    std::string bytes = testing::ReadBytes(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt");
    // Line 12 is the gradient: 1 % stops the walk at step 1.
    std::size_t pos = 0;
    for (int line = 1; line < 12; ++line) {
        pos = bytes.find("\r\n", pos) + 2;
    }
    bytes.replace(pos, bytes.find("\r\n", pos) - pos, "1");
    const std::string input = dir.Write("flach.txt", bytes);
    const std::string protocol = dir.File("p.pdf");
    const auto result = RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(input) +
                                   " --protocol " + ShellQuote(protocol) + " 2>&1 >/dev/null");
    EXPECT_EQ(result.status, 0);
    EXPECT_NE(result.out.find("Bei Gefälle von weniger als 2%"), std::string::npos) << result.out;
    const std::string text = PdfText(protocol);
    EXPECT_NE(text.find("1%"), std::string::npos);
}

TEST_F(CliReport, FilesThatCannotBeLoadedOrWrittenFail) {
    const auto missing =
        RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(dir.File("fehlt.txt")) +
                   " --protocol " + ShellQuote(dir.File("p.pdf")) + " 2>&1");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("Datei nicht gefunden"), std::string::npos);
    const auto unwritable =
        RunCommand(std::string(BRISOLT_CLI) + " report " +
                   ShellQuote(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt") +
                   " --protocol " + ShellQuote(dir.File("fehlt/p.pdf")) + " 2>&1");
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_EQ(RunCommand(std::string(BRISOLT_CLI) + " report 2>/dev/null").status, 2);
}

// Whatever a loaded file holds, its reports are written at once: a name line of 10 MB
// without a blank measures only what fits its box. A message quoting a line shows its
// NUL bytes.
TEST_F(CliReport, HugeOrOddLinesAreWrittenFastAndQuotedReadably) {
    SKIP_WITHOUT_PDF_TOOLS();
    const std::string huge =
        dir.Write("riesig.txt", WithLines({{2, std::string(10'000'000, 'M')}}));
    // What it costs is measured by BM_ProtocolToPdf/10000000, not here.
    const auto result = RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(huge) +
                                   " --protocol " + ShellQuote(dir.File("p.pdf")) + " --sheet " +
                                   ShellQuote(dir.File("s.pdf")) + " 2>&1");
    EXPECT_EQ(result.status, 0) << result.out;
    EXPECT_NE(PdfText(dir.File("p.pdf")).find("MMMMMMMMMM"), std::string::npos);

    std::string nulLine = "7_";
    nulLine[1] = '\0';
    const std::string nul = dir.Write("nul.txt", WithLines({{12, nulLine}}));
    const auto refused = RunCommand(std::string(BRISOLT_CLI) + " report " + ShellQuote(nul) +
                                    " --protocol " + ShellQuote(dir.File("n.pdf")) + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("'7␀' ist kein gültiger Integerwert"), std::string::npos)
        << refused.out;
}

// Lost output is an error: a full disk (/dev/full) for the standard output or a PDF, and
// devices are never replaced by a PDF or a calculation file.
TEST_F(CliReport, LostOutputFailsWithAGermanMessage) {
#ifdef _WIN32
    GTEST_SKIP() << "/dev/full and /dev/null are Linux devices";
#endif
    const std::string input = ShellQuote(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt");
    const std::string cli = std::string(BRISOLT_CLI);
    const std::string kLost = "brisolt-cli: Die Ausgabe kann nicht geschrieben werden: Nicht "
                              "genügend Speicherplatz auf dem Datenträger.";
    const std::pair<std::string, std::string> cases[] = {
        {cli + " evaluate " + input + " 2>&1 >/dev/full", kLost},
        {cli + " evaluate --format csv " + input + " 2>&1 >/dev/full", kLost},
        {cli + " --help 2>&1 >/dev/full", kLost},
        {cli + " compare " + input + " " + input + " 2>&1 >/dev/full", kLost},
        {cli + " report " + input + " --protocol /dev/full 2>&1",
         "/dev/full: Die Datei kann nicht geschrieben werden: Der Name bezeichnet keine "
         "gewöhnliche Datei"},
        {cli + " report " + input + " --protocol " + ShellQuote(dir.File("p.pdf")) +
             " 2>&1 >/dev/full",
         kLost},
        {cli + " new /dev/null 2>&1", "/dev/null: Der Name bezeichnet keine gewöhnliche Datei."},
    };
    for (const auto& [command, message] : cases) {
        const auto result = RunCommand(command);
        EXPECT_EQ(result.status, 1) << command;
        EXPECT_NE(result.out.find(message), std::string::npos) << command << "\n" << result.out;
    }
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

// Qt names files in UTF-8; a Latin-1 name still gets its PDF under exactly that name.
TEST_F(CliReport, APdfNameThatIsNotUtf8IsWrittenAsGiven) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows names files in UTF-16: a name that is not UTF-8 cannot exist there";
#endif
    const std::string protocol = dir.File("Sch\xE4r.pdf");
    const auto result =
        RunCommand(std::string(BRISOLT_CLI) + " report " +
                   ShellQuote(std::string(BRISOLT_TEST_DATA) + "/worked_example.txt") +
                   " --protocol " + ShellQuote(protocol) + " 2>&1");
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(result.out, dir.File("Sch\xEF\xBF\xBDr.pdf") + "\n");
    EXPECT_NE(PdfText(protocol).find("MusterHans"), std::string::npos);
    const auto entries = std::filesystem::directory_iterator(dir.File(""));
    EXPECT_EQ(std::distance(begin(entries), end(entries)), 1); // no temporary file left
}

} // namespace
} // namespace brisolt
