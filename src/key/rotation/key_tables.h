#pragma once
// The forty crop rotation key tables "Tab01" ... "Tab40". Tables 1 to 31 give the
// contribution of a main crop, 32 to 40 that of an intermediate period. Row 0 holds the column
// keys (column 0 the table's name), column 0 the row keys; cells are texts such as "0.0444",
// "-" where the key has no value.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "key/core/tables.h"

namespace brisolt {

constexpr int kKeyTableCount = 40;

// A cell found by its keys: its text, and the number it holds when it is one.
struct KeyCell {
    const std::string* Text = nullptr; // nullptr when the keys find no cell
    bool HasNumber = false;
    Real Number = 0;
};

struct KeyTableSet {
    std::array<TmtxStringArray, kKeyTableCount> tables;
    // Each table's cells read as numbers once (row by row), so a calculation need not parse
    // them again; cells that are no number ("-", the keys) are marked in `isNumber`.
    std::array<std::vector<Real>, kKeyTableCount> numbers;
    std::array<std::vector<bool>, kKeyTableCount> isNumber;
    // Where each key stands, for keys that are whole numbers 1 ... 99 written plainly or
    // single letters A ... Z; -1 where the table has no such key. First match, as the
    // lookups search.
    struct KeyIndex {
        std::array<std::int8_t, 100> rowOfNumber;
        std::array<std::int8_t, 100> columnOfNumber;
        std::array<std::int8_t, 26> columnOfLetter;
    };
    std::array<KeyIndex, kKeyTableCount> index;

    // Table by its number 1 ... 40.
    const TmtxStringArray& operator[](int number) const {
        return tables[static_cast<std::size_t>(number - 1)];
    }
    // Table by its name ("Tab05"); nullptr for any other name.
    const TmtxStringArray* Find(std::string_view name) const;
};

// The cell of table `number` (1 ... 40) that LookupCell over the full ranges would
// return, or the value cell that LookupText would return.
KeyCell FindKeyCell(int number, std::string_view rowKey, std::string_view columnKey);
KeyCell FindKeyText(int number, std::string_view rowKey);

// The same searches for keys given as whole numbers (the key text being the number's
// digits, no key for 0 or less) and column letters.
KeyCell FindNumberedCell(int number, Int row, Int column);
KeyCell FindLetteredCell(int number, Int row, char column);
KeyCell FindNumberedText(int number, Int row);

// Built on first use, read-only afterwards.
const KeyTableSet& KeyTables();

// Both lookups over the table's full row and column range.
std::string LookupKeyText(const TmtxStringArray& table, std::string_view rowKey);
std::string LookupKeyCell(const TmtxStringArray& table, std::string_view rowKey,
                          std::string_view columnKey);

} // namespace brisolt
