#include "terrain/terrain.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>
#include <numbers>
#include <queue>
#include <set>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_string.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <gdal_utils.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "terrain/method.h"

namespace brisolt::terrain {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// Figures are trusted only when the raster covers this much of the parcel and no more than
// this share of its cells lacks a height.
constexpr double kMinCoveredShare = 0.95;
constexpr double kMaxNoDataShare = 0.05;
// Fewer slope cells than this inside the shrunk parcel make no gradient.
constexpr std::size_t kMinSlopeCells = 9;
// A parcel whose heights differ by less than this has no direction to flow in.
constexpr double kFlatRangeM = 0.01;
// The largest window one parcel may ask for (cells): keeps a wrong layer from eating memory.
constexpr double kMaxWindowCells = 40e6;
// On rasters finer than this (metres) the flow is traced on blocks of cells about this size, at
// their mean height: furrows and wheel tracks are not what the flow length paces, and the
// finest models would cost 16 times the time of 2 m cells for nothing a pacer could see.
constexpr double kFlowCell = 2;

// A number with one decimal and the caller's separator: 63,2
std::string Decimal1(double value, char separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.1f", value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.')
            c = separator;
    }
    return text;
}

double SignedRingArea(const Ring& ring) {
    double sum = 0;
    for (std::size_t i = 0, n = ring.size(); i < n; ++i) {
        const Point& a = ring[i];
        const Point& b = ring[(i + 1) % n];
        sum += a.x * b.y - b.x * a.y;
    }
    return sum / 2;
}

// Even-odd rule over all rings (outer rings and holes alike).
bool Inside(const Shape& shape, Point p) {
    bool inside = false;
    for (const Ring& ring : shape.rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point& a = ring[i];
            const Point& b = ring[j];
            if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
                inside = !inside;
            }
        }
    }
    return inside;
}

// The p-quantile, interpolated between ranks; reorders `values`.
double Percentile(std::vector<double>& values, double p) {
    if (values.empty())
        return kNaN;
    const double rank = p * static_cast<double>(values.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(rank));
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(lower),
                     values.end());
    const double a = values[lower];
    if (lower + 1 >= values.size())
        return a;
    const double b =
        *std::min_element(values.begin() + static_cast<std::ptrdiff_t>(lower) + 1, values.end());
    return a + (rank - static_cast<double>(lower)) * (b - a);
}

// A raster value as a height: NaN where the raster says it has none.
double Height(double value, const std::optional<double>& noData) {
    return noData && value == *noData ? kNaN : value;
}

// GDAL's own look at the name, so that its virtual paths (/vsizip/...) count as well.
bool Exists(const std::string& path) {
    VSIStatBufL status;
    return VSIStatL(path.c_str(), &status) == 0;
}

struct DatasetCloser {
    void operator()(void* dataset) const {
        if (dataset)
            GDALClose(static_cast<GDALDatasetH>(dataset));
    }
};
using DatasetHandle = std::unique_ptr<void, DatasetCloser>;

struct SpatialReferenceDeleter {
    void operator()(void* srs) const {
        if (srs)
            OSRDestroySpatialReference(static_cast<OGRSpatialReferenceH>(srs));
    }
};

struct TransformDeleter {
    void operator()(void* transform) const {
        if (transform)
            OCTDestroyCoordinateTransformation(
                static_cast<OGRCoordinateTransformationH>(transform));
    }
};

using SpatialReferenceHandle = std::unique_ptr<void, SpatialReferenceDeleter>;

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
}

// Where a tile lies: its geotransform and coordinate system.
struct TileFrame {
    std::string tile;
    double transform[6] = {0, 0, 0, 0, 0, 0};
    SpatialReferenceHandle srs;
};

// The raster tiles of a folder, by name; side files (world files, overviews, statistics) and
// other mosaics are not tiles.
std::vector<std::string> TilesIn(const std::string& folder) {
    static const char* const kExtensions[] = {"tif", "tiff", "asc", "img", "dem", "bil", "xyz"};
    std::vector<std::string> tiles;
    char** names = VSIReadDir(folder.c_str());
    for (char** name = names; name != nullptr && *name != nullptr; ++name) {
        const std::string file = *name;
        const std::size_t dot = file.rfind('.');
        if (dot == std::string::npos)
            continue;
        std::string extension = file.substr(dot + 1);
        for (char& c : extension)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::find_if(std::begin(kExtensions), std::end(kExtensions),
                         [&](const char* e) { return extension == e; }) == std::end(kExtensions))
            continue;
        const std::string path = folder + (folder.ends_with('/') ? "" : "/") + file;
        VSIStatBufL status;
        if (VSIStatL(path.c_str(), &status) == 0 && VSI_ISREG(status.st_mode))
            tiles.push_back(path);
    }
    CSLDestroy(names);
    std::sort(tiles.begin(), tiles.end());
    return tiles;
}

} // namespace

void InitialiseGdal(const std::string& dataFolder) {
    static std::once_flag once;
    std::call_once(once, [&dataFolder] {
        if (!dataFolder.empty()) {
            CPLSetConfigOption("GDAL_DATA", (dataFolder + "/gdal").c_str());
            const std::string proj = dataFolder + "/proj";
            const char* const paths[] = {proj.c_str(), nullptr};
            OSRSetPROJSearchPaths(paths);
        }
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
#ifdef __GLIBC__
        // Each parcel takes and gives back megabytes of cells; handing them back to the system
        // every time costs more than measuring the parcel.
        mallopt(M_TRIM_THRESHOLD, 256 << 20);
        mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
    });
}

double Area(const Shape& shape) {
    double area = 0;
    for (std::size_t i = 0; i < shape.rings.size(); ++i) {
        const Ring& ring = shape.rings[i];
        if (ring.size() < 3)
            continue;
        // A ring inside an odd number of other rings is a hole.
        int depth = 0;
        for (std::size_t j = 0; j < shape.rings.size(); ++j) {
            if (j != i && shape.rings[j].size() >= 3 && Inside(Shape{{shape.rings[j]}}, ring[0]))
                ++depth;
        }
        const double a = std::fabs(SignedRingArea(ring));
        area += depth % 2 == 0 ? a : -a;
    }
    return std::max(area, 0.0);
}

ElevationModel::~ElevationModel() {
    if (dataset_)
        GDALClose(static_cast<GDALDatasetH>(dataset_));
}

std::unique_ptr<ElevationModel> ElevationModel::Open(const std::string& path, std::string& error) {
    InitialiseGdal();
    GDALDatasetH dataset =
        GDALOpenEx(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!dataset) {
        error = !Exists(path)
                    ? "Das Höhenmodell gibt es nicht."
                    : "Das Höhenmodell lässt sich nicht öffnen (kein Raster, das GDAL lesen kann).";
        return nullptr;
    }
    return FromDataset(dataset, path, 1, error);
}

std::unique_ptr<ElevationModel> ElevationModel::Open(const std::vector<std::string>& paths,
                                                     std::string& error) {
    InitialiseGdal();
    std::vector<std::string> tiles;
    for (const std::string& path : paths) {
        VSIStatBufL status;
        if (VSIStatL(path.c_str(), &status) != 0 || !VSI_ISDIR(status.st_mode)) {
            tiles.push_back(path);
            continue;
        }
        std::vector<std::string> found = TilesIn(path);
        if (found.empty()) {
            error = "Im Ordner " + Quoted(path) + " liegen keine Kacheln eines Höhenmodells.";
            return nullptr;
        }
        tiles.insert(tiles.end(), found.begin(), found.end());
    }
    if (tiles.empty()) {
        error = "Das Höhenmodell gibt es nicht.";
        return nullptr;
    }
    if (tiles.size() == 1)
        return Open(tiles.front(), error);

    // Every tile opens, and all share the coordinate system and the cells, so that the mosaic
    // gives each cell's height as its own tile does, seams included.
    TileFrame first;
    for (const std::string& tile : tiles) {
        TileFrame grid;
        DatasetHandle dataset(
            GDALOpenEx(tile.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
        if (!dataset) {
            error = "Die Kachel " + Quoted(tile) +
                    (Exists(tile) ? " lässt sich nicht öffnen (kein Raster, das GDAL lesen kann)."
                                  : " gibt es nicht.");
            return nullptr;
        }
        if (GDALGetRasterCount(dataset.get()) < 1 ||
            GDALGetGeoTransform(dataset.get(), grid.transform) != CE_None ||
            grid.transform[2] != 0 || grid.transform[4] != 0) {
            error = "Die Kachel " + Quoted(tile) +
                    " ist kein nach Norden ausgerichtetes, georeferenziertes Raster.";
            return nullptr;
        }
        grid.tile = tile;
        if (OGRSpatialReferenceH srs = GDALGetSpatialRef(dataset.get()))
            grid.srs.reset(OSRClone(srs));
        if (first.tile.empty()) {
            first = std::move(grid);
            continue;
        }
        const auto same = [](double a, double b) {
            return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
        };
        const auto onGrid = [](double offset, double cell) {
            const double cells = offset / cell;
            return std::fabs(cells - std::round(cells)) < 1e-6;
        };
        const std::string both = " (" + Quoted(first.tile) + " und " + Quoted(tile) + ").";
        if ((first.srs == nullptr) != (grid.srs == nullptr) ||
            (first.srs && !OSRIsSame(static_cast<OGRSpatialReferenceH>(first.srs.get()),
                                     static_cast<OGRSpatialReferenceH>(grid.srs.get())))) {
            error = "Die Kacheln haben verschiedene Koordinatensysteme" + both;
            return nullptr;
        }
        if (!same(first.transform[1], grid.transform[1]) ||
            !same(first.transform[5], grid.transform[5])) {
            error = "Die Kacheln haben verschiedene Zellgrössen" + both;
            return nullptr;
        }
        if (!onGrid(grid.transform[0] - first.transform[0], first.transform[1]) ||
            !onGrid(grid.transform[3] - first.transform[3], first.transform[5])) {
            error = "Die Kacheln liegen nicht auf einem gemeinsamen Raster" + both;
            return nullptr;
        }
    }
    std::vector<const char*> names;
    for (const std::string& tile : tiles)
        names.push_back(tile.c_str());
    // An empty name keeps the mosaic in memory only.
    GDALDatasetH mosaic =
        GDALBuildVRT("", static_cast<int>(names.size()), nullptr, names.data(), nullptr, nullptr);
    if (!mosaic) {
        error = "Die Kacheln lassen sich nicht zu einem Höhenmodell zusammensetzen.";
        return nullptr;
    }
    return FromDataset(mosaic, paths.size() == 1 ? paths.front() : tiles.front(), tiles.size(),
                       error);
}

std::unique_ptr<ElevationModel> ElevationModel::FromDataset(void* handle, const std::string& path,
                                                            std::size_t files, std::string& error) {
    const auto dataset = static_cast<GDALDatasetH>(handle);
    std::unique_ptr<ElevationModel> model(new ElevationModel);
    model->dataset_ = dataset;
    model->path_ = path;
    model->fileCount_ = files;
    if (GDALGetRasterCount(dataset) < 1) {
        error = "Das Höhenmodell enthält kein Band mit Höhen.";
        return nullptr;
    }
    double transform[6];
    if (GDALGetGeoTransform(dataset, transform) != CE_None) {
        error = "Das Höhenmodell ist nicht georeferenziert.";
        return nullptr;
    }
    if (transform[2] != 0 || transform[4] != 0 || transform[1] <= 0 || transform[5] >= 0) {
        error =
            "Das Höhenmodell ist gedreht oder nicht nach Norden ausgerichtet; erwartet wird ein "
            "Raster mit Zeilen von Nord nach Süd.";
        return nullptr;
    }
    model->width_ = GDALGetRasterXSize(dataset);
    model->height_ = GDALGetRasterYSize(dataset);
    model->originX_ = transform[0];
    model->originY_ = transform[3];
    model->cellWidth_ = transform[1];
    model->cellHeight_ = -transform[5];

    if (OGRSpatialReferenceH srs = GDALGetSpatialRef(dataset)) {
        if (OSRIsGeographic(srs)) {
            error =
                "Das Höhenmodell hat geographische Koordinaten (Grad); Gefälle und Fliessstrecke "
                "brauchen ein Koordinatensystem in Metern wie LV95.";
            return nullptr;
        }
        char* wkt = nullptr;
        const char* options[] = {"FORMAT=WKT2", nullptr};
        if (OSRExportToWktEx(srs, &wkt, options) == OGRERR_NONE && wkt)
            model->wkt_ = wkt;
        CPLFree(wkt);
    }
    int hasNoData = 0;
    const double noData = GDALGetRasterNoDataValue(GDALGetRasterBand(dataset, 1), &hasNoData);
    if (hasNoData)
        model->noData_ = noData;
    return model;
}

void ElevationModel::extent(double& minX, double& minY, double& maxX, double& maxY) const {
    minX = originX_;
    maxY = originY_;
    maxX = originX_ + width_ * cellWidth_;
    minY = originY_ - height_ * cellHeight_;
}

// Heights of a window that may reach beyond the raster; cells outside it or without data are NaN.
bool ElevationModel::ReadWindow(int x0, int y0, int columns, int rows,
                                std::vector<double>& cells) const {
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), kNaN);
    const int left = std::max(x0, 0);
    const int top = std::max(y0, 0);
    const int right = std::min(x0 + columns, width_);
    const int bottom = std::min(y0 + rows, height_);
    if (left >= right || top >= bottom)
        return true;
    const int readColumns = right - left;
    const int readRows = bottom - top;
    std::vector<double> part(static_cast<std::size_t>(readColumns) *
                             static_cast<std::size_t>(readRows));
    GDALRasterBandH band = GDALGetRasterBand(static_cast<GDALDatasetH>(dataset_), 1);
    if (GDALRasterIO(band, GF_Read, left, top, readColumns, readRows, part.data(), readColumns,
                     readRows, GDT_Float64, 0, 0) != CE_None) {
        return false;
    }
    for (int r = 0; r < readRows; ++r) {
        for (int c = 0; c < readColumns; ++c) {
            cells[static_cast<std::size_t>(r + top - y0) * columns + (c + left - x0)] =
                Height(part[static_cast<std::size_t>(r) * readColumns + c], noData_);
        }
    }
    return true;
}

// The window of cells a rectangle needs: every cell it touches plus `margin` cells on each side
// (the slope's and the flow's neighbours, the fitted surface's square). Heights outside the
// raster or without data are NaN.
// The window of cells a rectangle needs: every cell it touches plus `margin` cells on each side
// (the slope's and the flow's neighbours, the fitted surface's square), in whole blocks of
// `block` x `block` cells counted from the raster's corner. Heights outside the raster or
// without data are NaN.
bool ElevationModel::ReadGrid(double minX, double minY, double maxX, double maxY, int margin,
                              int block, method::Grid& grid, std::string& problem) const {
    const double cw = cellWidth_;
    const double ch = cellHeight_;
    auto down = [block](double cell) { return std::floor(cell / block) * block; };
    const double firstColumn = down(std::floor((minX - originX_) / cw) - margin);
    const double lastColumn = down(std::floor((maxX - originX_) / cw) + margin) + block - 1;
    const double firstRow = down(std::floor((originY_ - maxY) / ch) - margin);
    const double lastRow = down(std::floor((originY_ - minY) / ch) + margin) + block - 1;
    const double windowCells = (lastColumn - firstColumn + 1) * (lastRow - firstRow + 1);
    if (!(windowCells <= kMaxWindowCells) || std::fabs(firstColumn) > 1e9 ||
        std::fabs(firstRow) > 1e9) {
        problem = "Der Schlag ist für dieses Höhenmodell zu gross.";
        return false;
    }
    const int x0 = static_cast<int>(firstColumn);
    const int y0 = static_cast<int>(firstRow);
    grid.columns = static_cast<int>(lastColumn - firstColumn) + 1;
    grid.rows = static_cast<int>(lastRow - firstRow) + 1;
    grid.cellWidth = cw;
    grid.cellHeight = ch;
    grid.originX = originX_ + x0 * cw;
    grid.originY = originY_ - y0 * ch;
    grid.firstColumn = x0;
    grid.firstRow = y0;
    if (!ReadWindow(x0, y0, grid.columns, grid.rows, grid.z)) {
        problem = "Das Höhenmodell lässt sich an dieser Stelle nicht lesen.";
        return false;
    }
    return true;
}

int ElevationModel::FlowBlock() const {
    const double cell = std::min(cellWidth_, cellHeight_);
    return std::max(1, static_cast<int>(std::floor(kFlowCell / cell + 1e-9)));
}

int ElevationModel::WindowMargin() const {
    const method::Thresholds thresholds;
    const int block = FlowBlock();
    const double flowCell = block * std::min(cellWidth_, cellHeight_);
    // The fitted square of the valley lines; the wider one of deposition on level cells is
    // left out near the edge rather than read for every parcel.
    return block *
           (std::max(2, static_cast<int>(std::floor(thresholds.fitRadius / flowCell + 1e-9)) + 1));
}

namespace {

// Mask: how much of the parcel the raster covers and how many of its cells have a height.
// False when nothing can be measured at all; `trusted` false when the figures are withheld.
bool CheckCoverage(const method::Grid& grid, const method::Mask& inside, int rasterColumns,
                   int rasterRows, char separator, ParcelTerrain& result, bool& trusted) {
    std::size_t parcelCells = 0, coveredCells = 0, noDataCells = 0;
    for (int r = 0; r < grid.rows; ++r) {
        for (int c = 0; c < grid.columns; ++c) {
            const std::size_t k = static_cast<std::size_t>(r) * grid.columns + c;
            if (!inside[k])
                continue;
            ++parcelCells;
            const int column = grid.firstColumn + c, row = grid.firstRow + r;
            if (column < 0 || column >= rasterColumns || row < 0 || row >= rasterRows)
                continue;
            ++coveredCells;
            noDataCells += std::isnan(grid.z[k]) ? 1 : 0;
        }
    }
    if (parcelCells == 0) {
        result.messages.push_back("Der Schlag ist kleiner als eine Zelle des Höhenmodells.");
        return false;
    }
    result.coveredShare = static_cast<double>(coveredCells) / static_cast<double>(parcelCells);
    if (coveredCells == 0) {
        result.messages.push_back("Das Höhenmodell deckt den Schlag nicht ab.");
        return false;
    }
    if (coveredCells < parcelCells) {
        std::string message = "Das Höhenmodell deckt nur " +
                              Decimal1(100 * result.coveredShare, separator) + " % des Schlags ab";
        if (result.coveredShare < kMinCoveredShare) {
            message += "; das ist zu wenig für Gefälle und Fliessstrecke.";
            trusted = false;
        } else {
            message += ".";
        }
        result.messages.push_back(message);
    }
    if (noDataCells > 0) {
        const double share = static_cast<double>(noDataCells) / static_cast<double>(coveredCells);
        std::string message = std::to_string(noDataCells) + " Zellen im Schlag haben keine Höhe (" +
                              Decimal1(100 * share, separator) + " %)";
        if (share > kMaxNoDataShare) {
            message += "; das ist zu viel für Gefälle und Fliessstrecke.";
            trusted = false;
        } else {
            message += "; sie zählen nicht mit.";
        }
        result.messages.push_back(message);
    }
    return noDataCells < coveredCells;
}

// Slope: Horn's gradient on the shrunk parcel, its mean and percentiles.
void MeasureGradient(const method::Grid& grid, const method::Mask& core, ParcelTerrain& result,
                     bool& trusted) {
    const std::vector<double> horn = method::HornSlopes(grid, core);
    std::vector<double> slopes;
    for (std::size_t k = 0; k < horn.size(); ++k) {
        if (core[k] && !std::isnan(horn[k]))
            slopes.push_back(horn[k]);
    }
    result.cellsUsed = slopes.size();
    if (slopes.size() < kMinSlopeCells) {
        result.messages.push_back("Der Schlag ist zu klein für dieses Höhenmodell: nur " +
                                  std::to_string(slopes.size()) + " Zellen im Innern (mindestens " +
                                  std::to_string(kMinSlopeCells) + ").");
        trusted = false;
    }
    if (slopes.empty())
        return;
    double sum = 0;
    for (double s : slopes)
        sum += s;
    result.slopeMean = sum / static_cast<double>(slopes.size());
    result.slopeP10 = Percentile(slopes, 0.1);
    result.slopeP50 = Percentile(slopes, 0.5);
    result.slopeP90 = Percentile(slopes, 0.9);
    result.gradient = static_cast<int>(std::lround(result.slopeMean));
}

// The grid the flow is traced on: blocks of `block` x `block` cells at their mean height (no
// height if one of them has none).
method::Grid Blocks(const method::Grid& grid, int block) {
    method::Grid blocks;
    blocks.columns = grid.columns / block;
    blocks.rows = grid.rows / block;
    blocks.cellWidth = grid.cellWidth * block;
    blocks.cellHeight = grid.cellHeight * block;
    blocks.originX = grid.originX;
    blocks.originY = grid.originY;
    blocks.firstColumn = grid.firstColumn / block;
    blocks.firstRow = grid.firstRow / block;
    blocks.z.assign(blocks.Count(), 0);
    for (int r = 0; r < blocks.rows * block; ++r) {
        const double* row = &grid.z[static_cast<std::size_t>(r) * grid.columns];
        double* target = &blocks.z[static_cast<std::size_t>(r / block) * blocks.columns];
        for (int c = 0; c < blocks.columns * block; ++c)
            target[c / block] += row[c];
    }
    const double cells = static_cast<double>(block) * block;
    for (double& z : blocks.z)
        z /= cells;
    return blocks;
}

std::vector<Point> Line(const method::Grid& grid, const std::vector<std::size_t>& cells) {
    std::vector<Point> line;
    line.reserve(cells.size());
    for (const std::size_t k : cells)
        line.push_back(grid.Centre(k));
    return line;
}

} // namespace

ParcelTerrain ElevationModel::Analyse(const Shape& parcel) const {
    ParcelTerrain result;
    // To the square centimetre: an outline reprojected by PROJ differs in its last bits
    // between the maths libraries of Linux and Windows, and no area is known better than that.
    result.areaM2 = std::round(Area(parcel) * 100) / 100;

    double minX = std::numeric_limits<double>::max(), minY = minX;
    double maxX = std::numeric_limits<double>::lowest(), maxY = maxX;
    for (const Ring& ring : parcel.rings) {
        for (const Point& p : ring) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
    if (result.areaM2 <= 0 || !(minX < maxX) || !(minY < maxY)) {
        result.messages.push_back("Der Schlag hat keine Fläche.");
        return result;
    }

    // Read the window.
    method::Grid grid;
    std::string problem;
    const int block = FlowBlock();
    if (!ReadGrid(minX, minY, maxX, maxY, WindowMargin(), block, grid, problem)) {
        result.messages.push_back(problem);
        return result;
    }

    // Mask.
    const method::Mask inside = method::CellsInside(grid, parcel);
    bool trusted = true;
    if (!CheckCoverage(grid, inside, width_, height_, separator_, result, trusted))
        return result;

    // Slope.
    MeasureGradient(grid, method::ShrinkByOneCell(grid, parcel, inside), result, trusted);
    double lowest = std::numeric_limits<double>::max();
    double highest = std::numeric_limits<double>::lowest();
    for (std::size_t k = 0; k < grid.Count(); ++k) {
        if (inside[k] && !std::isnan(grid.z[k])) {
            lowest = std::min(lowest, grid.z[k]);
            highest = std::max(highest, grid.z[k]);
        }
    }
    if (highest - lowest < kFlatRangeM) {
        result.messages.push_back("Der Schlag ist flach: das Wasser hat keinen Fliessweg.");
        return result;
    }

    // Fill, routing, where flow concentrates, path lengths, longest path. Cells without height
    // count as outside and take any water.
    const method::Grid blocks = block > 1 ? Blocks(grid, block) : method::Grid();
    const method::Grid& flowGrid = block > 1 ? blocks : grid;
    const method::Mask flowCells = block > 1 ? method::CellsInside(blocks, parcel) : inside;
    if (std::find(flowCells.begin(), flowCells.end(), 1) == flowCells.end()) {
        result.messages.push_back("Der Schlag ist zu schmal für eine Fliessstrecke.");
        return result;
    }
    const method::Flow flow = method::MeasureFlow(flowGrid, flowCells);
    result.concentratedLengthM = flow.concentratedLength;
    for (const std::vector<std::size_t>& line : flow.concentratedLines)
        result.concentratedFlow.push_back(Line(flowGrid, line));
    if (!flow.anyPath) {
        result.messages.push_back(
            "Im ganzen Schlag sammelt sich das Wasser in Mulden, Talwegen oder Senken: eine "
            "Fliessstrecke des flächenhaften Abflusses gibt es nicht.");
        return result;
    }
    result.flowLengthM = flow.longest;
    result.flowLength = static_cast<int>(std::lround(result.flowLengthM));
    result.flowLengthP50M = flow.p50;
    result.flowLengthP90M = flow.p90;
    result.flowEnd = flow.end;
    result.flowPath = Line(flowGrid, flow.longestPath);
    result.usable = trusted;
    return result;
}

std::vector<std::vector<Point>> ElevationModel::ConcentratedFlow(double minX, double minY,
                                                                 double maxX, double maxY) const {
    std::vector<std::vector<Point>> lines;
    method::Grid grid;
    std::string problem;
    const int block = FlowBlock();
    if (!(minX < maxX) || !(minY < maxY) ||
        !ReadGrid(minX, minY, maxX, maxY, WindowMargin(), block, grid, problem)) {
        return lines;
    }
    if (block > 1)
        grid = Blocks(grid, block);
    // The area's cells, the window's margin left as the ring the water leaves by.
    const int margin = WindowMargin() / block;
    method::Mask area(grid.Count(), 0);
    for (int r = margin; r + margin < grid.rows; ++r) {
        for (int c = margin; c + margin < grid.columns; ++c)
            area[static_cast<std::size_t>(r) * grid.columns + c] = 1;
    }
    const method::Flow flow = method::MeasureFlow(grid, area);
    for (const std::vector<std::size_t>& line : flow.concentratedLines)
        lines.push_back(Line(grid, line));
    return lines;
}

std::vector<unsigned char> ElevationModel::Hillshade(double minX, double minY, double maxX,
                                                     double maxY, int columns, int rows) const {
    std::vector<unsigned char> image(
        static_cast<std::size_t>(std::max(columns, 0)) * std::max(rows, 0), 255);
    if (columns <= 0 || rows <= 0 || !(minX < maxX) || !(minY < maxY))
        return image;
    // One pixel more on every side so that the border pixels have neighbours.
    const double px = (maxX - minX) / columns;
    const double py = (maxY - minY) / rows;
    const int bufferColumns = columns + 2;
    const int bufferRows = rows + 2;
    std::vector<double> z(static_cast<std::size_t>(bufferColumns) * bufferRows, kNaN);

    // The part of the buffer the raster covers, in raster pixels (fractional) and buffer pixels.
    const double left = minX - px, top = maxY + py;
    const double sourceLeft = std::max((left - originX_) / cellWidth_, 0.0);
    const double sourceTop = std::max((originY_ - top) / cellHeight_, 0.0);
    const double sourceRight =
        std::min((left + bufferColumns * px - originX_) / cellWidth_, double(width_));
    const double sourceBottom =
        std::min((originY_ - (top - bufferRows * py)) / cellHeight_, double(height_));
    if (sourceLeft < sourceRight && sourceTop < sourceBottom) {
        const int b0 =
            static_cast<int>(std::lround((originX_ + sourceLeft * cellWidth_ - left) / px));
        const int b1 =
            static_cast<int>(std::lround((originX_ + sourceRight * cellWidth_ - left) / px));
        const int t0 =
            static_cast<int>(std::lround((top - (originY_ - sourceTop * cellHeight_)) / py));
        const int t1 =
            static_cast<int>(std::lround((top - (originY_ - sourceBottom * cellHeight_)) / py));
        const int partColumns = std::min(b1, bufferColumns) - std::max(b0, 0);
        const int partRows = std::min(t1, bufferRows) - std::max(t0, 0);
        if (partColumns > 0 && partRows > 0) {
            std::vector<double> part(static_cast<std::size_t>(partColumns) * partRows);
            GDALRasterIOExtraArg extra;
            INIT_RASTERIO_EXTRA_ARG(extra);
            extra.eResampleAlg = GRIORA_Bilinear;
            extra.bFloatingPointWindowValidity = TRUE;
            extra.dfXOff = sourceLeft;
            extra.dfYOff = sourceTop;
            extra.dfXSize = sourceRight - sourceLeft;
            extra.dfYSize = sourceBottom - sourceTop;
            const int xOff = static_cast<int>(std::floor(sourceLeft));
            const int yOff = static_cast<int>(std::floor(sourceTop));
            const int xSize =
                std::max(1, std::min(width_, static_cast<int>(std::ceil(sourceRight))) - xOff);
            const int ySize =
                std::max(1, std::min(height_, static_cast<int>(std::ceil(sourceBottom))) - yOff);
            GDALRasterBandH band = GDALGetRasterBand(static_cast<GDALDatasetH>(dataset_), 1);
            if (GDALRasterIOEx(band, GF_Read, xOff, yOff, xSize, ySize, part.data(), partColumns,
                               partRows, GDT_Float64, 0, 0, &extra) == CE_None) {
                for (int r = 0; r < partRows; ++r) {
                    for (int c = 0; c < partColumns; ++c) {
                        z[static_cast<std::size_t>(r + std::max(t0, 0)) * bufferColumns + c +
                          std::max(b0, 0)] =
                            Height(part[static_cast<std::size_t>(r) * partColumns + c], noData_);
                    }
                }
            }
        }
    }

    // Sun from the north-west (azimuth 315 degrees), 45 degrees above the horizon.
    const double azimuth = 315 * std::numbers::pi / 180, altitude = 45 * std::numbers::pi / 180;
    const double lightEast = std::cos(altitude) * std::sin(azimuth);
    const double lightNorth = std::cos(altitude) * std::cos(azimuth);
    const double lightUp = std::sin(altitude);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            auto at = [&](int dc, int dr) {
                return z[static_cast<std::size_t>(r + 1 + dr) * bufferColumns + (c + 1 + dc)];
            };
            const double a = at(-1, -1), b = at(0, -1), cc = at(1, -1);
            const double d = at(-1, 0), f = at(1, 0);
            const double g = at(-1, 1), h = at(0, 1), i = at(1, 1);
            if (std::isnan(a + b + cc + d + at(0, 0) + f + g + h + i))
                continue;
            const double dzEast = ((cc + 2 * f + i) - (a + 2 * d + g)) / (8 * px);
            const double dzNorth = ((a + 2 * b + cc) - (g + 2 * h + i)) / (8 * py);
            const double norm = std::sqrt(dzEast * dzEast + dzNorth * dzNorth + 1);
            const double light = (-dzEast * lightEast - dzNorth * lightNorth + lightUp) / norm;
            image[static_cast<std::size_t>(r) * columns + c] =
                static_cast<unsigned char>(std::lround(255 * std::clamp(light, 0.0, 1.0)));
        }
    }
    return image;
}

namespace {

void AddRings(OGRGeometryH geometry, Shape& shape) {
    const OGRwkbGeometryType type = wkbFlatten(OGR_G_GetGeometryType(geometry));
    if (type == wkbPolygon || type == wkbMultiPolygon || type == wkbGeometryCollection) {
        for (int i = 0, n = OGR_G_GetGeometryCount(geometry); i < n; ++i) {
            AddRings(OGR_G_GetGeometryRef(geometry, i), shape);
        }
    } else if (type == wkbLineString || type == wkbLinearRing) {
        Ring ring;
        for (int i = 0, n = OGR_G_GetPointCount(geometry); i < n; ++i) {
            ring.push_back({OGR_G_GetX(geometry, i), OGR_G_GetY(geometry, i)});
        }
        // The closing point repeats the first one.
        if (ring.size() > 1 && ring.front().x == ring.back().x && ring.front().y == ring.back().y)
            ring.pop_back();
        if (ring.size() >= 3)
            shape.rings.push_back(std::move(ring));
    }
}

// The field that plainly holds the parcels' ids: one of the usual names, filled and unique in
// every feature; -1 when there is none.
int ObviousIdField(OGRLayerH layer, const std::vector<std::string>& fieldNames) {
    static const char* const kNames[] = {
        "id",     "parzelle",  "parzellen_id", "parzellennummer", "parzellennr", "parzelle_nr",
        "schlag", "schlag_id", "schlagnummer", "schlagnr",        "schlag_nr",   "nummer",
        "nr"};
    auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (const char* wanted : kNames) {
        int index = -1;
        for (std::size_t i = 0; i < fieldNames.size() && index < 0; ++i) {
            if (lower(fieldNames[i]) == wanted)
                index = static_cast<int>(i);
        }
        if (index < 0)
            continue;
        std::set<std::string> seen;
        bool plain = true;
        OGR_L_ResetReading(layer);
        while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
            const std::string value = OGR_F_IsFieldSetAndNotNull(feature, index)
                                          ? OGR_F_GetFieldAsString(feature, index)
                                          : std::string();
            OGR_F_Destroy(feature);
            if (value.empty() || !seen.insert(value).second) {
                plain = false;
                break;
            }
        }
        if (plain && !seen.empty())
            return index;
    }
    return -1;
}

} // namespace

std::optional<ParcelLayer> ReadParcels(const std::string& path, const ParcelLayerOptions& options,
                                       const std::string& targetWkt, std::string& error) {
    InitialiseGdal();
    DatasetHandle dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset) {
        error = !Exists(path) ? "Die Datei der Schläge gibt es nicht."
                              : "Die Schlagebene lässt sich nicht öffnen (keine Vektordatei, die "
                                "GDAL lesen kann).";
        return std::nullopt;
    }
    OGRLayerH layer = options.layerName.empty()
                          ? GDALDatasetGetLayer(dataset.get(), 0)
                          : GDALDatasetGetLayerByName(dataset.get(), options.layerName.c_str());
    if (!layer) {
        error = options.layerName.empty()
                    ? "Die Datei enthält keine Ebene."
                    : "Die Datei enthält keine Ebene " + Quoted(options.layerName) + ".";
        return std::nullopt;
    }
    ParcelLayer result;
    result.layerName = OGR_L_GetName(layer);
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (int i = 0, n = OGR_FD_GetFieldCount(definition); i < n; ++i) {
        result.fieldNames.push_back(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(definition, i)));
    }
    int idIndex = -1;
    if (!options.idField.empty()) {
        idIndex = OGR_FD_GetFieldIndex(definition, options.idField.c_str());
        if (idIndex < 0) {
            error = "Die Ebene " + Quoted(result.layerName) + " hat kein Feld " +
                    Quoted(options.idField) + ".";
            return std::nullopt;
        }
    } else {
        idIndex = ObviousIdField(layer, result.fieldNames);
    }
    if (idIndex >= 0)
        result.idField = result.fieldNames[static_cast<std::size_t>(idIndex)];

    OGRSpatialReferenceH layerSrs = OGR_L_GetSpatialRef(layer);
    if (!layerSrs) {
        error =
            "Die Ebene " + Quoted(result.layerName) +
            " hat kein Koordinatensystem; ohne lässt sie sich nicht über das Höhenmodell legen.";
        return std::nullopt;
    }
    if (targetWkt.empty()) {
        error = "Das Höhenmodell hat kein Koordinatensystem; die Schläge lassen sich nicht darüber "
                "legen.";
        return std::nullopt;
    }
    {
        char* wkt = nullptr;
        const char* wktOptions[] = {"FORMAT=WKT2", nullptr};
        if (OSRExportToWktEx(layerSrs, &wkt, wktOptions) == OGRERR_NONE && wkt)
            result.wkt = wkt;
        CPLFree(wkt);
    }
    SpatialReferenceHandle source(OSRClone(layerSrs));
    SpatialReferenceHandle target(OSRNewSpatialReference(nullptr));
    if (OSRSetFromUserInput(static_cast<OGRSpatialReferenceH>(target.get()), targetWkt.c_str()) !=
        OGRERR_NONE) {
        error = "Das Koordinatensystem des Höhenmodells ist nicht lesbar.";
        return std::nullopt;
    }
    // x east, y north on both sides, whatever the authority's axis order says.
    OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(source.get()),
                              OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(static_cast<OGRSpatialReferenceH>(target.get()),
                              OAMS_TRADITIONAL_GIS_ORDER);
    std::unique_ptr<void, TransformDeleter> transform;
    if (!OSRIsSame(static_cast<OGRSpatialReferenceH>(source.get()),
                   static_cast<OGRSpatialReferenceH>(target.get()))) {
        transform.reset(
            OCTNewCoordinateTransformation(static_cast<OGRSpatialReferenceH>(source.get()),
                                           static_cast<OGRSpatialReferenceH>(target.get())));
        if (!transform) {
            error =
                "Die Koordinaten der Ebene lassen sich nicht in die des Höhenmodells umrechnen.";
            return std::nullopt;
        }
    }

    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        Parcel parcel;
        parcel.id = idIndex >= 0 ? OGR_F_GetFieldAsString(feature, idIndex)
                                 : std::to_string(static_cast<long long>(OGR_F_GetFID(feature)));
        for (int i = 0; i < static_cast<int>(result.fieldNames.size()); ++i) {
            parcel.attributes.emplace_back(
                result.fieldNames[static_cast<std::size_t>(i)],
                OGR_F_IsFieldSetAndNotNull(feature, i) ? OGR_F_GetFieldAsString(feature, i) : "");
        }
        OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
        std::string problem;
        if (!geometry || OGR_G_IsEmpty(geometry)) {
            problem = "hat keine Geometrie";
        } else {
            const int size = OGR_G_WkbSize(geometry);
            parcel.geometryWkb.resize(static_cast<std::size_t>(size));
            OGR_G_ExportToIsoWkb(geometry, wkbNDR,
                                 reinterpret_cast<unsigned char*>(parcel.geometryWkb.data()));
            // Curves become straight segments; only areas count.
            OGRGeometryH linear = OGR_G_GetLinearGeometry(geometry, 0, nullptr);
            const OGRwkbGeometryType type =
                linear ? wkbFlatten(OGR_G_GetGeometryType(linear)) : wkbUnknown;
            if (type != wkbPolygon && type != wkbMultiPolygon) {
                problem = "ist keine Fläche";
            } else if (transform &&
                       OGR_G_Transform(linear, static_cast<OGRCoordinateTransformationH>(
                                                   transform.get())) != OGRERR_NONE) {
                problem = "lässt sich nicht ins Koordinatensystem des Höhenmodells umrechnen";
            } else {
                AddRings(linear, parcel.shape);
            }
            if (linear)
                OGR_G_DestroyGeometry(linear);
        }
        OGR_F_Destroy(feature);
        if (!problem.empty()) {
            result.messages.push_back("Schlag " + Quoted(parcel.id) + " " + problem +
                                      " und wird übergangen.");
            continue;
        }
        result.parcels.push_back(std::move(parcel));
    }
    return result;
}

std::vector<std::string> LayerNames(const std::string& path) {
    InitialiseGdal();
    std::vector<std::string> names;
    DatasetHandle dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset)
        return names;
    for (int i = 0, n = GDALDatasetGetLayerCount(dataset.get()); i < n; ++i) {
        names.emplace_back(OGR_L_GetName(GDALDatasetGetLayer(dataset.get(), i)));
    }
    return names;
}

} // namespace brisolt::terrain
