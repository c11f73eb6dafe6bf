#pragma once
// Builds every constant table and option list of steps 3 to 7 at once, so the first
// assessment does not pay for it. Safe to call more than once.

namespace brisolt {

void BuildResultTables();

} // namespace brisolt
