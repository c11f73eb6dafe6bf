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

namespace step1 {
inline constexpr std::string_view kCaption = "Schritt 1: Standorteinflüsse einstufen";
inline constexpr std::string_view kTitle = "Standorteinflüsse einstufen";
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
} // namespace files

} // namespace brisolt::texts
