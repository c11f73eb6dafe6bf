#pragma once
// Program start for the key: the record's defaults and every constant table.

#include "key/core/record.h"

namespace brisolt {

// Builds every constant table and catalogue list of the key (once; later calls are free).
void BuildKeyTables();

// The record as at program start for the given calendar year, with every table built and
// nothing unsaved.
void InitialiseRecord(AssessmentRecord& record, Int currentYear);
AssessmentRecord FreshRecord(Int currentYear);

} // namespace brisolt
