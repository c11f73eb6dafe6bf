#include "key/farm/farm_data_form.h"

#include "key/core/number_text.h"
#include "key/core/windows1252.h"

namespace brisolt {

void FarmDataForm::Activate(const AssessmentRecord& record) {
    filling = true;
    ShowFarmDataInputs(record);
    filling = false;
}

void FarmDataForm::ShowFarmDataInputs(const AssessmentRecord& record) {
    nameSurname = record.NameSurname;
    address1 = record.Address1;
    address2 = record.Address2;
    parzelle = record.Parzelle;
    variant = record.Variant;
    yearText = FormatPositiveInt(record.Year);
    enteredBy = record.EnteredBy;
    enteredOn = record.EnteredOn;
}

void FarmDataForm::ReadFarmDataInputs(AssessmentRecord& record) const {
    record.NameSurname = MakeWindows1252Safe(nameSurname);
    record.Address1 = MakeWindows1252Safe(address1);
    record.Address2 = MakeWindows1252Safe(address2);
    record.Parzelle = MakeWindows1252Safe(parzelle);
    record.Variant = MakeWindows1252Safe(variant);
    record.Year = ParseIntOrZero(yearText);
    record.EnteredBy = MakeWindows1252Safe(enteredBy);
    record.EnteredOn = MakeWindows1252Safe(enteredOn);
}

void FarmDataForm::TextChanged(AssessmentRecord& record) const {
    if (!filling) {
        ReadFarmDataInputs(record);
    }
}

void FarmDataForm::TextExit(std::string FarmDataForm::*field) {
    this->*field = MakeWindows1252Safe(this->*field);
}

void FarmDataForm::YearExit(AssessmentRecord& record) {
    yearText = KeepDigits(yearText);
    if (!filling) {
        ReadFarmDataInputs(record);
    }
}

} // namespace brisolt
