#include "key/core/tables.h"

namespace brisolt {

namespace {

// Where x falls among keys k(first) ... k(last), rising.
struct Bracket {
    Int lower = -1; // remembered lower index, -1 for none
    Int upper = -1; // index of the first key above x, -1 for none
    bool exact = false;
};

template <typename KeyAt> Bracket FindBracket(Real x, Int first, Int last, KeyAt keyAt) {
    Bracket b;
    for (Int i = first; i <= last; ++i) {
        const Real k = keyAt(i);
        if (x == k) {
            b.lower = i;
            b.exact = true;
            return b;
        }
        if (x > k) {
            b.lower = i;
        } else {
            b.upper = i;
            return b;
        }
    }
    return b;
}

// Reduces a bracket to the one or two indexes whose values make the result.
struct Span {
    Int lo;
    Int hi; // equal to lo when only one index counts
};

Span ToSpan(const Bracket& b, Int first, Int last) {
    if (b.exact) {
        return {b.lower, b.lower};
    }
    if (b.upper >= 0 && b.lower >= 0) {
        return {b.lower, b.upper};
    }
    if (b.upper < 0) {
        return {last, last}; // above every key (or no keys below either)
    }
    return {first, first}; // below the first key
}

} // namespace

Real Interpolate(Real x, Real x0, Real x1, Real y0, Real y1) {
    const Real d = x1 - x0;
    const Real t = d == 0 ? Real{0} : (x - x0) / d;
    return y0 + t * (y1 - y0);
}

std::string LookupText(const TmtxStringArray& table, Int lastRow, std::string_view key) {
    for (Int r = 0; r <= lastRow && r < table.RowCount; ++r) {
        if (table.at(r, 0) == key) {
            return table.at(r, 1);
        }
    }
    return {};
}

std::string LookupCell(const TmtxStringArray& table, Int lastRow, Int lastColumn,
                       std::string_view rowKey, std::string_view columnKey) {
    Int row = -1;
    for (Int r = 0; r <= lastRow && r < table.RowCount; ++r) {
        if (table.at(r, 0) == rowKey) {
            row = r;
            break;
        }
    }
    if (row < 0) {
        return {};
    }
    for (Int c = 0; c <= lastColumn && c < table.ColCount; ++c) {
        if (table.at(0, c) == columnKey) {
            return table.at(row, c);
        }
    }
    return {};
}

Real LookupInterpolated(const TmtxExtendedArray& table, Real x) {
    const Int last = table.RowCount - 1;
    if (last < 0) {
        return 0;
    }
    const Bracket b = FindBracket(x, 0, last, [&](Int i) { return table.at(i, 0); });
    const Span s = ToSpan(b, 0, last);
    if (s.lo == s.hi) {
        return table.at(s.lo, 1);
    }
    return Interpolate(x, table.at(s.lo, 0), table.at(s.hi, 0), table.at(s.lo, 1),
                       table.at(s.hi, 1));
}

Real LookupBilinear(const TmtxExtendedArray& grid, Real rowKey, Real columnKey) {
    const Int lastRow = grid.RowCount - 1;
    const Int lastCol = grid.ColCount - 1;
    if (lastRow < 1 || lastCol < 1) {
        return 0;
    }
    const Span rows =
        ToSpan(FindBracket(rowKey, 1, lastRow, [&](Int i) { return grid.at(i, 0); }), 1, lastRow);
    const Span cols = ToSpan(
        FindBracket(columnKey, 1, lastCol, [&](Int j) { return grid.at(0, j); }), 1, lastCol);
    const auto alongRow = [&](Int r) {
        if (cols.lo == cols.hi) {
            return grid.at(r, cols.lo);
        }
        return Interpolate(columnKey, grid.at(0, cols.lo), grid.at(0, cols.hi), grid.at(r, cols.lo),
                           grid.at(r, cols.hi));
    };
    if (rows.lo == rows.hi) {
        return alongRow(rows.lo);
    }
    return Interpolate(rowKey, grid.at(rows.lo, 0), grid.at(rows.hi, 0), alongRow(rows.lo),
                       alongRow(rows.hi));
}

} // namespace brisolt
