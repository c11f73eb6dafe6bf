#pragma once
// The two printed reports, built from the record as it stands when they are generated.

#include "key/core/record.h"
#include "report/page.h"

#include <string>
#include <string_view>

namespace brisolt::report {

// The one-page evaluation protocol. `separator` is the decimal separator of C and the shares
// (the regional one on screen and paper, '.' in the CLI); the soil loss always uses '.'.
Page BuildEvaluationProtocol(const AssessmentRecord& record, char separator);

// The one-page crop rotation sheet of step 2.
Page BuildRotationSheet(const AssessmentRecord& record, char separator);

// A file name to propose for a report, e.g. "Auswertung_Langacker_A_2026.pdf": `kind`, then
// the parcel, the variant and the year, joined by "_"; characters unsafe in file names become "_".
std::string ProposedPdfName(const AssessmentRecord& record, std::string_view kind);

} // namespace brisolt::report
