#pragma once
// The map of a parcel layer's assessment, one A4 page: the parcels coloured by their level
// as the step 7 legend colours them, over a hillshade of the terrain, with the flow paths and
// the lines of concentrated flow, a legend, a scale bar, a north arrow, title and date. Plain
// coordinates in, page out: the caller reads the terrain and walks the parcels.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "report/page.h"

namespace brisolt::report {

// A point in the map's coordinate system: metres, x to the east, y to the north.
struct MapPoint {
    double x = 0;
    double y = 0;
};

struct MapParcel {
    std::vector<std::vector<MapPoint>> rings; // outer rings and holes alike
    std::string level;                        // GBF; empty when the parcel has no result
};

// The part of the world the map shows and the hillshade pixels that cover it.
struct MapFrame {
    double minX = 0;
    double minY = 0;
    double maxX = 0;
    double maxY = 0;
    int columns = 0; // hillshade pixels for the map's width and height
    int rows = 0;
};

// The frame for data lying in minX..maxX x minY..maxY: widened by a margin and to the
// shape of the map's box on the page.
MapFrame FrameFor(double minX, double minY, double maxX, double maxY);

struct AreaMap {
    MapFrame frame;
    std::vector<std::uint8_t> hillshade; // frame.columns x frame.rows, row by row from the north
    std::vector<MapParcel> parcels;
    std::vector<std::vector<MapPoint>> flowPaths;
    std::vector<std::vector<MapPoint>> concentratedFlow;
    std::vector<std::string> sources; // lines under the title: what the map was made from
    std::string date;
};

Page BuildAreaMap(const AreaMap& map);

// The step 7 legend's colours: the program's legend picture and the map use the same.
inline constexpr Rgba kLegendLightOrange{255, 214, 160, 255}; // the band of level 1B
inline constexpr Rgba kLegendDarkOrange{236, 128, 40, 255};   // the box of levels 2 and 3
inline constexpr Rgba kLegendBoxFrame{150, 70, 10, 255};      // that box's frame
// The other colours of the map, which the styles of the area's GeoPackage repeat.
inline constexpr Rgba kNoResultLine{90, 90, 90, 255}; // the outline of a parcel without result
inline constexpr Rgba kFlowPath{20, 80, 200, 255};
inline constexpr Rgba kConcentratedFlow{150, 40, 190, 255};
// Parcels let the relief show through a little.
inline constexpr std::uint8_t kParcelAlpha = 210;

// The levels as the legend lists them: the level and what it means.
struct MapLevel {
    std::string_view label;
    std::string_view meaning;
};
const std::vector<MapLevel>& MapLevels();

// The fill of a level on the map; a transparent colour for anything else.
Rgba MapLevelColour(const std::string& level);

} // namespace brisolt::report
