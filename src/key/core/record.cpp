#include "key/core/record.h"

#include "key/files/file_system.h"

namespace brisolt {

Int CurrentCalendarYear() {
    return static_cast<Int>(SystemCalendarYear());
}

void ResetRecordDefaults(AssessmentRecord& record, Int currentYear) {
    record = AssessmentRecord{};
    record.Year = currentYear;
    Int year = currentYear - 9;
    for (RotationYear& y : record.Rotation) {
        y.Year = year++;
    }
    record.Channels = 1;
}

} // namespace brisolt
