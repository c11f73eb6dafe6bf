#include "report/comparison.h"

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "support/rotation_entry.h"
#include "support/temp_dir.h"

namespace brisolt::report {
namespace {

const std::string kWorkedExample = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";

// The worked example with the wheat of its first year sown directly instead of ploughed.
std::string DirectSeedingVariant(const brisolt::testing::TempDir& dir) {
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, kWorkedExample, 2024);
    Step2Form form;
    form.Activate(r);
    brisolt::testing::ChooseText(form, r, 1, Choice::CropTillage, "Direktsaat/Streifenfrässaat");
    r.Variant = "Direktsaat";
    const std::string path = dir.File("direktsaat.txt");
    SaveCalculation(r, path);
    return path;
}

const ComparisonRow& Row(const Comparison& c, const std::string& label) {
    for (const ComparisonRow& row : c.rows) {
        if (row.label == label) {
            return row;
        }
    }
    throw std::runtime_error("no row " + label);
}

bool HasRow(const Comparison& c, const std::string& label) {
    return std::any_of(c.rows.begin(), c.rows.end(),
                       [&](const ComparisonRow& r) { return r.label == label; });
}

TEST(Comparison, PloughAgainstDirectSeeding) {
    BuildKeyTables();
    brisolt::testing::TempDir dir;
    const Comparison c =
        CompareCalculations({kWorkedExample, DirectSeedingVariant(dir)}, 2024, ',');
    ASSERT_EQ(c.variants.size(), 2u);
    EXPECT_EQ(VariantHeading(c.variants[0]), "Langacker / A (worked_example.txt)");
    EXPECT_EQ(VariantHeading(c.variants[1]), "Langacker / Direktsaat (direktsaat.txt)");

    using Values = std::vector<std::string>;
    EXPECT_EQ(Row(c, "Variante").values, (Values{"A", "Direktsaat"}));
    EXPECT_TRUE(Row(c, "Variante").differ);
    EXPECT_EQ(Row(c, "Region").values, (Values{"A", "A"}));
    EXPECT_FALSE(Row(c, "Region").differ);
    EXPECT_EQ(Row(c, "Gefälle").values, (Values{"10 %", "10 %"}));
    EXPECT_EQ(Row(c, "Länge der Fliessstrecke des Wassers").values, (Values{"100 m", "100 m"}));
    EXPECT_EQ(Row(c, "Bodenart").values[0], "Lehmiger Sand");
    EXPECT_EQ(Row(c, "Bewirtschaftungsrichtung").values[0], "In Fallinie");

    // The rotation as the sheet writes it; only the first year's tillage differs.
    EXPECT_EQ(Row(c, "2015 Hauptkultur").values,
              (Values{"Weizen (Winter), Plug/pfluglos unter 10% Bedeckung",
                      "Weizen (Winter), Direktsaat/Streifenfrässaat"}));
    EXPECT_EQ(Row(c, "2015 Zwischenperiode").values[0],
              "Stoppelbrache im Winter, keine Bodenbearbeitung, 20.07. bis 31.07.");
    EXPECT_FALSE(Row(c, "2016 Hauptkultur").differ);
    EXPECT_FALSE(Row(c, "2017 Zwischenperiode").differ);
    EXPECT_EQ(Row(c, "Erosionsrinnen entstehen").values, (Values{"Nein", "Nein"}));
    EXPECT_EQ(Row(c, "Gründigkeit").values, (Values{"80 cm", "80 cm"}));

    // Results in the protocol's formats, C with the given separator.
    EXPECT_EQ(Row(c, "Fruchtfolgefaktor (C)").values, (Values{"1,512", "1,269"}));
    EXPECT_EQ(Row(c, "Gesamtgefährdung (EFL)").values, (Values{"70", "59"}));
    EXPECT_EQ(Row(c, "Bodenverlust in mm/Jahr").values, (Values{"0.58", "0.49"}));
    EXPECT_EQ(Row(c, "Bodenverlust in t/ha/Jahr").values, (Values{"6.974", "5.853"}));
    EXPECT_EQ(Row(c, "Kennwert für die Standorteinflüsse (ST)").values, (Values{"46", "46"}));
    EXPECT_EQ(Row(c, "Gefährdungsstufe der Bodenfruchtbarkeit (GBF)").values, (Values{"2", "2"}));
    EXPECT_FALSE(HasRow(c, "Meldung"));

    // On screen and paper: group headings, the lowest EFL marked, GBF cells with their level.
    const Table table = ComparisonTable(c, false, 0, 8);
    ASSERT_EQ(table.columns.size(), 3u);
    // The results come first, above the inputs.
    EXPECT_EQ(table.rows.front().front().text, "Ergebnisse");
    EXPECT_EQ(table.rows[1].front().text, "Kennwert für die Standorteinflüsse (ST)");
    EXPECT_TRUE(table.rows.front().front().bold);
    for (const TableRow& row : table.rows) {
        if (row[0].text == "Gesamtgefährdung (EFL)") {
            EXPECT_FALSE(row[1].marked);
            EXPECT_TRUE(row[2].marked);
            EXPECT_TRUE(row[1].highlight);
        }
        if (row[0].text == "Gefährdungsstufe der Bodenfruchtbarkeit (GBF)") {
            EXPECT_EQ(row[1].level, "2");
            EXPECT_TRUE(row[1].marked && row[2].marked); // equal levels are both the lowest
        }
    }
}

TEST(Comparison, RillAnswersByQuestion) {
    BuildKeyTables();
    brisolt::testing::TempDir dir;
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, kWorkedExample, 2024);
    r.Channels = 0;          // rills arise
    r.NumChannels = 0;       // one rill
    r.DepthChannel = 1;      // 15 - 25 cm
    r.WidthChannel = 1;      // wider than deep
    r.FrequencyChannels = 2; // every third year
    const std::string rills = dir.File("rinnen.txt");
    SaveCalculation(r, rills);
    const Comparison c = CompareCalculations({kWorkedExample, rills}, 2024, '.');
    using Values = std::vector<std::string>;
    EXPECT_EQ(Row(c, "Erosionsrinnen entstehen").values, (Values{"Nein", "Ja"}));
    EXPECT_EQ(Row(c, "Anzahl Rinnen").values, (Values{"", "eine Rinne"}));
    EXPECT_EQ(Row(c, "Tiefe der Einzelrinne").values, (Values{"", "15 - 25 cm"}));
    EXPECT_EQ(Row(c, "Breite der Einzelrinne").values, (Values{"", "deutlich breiter als tief"}));
    EXPECT_EQ(Row(c, "Häufigkeit der Erosionsrinnen").values, (Values{"", "alle 3 Jahre"}));
}

TEST(Comparison, AFailedFileKeepsItsColumnAndYearsOfOneVariantOnly) {
    BuildKeyTables();
    brisolt::testing::TempDir dir;
    const std::string broken = dir.Write("kaputt.txt", "V2.02\r\nName\r\n");
    const std::string ten = dir.File("zehn.txt");
    SaveCalculation(brisolt::testing::TenYearsPloughAndBareFallow(), ten);
    AssessmentRecord flat = brisolt::testing::TenYearsPloughAndBareFallow();
    flat.Gradient = 1;
    const std::string stopped = dir.File("flach.txt");
    SaveCalculation(flat, stopped);

    const Comparison c = CompareCalculations({kWorkedExample, broken, ten, stopped}, 2026, '.');
    ASSERT_EQ(c.variants.size(), 4u);
    EXPECT_FALSE(c.variants[1].loaded);
    EXPECT_EQ(c.variants[3].stoppedAt, 1);

    // The broken file's column is empty but for its message; the stopped walk shows its
    // inputs and its message in place of the results.
    const ComparisonRow& message = Row(c, "Meldung");
    EXPECT_EQ(message.values[0], "");
    EXPECT_EQ(message.values[1], "Die Datei ist unvollständig und kann nicht eingelesen werden.");
    EXPECT_EQ(message.values[3].rfind("Bei Gefälle von weniger als 2%", 0), 0u);
    EXPECT_EQ(Row(c, "Region").values[1], "");
    EXPECT_EQ(Row(c, "Gefälle").values[3], "1 %");
    EXPECT_EQ(Row(c, "Gesamtgefährdung (EFL)").values[1], "");
    EXPECT_EQ(Row(c, "Gesamtgefährdung (EFL)").values[3], "");
    EXPECT_EQ(Row(c, "Gesamtgefährdung (EFL)").values[2], "316");

    // The worked example's rotation starts in 2015, the ten-year one in 2017: side by side by
    // the year of the rotation, each with its calendar year.
    EXPECT_FALSE(HasRow(c, "2015 Hauptkultur"));
    EXPECT_EQ(Row(c, "1. Jahr Hauptkultur").values[0],
              "2015: Weizen (Winter), Plug/pfluglos unter 10% Bedeckung");
    EXPECT_EQ(Row(c, "1. Jahr Hauptkultur").values[2].rfind("2017: ", 0), 0u);
    EXPECT_EQ(Row(c, "1. Jahr Hauptkultur").values[1], "");
    EXPECT_EQ(Row(c, "10. Jahr Hauptkultur").values[0], "");
    EXPECT_EQ(Row(c, "10. Jahr Zwischenperiode").values[2].rfind("2026: ", 0), 0u);
    EXPECT_NE(Row(c, "10. Jahr Hauptkultur").values[3], ""); // inputs of a stopped walk are shown

    // "Nur Unterschiede zeigen" keeps exactly the differing rows, under their headings.
    const Table all = ComparisonTable(c, false, 0, 8);
    const Table differing = ComparisonTable(c, true, 0, 8);
    std::size_t differ = 0;
    for (const ComparisonRow& row : c.rows) {
        differ += row.differ ? 1 : 0;
    }
    std::size_t shown = 0;
    for (const TableRow& row : differing.rows) {
        shown += row[0].bold ? 0 : 1;
        EXPECT_TRUE(row[0].bold || row[1].highlight);
    }
    EXPECT_EQ(shown, differ);
    EXPECT_LT(differing.rows.size(), all.rows.size());

    // Four variants across a landscape page; the comparison of all of them fits two across.
    const std::vector<Page> pages = BuildComparisonPages(c, false);
    ASSERT_FALSE(pages.empty());
    EXPECT_GT(pages.front().widthMm, pages.front().heightMm);
    for (const Page& page : pages) {
        for (const Element& e : page.elements) {
            EXPECT_LE(e.box.y + e.box.height, page.heightMm - 10 + 1e-9) << e.text;
            EXPECT_LE(e.box.x + e.box.width, page.widthMm - 10 + 1e-9) << e.text;
        }
    }
}

// The pages carry no more of a text than could be printed: a parcel name of ten million
// characters costs what a few hundred cost, and a normal one is there whole.
TEST(Comparison, PagesCarryTheTextsTheyCanPrintNotMore) {
    brisolt::testing::TempDir dir;
    std::vector<ComparedVariant> variants;
    for (const std::size_t length : {std::size_t{9}, std::size_t{10'000'000}}) {
        ComparedVariant v = LoadVariant(kWorkedExample, 2024);
        v.record.Parzelle = std::string(length - 1, 'P') + "\xC3\xA4"; // ends with "ä"
        variants.push_back(std::move(v));
    }
    const Comparison c = CompareVariants(std::move(variants), '.');
    std::size_t bytes = 0;
    bool shortWhole = false;
    for (const Page& page : BuildComparisonPages(c, false)) {
        for (const Element& e : page.elements) {
            bytes += e.text.size();
            shortWhole = shortWhole || e.text == "PPPPPPPP\xC3\xA4";
        }
    }
    EXPECT_LT(bytes, 100'000u);
    EXPECT_TRUE(shortWhole);

    // The rows that do not fit stay counted the same way the pages are made.
    EXPECT_EQ(MinimumComparisonPages(2, 10), 1u);
    EXPECT_EQ(MinimumComparisonPages(9, 10), 2u);
    EXPECT_GE(BuildComparisonPages(c, false).size(), MinimumComparisonPages(2, c.rows.size()));
}

// The worked example (2015 ... 2017) with its rotation moved by `years`; a negative move
// leaves the rotation without calendar years.
ComparedVariant Moved(int years) {
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, kWorkedExample, 2024);
    for (RotationYear& y : r.Rotation) {
        y.Year = years < 0 ? 0 : y.Year + years;
    }
    return CurrentVariant(r);
}

TEST(Comparison, RotationsStartingInDifferentYearsLineUpByRotationYear) {
    BuildKeyTables();
    const std::string wheat = "Weizen (Winter), Plug/pfluglos unter 10% Bedeckung";
    struct StartCase {
        std::vector<int> moves;
        std::string firstCaption;
        std::vector<std::string> firstCells;
    };
    for (const StartCase& c : {
             // The same years: the captions keep them, the cells stay as they were.
             StartCase{{0, 0}, "2015 Hauptkultur", {wheat, wheat}},
             StartCase{{0, 2, 4, 5, 7},
                       "1. Jahr Hauptkultur",
                       {"2015: " + wheat, "2017: " + wheat, "2019: " + wheat, "2020: " + wheat,
                        "2022: " + wheat}},
             // Rotations without calendar years keep every year apart.
             StartCase{{-1, -1}, "1. Jahr Hauptkultur", {wheat, wheat}},
             StartCase{{0, -1}, "1. Jahr Hauptkultur", {"2015: " + wheat, wheat}},
         }) {
        std::vector<ComparedVariant> variants;
        for (const int move : c.moves) {
            variants.push_back(Moved(move));
        }
        const Comparison comparison = CompareVariants(std::move(variants), '.');
        EXPECT_EQ(Row(comparison, c.firstCaption).values, c.firstCells);
        // Three years of two rows each and the remark, none of the years empty anywhere.
        std::size_t rows = 0;
        for (const ComparisonRow& row : comparison.rows) {
            if (row.group == "Schritt 2: Fruchtfolge" && ++rows < 7) {
                EXPECT_EQ(std::count(row.values.begin(), row.values.end(), ""), 0) << row.label;
            }
        }
        EXPECT_EQ(rows, 7u) << c.firstCaption;
        // Five variants share one page across.
        EXPECT_EQ(BuildComparisonPages(comparison, false).size(), 1u);
    }
}

} // namespace
} // namespace brisolt::report
