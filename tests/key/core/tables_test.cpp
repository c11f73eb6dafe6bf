#include "key/core/tables.h"

#include <gtest/gtest.h>

namespace brisolt {
namespace {

TEST(Interpolate, StraightLineAndEqualKeys) {
    EXPECT_NEAR(static_cast<double>(Interpolate(5, 4, 6, 0.36L, 0.40L)), 0.38, 1e-15);
    EXPECT_EQ(Interpolate(5, 5, 5, 1, 2), 1);
    EXPECT_EQ(Interpolate(4, 4, 6, 0.36L, 0.40L), 0.36L);
    EXPECT_EQ(Interpolate(8, 4, 6, 0, 1), 2); // extrapolates along the line
}

const TmtxStringArray& Labels() {
    static const TmtxStringArray labels{
        {"0", "0"}, {"11", "1A"}, {"12", "1B"}, {"20", "2"}, {"30", "3"}};
    return labels;
}

TEST(LookupText, ExactKeysOnlyAndFirstMatchWins) {
    EXPECT_EQ(LookupText(Labels(), 4, "12"), "1B");
    EXPECT_EQ(LookupText(Labels(), 4, "13"), "");
    EXPECT_EQ(LookupText(Labels(), 4, " 12"), "");
    EXPECT_EQ(LookupText(Labels(), 4, "30"), "3");
    EXPECT_EQ(LookupText(Labels(), 3, "30"), ""); // beyond lastRow is not searched
    const TmtxStringArray twice{{"a", "first"}, {"a", "second"}};
    EXPECT_EQ(LookupText(twice, 1, "a"), "first");
}

TEST(LookupCell, RowAndColumnKeysIncludingTheCorner) {
    const TmtxStringArray grid{
        {"Tab13", "11", "12", "13", "14"},
        {"1", "0.01", "0.02", "0.03", "0.04"},
        {"2", "0.0333", "0.0350", "0.0369", "-"},
        {"3", "0.1", "0.2", "0.3", "0.4"},
        {"4", "1", "2", "3", "4"},
    };
    EXPECT_EQ(LookupCell(grid, 4, 4, "2", "13"), "0.0369");
    EXPECT_EQ(LookupCell(grid, 4, 4, "2", "15"), "");
    EXPECT_EQ(LookupCell(grid, 4, 4, "5", "11"), "");
    EXPECT_EQ(LookupCell(grid, 4, 4, "Tab13", "11"), "11");
    EXPECT_EQ(LookupCell(grid, 4, 4, "2", "14"), "-");
    EXPECT_EQ(LookupCell(grid, 4, 3, "2", "14"), ""); // beyond lastColumn
}

TEST(LookupInterpolated, InterpolatesAndClampsAtBothEnds) {
    const TmtxExtendedArray table{{2, 10}, {4, 20}, {8, 60}};
    EXPECT_EQ(LookupInterpolated(table, 2), 10);
    EXPECT_EQ(LookupInterpolated(table, 3), 15);
    EXPECT_EQ(LookupInterpolated(table, 6), 40);
    EXPECT_EQ(LookupInterpolated(table, 8), 60);
    EXPECT_EQ(LookupInterpolated(table, 100), 60);
    EXPECT_EQ(LookupInterpolated(table, -5), 10);
}

TEST(LookupBilinear, ColumnsFirstThenRowsAndClampedEdges) {
    // Corner cell carries no meaning.
    const TmtxExtendedArray grid{
        {-1, 10, 20},
        {1, 1, 3},
        {3, 5, 11},
    };
    EXPECT_EQ(LookupBilinear(grid, 1, 10), 1);
    EXPECT_EQ(LookupBilinear(grid, 1, 15), 2);
    EXPECT_EQ(LookupBilinear(grid, 2, 10), 3);
    EXPECT_EQ(LookupBilinear(grid, 2, 15), 5); // mean of the four cells
    EXPECT_EQ(LookupBilinear(grid, 0, 0), 1);
    EXPECT_EQ(LookupBilinear(grid, 9, 99), 11);
    EXPECT_EQ(LookupBilinear(grid, 9, 15), 8);
    EXPECT_EQ(LookupBilinear(grid, -1, 10), 1); // the corner's -1 is not a row key
}

} // namespace
} // namespace brisolt
