#pragma once
// German texts of the crop rotation step: its messages and the captions of its screen.

#include <string>
#include <string_view>

namespace brisolt::texts::step2 {

// Messages of the rotation checks.
inline constexpr std::string_view kGapInRotation =
    "Lücke in der Fruchtfolge. Bitte lückenlos erfassen.";
inline constexpr std::string_view kWrongCropSequence =
    "Fehler in Abfolge der Hauptkulturen der Fruchtfolge. Bitte Abfolge korrigieren.";
inline constexpr std::string_view kMissingInput =
    "Fehlender Eingabewert. Bitte Eingabe komplettieren.";
// "Weiter" with no main crop in any year: a C of 0 would claim the best protection.
inline constexpr std::string_view kNoRotation = "Bitte zuerst die Fruchtfolge eingeben.";

// Screen captions.
inline constexpr std::string_view kCaption = "Schritt 2: Fruchtfolge";
inline constexpr std::string_view kTitle = "Fruchtfolge";
inline constexpr std::string_view kYears = "Jahre";
inline constexpr std::string_view kCrops = "Kulturen";
inline constexpr std::string_view kTillage = "Bodenbearbeitung";
inline constexpr std::string_view kPeriodStart = "Beginn der Zwischenperiode";
inline constexpr std::string_view kMainCrop = "Hauptkultur";
inline constexpr std::string_view kIntermediatePeriod = "Zwischenperiode";
inline constexpr std::string_view kFactorC = "Fruchtfolgefaktor C (gemäss Schlüssel)";
inline constexpr std::string_view kFactorCNote =
    "(Der entsprechende C-Faktor nach ABAG ist genau 10mal kleiner)";
inline constexpr std::string_view kRemark = "Bemerkungen";
inline constexpr std::string_view kPrintStep2 = "Schritt 2 drucken";
inline constexpr std::string_view kRepeatRotation = "Fruchtfolge wiederholen";
inline std::string kRepeatUpTo(int cycle) {
    return "Die Fruchtfolge der ersten " + std::to_string(cycle) +
           " Jahre in die folgenden leeren Jahre übernehmen, bis die Fruchtfolge so viele Jahre "
           "umfasst:";
}
inline constexpr std::string_view kNothingToRepeat =
    "Nach diesen Jahren folgt kein leeres Jahr, das gefüllt werden könnte.";
inline constexpr std::string_view kBack = "Zurück";
inline constexpr std::string_view kNext = "Weiter";
inline constexpr std::string_view kCalculate = "Berechnen";
inline constexpr std::string_view kClearFields = "Felder leeren";
inline constexpr std::string_view kHelp = "Hilfe";
inline constexpr std::string_view kClose = "Schliessen";
inline constexpr std::string_view kMenuFile = "Datei";
inline constexpr std::string_view kMenuHelp = "Hilfe";
inline constexpr std::string_view kImprint = "Impressum";

// "1. Jahr" ... "10. Jahr".
inline std::string YearLabel(int n) {
    return std::to_string(n) + ". Jahr";
}

} // namespace brisolt::texts::step2
