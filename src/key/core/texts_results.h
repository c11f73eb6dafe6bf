#pragma once
// German texts of steps 3 to 7 (sheet erosion, rills, total risk, soil depth, fertility
// risk), exactly as the screens show them. UTF-8.

#include <string_view>

namespace brisolt::texts::results {

namespace step3 {
inline constexpr std::string_view kCaption =
    "Schritt 3: Gefährdung durch flächenhafte Erosion berechnen";
inline constexpr std::string_view kTitle = "Gefährdung durch flächenhafte Erosion berechnen";
inline constexpr std::string_view kExplanation =
    "Die Grundgefährdung ergibt sich aus der Verknüpfung der Standorteinflüsse und des "
    "Fruchtfolgefaktors";
inline constexpr std::string_view kFormula1 = "Flächenhafte Erosionsgefährdung (EF)";
inline constexpr std::string_view kFormula2 = "=";
inline constexpr std::string_view kFormula3 = "Standorteinflüsse (ST) x Fruchtfolgefaktor (C)";
inline constexpr std::string_view kResultLabel = "E F =";
} // namespace step3

namespace step4 {
inline constexpr std::string_view kCaption = "Schritt 4: Linienhafte Erosion (Rinnenerosion)";
// Two blanks before the bracket, as on the screen.
inline constexpr std::string_view kTitle = "Linienhafte Erosion  (Rinnenerosion)";
inline constexpr std::string_view kNote =
    "Wichtiger Hinweis: Beurteilungshorizont über mindestens die letzten 3 Jahre";

inline constexpr std::string_view kChannelsTitle = "Erosionsrinnen entstehen";
inline constexpr std::string_view kYes = "Ja";
inline constexpr std::string_view kNo = "Nein";

inline constexpr std::string_view kNumChannelsTitle = "Anzahl Rinnen";
inline constexpr std::string_view kOneRill = "eine Rinne";
inline constexpr std::string_view kSeveralRills = "mehrere Rinnen";

inline constexpr std::string_view kDepthChannelsTitle = "Tiefe der Rinnen";
inline constexpr std::string_view kDepthChannelsUpTo15 = "<= 15 cm";
inline constexpr std::string_view kDepthChannelsOver15 = "> 15 cm";

inline constexpr std::string_view kDepthChannelTitle = "Tiefe der Einzelrinne";
inline constexpr std::string_view kDepthChannelBelow15 = "< 15 cm";
inline constexpr std::string_view kDepthChannel15To25 = "15 - 25 cm";
inline constexpr std::string_view kDepthChannelOver25 = "> 25 cm";

inline constexpr std::string_view kWidthChannelTitle = "Breite der Einzelrinne";
inline constexpr std::string_view kAsWideAsDeep = "gleich breit wie tief";
inline constexpr std::string_view kWiderThanDeep = "deutlich breiter als tief";

inline constexpr std::string_view kFrequencyTitle = "Häufigkeit der Erosionsrinnen";
inline constexpr std::string_view kEveryYear = "jedes Jahr";
inline constexpr std::string_view kEvery2Years = "alle 2 Jahre";
inline constexpr std::string_view kEvery3Years = "alle 3 Jahre";
inline constexpr std::string_view kEvery4To5Years = "alle 4 - 5 Jahre";
inline constexpr std::string_view kRarer = "seltener als alle 5 Jahre";
} // namespace step4

namespace step5 {
inline constexpr std::string_view kCaption =
    "Schritt 5: Gesamtgefährdung durch Bodenerosion berechnen";
inline constexpr std::string_view kTitle = "Gesamtgefährdung durch Bodenerosion berechnen";
inline constexpr std::string_view kFormula1 = "Gesamtgefährdung (EFL)";
inline constexpr std::string_view kFormula2 = "=";
inline constexpr std::string_view kFormula3 =
    "Grundgefährdung (EF) + Zuschlag für Linienhafte Erosion (EL)";
inline constexpr std::string_view kTotalLabel = "E F L =";
inline constexpr std::string_view kSoilLossMMLabel = "Bodenverlust in mm/Jahr =";
inline constexpr std::string_view kSoilLossTHALabel = "Bodenverlust in t/ha/Jahr =";
} // namespace step5

namespace step6 {
inline constexpr std::string_view kCaption = "Schritt 6: Gründigkeit des Bodens";
inline constexpr std::string_view kTitle = "Gründigkeit des Bodens";
// Misspelt on purpose: the screen has always shown it so.
inline constexpr std::string_view kMethodTitle = "Bestimmumg über";
inline constexpr std::string_view kSoilMap = "Bodenkarte";
inline constexpr std::string_view kBoring = "Bohrung";
inline constexpr std::string_view kRegionalStandard = "Regionale Standardwerte";
inline constexpr std::string_view kDepthLabel = "Gründigkeit in cm";
inline constexpr std::string_view kDepthTableRegion = "Region";
inline constexpr std::string_view kDepthTableHeading =
    "angenommene mittlere Gründigkeit G des Bodens in cm";
// "Weiter" with a typed depth of 0 or none: the risk table would read it as the shallowest soil.
inline constexpr std::string_view kDepthMissing =
    "Bitte die Gründigkeit des Bodens in cm eingeben.";
} // namespace step6

namespace step7 {
inline constexpr std::string_view kCaption =
    "Schritt 7: Berechnung Gefährdungsstufe der Bodenfruchtbarkeit";
inline constexpr std::string_view kTitle = "Gefährdungsstufe der Bodenfruchtbarkeit berechnen";
inline constexpr std::string_view kResultLabel = "G B F =";
inline constexpr std::string_view kPrintStep2 = "Schritt 2 drucken";
inline constexpr std::string_view kPrintEvaluation = "Auswertung drucken";
inline constexpr std::string_view kSaveCalculation = "Berechnung speichern";

// The legend picture: each level in a circle with its meaning.
inline constexpr std::string_view kLevel0 = "0";
inline constexpr std::string_view kLevel0Meaning = "Bodenfruchtbarkeit nicht gefährdet";
inline constexpr std::string_view kLevel1A = "1A";
inline constexpr std::string_view kLevel1AMeaning =
    "Bodenfruchtbarkeit kann langfristig gefährdet sein";
inline constexpr std::string_view kLevel1AAdvice = "Schutzmassnahmen empfehlenswert";
inline constexpr std::string_view kLevel1B = "1B";
inline constexpr std::string_view kLevel1BMeaning = "Bodenfruchtbarkeit langfristig gefährdet";
inline constexpr std::string_view kLevel1BAdvice = "Schutzmassnahmen notwendig"; // light orange
inline constexpr std::string_view kLevel2 = "2";
inline constexpr std::string_view kLevel2Meaning = "Bodenfruchtbarkeit gefährdet";
inline constexpr std::string_view kLevel2Advice = "Schutzmassnahmen notwendig";
inline constexpr std::string_view kLevel3 = "3";
inline constexpr std::string_view kLevel3Meaning = "Bodenfruchtbarkeit akut gefährdet";
inline constexpr std::string_view kLevel3Advice = "Schutzmassnahmen sehr dringlich";
// Closes the dark orange box around levels 2 and 3.
inline constexpr std::string_view kContactAdviser = "Kontakt mit Beratung aufnehmen";
} // namespace step7

} // namespace brisolt::texts::results
