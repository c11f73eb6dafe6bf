#pragma once
// Gradient and flow length of a parcel, measured on an elevation raster instead of paced in
// the field. Built on GDAL/OGR; knows nothing of the key: the CLI and the program put the
// figures into an assessment themselves.
//
// Method, in short (the steps are in method.h):
// - Gradient: Horn's 3x3 slope (as `gdaldem slope -p`) on every cell whose centre lies inside
//   the parcel shrunk by one cell width, so that an embankment or a road along the edge does
//   not count. Reported as the mean and the 10th/50th/90th percentiles.
// - Flow length is sheet flow only, as it is paced: from where sheet flow begins (a divide or
//   the parcel's upper edge) down the fall line to the first of the parcel's edge, concentrated
//   flow (a hollow's axis, a valley line, a ditch), the rim of a closed depression where water
//   ponds, or where the land flattens so much that the water drops its load. Concentrated flow
//   is not counted; its length inside the parcel is reported and its lines drawn.
//   1. The parcel's own cells are the whole catchment; the ring of cells just outside it keeps
//      its real heights and is where water leaves. On rasters finer than 2 m the flow is traced
//      on blocks of about 2 m at their mean height (furrows and wheel tracks are not what is
//      paced); the gradient keeps the raster's own cells.
//   2. Fill: closed depressions are filled by a priority flood from that ring (Barnes, Lehman
//      and Mulla 2014). A filled depression at least 0.1 m deep and 25 m2 large is a pond: a
//      path ends at its rim. Shallower or smaller ones are the raster's noise and drain.
//   3. Routing: each cell drains to its steepest lower neighbour (D8), kept to the fall line by
//      least transverse deviation (Orlandini et al. 2003), so that a path follows the fall line
//      within about a cell even where it lies between the eight directions, and each step
//      counts as far as it advances along it. Flats drain towards their outlet and away from
//      higher ground (Garbrecht and Martz 1997, in the integer form of Barnes, Lehman and Mulla
//      2014); directions that drain equally well are decided by the fitted fall line, never by
//      the order in which the neighbours are tried.
//   4. Where flow concentrates: on a valley line that gathers water. A cell starts concentrated
//      flow where (a) its specific catchment area, by multiple flow (Quinn et al. 1991), is at
//      least 100 m2 per metre of contour, (b) the land is hollow across the flow, Zevenbergen
//      and Thorne's plan curvature at most -0.002 1/m, and (c) it lies on the valley line of
//      that hollow; curvature and line come from a quadratic fitted by least squares on a square
//      of about 10 m (Wood 1996), so that furrows, tracks and raster noise do not count, and a
//      hollow tens of metres wide does. Concentrated flow then runs on down the steepest way
//      until it leaves the parcel or ends in a pond; one line per valley. Catchment area with plan
//      curvature is how Moore, Burch and Mackenzie (1988) and Desmet and Govers (1996) locate the
//      thalwegs where ephemeral gullies form, and Vandaele et al. (1996) show they form only above
//      a critical area for the slope. The thresholds are set below those for incision (Moore et al.
//      1988: about 180 m2/m at 10 %), since flow concentrates before it cuts a gully: 100 m2/m is
//      the water of 100 m of plain slope per metre of width, and -0.002 1/m is a hollow 1 m deep
//      and 60 m wide, or a ditch; a plain slope of any length never concentrates.
//   5. Deposition, the other end of a slope length in RUSLE (Renard et al. 1997): where the
//      local slope falls below half the mean slope of the land draining through the cell (0.7
//      times it where that land is gentler than 5 %), the cut-off ratios of Hickey (2000) and
//      Van Remortel, Hamilton and Hickey (2001). They compare a cell with the one above it; on
//      fine rasters the slope changes too little from cell to cell, so the catchment's mean
//      slope stands in. The cell's own slope and the one fitted on 10 m must both be that low,
//      on a level cell also the one fitted on 30 m, so that heights rounded to whole metres
//      (level steps) do not end a path.
//   6. Path lengths: each sheet-flow cell's way down is summed up to and including the step
//      into the cell that ends it. The longest is the flow length and its path is returned;
//      the median and 90th percentile of the paths that start on a divide or at the parcel's
//      edge are reported beside it, for the adviser who averages several paths.
//   A path is still made of steps between cell centres: it may run up to about a cell off the
//   fall line, and where it leaves the parcel it counts up to about a cell more or less.

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace brisolt::terrain {

namespace method {
struct Grid;
}

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

// Where the longest sheet-flow path ends.
enum class FlowEnd { None, Edge, Concentrated, Pond, Deposition };

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
    double flowLengthP50M = 0; // median and 90th percentile of the paths that start on a
    double flowLengthP90M = 0; // divide or at the parcel's edge
    FlowEnd flowEnd = FlowEnd::None;
    double concentratedLengthM = 0; // metres of concentrated flow inside the parcel
    std::size_t cellsUsed = 0;      // cells whose slope entered the gradient
    double coveredShare = 0;        // share of the parcel's cells the raster covers, 0 to 1
    double areaM2 = 0;
    std::vector<Point> flowPath; // from where the longest path starts to where it ends
    std::vector<std::vector<Point>> concentratedFlow; // its lines inside the parcel, downstream
    std::vector<std::string> messages;
    // GDAL's reason when the raster could not be read here (a damaged or truncated file): a
    // fault of the raster, not of the parcel.
    std::string readError;
};

// The most cells one parcel's window may have, so that a wrong layer does not eat the memory.
// Measuring takes about 52 bytes per cell of the window, so this is about 2.1 GB; a run that
// measures several parcels at once keeps their windows together below it as well.
inline constexpr double kMaxWindowCells = 40e6;

// Whether GDAL may be handed `path`: not when it names anything but a regular file or a folder
// (a named pipe or a device would keep GDAL waiting for ever). GDAL's virtual paths may; the
// file of an archive they name (/vsizip/...) is checked. A name that is not there may, so that
// opening it says so.
bool MayOpen(const std::string& path);

// An elevation raster opened for reading. One object per thread: GDAL datasets are not shared
// between threads.
class ElevationModel {
public:
    // Opens the raster; on failure returns nothing and sets `error` (German).
    static std::unique_ptr<ElevationModel> Open(const std::string& path, std::string& error);
    // Several tiles, or a folder of them, as one raster (a mosaic in memory). The tiles must
    // share coordinate system and cells; one file is opened as it is.
    static std::unique_ptr<ElevationModel> Open(const std::vector<std::string>& paths,
                                                std::string& error);
    ~ElevationModel();
    ElevationModel(const ElevationModel&) = delete;
    ElevationModel& operator=(const ElevationModel&) = delete;

    const std::string& path() const { return path_; }
    // How many files make the raster (tiles of a mosaic).
    std::size_t fileCount() const { return fileCount_; }
    // Another reader of the same raster for another thread: the file or the mosaic opened once
    // more, without checking it again (and without asking PROJ anything). Nothing on failure.
    std::unique_ptr<ElevationModel> Reopen(std::string& error) const;
    // Every file GDAL reads for the raster: its own, its side files (overviews, masks), a VRT's
    // sources, a mosaic's tiles.
    const std::vector<std::string>& files() const { return files_; }
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
    // The cells of the window Analyse reads for the parcel: what its memory grows with.
    double WindowCells(const Shape& parcel) const;
    // Whether the parcel's bounding box meets the raster.
    bool Overlaps(const Shape& parcel) const;

    // The lines of concentrated flow in the area minX..maxX x minY..maxY, the area taken as its
    // own catchment: what the map around a parcel shows beside the parcel's own.
    std::vector<std::vector<Point>> ConcentratedFlow(double minX, double minY, double maxX,
                                                     double maxY) const;

    // A hillshade (sun from the north-west, 45 degrees high) of the area minX..maxX x minY..maxY,
    // `columns` x `rows` pixels of grey 0..255 row by row from the north; pixels without data
    // are 255. Reads the raster resampled to that size (from its overviews where it has them).
    // With `only` given, just the pixels near those boxes (minX, minY, maxX, maxY each) are
    // drawn, the rest stays white: what is read then grows with the boxes, not the area.
    std::vector<unsigned char>
    Hillshade(double minX, double minY, double maxX, double maxY, int columns, int rows,
              const std::vector<std::array<double, 4>>* only = nullptr) const;
    // The cells GDAL decodes for that hillshade of the whole area (of the overview it reads).
    double HillshadeCells(double minX, double minY, double maxX, double maxY, int columns,
                          int rows) const;

private:
    ElevationModel() = default;
    // The same raster read through another handle.
    ElevationModel(const ElevationModel& other, void* dataset);
    static std::unique_ptr<ElevationModel> FromDataset(void* dataset, const std::string& path,
                                                       std::size_t files, std::string& error);
    bool ReadWindow(int x0, int y0, int columns, int rows, std::vector<double>& cells,
                    std::string& problem) const;
    void HillshadePart(double left, double top, double px, double py, int columns, int rows,
                       std::vector<double>& z) const;
    void WindowBounds(const Shape& parcel, double& minX, double& minY, double& maxX,
                      double& maxY) const;
    bool ReadGrid(double minX, double minY, double maxX, double maxY, int margin, int block,
                  method::Grid& grid, std::string& problem, std::string& readError) const;
    int FlowBlock() const;
    double NoDataHeight() const; // NaN without a declared value for missing heights
    void* MaskBand() const;      // GDALRasterBandH of the mask
    int WindowMargin() const;

    void* dataset_ = nullptr; // GDALDatasetH
    std::string path_;
    std::size_t fileCount_ = 1;
    std::string wkt_;
    int width_ = 0;
    int height_ = 0;
    double originX_ = 0;
    double originY_ = 0;
    double cellWidth_ = 0;
    double cellHeight_ = 0; // positive; rows run from north to south
    // How a cell without height is told: GDAL's mask of the band (its no-data value, or its
    // mask band: an alpha band, a mask of the dataset), or an alpha band GDAL does not take.
    enum class Mask { None, NoData, Band, Alpha };
    Mask mask_ = Mask::None;
    double noData_ = 0; // as the band stores it (a Float32 band: rounded to float)
    double scale_ = 1;  // height = value * scale + offset
    double offset_ = 0;
    // A mosaic of tiles: the VRT that puts them together, and the cells each tile covers
    // (first column, first row, end column, end row); cells of no tile have no height.
    std::string mosaicXml_;
    std::vector<std::array<int, 4>> tileCells_;
    std::vector<std::string> files_;
    char separator_ = ',';
};

// One feature of a parcel layer.
struct Parcel {
    std::string id;
    Shape shape; // in the raster's coordinate system
    // Why a feature kept for its row has nothing to measure (German sentence); empty otherwise.
    // `area` false: it is no area at all (a point, a line, no geometry).
    std::string problem;
    bool area = true;
    std::string geometryWkb; // the feature's own geometry, untouched, as WKB (for output)
    std::vector<std::pair<std::string, std::string>> attributes; // every field as text
};

struct ParcelLayerOptions {
    std::string layerName; // empty: the first layer
    std::string idField;   // empty: the layer's obvious id field if it has one, else the feature id
    // Features without an area to measure (points, lines, no geometry, not transformable) are
    // kept with their `problem` instead of being skipped with a message.
    bool keepFeaturesWithoutArea = false;
};

struct ParcelLayer {
    std::vector<Parcel> parcels;
    std::string layerName;
    std::string wkt; // the layer's own coordinate system
    std::vector<std::string> fieldNames;
    std::string idField;               // the field the ids came from; empty: feature ids
    std::vector<std::string> messages; // skipped features, doubtful ids or texts, German
    std::vector<std::string> files;    // every file GDAL reads for the layer (.dbf, .shx, ...)
};

// Reads every polygon feature of the layer and transforms it into the coordinate system given
// as WKT (the raster's). A layer without a coordinate system, or a target without one while the
// layer has one, is refused with a clear message, as is a missing layer or id field, a file
// another program holds locked, and a name that is no file (see MayOpen). Ids of the chosen
// field that repeat or are missing are named in one message; texts that are not UTF-8 (a
// Shapefile without .cpg) are read as Windows-1252, which is said once.
std::optional<ParcelLayer> ReadParcels(const std::string& path, const ParcelLayerOptions& options,
                                       const std::string& targetWkt, std::string& error);

// The layer names of a vector file, for a choice list; empty on failure.
std::vector<std::string> LayerNames(const std::string& path);

// Once per process before anything else: registers GDAL's drivers and makes its errors quiet
// (they come back as our own messages). `dataFolder`, when given, holds GDAL's data ("gdal")
// and PROJ's database ("proj") that the program brings along; they are then taken from there
// and never from the user's environment.
void InitialiseGdal(const std::string& dataFolder = {});

} // namespace brisolt::terrain
