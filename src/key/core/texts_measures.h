#pragma once
// German texts of the measures search and its window.

#include <string>
#include <string_view>

namespace brisolt::texts::measures {

inline constexpr std::string_view kAcrossSlope = "Bewirtschaftung quer zum Hang";
inline constexpr std::string_view kInsteadOf = " statt ";
inline constexpr std::string_view kAfter = " nach ";
inline std::string kShorterFlow(int newLength, int oldLength) {
    return "Hanglänge unterteilen (z. B. Grünstreifen quer zum Hang): Fliessstrecke " +
           std::to_string(newLength) + " m statt " + std::to_string(oldLength) + " m";
}
inline constexpr std::string_view kCurrent = "Aktuelle Berechnung";
inline std::string kSingle(int n) { return "Massnahme " + std::to_string(n); }
inline std::string kPlanFor(std::string_view level) { return "Ziel Stufe " + std::string(level); }
inline constexpr std::string_view kAllMeasures = "Alle Massnahmen zusammen";
inline constexpr std::string_view kAllTarget = "alle";
inline constexpr std::string_view kApproximate = "(Näherung)";
inline constexpr std::string_view kNote =
    "Berechnet mit dem Schlüssel für diese Parzelle. Ob eine Massnahme im Betrieb umsetzbar ist, "
    "beurteilt die Beratung.";
inline constexpr std::string_view kVariantWith = "mit Massnahmen: ";

// "Bei 80 cm Gründigkeit: Stufe 0 bis EFL 20, …, Stufe 3 ab EFL 61"
inline std::string kTargetLineStart(int depth) {
    return "Bei " + std::to_string(depth) + " cm Gründigkeit: ";
}
inline std::string kLevelUpTo(std::string_view level, int efl) {
    return "Stufe " + std::string(level) + " bis EFL " + std::to_string(efl);
}
inline std::string kLevelFrom(std::string_view level, int efl) {
    return "Stufe " + std::string(level) + " ab EFL " + std::to_string(efl);
}

} // namespace brisolt::texts::measures
