#pragma once
// The record's fields as one table: name, type, line in the calculation file (persisted
// inputs only) and the German caption the screens and reports give them. The calculation
// file, the CLI's columns and the comparison of variants are all read off this table, so a
// new field is added here, with its default and the form that edits it.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>
#include <variant>

#include "key/core/record.h"

namespace brisolt {

enum class FieldType : std::uint8_t {
    Text,  // UTF-8 in memory, Windows-1252 in the file
    Int,   // whole number
    Index, // position in a choice list, -1 for none
    Real,  // result, never saved
};

// Where a field lives in one record.
using FieldRef = std::variant<std::string*, Int*, Real*>;

struct RecordField {
    std::string_view name; // "Gradient", "Year3a", "Total2B99"
    FieldType type;
    int line;               // line in the calculation file; 0 for fields that are not saved
    std::string_view label; // German caption
    FieldRef (*ref)(AssessmentRecord&);

    bool Persisted() const { return line > 0; }
    std::string* Text(AssessmentRecord& r) const { return std::get<std::string*>(ref(r)); }
    const std::string& Text(const AssessmentRecord& r) const {
        return *Text(const_cast<AssessmentRecord&>(r));
    }
    Int* Number(AssessmentRecord& r) const { return std::get<Int*>(ref(r)); }
    Int Number(const AssessmentRecord& r) const {
        return *Number(const_cast<AssessmentRecord&>(r));
    }
    Real RealValue(const AssessmentRecord& r) const {
        return *std::get<Real*>(ref(const_cast<AssessmentRecord&>(r)));
    }
};

// Every field: the persisted inputs in file order first, then the results.
std::span<const RecordField> RecordFields();
// The persisted inputs alone, in file order (lines 2 ... 85).
std::span<const RecordField> PersistedFields();

// Number of persisted fields; the calculation file has one line more, the version line.
inline constexpr int kPersistedFieldCount = 84;

} // namespace brisolt
