#pragma once
// What the farm data screen shows, and what its fields do.

#include <string>

#include "key/core/record.h"

namespace brisolt {

class FarmDataForm {
public:
    std::string nameSurname;
    std::string address1;
    std::string address2;
    std::string parzelle;
    std::string variant;
    std::string yearText;
    std::string enteredBy;
    std::string enteredOn;

    bool filling = false;

    // The screen becomes the active window.
    void Activate(const AssessmentRecord& record);
    void ShowFarmDataInputs(const AssessmentRecord& record);

    // Copies all eight fields, texts first in screen order. Text the calculation file
    // cannot hold is replaced by '?' on the way in, so the file keeps what the screen shows
    // after the next refresh. A year with too many digits throws ConversionError after the
    // first five texts are stored.
    void ReadFarmDataInputs(AssessmentRecord& record) const;

    // Any change of one of the seven text fields (every keystroke).
    void TextChanged(AssessmentRecord& record) const;
    // Leaving the year field keeps only its digits.
    void YearExit(AssessmentRecord& record);
};

} // namespace brisolt
