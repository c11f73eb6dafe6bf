#pragma once
// The key's constant tables and the generic operations on them.
//
// By convention column 0 holds the row keys and row 0 the column keys. Text tables hold
// numbers written with a decimal point ("0.0444"); "-" marks a cell without a value.

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "key/core/record.h"

namespace brisolt {

template <typename Cell> struct Table {
    std::vector<std::vector<Cell>> cells;
    Int RowCount = 0;
    Int ColCount = 0;

    Table() = default;
    Table(std::initializer_list<std::vector<Cell>> rows) : cells(rows) {
        RowCount = static_cast<Int>(cells.size());
        ColCount = cells.empty() ? 0 : static_cast<Int>(cells.front().size());
    }
    explicit Table(std::vector<std::vector<Cell>> rows) : cells(std::move(rows)) {
        RowCount = static_cast<Int>(cells.size());
        ColCount = cells.empty() ? 0 : static_cast<Int>(cells.front().size());
    }

    const Cell& at(Int row, Int col) const {
        return cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
    }
};

using TmtxStringArray = Table<std::string>;
using TmtxExtendedArray = Table<Real>;

// The straight line through (x0, y0) and (x1, y1) at x; y0 when x0 equals x1.
Real Interpolate(Real x, Real x0, Real x1, Real y0, Real y1);

// Column 1 of the first row up to lastRow whose column 0 equals key exactly; "" if none.
std::string LookupText(const TmtxStringArray& table, Int lastRow, std::string_view key);

// The cell at the first row (0 ... lastRow) whose column 0 equals rowKey and the first
// column (0 ... lastColumn) whose row 0 equals columnKey; "" when either is missing.
std::string LookupCell(const TmtxStringArray& table, Int lastRow, Int lastColumn,
                       std::string_view rowKey, std::string_view columnKey);

// Key/value table: the value for x, interpolated between neighbouring keys and clamped to
// the first and last value outside the keys.
Real LookupInterpolated(const TmtxExtendedArray& table, Real x);

// Grid table: the value for (rowKey, columnKey), interpolated first along the columns,
// then along the rows, and clamped at the edges.
Real LookupBilinear(const TmtxExtendedArray& grid, Real rowKey, Real columnKey);

} // namespace brisolt
