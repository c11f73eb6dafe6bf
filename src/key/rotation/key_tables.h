#pragma once
// The forty crop rotation key tables "Tab01" ... "Tab40". Tables 1 to 31 give the
// contribution of a main crop, 32 to 40 that of an intermediate period. Row 0 holds the column
// keys (column 0 the table's name), column 0 the row keys; cells are texts such as "0.0444",
// "-" where the key has no value.

#include <array>
#include <string_view>

#include "key/core/tables.h"

namespace brisolt {

constexpr int kKeyTableCount = 40;

struct KeyTableSet {
    std::array<TmtxStringArray, kKeyTableCount> tables;

    // Table by its number 1 ... 40.
    const TmtxStringArray& operator[](int number) const {
        return tables[static_cast<std::size_t>(number - 1)];
    }
    // Table by its name ("Tab05"); nullptr for any other name.
    const TmtxStringArray* Find(std::string_view name) const;
};

// Built on first use, read-only afterwards.
const KeyTableSet& KeyTables();

// Both lookups over the table's full row and column range.
std::string LookupKeyText(const TmtxStringArray& table, std::string_view rowKey);
std::string LookupKeyCell(const TmtxStringArray& table, std::string_view rowKey,
                          std::string_view columnKey);

} // namespace brisolt
