#pragma once
// The calculation file: the 84 persisted inputs of an assessment behind a version line,
// one per line, Windows-1252, CR LF.

#include <string>
#include <vector>

#include "key/core/record.h"
#include "key/core/record_fields.h"

namespace brisolt {

// The version line, then one line per persisted field.
inline constexpr int kCalculationFileLines = 1 + kPersistedFieldCount;

// The file's bytes for the record.
std::string CalculationFileBytes(const AssessmentRecord& record);

// Writes the calculation file. The old file is only replaced once the new one is
// completely on disk, so a failed save never damages it. Throws FileError with a German
// message. Returns the confirmation to show. A successful save marks the record as saved.
std::string SaveCalculation(const AssessmentRecord& record, const std::string& path);

// Whether the persisted inputs changed since the record was last marked as saved (program
// start, the last successful load or save): whether a save now would write another file.
// Results never count.
bool HasUnsavedChanges(const AssessmentRecord& record);
void MarkAsSaved(const AssessmentRecord& record);

struct LoadOutcome {
    bool loaded = false;
    std::string message; // confirmation, or the incompatible-version message
};

// Reads a calculation file into the record. The whole file is read and converted first;
// only then is the record reset to a fresh assessment of `currentYear` and the file's
// fields applied (an empty line leaves that field at its fresh default). A file of another
// version returns loaded = false with its message and leaves the record as it was; a bad
// integer line throws ConversionError, an incomplete or unreadable file throws FileError,
// and in both cases the record is unchanged too. A successful load marks the record as saved.
LoadOutcome LoadCalculation(AssessmentRecord& record, const std::string& path, Int currentYear);

// The same from bytes already in memory (also what the fuzzer drives).
LoadOutcome LoadCalculationBytes(AssessmentRecord& record, const std::string& bytes,
                                 Int currentYear);

// Splits file data into at most 85 lines by the program's line rules: a line ends at CR,
// an LF right after the CR belongs to the line end, Ctrl-Z ends the data. `lineEnds`
// counts the CRs seen before the 85th line was complete.
std::vector<std::string> SplitCalculationLines(const std::string& bytes, int& lineEnds);

} // namespace brisolt
