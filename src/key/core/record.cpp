#include "key/core/record.h"

#include <ctime>

namespace brisolt {

Int CurrentCalendarYear() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return static_cast<Int>(local.tm_year + 1900);
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
