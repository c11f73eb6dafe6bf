// The one-page crop rotation sheet of step 2: farm data, the ten rotation years as entered,
// the crop rotation factor C, the remark and the lines for place, date and signature.

#include <array>
#include <string>

#include "report/report_formats.h"
#include "report/reports.h"

namespace brisolt::report {
namespace {

// y of the first line of each year's block; the second line follows below it.
constexpr std::array<double, kRotationYears> kYearLine1 = {55.0,  65.6,  76.2,  87.0,  97.4,
                                                           108.2, 118.5, 129.4, 140.0, 150.5};
constexpr std::array<double, kRotationYears> kYearLine2 = {59.3,  69.8,  80.4,  91.0,  101.6,
                                                           112.2, 122.8, 133.3, 143.9, 154.5};

// Positions of the captions in RotationYear::text.
constexpr std::size_t kMainCrop = 0, kPeriod = 1, kMainTillage = 2, kPeriodTillage = 3,
                      kPeriodStart = 4;

void AddYearBlock(Page& page, const RotationYear& year, double y1, double y2) {
    auto marker = [](double y, const char* text) {
        Element e = Cell({19.1, y, 4.5}, text, Align::Center);
        e.fill = Fill::White;
        e.minFontPoints = 0; // a fixed mark, not a value
        return e;
    };
    page.elements.push_back(Cell({0, y1, 15.1}, IntegerText(year.Year), Align::Center));
    page.elements.push_back(marker(y1, "1"));
    page.elements.push_back(Cell({23.3, y1, 72.2}, year.text[kMainCrop], Align::Left));
    page.elements.push_back(Cell({99.5, y1, 51.1}, year.text[kMainTillage], Align::Left));
    page.elements.push_back(marker(y2, "2"));
    page.elements.push_back(Cell({23.3, y2, 72.2}, year.text[kPeriod], Align::Left));
    page.elements.push_back(Cell({99.5, y2, 51.1}, year.text[kPeriodTillage], Align::Left));
    page.elements.push_back(Cell({154.5, y2, 23.5}, year.text[kPeriodStart], Align::Left));
}

} // namespace

Page BuildRotationSheet(const AssessmentRecord& record, char separator) {
    Page page;
    page.name = "Schritt 2: Fruchtfolge";
    AddPageBackground(page, page.name);
    AddFarmData(page, record, 10.6);

    // At 12 pt bold "Schritt 2" needs about 19 mm; the box reaches up to the heading text
    // beside it so the number is never cut off.
    page.elements.push_back(Heading({0, 44.5, 23.0}, "Schritt 2", 12));
    page.elements.push_back(
        Label({23.3, 44.5, 154.8},
              "Fruchtfolgefaktor bestimmen und Auswertungen zu Fruchtfolge und Bodenbearbeitung"));

    for (std::size_t i = 0; i < record.Rotation.size(); ++i) {
        AddYearBlock(page, record.Rotation[i], kYearLine1[i], kYearLine2[i]);
    }

    page.elements.push_back(
        Label({21.2, 165.1, 127.3}, "Fruchtfolgefaktor C (gemäss Schlüssel)", true, Align::Right));
    page.elements.push_back(
        Cell({154.5, 165.1, 15.1}, GeneralNumberText(record.C, separator) + " "));

    page.elements.push_back(Label({0, 188.4, 34.1}, "Bemerkungen :", true));
    page.elements.push_back(ValueLabel({0, 192.6, 178.1, 25.7}, record.Remark));

    page.elements.push_back(Label({-2.1, 230.7, 91.3}, "Ort, Datum " + std::string(88, '.'), true));
    page.elements.push_back(
        Label({91.0, 230.7, 89.2}, "Unterschrift " + std::string(86, '.'), true));
    return page;
}

} // namespace brisolt::report
