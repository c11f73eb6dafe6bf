#pragma once
// German texts of the window that takes gradient and flow length from an elevation model.

#include <string>
#include <string_view>

namespace brisolt::texts::terrain {

inline constexpr std::string_view kMenu = "Gefälle und Fliessstrecke aus Höhenmodell …";
inline constexpr std::string_view kWindowTitle = "Gefälle und Fliessstrecke aus Höhenmodell";
inline constexpr std::string_view kRaster = "Höhenmodell:";
inline constexpr std::string_view kParcels = "Parzellen:";
inline constexpr std::string_view kLayer = "Ebene:";
inline constexpr std::string_view kChoose = "Wählen …";
inline constexpr std::string_view kChooseFolder = "Ordner …";
inline constexpr std::string_view kChooseTileFolder = "Ordner mit Kacheln des Höhenmodells wählen";
inline constexpr std::string_view kNoFile = "(keine Datei gewählt)";
inline constexpr std::string_view kChooseRaster = "Höhenmodell wählen";
inline constexpr std::string_view kChooseParcels = "Parzellen wählen";
inline constexpr std::string_view kRasterFilter =
    "Höhenmodelle (*.tif *.tiff *.vrt *.asc *.img *.dem)";
inline constexpr std::string_view kParcelFilter =
    "Parzellen (*.gpkg *.shp *.geojson *.json *.xtf *.itf *.gml *.kml *.sqlite)";
inline constexpr std::string_view kAllFiles = "Alle Dateien (*)";
inline constexpr std::string_view kSearch = "Suchen:";
inline constexpr std::string_view kSearchHint = "Kennung oder Attribut";
inline constexpr std::string_view kColumnId = "Kennung";
inline constexpr std::string_view kColumnArea = "Fläche (ha)";
inline constexpr std::string_view kGradientMean = "Gefälle, Mittel:";
inline constexpr std::string_view kGradientPercentiles = "Gefälle, 10 / 50 / 90 %:";
inline constexpr std::string_view kFlowLength = "Fliessstrecke:";
inline constexpr std::string_view kFlowLengthSpread = "Fliesswege, 50 / 90 %:";
inline constexpr std::string_view kCellsUsed = "Verwendete Zellen:";
inline constexpr std::string_view kCovered = "Vom Höhenmodell abgedeckt:";
inline constexpr std::string_view kForStep1 = "Für Schritt 1:";
inline constexpr std::string_view kLegend = "Rot: Parzelle   Blau: längste Fliessstrecke";
inline constexpr std::string_view kLegendConcentrated = "Violett: Talweg (gebündelter Abfluss)";
inline constexpr std::string_view kApply = "Übernehmen";
inline constexpr std::string_view kCancel = "Abbrechen";
inline constexpr std::string_view kNeedRaster =
    "Zuerst das Höhenmodell wählen, dann die Parzellen.";
inline constexpr std::string_view kNeedParcels = "Die Parzellen wählen.";
inline constexpr std::string_view kChooseParcel = "Die Parzelle in der Liste wählen.";
inline constexpr std::string_view kNoParcels = "Die Ebene enthält keine Parzellen (Flächen).";
inline constexpr std::string_view kNotUsable =
    "Gefälle und Fliessstrecke dieser Parzelle lassen sich nicht übernehmen.";

inline std::string kRasterInfo(int columns, int rows, const std::string& cellSize) {
    return std::to_string(columns) + " × " + std::to_string(rows) + " Zellen zu " + cellSize + " m";
}
inline std::string kTiles(std::size_t count) {
    return " aus " + std::to_string(count) + " Kacheln";
}
inline std::string kConcentratedFlow(int metres) {
    return "Im Schlag bündelt sich Wasser auf " + std::to_string(metres) +
           " m Länge (Talweg): dort auf Rinnen achten.";
}
inline std::string kParcelCount(std::size_t count) {
    return count == 1 ? std::string("1 Parzelle") : std::to_string(count) + " Parzellen";
}
inline std::string kStep1Values(int gradient, int flowLength) {
    return "Gefälle " + std::to_string(gradient) + " %, Fliessstrecke " +
           std::to_string(flowLength) + " m";
}
// The menu entry stays when the module with the window is missing, and says so.
inline std::string kModuleMissing(const std::string& why) {
    return "Das Fenster für das Höhenmodell lässt sich nicht laden (" + why +
           "). Bitte das Programm neu installieren.";
}
inline std::string kMoreMessages(std::size_t count) {
    return "… und " + std::to_string(count) + " weitere Meldungen";
}

} // namespace brisolt::texts::terrain
