#pragma once
// What the farm data screen shows, and what its fields do.

#include <string>

#include "key/core/record.h"

namespace brisolt {

class FarmDataForm {
public:
    std::string NameSurname;
    std::string Address1;
    std::string Address2;
    std::string Parzelle;
    std::string Variant;
    std::string YearText;
    std::string EnteredBy;
    std::string EnteredOn;

    bool Filling = false;

    // The screen becomes the active window.
    void Activate(const AssessmentRecord& record);
    void ShowFarmDataInputs(const AssessmentRecord& record);

    // Copies all eight fields, texts first in screen order. Text is stored as the
    // calculation file can hold it (MakeWindows1252Safe: "Ł" becomes "L"). A year with too
    // many digits throws ConversionError after the first five texts are stored.
    void ReadFarmDataInputs(AssessmentRecord& record) const;

    // Any change of one of the seven text fields (every keystroke).
    void TextChange(AssessmentRecord& record) const;
    // Leaving a text field: it shows its text as stored, so what the user sees is what the
    // protocol prints and the file keeps.
    void TextExit(std::string FarmDataForm::*field);
    // Leaving the year field keeps only its digits.
    void YearExit(AssessmentRecord& record);
};

} // namespace brisolt
