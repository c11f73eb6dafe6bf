#pragma once
// German texts of the measures search and its window.

#include <string>
#include <string_view>
#include <vector>

namespace brisolt::texts::measures {

inline constexpr std::string_view kAcrossSlope = "Bewirtschaftung quer zum Hang";
inline constexpr std::string_view kInsteadOf = " statt ";
inline constexpr std::string_view kAfter = " nach ";
inline constexpr std::string_view kAfterHeading = "Nach ";
inline std::string kShorterFlow(int newLength, int oldLength) {
    return "Hanglänge unterteilen (z. B. Grünstreifen quer zum Hang): Fliessstrecke " +
           std::to_string(newLength) + " m statt " + std::to_string(oldLength) + " m";
}
inline constexpr std::string_view kCurrent = "Aktuelle Berechnung";
inline std::string kSingle(int n) {
    return "Massnahme " + std::to_string(n);
}
inline std::string kPlanFor(std::string_view level) {
    return "Ziel Stufe " + std::string(level);
}
inline constexpr std::string_view kAllMeasures = "Alle Massnahmen zusammen";
inline constexpr std::string_view kAllTarget = "alle";
inline constexpr std::string_view kApproximate = "(Näherung)";
inline constexpr std::string_view kApproximateNote =
    "(Näherung): ein Plan aus mehr als vier Massnahmen, Schritt für Schritt gesucht; ein Plan "
    "mit weniger Massnahmen kann dasselbe Ziel erreichen.";
inline std::string kRillsStay(int el) {
    return "Der Zuschlag für beobachtete Rinnen (EL " + std::to_string(el) +
           ") bleibt bei allen Massnahmen; er fällt erst weg, wenn keine Rinnen mehr entstehen.";
}
inline constexpr std::string_view kNote =
    "Berechnet mit dem Schlüssel für diese Parzelle. Ob eine Massnahme im Betrieb umsetzbar ist, "
    "beurteilt die Beratung.";
// The farm's sheet.
inline constexpr std::string_view kSheetTitle = "Massnahmenblatt";
inline constexpr std::string_view kSheetComparison = "Heute und mit den Massnahmen";
inline constexpr std::string_view kSheetToday = "Heute";
inline constexpr std::string_view kSheetWithPlan = "Mit Massnahmen";
inline constexpr std::string_view kSheetMeasures = "Was zu ändern ist";
inline constexpr std::string_view kSheetRemark = "Bemerkungen :";
inline constexpr std::string_view kSheetDate = "Datum :";
inline constexpr std::string_view kSheetButton = "Massnahmenblatt";
inline constexpr std::string_view kSheetMenu = "Massnahmenblatt drucken";
// The window.
inline constexpr std::string_view kWindowTitle = "Massnahmen zur Verminderung der Bodenerosion";
// The button and the menu entry of step 7 that open the measures window, in the same words.
inline constexpr std::string_view kOpen = "Massnahmen prüfen …";
inline constexpr std::string_view kAdopt = "Übernehmen";
inline constexpr std::string_view kPrint = "Drucken";
inline constexpr std::string_view kNoMeasures = "Keine der geprüften Massnahmen senkt EFL weiter.";
inline constexpr std::string_view kChooseARow = "Bitte zuerst eine Zeile mit Massnahmen wählen.";
inline std::string kStoppedAt(int step, const std::string& message) {
    return "Die Berechnung hält bei Schritt " + std::to_string(step) + ": " + message;
}
inline std::string kAdopted(const std::string& variant, const std::vector<std::string>& measures) {
    std::string text = "Die Massnahmen wurden in die aktuelle Berechnung übernommen (Variante \"" +
                       variant + "\"):";
    for (const std::string& m : measures) {
        text += "\n- " + m;
    }
    return text;
}
// The variant's name after "Übernehmen": what was adopted, in words the printout can hold.
inline constexpr std::string_view kCurrentState = "Ist-Zustand";
inline constexpr std::string_view kVariantPlus = " + ";
// A catch crop in a few words, by its period type (5 ... 8).
inline std::string_view kCatchCropShort(int type) {
    switch (type) {
    case 5:
        return "Zwischenfutter vor Brache";
    case 6:
        return "Zwischenfutter vor Winterkultur";
    case 7:
        return "Zwischenfutter, abfrierend";
    case 8:
        return "Zwischenfutter, überwinternd";
    default:
        return "Zwischenfutter";
    }
}
inline std::string kPeriodTillageLabel(std::string_view tillage) {
    return "Zwischenfutter in " + std::string(tillage);
}
inline std::string kFlowLabel(int newLength, int oldLength) {
    return "Fliessstrecke " + std::to_string(newLength) + " m statt " + std::to_string(oldLength) +
           " m";
}
// Soil tillage in a few words, by its code (2 ... 4).
inline std::string_view kTillageShort(int code) {
    switch (code) {
    case 2:
        return "Mulchsaat 10-30%";
    case 3:
        return "Mulchsaat über 30%";
    case 4:
        return "Direktsaat";
    default:
        return {};
    }
}

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
