#pragma once
// Every German text of the key, in one place. Texts are UTF-8.

#include <string>
#include <string_view>

namespace brisolt::texts {

inline constexpr std::string_view kProgramName = "Brisolt";
inline constexpr std::string_view kVersion = "V2.02";

// Conversion errors.
inline std::string kNotAnInteger(const std::string& s) {
    return "'" + s + "' ist kein gültiger Integerwert";
}
inline std::string kNotAReal(const std::string& s) {
    return "'" + s + "' ist kein gültiger Gleitkommawert";
}

// Message box style of the program's own messages.
inline constexpr std::string_view kMessageCaption = "Bestätigung";
inline constexpr std::string_view kYes = "Ja";
inline constexpr std::string_view kNo = "Nein";

// Captions every screen shares (each screen has its own control; the texts are the same).
namespace common {
inline constexpr std::string_view kMenuFile = "Datei";
inline constexpr std::string_view kMenuHelp = "Hilfe";
inline constexpr std::string_view kNext = "Weiter";
inline constexpr std::string_view kBack = "Zurück";
inline constexpr std::string_view kClose = "Schliessen";
inline constexpr std::string_view kExit = "Beenden";
inline constexpr std::string_view kHelp = "Hilfe";
inline constexpr std::string_view kImprint = "Impressum";
inline constexpr std::string_view kHelpButton = "?";
inline constexpr std::string_view kLoad = "Berechnung laden";
inline constexpr std::string_view kSave = "Berechnung speichern";
inline constexpr std::string_view kPrintProtocol = "Auswertung drucken";
inline constexpr std::string_view kPrintStep2 = "Schritt 2 drucken";
inline constexpr std::string_view kCalculate = "Berechnen";
inline constexpr std::string_view kClearFields = "Felder leeren";
} // namespace common

namespace mainwindow {
inline constexpr std::string_view kCaption = "Brisolt - Ackerbaugebiete des zentralen Mittellandes";
inline constexpr std::string_view kTitle = "Quorvane";
inline constexpr std::string_view kSubtitle = "Ein Schlüssel für Betriebsleiter und Berater";
inline constexpr std::string_view kRegionLine = "Ackerbaugebiete des zentralen Mittellandes";
inline constexpr std::string_view kQuitUnsaved =
    "Die Eingaben wurden seit dem letzten Speichern geändert. Programm trotzdem beenden?";
} // namespace mainwindow

namespace intro {
inline constexpr std::string_view kCaption = "Übersicht";
inline constexpr std::string_view kHeading =
    "Die Schritte bei der Abschätzung der Gefährdung der Bodenfruchtbarkeit durch Bodenerosion";
inline constexpr std::string_view kClosing =
    "Überlegungen anstellen zu möglichen Massnahmen zur Verminderung der Bodenerosion";
inline constexpr std::string_view kField = "Feld";
inline constexpr std::string_view kOffice = "Büro";
struct StepLine {
    std::string_view step;
    std::string_view title;
    std::string_view place;
};
inline constexpr StepLine kSteps[] = {
    {"Schritt 1", "Standorteinflüsse einstufen", kField},
    {"Schritt 2", "Fruchtfolgefaktor bestimmen", kOffice},
    {"Schritt 3", "Grundgefährdung durch flächenhafte Erosion berechnen", kOffice},
    {"Schritt 4", "Zuschlag für linienhafte Erosion (Rinnenerosion) bestimmen", kField},
    {"Schritt 5", "Gesamtgefährdung durch Bodenerosion berechnen", kOffice},
    {"Schritt 6", "Gründigkeit des Bodens abschätzen", kField},
    {"Schritt 7", "Gefährdungsstufe der Bodenfruchtbarkeit feststellen", kOffice},
};
} // namespace intro

namespace farm {
inline constexpr std::string_view kCaption = "Betriebsdaten";
inline constexpr std::string_view kHeading = "Daten zum Betrieb erfassen";
inline constexpr std::string_view kNameSurname = "Name und Vorname";
inline constexpr std::string_view kAddress = "Adresse";
inline constexpr std::string_view kParzelle = "Flurname oder Parzelle";
inline constexpr std::string_view kVariant = "Variante";
inline constexpr std::string_view kYear = "Jahr der Abschätzung";
inline constexpr std::string_view kEnteredBy = "Abschätzung erstellt durch";
inline constexpr std::string_view kEnteredOn = "Abschätzung erstellt am";
} // namespace farm

namespace filewindows {
inline constexpr std::string_view kLoadCaption = "Berechnung laden";
inline constexpr std::string_view kSaveCaption = "Berechnung speichern";
inline constexpr std::string_view kFileLabel = "Datei";
inline constexpr std::string_view kFilterDat = "<DAT-Dateien (*.dat)>";
inline constexpr std::string_view kFilterLis = "<LIS-Dateien (*.lis)>";
inline constexpr std::string_view kFilterTxt = "<TXT-Dateien (*.txt)>";
inline constexpr std::string_view kDefaultExtension = "TXT";
} // namespace filewindows

namespace step1 {
inline constexpr std::string_view kCaption = "Schritt 1: Standorteinflüsse einstufen";
inline constexpr std::string_view kTitle = "Standorteinflüsse einstufen";
inline constexpr std::string_view kRegion = "Region";
inline constexpr std::string_view kGradient = "Gefälle";
inline constexpr std::string_view kFloatDistance = "Fliessstrecke";
inline constexpr std::string_view kSoilType = "Bodenart";
inline constexpr std::string_view kStones = "Oberflächenbedeckung mit Steinen";
inline constexpr std::string_view kManagement = "Bewirtschaftung";
inline constexpr std::string_view kManagementGroup = "Hauptsächlich";
inline constexpr std::string_view kPercent = "%";
inline constexpr std::string_view kMetres = "m";
inline constexpr std::string_view kGradientTooLow =
    "Bei Gefälle von weniger als 2% ist der Schlag kaum erosionsgefährdet. Weitere Abklärungen "
    "erübrigen sich.";
inline constexpr std::string_view kStonesTooHigh =
    "Die Oberflächenbedeckung mit Steinen kann nicht mehr als 100% betragen. Bitte Eingabe "
    "korrigieren.";
} // namespace step1

namespace files {
inline constexpr std::string_view kSaved = "Daten wurden in die Datei geschrieben.";
inline constexpr std::string_view kLoaded = "Daten wurden aus der Datei eingelesen.";
inline constexpr std::string_view kIncompatibleVersion =
    "Daten wurden mit einer inkompatiblen Version von \"Brisolt\" erstellt und können nicht "
    "eingelesen werden!";
inline constexpr std::string_view kIncomplete =
    "Die Datei ist unvollständig und kann nicht eingelesen werden.";
inline constexpr std::string_view kFileNotFound = "Datei nicht gefunden";
inline constexpr std::string_view kPathNotFound = "Pfad nicht gefunden";
inline constexpr std::string_view kAccessDenied = "Dateizugriff verweigert";
inline constexpr std::string_view kNotAFile = "Der Name bezeichnet keine gewöhnliche Datei";
inline constexpr std::string_view kDiskFull = "Nicht genügend Speicherplatz auf dem Datenträger";
inline constexpr std::string_view kTooLarge =
    "Die Datei ist zu gross und kann nicht eingelesen werden.";
inline std::string kIoError(int code) { return "E/A-Fehler " + std::to_string(code); }
// Windows: a file marked read-only, or held open by another program, is not replaced.
inline constexpr std::string_view kReadOnly = "Die Datei ist schreibgeschützt";
inline constexpr std::string_view kInUse = "Die Datei wird von einem anderen Programm verwendet";
} // namespace files

} // namespace brisolt::texts
