#include "key/farm/farm_data_form.h"

#include "key/core/number_text.h"
#include "key/core/windows1252.h"

namespace brisolt {

void FarmDataForm::Activate(const AssessmentRecord& record) {
    Filling = true;
    ShowFarmDataInputs(record);
    Filling = false;
}

void FarmDataForm::ShowFarmDataInputs(const AssessmentRecord& record) {
    NameSurname = record.NameSurname;
    Address1 = record.Address1;
    Address2 = record.Address2;
    Parzelle = record.Parzelle;
    Variant = record.Variant;
    YearText = FormatPositiveInt(record.Year);
    EnteredBy = record.EnteredBy;
    EnteredOn = record.EnteredOn;
}

void FarmDataForm::ReadFarmDataInputs(AssessmentRecord& record) const {
    record.NameSurname = MakeWindows1252Safe(NameSurname);
    record.Address1 = MakeWindows1252Safe(Address1);
    record.Address2 = MakeWindows1252Safe(Address2);
    record.Parzelle = MakeWindows1252Safe(Parzelle);
    record.Variant = MakeWindows1252Safe(Variant);
    record.Year = ParseIntOrZero(YearText);
    record.EnteredBy = MakeWindows1252Safe(EnteredBy);
    record.EnteredOn = MakeWindows1252Safe(EnteredOn);
}

void FarmDataForm::TextChange(AssessmentRecord& record) const {
    if (!Filling) {
        ReadFarmDataInputs(record);
    }
}

void FarmDataForm::TextExit(std::string FarmDataForm::*field) {
    this->*field = MakeWindows1252Safe(this->*field);
}

void FarmDataForm::YearExit(AssessmentRecord& record) {
    YearText = WholeNumberText(YearText);
    if (!Filling) {
        ReadFarmDataInputs(record);
    }
}

} // namespace brisolt
