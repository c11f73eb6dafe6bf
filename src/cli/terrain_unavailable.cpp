// Builds without GDAL (the Windows build) read no elevation rasters.

#include <ostream>

#include "cli/terrain_command.h"

namespace brisolt::cli {

namespace {

int Unavailable(std::ostream& err) {
    err << "brisolt-cli: diese Ausgabe wurde ohne GDAL gebaut; sie liest keine Höhenmodelle\n";
    return 2;
}

} // namespace

bool TerrainAvailable() {
    return false;
}

int Terrain(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return Unavailable(err);
}

int Area(const std::vector<std::string>&, std::ostream&, std::ostream& err) {
    return Unavailable(err);
}

} // namespace brisolt::cli
