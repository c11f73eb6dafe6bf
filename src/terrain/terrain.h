#pragma once
// Gradient and flow length of a parcel, measured on an elevation raster instead of paced in
// the field. Built on GDAL/OGR; knows nothing of the key: the CLI and the program put the
// figures into an assessment themselves.
//
// Method, in short:
// - Gradient: Horn's 3x3 slope (as `gdaldem slope -p`) on every cell whose centre lies inside
//   the parcel shrunk by one cell width, so that an embankment or a road along the edge does
//   not count. Reported as the mean and the 10th/50th/90th percentiles.
// - Flow length: the parcel's own cells are the whole catchment. Depressions are filled by a
//   priority flood seeded from the ring of cells just outside the parcel (water can only leave
//   there); directions are D8 steepest descent on the filled surface; each cell's way out is
//   summed step by step (cell size x 1 or sqrt 2) up to and including the step that leaves the
//   parcel. The longest of these is the flow length and its path is returned.
//   D8 bends a fall line that lies between two of its eight directions: on a plane whose fall
//   line makes the angle d (at most 22.5 degrees) with the nearest D8 direction, the path runs
//   d off the fall line and is up to 1/cos(d) longer (+8.2 % at worst, +3.5 % at 30 degrees,
//   exact at 0 and 45 degrees), plus at most one cell.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brisolt::terrain {

struct Point {
    double x = 0;
    double y = 0;
};
using Ring = std::vector<Point>;

// A polygon or multipolygon as plain rings (outer rings and holes alike: inside means inside
// an odd number of rings), in the raster's coordinate system.
struct Shape {
    std::vector<Ring> rings;
};

// Area in square metres (holes subtracted).
double Area(const Shape& shape);

// What one parcel gives. Figures are meaningful only when `usable`; otherwise the messages say
// why (German, one sentence each). Warnings that do not make the figures useless are messages
// too.
struct ParcelTerrain {
    bool usable = false;
    int gradient = 0;     // as the key's field holds it: the mean, rounded to whole per cent
    int flowLength = 0;   // as the key's field holds it: whole metres
    double slopeMean = 0; // per cent, unrounded
    double slopeP10 = 0;
    double slopeP50 = 0;
    double slopeP90 = 0;
    double flowLengthM = 0;    // metres, unrounded
    std::size_t cellsUsed = 0; // cells whose slope entered the gradient
    double coveredShare = 0;   // share of the parcel's cells the raster covers, 0 to 1
    double areaM2 = 0;
    std::vector<Point> flowPath; // from where the longest path starts to where it leaves
    std::vector<std::string> messages;
};

// An elevation raster opened for reading. One object per thread: GDAL datasets are not shared
// between threads.
class ElevationModel {
public:
    // Opens the raster; on failure returns nothing and sets `error` (German).
    static std::unique_ptr<ElevationModel> Open(const std::string& path, std::string& error);
    ~ElevationModel();
    ElevationModel(const ElevationModel&) = delete;
    ElevationModel& operator=(const ElevationModel&) = delete;

    const std::string& path() const { return path_; }
    // The coordinate system as WKT; empty when the raster has none.
    const std::string& spatialReferenceWkt() const { return wkt_; }
    double cellSize() const { return cellWidth_; }
    int width() const { return width_; }
    int height() const { return height_; }
    // Raster extent in its own coordinates: minX, minY, maxX, maxY.
    void extent(double& minX, double& minY, double& maxX, double& maxY) const;

    // The decimal separator of the numbers in the messages (',' unless set).
    void setDecimalSeparator(char separator) { separator_ = separator; }

    // Measures one parcel given in the raster's coordinate system. Reads only the window of
    // cells the parcel needs.
    ParcelTerrain Analyse(const Shape& parcel) const;

    // A hillshade (sun from the north-west, 45 degrees high) of the area minX..maxX x minY..maxY,
    // `columns` x `rows` pixels of grey 0..255 row by row from the north; pixels without data
    // are 255. Reads the raster resampled to that size, so a whole canton stays cheap.
    std::vector<unsigned char> Hillshade(double minX, double minY, double maxX, double maxY,
                                         int columns, int rows) const;

private:
    ElevationModel() = default;
    struct Window;
    bool ReadWindow(int x0, int y0, int columns, int rows, std::vector<double>& cells) const;

    void* dataset_ = nullptr; // GDALDatasetH
    std::string path_;
    std::string wkt_;
    int width_ = 0;
    int height_ = 0;
    double originX_ = 0;
    double originY_ = 0;
    double cellWidth_ = 0;
    double cellHeight_ = 0; // positive; rows run from north to south
    std::optional<double> noData_;
    char separator_ = ',';
};

// One feature of a parcel layer.
struct Parcel {
    std::string id;
    Shape shape;             // in the raster's coordinate system
    std::string geometryWkb; // the feature's own geometry, untouched, as WKB (for output)
    std::vector<std::pair<std::string, std::string>> attributes; // every field as text
};

struct ParcelLayerOptions {
    std::string layerName; // empty: the first layer
    std::string idField;   // empty: the feature id
};

struct ParcelLayer {
    std::vector<Parcel> parcels;
    std::string layerName;
    std::string wkt; // the layer's own coordinate system
    std::vector<std::string> fieldNames;
    std::vector<std::string> messages; // per-feature problems (skipped features), German
};

// Reads every polygon feature of the layer and transforms it into the coordinate system given
// as WKT (the raster's). A layer without a coordinate system, or a target without one while the
// layer has one, is refused with a clear message, as is a missing layer or id field.
std::optional<ParcelLayer> ReadParcels(const std::string& path, const ParcelLayerOptions& options,
                                       const std::string& targetWkt, std::string& error);

// The layer names of a vector file, for a choice list; empty on failure.
std::vector<std::string> LayerNames(const std::string& path);

// Once per process before anything else: registers GDAL's drivers and makes its errors quiet
// (they come back as our own messages).
void InitialiseGdal();

} // namespace brisolt::terrain
