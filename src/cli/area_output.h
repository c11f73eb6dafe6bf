#pragma once
// What `area` finds for each parcel, and the GeoPackage it writes.

#include <string>
#include <vector>

#include "key/core/record.h"
#include "terrain/terrain.h"

namespace brisolt::cli {

// The results of a walked parcel; the record itself is not kept (a canton has 10^5 parcels).
struct ParcelResults {
    Real ST = 0;
    Real STReduced = 0;
    Real C = 0;
    Real EF = 0;
    Real EL = 0;
    Real EFL = 0;
    Real SoilLossMM = 0;
    Real SoilLossTHA = 0;
    std::string GBF;
};

struct ParcelOutcome {
    terrain::ParcelTerrain terrain;
    std::string file;        // the calculation file the parcel's other inputs came from
    bool loadFailed = false; // that file could not be loaded
    std::string problem;     // why the parcel has no result (besides the terrain's messages)
    int stoppedAt = 0;       // the step whose "Weiter" refused
    bool walked = false;     // the walk went through: `results` holds them
    ParcelResults results;
    bool planned = false;   // the measures were searched
    std::string planTarget; // the smallest plan's level; empty when none lowers it
    std::vector<std::string> planDescriptions;
    double terrainSeconds = 0;
    double walkSeconds = 0;
    double measuresSeconds = 0;
};

struct AreaTimes {
    double terrain = 0;
    double walk = 0;
    double measures = 0;
};

// Where the longest flow path ends, as the outputs name it: edge, concentrated, pond,
// deposition; empty when there is no path.
const char* FlowEndName(terrain::FlowEnd end);

// Writes the layer "parzellen" (each parcel's own geometry in the layer's coordinate system,
// its id, terrain figures and results), "fliesswege" (the longest flow paths) and "talwege"
// (the lines of concentrated flow inside the parcels), both in the raster's system, with a
// default style for each as QGIS keeps it, as a GeoPackage. The file is made in memory and
// replaces `path` only when complete. On failure returns false with the German reason in
// `error`.
bool WriteAreaLayer(const std::string& path, const terrain::ParcelLayer& layer,
                    const std::string& rasterWkt, const std::vector<ParcelOutcome>& results,
                    bool measures, std::string& error);

} // namespace brisolt::cli
