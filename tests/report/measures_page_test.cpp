#include "report/measures_page.h"

#include <cmath>

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "key/startup.h"
#include "support/rotation_entry.h"

namespace brisolt::report {
namespace {

bool Shows(const std::vector<Page>& pages, const std::string& text) {
    for (const Page& page : pages) {
        for (const Element& e : page.elements) {
            if (e.text.find(text) != std::string::npos) {
                return true;
            }
        }
    }
    return false;
}

TEST(MeasuresPages, APlanIsNeverCutItContinuesOnTheNextPage) {
    BuildKeyTables();
    // Ten years of ploughed crops with bare fallow: plans of many measures each.
    const MeasureExploration x = ExploreMeasures(brisolt::testing::TenYearsPloughAndBareFallow());
    const std::vector<Page> pages = BuildMeasuresComparison(x, '.');
    ASSERT_GT(pages.size(), 1u);
    for (const Page& page : pages) {
        EXPECT_EQ(page.name, "Massnahmenvergleich");
        EXPECT_NE(FindText(page, "Massnahmenvergleich"), nullptr); // every page has its title
        for (const Element& e : page.elements) {
            EXPECT_LE(e.box.y + e.box.height, page.heightMm - 10.0 + 1e-9) << e.text;
        }
    }
    // Every measure of every plan is printed, one per line of its cell.
    for (const MeasureRow& row : x.rows) {
        if (row.kind != MeasureRowKind::Plan) {
            continue;
        }
        std::string cell;
        for (const std::string& d : row.descriptions) {
            cell += (cell.empty() ? "" : "\n") + d;
        }
        EXPECT_TRUE(Shows(pages, cell)) << RowTitle(row);
    }
}

// "EFL ±" is what a reader works out from the EFL column (70 to 63 is "-7", where rounding
// the change of 6.3 gave "-6"), and C reads down with three decimals in every row.
TEST(MeasuresPages, TheChangeOfEflIsTheDifferenceOfTheValuesShown) {
    BuildKeyTables();
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, std::string(BRISOLT_TEST_DATA) + "/worked_example.txt", 2024);
    const MeasureExploration x = ExploreMeasures(r);
    const std::vector<MeasureLine> lines = MeasureLines(x);
    const Table table = MeasuresTable(x, lines, ',');
    constexpr std::size_t kC = 2, kEfl = 5, kDelta = 9;
    ASSERT_EQ(table.columns[kDelta].heading, "EFL ±");
    const int today = std::stoi(table.rows.front()[kEfl].text);
    EXPECT_EQ(table.rows.front()[kDelta].text, "");
    int roundedApart = 0; // rows where rounding the change itself gives another number
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const TableRow& cells = table.rows[i];
        if (lines[i].row == nullptr) {
            continue; // a heading
        }
        EXPECT_EQ(cells[kC].text.size(), 5u) << cells[kC].text; // "1,480", not "1,48"
        if (i > 0) {
            const int change = std::stoi(cells[kEfl].text) - today;
            EXPECT_EQ(cells[kDelta].text, (change > 0 ? "+" : "") + std::to_string(change));
            roundedApart += change != std::lround(double(lines[i].row->deltaEFL)) ? 1 : 0;
        }
    }
    EXPECT_GT(roundedApart, 0);
}

TEST(MeasuresPages, TheFarmsSheet) {
    BuildKeyTables();
    AssessmentRecord r = FreshRecord(2024);
    LoadCalculation(r, std::string(BRISOLT_TEST_DATA) + "/worked_example.txt", 2024);
    r.Remark = "Hang unten vernässt";
    r.EnteredBy = "Beratung Muster";
    const MeasureExploration x = ExploreMeasures(r);
    const MeasureRow* plan = SheetPlan(x);
    ASSERT_NE(plan, nullptr);
    EXPECT_EQ(plan->target, "0"); // the lowest level reached
    const Page sheet = BuildMeasuresSheet(x, plan, "09.12.2026", '.');
    EXPECT_EQ(sheet.name, "Massnahmenblatt");
    for (const std::string text :
         {"Massnahmenblatt", "Langacker", "Heute", "Ziel Stufe 0", "Gesamtgefährdung (EFL)", "70",
          "Bodenfruchtbarkeit gefährdet\nSchutzmassnahmen notwendig\nKontakt mit Beratung "
          "aufnehmen",
          "Bodenfruchtbarkeit nicht gefährdet", "Hang unten vernässt", "09.12.2026",
          "Beratung Muster"}) {
        EXPECT_TRUE(Shows({sheet}, text)) << text;
    }
    // The plan's measures in plain words, the years in order.
    double lastY = 0;
    for (const Element& e : sheet.elements) {
        if (e.text.rfind("– ", 0) == 0) {
            EXPECT_GT(e.box.y, lastY) << e.text;
            lastY = e.box.y;
        }
    }
    std::size_t listed = 0;
    for (const std::string& d : plan->descriptions) {
        listed += Shows({sheet}, "– " + d) ? 1 : 0;
    }
    EXPECT_EQ(listed, plan->descriptions.size());
    for (const Element& e : sheet.elements) {
        EXPECT_LE(e.box.y + e.box.height, sheet.heightMm - 10.0) << e.text;
    }
}

} // namespace
} // namespace brisolt::report
