#pragma once
// The record's fields by name, in the order the CLI writes them.

#include <string>
#include <variant>
#include <vector>

#include "key/core/record.h"

namespace brisolt::cli {

using FieldValue = std::variant<std::string, Int, Real>;

struct NamedValue {
    std::string name;
    FieldValue value;
};

// Every persisted input in file order, then the results.
std::vector<NamedValue> RecordFields(const AssessmentRecord& record);

} // namespace brisolt::cli
