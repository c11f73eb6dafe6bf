#pragma once
// German texts of the comparison of variants.

#include <cstddef>
#include <string>
#include <string_view>

namespace brisolt::texts::compare {

inline constexpr std::string_view kMenu = "Varianten vergleichen …";
inline constexpr std::string_view kWindowTitle = "Varianten vergleichen";
inline constexpr std::string_view kAddFiles = "Dateien hinzufügen …";
inline constexpr std::string_view kAddCurrent = "Aktuelle Berechnung hinzufügen";
inline constexpr std::string_view kRemove = "Entfernen";
inline constexpr std::string_view kOnlyDifferences = "Nur Unterschiede zeigen";
inline constexpr std::string_view kPrint = "Drucken";
inline constexpr std::string_view kTooMany =
    "Es können höchstens acht Varianten verglichen werden.";
inline constexpr std::string_view kTooFew = "Zum Vergleichen braucht es mindestens zwei Varianten.";
inline constexpr std::string_view kChooseAColumn =
    "Bitte zuerst die Spalte der Variante wählen, die entfernt werden soll.";

// The caption of a rotation year when the variants' rotations start in different years.
inline std::string kRotationYear(std::size_t n) {
    return std::to_string(n) + ". Jahr";
}

} // namespace brisolt::texts::compare
