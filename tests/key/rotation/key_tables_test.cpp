#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "key/rotation/key_tables.h"

namespace brisolt {
namespace {

std::string Name(int n) {
    return (n < 10 ? "Tab0" : "Tab") + std::to_string(n);
}

struct Shape {
    int first;
    int last;
    Int rows;
    Int columns;
    const char* columnKeys; // row 0 from column 1 on, joined by spaces
};

TEST(KeyTables, EveryTableHasItsNameSizeAndKeys) {
    const Shape shapes[] = {
        {1, 6, 5, 10, "A B C D E F G H I"},
        {7, 11, 5, 10, "J K L M N O P Q R"},
        {12, 12, 5, 2, "-"},
        {13, 14, 5, 5, "11 12 13 14"},
        {15, 31, 5, 2, "-"},
        {32, 32, 5, 8, "1 3 4 5 6 7 8"},
        {33, 36, 5, 6, "1 3 4 5 6"},
        {37, 37, 5, 9, "2 4 5 6 7 8 9 10"},
        {38, 39, 3, 10, "1 3 4 5 6 7 8 9 10"},
        {40, 40, 2, 11, "2 4 5 6 7 8 9 10 11 12"},
    };
    int seen = 0;
    for (const Shape& s : shapes) {
        for (int n = s.first; n <= s.last; ++n, ++seen) {
            const TmtxStringArray& t = KeyTables()[n];
            SCOPED_TRACE(Name(n));
            EXPECT_EQ(t.at(0, 0), Name(n));
            ASSERT_EQ(t.RowCount, s.rows);
            ASSERT_EQ(t.ColCount, s.columns);
            std::string keys;
            for (Int c = 1; c < t.ColCount; ++c) {
                keys += (c > 1 ? " " : "") + t.at(0, c);
            }
            EXPECT_EQ(keys, s.columnKeys);
            for (Int r = 1; r < t.RowCount; ++r) {
                EXPECT_EQ(t.at(r, 0), n == 40 ? "1" : std::to_string(r));
                ASSERT_EQ(t.cells[static_cast<std::size_t>(r)].size(),
                          static_cast<std::size_t>(s.columns));
            }
            EXPECT_EQ(KeyTables().Find(Name(n)), &t);
        }
    }
    EXPECT_EQ(seen, kKeyTableCount);
    EXPECT_EQ(KeyTables().Find("Tab41"), nullptr);
}

TEST(KeyTables, CellsAreFourDecimalNumbersOrDash) {
    const std::regex number(R"(0\.\d{4})");
    for (int n = 1; n <= kKeyTableCount; ++n) {
        const TmtxStringArray& t = KeyTables()[n];
        for (Int r = 1; r < t.RowCount; ++r) {
            for (Int c = 1; c < t.ColCount; ++c) {
                const std::string& cell = t.at(r, c);
                EXPECT_TRUE(cell == "-" || std::regex_match(cell, number))
                    << Name(n) << " " << r << "/" << c << ": " << cell;
            }
        }
    }
}

TEST(KeyTables, SampleCells) {
    struct Case {
        int table;
        const char* row;
        const char* column; // nullptr: one-column table
        const char* expected;
    };
    const Case cases[] = {
        {5, "2", "C", "0.0589"},      {14, "1", "11", "0.0856"}, {21, "1", nullptr, "0.0020"},
        {38, "2", "10", "0.0000"},    {38, "1", "7", "-"},       {36, "1", "", ""},
        {1, "4", "A", "-"},           {6, "1", "I", "0.1478"},   {11, "1", "Q", "0.1811"},
        {13, "4", "14", "0.0221"},    {14, "4", "14", "0.0209"}, {28, "1", nullptr, "0.9400"},
        {25, "4", nullptr, "0.0382"}, {32, "4", "8", "0.0132"},  {35, "1", "1", "0.1294"},
        {37, "1", "4", "0.2609"},     {39, "2", "4", "0.0760"},  {40, "1", "12", "0.0470"},
        {40, "1", "3", ""},           {12, "5", nullptr, ""},    {9, "1", "J", "0.0425"},
        {34, "1", "4", "0.0753"},     {36, "1", "3", "0.0159"},  {40, "1", "2", "0.1753"},
    };
    for (const Case& c : cases) {
        const TmtxStringArray& t = KeyTables()[c.table];
        const std::string got =
            c.column == nullptr ? LookupKeyText(t, c.row) : LookupKeyCell(t, c.row, c.column);
        EXPECT_EQ(got, c.expected)
            << Name(c.table) << "/" << c.row << "/" << (c.column ? c.column : "");
    }
}

TEST(KeyTables, TablesThatPrintTheSameValuesStaySeparate) {
    const auto& k = KeyTables();
    for (auto [a, b] : {std::pair{15, 17}, {18, 20}, {21, 23}}) {
        for (Int r = 1; r <= 4; ++r) {
            EXPECT_EQ(k[a].at(r, 1), k[b].at(r, 1));
        }
        EXPECT_NE(&k[a], &k[b]);
    }
    for (int n = 1; n <= 6; ++n) {
        EXPECT_EQ(k[n].cells[4],
                  std::vector<std::string>({"4", "-", "-", "0.0207", "0.0207", "0.0323", "0.0316",
                                            "0.0317", "0.0339", "-"}));
    }
    for (int n = 8; n <= 11; ++n) {
        EXPECT_EQ(k[n].cells[4], k[7].cells[4]);
    }
}

} // namespace
} // namespace brisolt

namespace brisolt {
namespace {

// The calculation finds cells by its own search; it must agree with the generic lookups for
// every key, present or not.
TEST(KeyTables, CellSearchAgreesWithTheGenericLookups) {
    const std::vector<std::string> keys = {"",  "-", "0",  "1",  "2",  "3",     "4",    "5",
                                           "7", "9", "10", "11", "12", "13",    "14",   "99",
                                           "A", "C", "I",  "J",  "R",  "Tab05", "Tab40"};
    for (int n = 1; n <= kKeyTableCount; ++n) {
        const TmtxStringArray& t = KeyTables()[n];
        for (const std::string& row : keys) {
            const KeyCell text = FindKeyText(n, row);
            EXPECT_EQ(text.Text ? *text.Text : "", LookupKeyText(t, row)) << n << " " << row;
            for (const std::string& column : keys) {
                const KeyCell cell = FindKeyCell(n, row, column);
                const std::string expected = LookupKeyCell(t, row, column);
                EXPECT_EQ(cell.Text ? *cell.Text : "", expected)
                    << n << " " << row << "/" << column;
                if (cell.HasNumber) {
                    EXPECT_EQ(cell.Number, std::stold(expected));
                } else {
                    EXPECT_TRUE(expected.empty() || expected == "-" || row == "" ||
                                row.rfind("Tab", 0) == 0 || column == "" || column == "-" ||
                                column.rfind("Tab", 0) == 0)
                        << n << " " << row << "/" << column << " " << expected;
                }
            }
        }
    }
}

} // namespace
} // namespace brisolt
