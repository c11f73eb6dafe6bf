#pragma once
// brisolt-cli terrain and area: gradient and flow length measured on an elevation raster,
// alone or put into a whole assessment for every parcel of a layer.

#include <iosfwd>
#include <string>
#include <vector>

namespace brisolt::cli {

// True when this build reads elevation rasters and parcel layers (GDAL).
bool TerrainAvailable();

// `terrain --dem RASTER --parcels LAYER [--layer NAME] [--id FIELD] [--format json|csv]`.
int Terrain(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// `area --dem RASTER --parcels LAYER (--template FILE | --files FIELD) --out OUT.gpkg
// [--map OUT.pdf] [--measures] [--jobs N]`.
int Area(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace brisolt::cli
