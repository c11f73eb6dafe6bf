#pragma once
// The default styles of the area's GeoPackage, in the table "layer_styles" as QGIS keeps them:
// the parcels filled in the step 7 legend's colours by their level (GBF) with the levels'
// meanings as the legend, the flow paths and the lines of concentrated flow as the map page
// draws them. Opening the file in QGIS then shows what the map shows.

#include <string>

#include <gdal.h>

namespace brisolt::cli {

// The style of one layer as QGIS's own format (QML) and as SLD.
std::string ParcelStyleQml();
std::string ParcelStyleSld();
std::string LineStyleQml(bool flowPaths);
std::string LineStyleSld(bool flowPaths);

// Adds the table with a default style for each of the layers "parzellen", "fliesswege" and
// "talwege" that the dataset holds; false with the German reason in `error`.
bool WriteLayerStyles(GDALDatasetH dataset, std::string& error);

} // namespace brisolt::cli
