#pragma once
// Every German text of the key, in one place. Texts are UTF-8.

#include <string>
#include <string_view>

namespace brisolt::texts {

inline constexpr std::string_view kProgramName = "Brisolt";
inline constexpr std::string_view kVersion = "V2.02";

// How a message quotes what the user or a file supplied (UTF-8): at most the first 40
// characters, then "…", so a huge line cannot make a huge message; a NUL shows as "␀", so
// the message neither ends early nor hides it.
inline std::string QuotedInput(std::string_view utf8) {
    constexpr std::size_t kMaxCharacters = 40;
    std::string out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if ((c & 0xC0) != 0x80) { // the first byte of a character
            if (characters == kMaxCharacters) {
                return out + "…";
            }
            ++characters;
        }
        if (c == 0) {
            out += "␀";
        } else {
            out += utf8[i];
        }
    }
    return out;
}

// Conversion errors.
inline std::string kNotAnInteger(const std::string& s) {
    return "'" + QuotedInput(s) + "' ist kein gültiger Integerwert";
}
inline std::string kNotAReal(const std::string& s) {
    return "'" + QuotedInput(s) + "' ist kein gültiger Gleitkommawert";
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
inline constexpr std::string_view kReplaceUnsaved =
    "Die Eingaben wurden seit dem letzten Speichern geändert. Vorher speichern?";
inline constexpr std::string_view kSaveFirst = "Speichern";
inline constexpr std::string_view kDontSave = "Nicht speichern";
inline constexpr std::string_view kCancel = "Abbrechen";
inline constexpr std::string_view kNew = "Neu";
inline constexpr std::string_view kRecent = "Zuletzt geöffnet";
inline constexpr std::string_view kUndo = "Rückgängig";
inline constexpr std::string_view kRedo = "Wiederherstellen";
inline constexpr std::string_view kSave = "Speichern";
inline constexpr std::string_view kSaveAs = "Speichern unter …";
inline constexpr std::string_view kQuitAskSave =
    "Die Eingaben wurden seit dem letzten Speichern geändert. Vor dem Beenden speichern?";
inline std::string kRecentGone(const std::string& path) {
    return "Die Datei „" + path + "“ gibt es nicht mehr. Aus „Zuletzt geöffnet“ entfernen?";
}
// After measures were adopted, in the title: the assessment is a variant without a file yet.
inline constexpr std::string_view kUnsavedVariant = "(Variante, nicht gespeichert)";
// The title with a file: "Brisolt – Grossacher.txt", "*" while it has unsaved changes.
inline constexpr std::string_view kFileTitleStart = "Brisolt – ";
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
// The load dialog takes only files that are not write-protected.
inline std::string kReadOnlyRefused(const std::string& name) {
    return "„" + QuotedInput(name) +
           "“ ist schreibgeschützt oder liegt in einem schreibgeschützten Ordner und kann "
           "nicht geladen werden. Bitte eine andere Datei wählen.";
}
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
inline constexpr std::string_view kLineTooLong =
    "Die Datei enthält eine zu lange Zeile und kann nicht eingelesen werden.";
inline constexpr std::string_view kNameTooLong = "Der Dateiname ist zu lang";
inline constexpr std::string_view kLinkLoop = "Zu viele symbolische Verknüpfungen im Pfad";
inline constexpr std::string_view kTooManyOpenFiles = "Zu viele geöffnete Dateien";
inline constexpr std::string_view kInUse = "Die Datei wird von einem anderen Programm verwendet";
inline constexpr std::string_view kDeviceError =
    "Fehler beim Lesen oder Schreiben auf dem Datenträger";
inline constexpr std::string_view kFileTooBig = "Die Datei überschreitet die zulässige Grösse";
inline constexpr std::string_view kAlreadyExists = "Die Datei ist bereits vorhanden";
inline constexpr std::string_view kOtherVolume =
    "Die Datei kann nicht auf einen anderen Datenträger verschoben werden";
inline constexpr std::string_view kOutOfMemory = "Nicht genügend Arbeitsspeicher";
inline constexpr std::string_view kTryAgain = "Die Datei ist vorübergehend nicht verfügbar";
inline constexpr std::string_view kTooManyLinks = "Zu viele Verknüpfungen auf die Datei";
inline constexpr std::string_view kNetwork = "Das Netzlaufwerk ist nicht erreichbar";
inline constexpr std::string_view kNotSupported =
    "Der Vorgang wird vom Dateisystem nicht unterstützt";
inline constexpr std::string_view kInvalidName = "Der Dateiname ist ungültig";
inline constexpr std::string_view kOutputLost = "Die Ausgabe kann nicht geschrieben werden";
inline constexpr std::string_view kCannotWrite = "Die Datei kann nicht geschrieben werden";
// Only for errors no text above describes.
inline std::string kIoError(int code) {
    return "E/A-Fehler " + std::to_string(code);
}
} // namespace files

} // namespace brisolt::texts
