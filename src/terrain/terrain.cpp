#include "terrain/terrain.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <map>
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
// On rasters finer than this (metres) the flow is traced on blocks of cells about this size, at
// their mean height: furrows and wheel tracks are not what the flow length paces, and the
// finest models would cost 16 times the time of 2 m cells for nothing a pacer could see.
constexpr double kFlowCell = 2;
// Heights outside these (metres) are not the country's: a value for missing heights that the
// raster does not declare, another unit, broken data.
constexpr double kLowestHeight = -500;
constexpr double kHighestHeight = 5000;
// No field is steeper (per cent); steeper cells are jumps in the data.
constexpr double kSteepestSlope = 100;
// A cell of exactly 0 m beside one at least this high (m) is a gap of a mosaic that has no
// value for missing heights.
constexpr double kGapJump = 10;
// The largest figure the key's integer fields take from us.
constexpr double kLargestWhole = 1e9;

// A number in a printf format with the caller's separator.
std::string Formatted(const char* format, double value, char separator) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, value);
    std::string text = buffer;
    for (char& c : text) {
        if (c == '.')
            c = separator;
    }
    return text;
}

// A number with one decimal: 63,2
std::string Decimal1(double value, char separator) {
    return Formatted("%.1f", value, separator);
}

// The cells a window takes, in raster columns and rows (may reach beyond the raster).
struct Window {
    double firstColumn = 0;
    double lastColumn = 0;
    double firstRow = 0;
    double lastRow = 0;
    double Cells() const { return (lastColumn - firstColumn + 1) * (lastRow - firstRow + 1); }
};

Window WindowFor(double minX, double minY, double maxX, double maxY, double originX, double originY,
                 double cw, double ch, int margin, int block) {
    auto down = [block](double cell) { return std::floor(cell / block) * block; };
    Window window;
    window.firstColumn = down(std::floor((minX - originX) / cw) - margin);
    window.lastColumn = down(std::floor((maxX - originX) / cw) + margin) + block - 1;
    window.firstRow = down(std::floor((originY - maxY) / ch) - margin);
    window.lastRow = down(std::floor((originY - minY) / ch) + margin) + block - 1;
    return window;
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

// Whether `text` is UTF-8 (shortest forms, no surrogates).
bool IsUtf8(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80           ? 1
                             : (c >> 5) == 0x6  ? 2
                             : (c >> 4) == 0xE  ? 3
                             : (c >> 3) == 0x1E ? 4
                                                : 0;
        if (length == 0 || i + length > text.size() || (length == 2 && c < 0xC2))
            return false;
        std::uint32_t code = length == 1 ? c : c & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
            (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
            return false;
        i += length;
    }
    return true;
}

bool InsideRing(const Ring& ring, Point p) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const Point& a = ring[i];
        const Point& b = ring[j];
        if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) {
            inside = !inside;
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

// A number as "%g" writes it: -3,40282e+38
std::string General(double value, char separator) {
    return Formatted("%g", value, separator);
}

// A figure for the key's integer fields: clamped, never wrapped; false when it had to be.
bool WholeNumber(double value, int& whole) {
    if (!(value >= 0 && value <= kLargestWhole)) {
        whole = value > 0 ? static_cast<int>(kLargestWhole) : 0;
        return false;
    }
    whole = static_cast<int>(std::lround(value));
    return true;
}

std::string GdalReason() {
    const char* message = CPLGetLastErrorMsg();
    return message != nullptr && *message != '\0' ? std::string(message)
                                                  : std::string("unbekannter Lesefehler");
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

constexpr const char* kNotAFile =
    " ist keine gewöhnliche Datei und kein Ordner (etwa eine benannte Pipe oder ein Gerät); "
    "GDAL bliebe beim Lesen daran hängen.";

// Why a raster holds no heights: it has several bands (a picture), or its values are bytes or
// complex numbers. Empty when it may hold heights.
std::string NoHeights(GDALDatasetH dataset) {
    const int bands = GDALGetRasterCount(dataset);
    if (bands < 1)
        return "sie enthält kein Band mit Höhen";
    // One band and its alpha band is a height model with a mask.
    const bool withAlpha = bands == 2 && GDALGetRasterColorInterpretation(
                                             GDALGetRasterBand(dataset, 2)) == GCI_AlphaBand;
    if (bands > 1 && !withAlpha) {
        return "sie hat " + std::to_string(bands) +
               " Bänder wie ein Bild oder Luftbild; ein Höhenmodell hat ein einziges Band mit "
               "Höhen (allenfalls mit einer Maske)";
    }
    const GDALDataType type = GDALGetRasterDataType(GDALGetRasterBand(dataset, 1));
    if (type == GDT_Byte) {
        return "ihre Werte sind Bytes (0 bis 255) wie die eines Bildes, keine Höhen in Metern";
    }
    if (GDALDataTypeIsComplex(type))
        return "ihre Werte sind komplexe Zahlen, keine Höhen";
    return {};
}

// The scale and offset that make a band's values heights.
void ScaleOf(GDALRasterBandH band, double& scale, double& offset) {
    int hasScale = 0, hasOffset = 0;
    scale = GDALGetRasterScale(band, &hasScale);
    offset = GDALGetRasterOffset(band, &hasOffset);
    if (!hasScale || scale == 0 || !std::isfinite(scale))
        scale = 1;
    if (!hasOffset || !std::isfinite(offset))
        offset = 0;
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

bool MayOpen(const std::string& path) {
    // The archive handlers read a file of the local file system; the others (/vsimem/,
    // /vsicurl/, ...) do not.
    static const char* const kArchives[] = {"/vsizip/", "/vsitar/", "/vsigzip/", "/vsi7z/",
                                            "/vsirar/"};
    std::string local = path;
    bool archive = false;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const char* prefix : kArchives) {
            if (local.starts_with(prefix)) {
                local.erase(0, std::char_traits<char>::length(prefix));
                stripped = archive = true;
            }
        }
        // "/vsizip/{/path/to/file.zip}/inside"
        if (archive && local.starts_with('{') && local.find('}') != std::string::npos) {
            local = local.substr(1, local.find('}') - 1);
            stripped = true;
        }
    }
    if (local.starts_with("/vsi"))
        return true;
    // An archive's name goes on with the path inside it: the file is the longest part that
    // is there.
    for (std::string part = local; !part.empty();) {
        VSIStatBufL status;
        if (VSIStatL(part.c_str(), &status) == 0)
            return VSI_ISREG(status.st_mode) || VSI_ISDIR(status.st_mode);
        if (!archive)
            return true;
        const std::size_t slash = part.find_last_of("/\\");
        if (slash == std::string::npos || slash == 0)
            break;
        part.resize(slash);
    }
    return true;
}

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
    // A ring inside an odd number of other rings is a hole. Only rings whose box holds the
    // first point of a ring can hold the ring: found through a grid of boxes, so that a
    // multipolygon of many parts costs in proportion to its parts.
    struct Box {
        double minX, minY, maxX, maxY;
    };
    const std::size_t n = shape.rings.size();
    std::vector<Box> boxes(n, Box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL});
    Box all{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t i = 0; i < n; ++i) {
        for (const Point& p : shape.rings[i]) {
            boxes[i] = {std::min(boxes[i].minX, p.x), std::min(boxes[i].minY, p.y),
                        std::max(boxes[i].maxX, p.x), std::max(boxes[i].maxY, p.y)};
        }
        if (shape.rings[i].size() >= 3) {
            all = {std::min(all.minX, boxes[i].minX), std::min(all.minY, boxes[i].minY),
                   std::max(all.maxX, boxes[i].maxX), std::max(all.maxY, boxes[i].maxY)};
        }
    }
    const int side = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(n))));
    const double cellX = std::max(all.maxX - all.minX, 1e-9) / side;
    const double cellY = std::max(all.maxY - all.minY, 1e-9) / side;
    const auto cellOf = [&](double v, double from, double size) {
        return std::clamp(static_cast<int>(std::floor((v - from) / size)), 0, side - 1);
    };
    std::vector<std::vector<std::size_t>> grid(static_cast<std::size_t>(side) * side);
    for (std::size_t j = 0; j < n; ++j) {
        if (shape.rings[j].size() < 3)
            continue;
        for (int r = cellOf(boxes[j].minY, all.minY, cellY);
             r <= cellOf(boxes[j].maxY, all.minY, cellY); ++r) {
            for (int c = cellOf(boxes[j].minX, all.minX, cellX);
                 c <= cellOf(boxes[j].maxX, all.minX, cellX); ++c)
                grid[static_cast<std::size_t>(r) * side + c].push_back(j);
        }
    }
    double area = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const Ring& ring = shape.rings[i];
        if (ring.size() < 3)
            continue;
        const Point p = ring[0];
        int depth = 0;
        for (const std::size_t j :
             grid[static_cast<std::size_t>(cellOf(p.y, all.minY, cellY)) * side +
                  cellOf(p.x, all.minX, cellX)]) {
            const Box& b = boxes[j];
            if (j != i && p.x >= b.minX && p.x <= b.maxX && p.y >= b.minY && p.y <= b.maxY &&
                InsideRing(shape.rings[j], p))
                ++depth;
        }
        const double a = std::fabs(SignedRingArea(ring));
        area += depth % 2 == 0 ? a : -a;
    }
    return std::max(area, 0.0);
}

ElevationModel::ElevationModel(const ElevationModel& other, void* dataset)
    : dataset_(dataset), path_(other.path_), fileCount_(other.fileCount_), wkt_(other.wkt_),
      width_(other.width_), height_(other.height_), originX_(other.originX_),
      originY_(other.originY_), cellWidth_(other.cellWidth_), cellHeight_(other.cellHeight_),
      mask_(other.mask_), noData_(other.noData_), scale_(other.scale_), offset_(other.offset_),
      mosaicXml_(other.mosaicXml_), tileCells_(other.tileCells_), files_(other.files_),
      separator_(other.separator_) {}

ElevationModel::~ElevationModel() {
    if (dataset_)
        GDALClose(static_cast<GDALDatasetH>(dataset_));
}

std::unique_ptr<ElevationModel> ElevationModel::Open(const std::string& path, std::string& error) {
    InitialiseGdal();
    if (!MayOpen(path)) {
        error = std::string("Das Höhenmodell") + kNotAFile;
        return nullptr;
    }
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
        if (!MayOpen(path)) {
            error = (paths.size() == 1 ? std::string("Das Höhenmodell")
                                       : "Die Kachel " + Quoted(path)) +
                    kNotAFile;
            return nullptr;
        }
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

    // Every tile opens, and all share the coordinate system, the cells and what their values
    // mean, so that the mosaic gives each cell's height as its own tile does, seams included.
    TileFrame first;
    double firstScale = 1, firstOffset = 0;
    std::vector<std::array<double, 4>> extents; // columns and rows of each tile
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
        if (const std::string why = NoHeights(dataset.get()); !why.empty()) {
            error = "Die Kachel " + Quoted(tile) + " ist kein Höhenmodell: " + why + ".";
            return nullptr;
        }
        double scale = 1, offset = 0;
        ScaleOf(GDALGetRasterBand(dataset.get(), 1), scale, offset);
        extents.push_back({grid.transform[0], grid.transform[3],
                           double(GDALGetRasterXSize(dataset.get())),
                           double(GDALGetRasterYSize(dataset.get()))});
        grid.tile = tile;
        if (OGRSpatialReferenceH srs = GDALGetSpatialRef(dataset.get()))
            grid.srs.reset(OSRClone(srs));
        if (first.tile.empty()) {
            first = std::move(grid);
            firstScale = scale;
            firstOffset = offset;
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
        if (scale != firstScale || offset != firstOffset) {
            error = "Die Kacheln speichern die Höhen verschieden (Faktor und Verschiebung)" + both;
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
    std::unique_ptr<ElevationModel> model =
        FromDataset(mosaic, paths.size() == 1 ? paths.front() : tiles.front(), tiles.size(), error);
    if (!model)
        return nullptr;
    // Between the tiles the mosaic has no heights, even where they have no value for that.
    double transform[6];
    GDALGetGeoTransform(mosaic, transform);
    for (const auto& [left, top, columns, rows] : extents) {
        const int c0 = static_cast<int>(std::lround((left - transform[0]) / transform[1]));
        const int r0 = static_cast<int>(std::lround((top - transform[3]) / transform[5]));
        model->tileCells_.push_back(
            {c0, r0, c0 + static_cast<int>(columns), r0 + static_cast<int>(rows)});
    }
    if (char** xml = GDALGetMetadata(mosaic, "xml:VRT"); xml != nullptr && xml[0] != nullptr)
        model->mosaicXml_ = xml[0];
    for (const std::string& tile : tiles) {
        if (std::find(model->files_.begin(), model->files_.end(), tile) == model->files_.end())
            model->files_.push_back(tile);
    }
    return model;
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
    if (const std::string why = NoHeights(dataset); !why.empty()) {
        error = "Die Datei ist kein Höhenmodell: " + why + ".";
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
    // Heights as GDAL means them: its mask of the band says which cells have none (a no-data
    // value, an alpha band, a mask of the dataset), scale and offset turn values into metres.
    GDALRasterBandH band = GDALGetRasterBand(dataset, 1);
    const int flags = GDALGetMaskFlags(band);
    if (GDALGetRasterCount(dataset) == 2) {
        // GDAL takes only a Byte or UInt16 alpha band as the mask; a GeoTIFF's alpha band has
        // the type of its heights, and 0 there means no height all the same.
        model->mask_ = Mask::Alpha;
    } else if (flags & GMF_ALL_VALID) {
        model->mask_ = Mask::None;
    } else if (flags & GMF_NODATA) {
        model->mask_ = Mask::NoData;
        const double noData = GDALGetRasterNoDataValue(band, nullptr);
        // Read as doubles, a Float32 band's values are its floats, not the declared double.
        model->noData_ = GDALGetRasterDataType(band) == GDT_Float32
                             ? static_cast<double>(static_cast<float>(noData))
                             : noData;
    } else {
        model->mask_ = Mask::Band;
    }
    ScaleOf(band, model->scale_, model->offset_);
    if (char** list = GDALGetFileList(dataset)) {
        for (char** name = list; *name != nullptr; ++name)
            model->files_.emplace_back(*name);
        CSLDestroy(list);
    }
    // A file GDAL reads only when it needs the cells (a VRT's source) must not block it either.
    for (const std::string& file : model->files_) {
        if (!MayOpen(file)) {
            error = "Die Datei " + Quoted(file) + ", die zum Höhenmodell gehört," +
                    std::string(kNotAFile).substr(4);
            return nullptr;
        }
    }
    return model;
}

std::unique_ptr<ElevationModel> ElevationModel::Reopen(std::string& error) const {
    const std::string& name = mosaicXml_.empty() ? path_ : mosaicXml_;
    GDALDatasetH dataset =
        GDALOpenEx(name.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY, nullptr, nullptr, nullptr);
    if (!dataset || GDALGetRasterXSize(dataset) != width_ ||
        GDALGetRasterYSize(dataset) != height_ || GDALGetRasterCount(dataset) < 1) {
        if (dataset)
            GDALClose(dataset);
        error = "Das Höhenmodell lässt sich nicht noch einmal öffnen.";
        return nullptr;
    }
    return std::unique_ptr<ElevationModel>(new ElevationModel(*this, dataset));
}

void ElevationModel::extent(double& minX, double& minY, double& maxX, double& maxY) const {
    minX = originX_;
    maxY = originY_;
    maxX = originX_ + width_ * cellWidth_;
    minY = originY_ - height_ * cellHeight_;
}

// Heights of a window that may reach beyond the raster; cells outside it or without data are NaN.
bool ElevationModel::ReadWindow(int x0, int y0, int columns, int rows, std::vector<double>& cells,
                                std::string& problem) const {
    cells.assign(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), kNaN);
    const int left = std::max(x0, 0);
    const int top = std::max(y0, 0);
    const int right = std::min(x0 + columns, width_);
    const int bottom = std::min(y0 + rows, height_);
    if (left >= right || top >= bottom)
        return true;
    const int readColumns = right - left;
    const int readRows = bottom - top;
    const std::size_t count =
        static_cast<std::size_t>(readColumns) * static_cast<std::size_t>(readRows);
    std::vector<double> part(count);
    GDALRasterBandH band = GDALGetRasterBand(static_cast<GDALDatasetH>(dataset_), 1);
    CPLErrorReset();
    if (GDALRasterIO(band, GF_Read, left, top, readColumns, readRows, part.data(), readColumns,
                     readRows, GDT_Float64, 0, 0) != CE_None) {
        problem = GdalReason();
        return false;
    }
    std::vector<unsigned char> valid;
    if (mask_ == Mask::Band || mask_ == Mask::Alpha) {
        valid.resize(count);
        if (GDALRasterIO(MaskBand(), GF_Read, left, top, readColumns, readRows, valid.data(),
                         readColumns, readRows, GDT_Byte, 0, 0) != CE_None) {
            problem = GdalReason();
            return false;
        }
    }
    if (!tileCells_.empty()) {
        std::vector<unsigned char> covered(count, 0);
        for (const auto& [c0, r0, c1, r1] : tileCells_) {
            for (int r = std::max(r0, top); r < std::min(r1, bottom); ++r) {
                for (int c = std::max(c0, left); c < std::min(c1, right); ++c)
                    covered[static_cast<std::size_t>(r - top) * readColumns + (c - left)] = 1;
            }
        }
        if (valid.empty())
            valid = std::move(covered);
        else
            for (std::size_t i = 0; i < count; ++i)
                valid[i] = valid[i] && covered[i];
    }
    for (int r = 0; r < readRows; ++r) {
        for (int c = 0; c < readColumns; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * readColumns + c;
            const double value = part[i];
            const bool missing =
                (mask_ == Mask::NoData && value == noData_) || (!valid.empty() && valid[i] == 0);
            cells[static_cast<std::size_t>(r + top - y0) * columns + (c + left - x0)] =
                missing ? kNaN : value * scale_ + offset_;
        }
    }
    return true;
}

// The window of cells a rectangle needs: every cell it touches plus `margin` cells on each side
// (the slope's and the flow's neighbours, the fitted surface's square), in whole blocks of
// `block` x `block` cells counted from the raster's corner. Heights outside the raster or
// without data are NaN.
bool ElevationModel::ReadGrid(double minX, double minY, double maxX, double maxY, int margin,
                              int block, method::Grid& grid, std::string& problem,
                              std::string& readError) const {
    const double cw = cellWidth_;
    const double ch = cellHeight_;
    const Window window =
        WindowFor(minX, minY, maxX, maxY, originX_, originY_, cw, ch, margin, block);
    if (!(window.Cells() <= kMaxWindowCells) || std::fabs(window.firstColumn) > 1e9 ||
        std::fabs(window.firstRow) > 1e9) {
        problem = "Der Schlag ist für dieses Höhenmodell zu gross.";
        return false;
    }
    const int x0 = static_cast<int>(window.firstColumn);
    const int y0 = static_cast<int>(window.firstRow);
    grid.columns = static_cast<int>(window.lastColumn - window.firstColumn) + 1;
    grid.rows = static_cast<int>(window.lastRow - window.firstRow) + 1;
    grid.cellWidth = cw;
    grid.cellHeight = ch;
    grid.originX = originX_ + x0 * cw;
    grid.originY = originY_ - y0 * ch;
    grid.firstColumn = x0;
    grid.firstRow = y0;
    if (!ReadWindow(x0, y0, grid.columns, grid.rows, grid.z, readError)) {
        problem = "Das Höhenmodell lässt sich an dieser Stelle nicht lesen.";
        return false;
    }
    return true;
}

void ElevationModel::WindowBounds(const Shape& parcel, double& minX, double& minY, double& maxX,
                                  double& maxY) const {
    minX = minY = std::numeric_limits<double>::max();
    maxX = maxY = std::numeric_limits<double>::lowest();
    for (const Ring& ring : parcel.rings) {
        for (const Point& p : ring) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
    }
}

double ElevationModel::WindowCells(const Shape& parcel) const {
    double minX, minY, maxX, maxY;
    WindowBounds(parcel, minX, minY, maxX, maxY);
    if (!(minX < maxX) || !(minY < maxY))
        return 0;
    const double cells = WindowFor(minX, minY, maxX, maxY, originX_, originY_, cellWidth_,
                                   cellHeight_, WindowMargin(), FlowBlock())
                             .Cells();
    return std::isfinite(cells) ? cells : kMaxWindowCells * 2;
}

bool ElevationModel::Overlaps(const Shape& parcel) const {
    double minX, minY, maxX, maxY, left, bottom, right, top;
    WindowBounds(parcel, minX, minY, maxX, maxY);
    extent(left, bottom, right, top);
    return minX < right && maxX > left && minY < top && maxY > bottom;
}

void* ElevationModel::MaskBand() const {
    GDALDatasetH dataset = static_cast<GDALDatasetH>(dataset_);
    return mask_ == Mask::Alpha ? GDALGetRasterBand(dataset, 2)
                                : GDALGetMaskBand(GDALGetRasterBand(dataset, 1));
}

double ElevationModel::NoDataHeight() const {
    return mask_ == Mask::NoData ? noData_ * scale_ + offset_ : kNaN;
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
// `said`: cells without height whose reason is already given.
bool CheckCoverage(const method::Grid& grid, const method::Mask& inside, int rasterColumns,
                   int rasterRows, std::size_t said, char separator, ParcelTerrain& result,
                   bool& trusted) {
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
    const bool someHeight = noDataCells < coveredCells;
    noDataCells -= std::min(said, noDataCells);
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
    return someHeight;
}

// Heights that cannot be the land's: outside the country's heights (a value for missing heights
// the raster does not declare, another unit, broken data: withheld), cells of exactly 0 m
// beside real heights (a mosaic's gap without such a value: no height), and a declared value
// for missing heights that lies among the real ones (real heights taken for missing:
// withheld). Returns the parcel's cells that lost their height for a reason said here.
// `noDataHeight`: the height the declared value for missing ones stands for; NaN for none.
std::size_t ScreenHeights(method::Grid& grid, const method::Mask& inside, double noDataHeight,
                          char separator, ParcelTerrain& result, bool& trusted) {
    std::size_t implausible = 0;
    double extreme = 0;
    for (std::size_t k = 0; k < grid.Count(); ++k) {
        double& z = grid.z[k];
        if (std::isnan(z) || (z >= kLowestHeight && z <= kHighestHeight))
            continue;
        if (inside[k]) {
            ++implausible;
            extreme = std::fabs(z) > std::fabs(extreme) ? z : extreme;
        }
        z = kNaN;
    }
    if (implausible > 0) {
        result.messages.push_back(
            std::to_string(implausible) + " Zellen im Schlag haben Höhen ausserhalb von " +
            General(kLowestHeight, separator) + " bis " + General(kHighestHeight, separator) +
            " m (bis " + General(extreme, separator) +
            " m): ein Wert für fehlende Höhen, den das Höhenmodell nicht angibt, eine andere "
            "Einheit oder beschädigte Daten; Gefälle und Fliessstrecke wären falsch.");
        trusted = false;
    }

    const int columns = grid.columns;
    bool gap = false;
    for (int r = 0; r < grid.rows && !gap; ++r) {
        for (int c = 0; c < columns && !gap; ++c) {
            if (grid.z[static_cast<std::size_t>(r) * columns + c] != 0)
                continue;
            for (int d = 0; d < 4 && !gap; ++d) {
                const int nc = c + method::kDx[d], nr = r + method::kDy[d];
                gap = nc >= 0 && nc < columns && nr >= 0 && nr < grid.rows &&
                      std::fabs(grid.z[static_cast<std::size_t>(nr) * columns + nc]) >= kGapJump;
            }
        }
    }
    std::size_t zeros = 0;
    if (gap) {
        for (std::size_t k = 0; k < grid.Count(); ++k) {
            if (grid.z[k] == 0) {
                zeros += inside[k] ? 1 : 0;
                grid.z[k] = kNaN;
            }
        }
    }
    if (zeros > 0) {
        result.messages.push_back(
            std::to_string(zeros) +
            " Zellen im Schlag haben die Höhe 0 m, wo ringsum echte Höhen liegen: eine Lücke "
            "zwischen Kacheln, für die das Höhenmodell keinen Wert für fehlende Höhen angibt. "
            "Sie zählen als Zellen ohne Höhe.");
    }

    if (noDataHeight >= kLowestHeight && noDataHeight <= kHighestHeight) {
        double lowest = HUGE_VAL, highest = -HUGE_VAL;
        std::size_t missing = 0;
        for (std::size_t k = 0; k < grid.Count(); ++k) {
            if (!std::isnan(grid.z[k])) {
                lowest = std::min(lowest, grid.z[k]);
                highest = std::max(highest, grid.z[k]);
            }
        }
        for (std::size_t k = 0; k < grid.Count(); ++k)
            missing += inside[k] && std::isnan(grid.z[k]) ? 1 : 0;
        if (missing > zeros && lowest <= noDataHeight && noDataHeight <= highest) {
            result.messages.push_back(
                std::to_string(missing - zeros) +
                " Zellen im Schlag haben keine Höhe, doch der Wert für fehlende Höhen (" +
                General(noDataHeight, separator) + " m) liegt zwischen den Höhen ringsum (" +
                Decimal1(lowest, separator) + " bis " + Decimal1(highest, separator) +
                " m): wohl sind es echte Höhen; Gefälle und Fliessstrecke wären falsch.");
            trusted = false;
            return implausible + (missing - zeros);
        }
    }
    return implausible;
}

// Slope: Horn's gradient on the shrunk parcel, its mean and percentiles.
void MeasureGradient(const method::Grid& grid, const method::Mask& core, char separator,
                     ParcelTerrain& result, bool& trusted) {
    const std::vector<double> horn = method::HornSlopes(grid, core);
    std::vector<double> slopes;
    std::size_t steep = 0;
    double steepest = 0;
    for (std::size_t k = 0; k < horn.size(); ++k) {
        if (core[k] && !std::isnan(horn[k])) {
            slopes.push_back(horn[k]);
            steep += horn[k] > kSteepestSlope ? 1 : 0;
            steepest = std::max(steepest, horn[k]);
        }
    }
    result.cellsUsed = slopes.size();
    if (slopes.size() < kMinSlopeCells) {
        result.messages.push_back("Der Schlag ist zu klein für dieses Höhenmodell: nur " +
                                  std::to_string(slopes.size()) + " Zellen im Innern (mindestens " +
                                  std::to_string(kMinSlopeCells) + ").");
        trusted = false;
    }
    if (steep > 0) {
        result.messages.push_back(
            std::to_string(steep) + " Zellen im Schlag sind steiler als " +
            General(kSteepestSlope, separator) + " % (bis " + Decimal1(steepest, separator) +
            " %): so steil ist kein Acker, das Höhenmodell hat hier Sprünge; Gefälle und "
            "Fliessstrecke wären falsch.");
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
    if (!WholeNumber(result.slopeMean, result.gradient))
        trusted = false;
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

    double minX, minY, maxX, maxY;
    WindowBounds(parcel, minX, minY, maxX, maxY);
    if (result.areaM2 <= 0 || !(minX < maxX) || !(minY < maxY)) {
        result.messages.push_back("Der Schlag hat keine Fläche.");
        return result;
    }

    // Read the window.
    method::Grid grid;
    std::string problem;
    const int block = FlowBlock();
    if (!ReadGrid(minX, minY, maxX, maxY, WindowMargin(), block, grid, problem, result.readError)) {
        result.messages.push_back(problem);
        return result;
    }

    // Mask.
    const method::Mask inside = method::CellsInside(grid, parcel);
    bool trusted = true;
    const std::size_t said =
        ScreenHeights(grid, inside, NoDataHeight(), separator_, result, trusted);
    if (!CheckCoverage(grid, inside, width_, height_, said, separator_, result, trusted))
        return result;

    // Slope.
    MeasureGradient(grid, method::ShrinkByOneCell(grid, parcel, inside), separator_, result,
                    trusted);
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
    if (!WholeNumber(result.flowLengthM, result.flowLength))
        trusted = false;
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
    std::string readError;
    if (!(minX < maxX) || !(minY < maxY) ||
        !ReadGrid(minX, minY, maxX, maxY, WindowMargin(), block, grid, problem, readError)) {
        return lines;
    }
    {
        // Heights that are not the land's count as none here too.
        ParcelTerrain unused;
        bool trusted = true;
        ScreenHeights(grid, method::Mask(grid.Count(), 0), NoDataHeight(), separator_, unused,
                      trusted);
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

// Heights of the buffer pixels (px x py metres each, the first one's corner at left, top),
// resampled from the raster; NaN where it has none.
void ElevationModel::HillshadePart(double left, double top, double px, double py, int bufferColumns,
                                   int bufferRows, std::vector<double>& z) const {
    z.assign(static_cast<std::size_t>(bufferColumns) * bufferRows, kNaN);
    // The part of the buffer the raster covers, in raster pixels (fractional) and buffer pixels.
    const double sourceLeft = std::max((left - originX_) / cellWidth_, 0.0);
    const double sourceTop = std::max((originY_ - top) / cellHeight_, 0.0);
    const double sourceRight =
        std::min((left + bufferColumns * px - originX_) / cellWidth_, double(width_));
    const double sourceBottom =
        std::min((originY_ - (top - bufferRows * py)) / cellHeight_, double(height_));
    if (!(sourceLeft < sourceRight && sourceTop < sourceBottom))
        return;
    const int b0 = static_cast<int>(std::lround((originX_ + sourceLeft * cellWidth_ - left) / px));
    const int b1 = static_cast<int>(std::lround((originX_ + sourceRight * cellWidth_ - left) / px));
    const int t0 = static_cast<int>(std::lround((top - (originY_ - sourceTop * cellHeight_)) / py));
    const int t1 =
        static_cast<int>(std::lround((top - (originY_ - sourceBottom * cellHeight_)) / py));
    const int partColumns = std::min(b1, bufferColumns) - std::max(b0, 0);
    const int partRows = std::min(t1, bufferRows) - std::max(t0, 0);
    if (partColumns <= 0 || partRows <= 0)
        return;
    const std::size_t count = static_cast<std::size_t>(partColumns) * partRows;
    std::vector<double> part(count);
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
    if (GDALRasterIOEx(band, GF_Read, xOff, yOff, xSize, ySize, part.data(), partColumns, partRows,
                       GDT_Float64, 0, 0, &extra) != CE_None) {
        return;
    }
    // Which pixels have a height: the mask as resampled by the nearest cell.
    std::vector<unsigned char> valid;
    if (mask_ == Mask::Band || mask_ == Mask::Alpha) {
        GDALRasterIOExtraArg nearest = extra;
        nearest.eResampleAlg = GRIORA_NearestNeighbour;
        valid.resize(count);
        if (GDALRasterIOEx(MaskBand(), GF_Read, xOff, yOff, xSize, ySize, valid.data(), partColumns,
                           partRows, GDT_Byte, 0, 0, &nearest) != CE_None) {
            return;
        }
    }
    for (int r = 0; r < partRows; ++r) {
        const int bufferRow = r + std::max(t0, 0);
        const double y = top - (bufferRow + 0.5) * py;
        const int row = static_cast<int>(std::floor((originY_ - y) / cellHeight_));
        for (int c = 0; c < partColumns; ++c) {
            const int bufferColumn = c + std::max(b0, 0);
            const std::size_t i = static_cast<std::size_t>(r) * partColumns + c;
            bool missing =
                (mask_ == Mask::NoData && part[i] == noData_) || (!valid.empty() && valid[i] == 0);
            if (!missing && !tileCells_.empty()) {
                const double x = left + (bufferColumn + 0.5) * px;
                const int column = static_cast<int>(std::floor((x - originX_) / cellWidth_));
                missing = std::none_of(tileCells_.begin(), tileCells_.end(), [&](const auto& t) {
                    return column >= t[0] && column < t[2] && row >= t[1] && row < t[3];
                });
            }
            const double height = part[i] * scale_ + offset_;
            z[static_cast<std::size_t>(bufferRow) * bufferColumns + bufferColumn] =
                missing || !(height >= kLowestHeight && height <= kHighestHeight) ? kNaN : height;
        }
    }
}

std::vector<unsigned char>
ElevationModel::Hillshade(double minX, double minY, double maxX, double maxY, int columns, int rows,
                          const std::vector<std::array<double, 4>>* only) const {
    std::vector<unsigned char> image(
        static_cast<std::size_t>(std::max(columns, 0)) * std::max(rows, 0), 255);
    if (columns <= 0 || rows <= 0 || !(minX < maxX) || !(minY < maxY))
        return image;
    const double px = (maxX - minX) / columns;
    const double py = (maxY - minY) / rows;
    // Sun from the north-west (azimuth 315 degrees), 45 degrees above the horizon.
    const double azimuth = 315 * std::numbers::pi / 180, altitude = 45 * std::numbers::pi / 180;
    const double lightEast = std::cos(altitude) * std::sin(azimuth);
    const double lightNorth = std::cos(altitude) * std::cos(azimuth);
    const double lightUp = std::sin(altitude);
    // Pixels c0..c1 x r0..r1 (exclusive), read with one pixel more on every side so that the
    // border pixels have neighbours.
    std::vector<double> z;
    const auto shade = [&](int c0, int r0, int c1, int r1) {
        const int bufferColumns = c1 - c0 + 2;
        HillshadePart(minX + (c0 - 1) * px, maxY - (r0 - 1) * py, px, py, bufferColumns,
                      r1 - r0 + 2, z);
        for (int r = r0; r < r1; ++r) {
            for (int c = c0; c < c1; ++c) {
                auto at = [&](int dc, int dr) {
                    return z[static_cast<std::size_t>(r - r0 + 1 + dr) * bufferColumns +
                             (c - c0 + 1 + dc)];
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
    };
    if (only == nullptr) {
        shade(0, 0, columns, rows);
        return image;
    }
    // Blocks of pixels near the boxes, each read once however many boxes it serves.
    constexpr int kBlock = 16;
    const int blockColumns = (columns + kBlock - 1) / kBlock;
    const int blockRows = (rows + kBlock - 1) / kBlock;
    std::vector<unsigned char> wanted(static_cast<std::size_t>(blockColumns) * blockRows, 0);
    for (const auto& [x0, y0, x1, y1] : *only) {
        const auto block = [](double pixel, int blocks) {
            return std::clamp(static_cast<int>(std::floor(pixel / kBlock)), 0, blocks - 1);
        };
        if (!(x0 <= maxX && x1 >= minX && y0 <= maxY && y1 >= minY))
            continue;
        const int bc0 = block((x0 - minX) / px - 1, blockColumns);
        const int bc1 = block((x1 - minX) / px + 1, blockColumns);
        const int br0 = block((maxY - y1) / py - 1, blockRows);
        const int br1 = block((maxY - y0) / py + 1, blockRows);
        for (int br = br0; br <= br1; ++br) {
            for (int bc = bc0; bc <= bc1; ++bc)
                wanted[static_cast<std::size_t>(br) * blockColumns + bc] = 1;
        }
    }
    for (int br = 0; br < blockRows; ++br) {
        for (int bc = 0; bc < blockColumns; ++bc) {
            if (wanted[static_cast<std::size_t>(br) * blockColumns + bc]) {
                shade(bc * kBlock, br * kBlock, std::min(columns, (bc + 1) * kBlock),
                      std::min(rows, (br + 1) * kBlock));
            }
        }
    }
    return image;
}

double ElevationModel::HillshadeCells(double minX, double minY, double maxX, double maxY,
                                      int columns, int rows) const {
    double left, bottom, right, top;
    extent(left, bottom, right, top);
    const double width = std::max(0.0, std::min(maxX, right) - std::max(minX, left));
    const double height = std::max(0.0, std::min(maxY, top) - std::max(minY, bottom));
    if (columns <= 0 || rows <= 0 || !(maxX > minX) || !(maxY > minY))
        return 0;
    // GDAL reads the overview with the coarsest cells still finer than the pixels.
    const double wanted =
        std::min((maxX - minX) / columns / cellWidth_, (maxY - minY) / rows / cellHeight_);
    double factor = 1;
    GDALRasterBandH band = GDALGetRasterBand(static_cast<GDALDatasetH>(dataset_), 1);
    for (int i = 0, n = GDALGetOverviewCount(band); i < n; ++i) {
        GDALRasterBandH overview = GDALGetOverview(band, i);
        const int overviewColumns = overview ? GDALGetRasterBandXSize(overview) : 0;
        if (overviewColumns <= 0)
            continue;
        const double f = static_cast<double>(width_) / overviewColumns;
        if (f <= wanted * 1.2 && f > factor)
            factor = f;
    }
    return width / cellWidth_ * (height / cellHeight_) / (factor * factor);
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
    if (!MayOpen(path)) {
        error = std::string("Die Schlagebene") + kNotAFile;
        return std::nullopt;
    }
    CPLErrorReset();
    DatasetHandle dataset(
        GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr, nullptr));
    if (!dataset) {
        const std::string reason = CPLGetLastErrorMsg();
        if (reason.find("locked") != std::string::npos) {
            // SQLite's "database is locked": a GeoPackage another program is writing.
            error = "Die Schlagebene ist in Gebrauch: ein anderes Programm (etwa ein GIS, das sie "
                    "bearbeitet) hält die Datei gesperrt. Dort schliessen oder speichern und noch "
                    "einmal versuchen.";
        } else {
            error = !Exists(path) ? "Die Datei der Schläge gibt es nicht."
                                  : "Die Schlagebene lässt sich nicht öffnen (keine Vektordatei, "
                                    "die GDAL lesen kann).";
        }
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
    if (char** list = GDALGetFileList(dataset.get())) {
        for (char** name = list; *name != nullptr; ++name)
            result.files.emplace_back(*name);
        CSLDestroy(list);
    }
    // Texts that are not UTF-8 come from a Shapefile without .cpg: Swiss ones are Windows-1252.
    const bool namedEncoding =
        std::any_of(result.files.begin(), result.files.end(), [](const std::string& file) {
            return file.size() > 4 && (file.ends_with(".cpg") || file.ends_with(".CPG"));
        });
    bool recoded = false;
    const auto text = [&](const char* raw) {
        std::string value = raw != nullptr ? raw : "";
        if (namedEncoding || IsUtf8(value))
            return value;
        recoded = true;
        char* utf8 = CPLRecode(value.c_str(), "CP1252", CPL_ENC_UTF8);
        value = utf8 != nullptr ? utf8 : value;
        CPLFree(utf8);
        return value;
    };
    result.layerName = text(OGR_L_GetName(layer));
    OGRFeatureDefnH definition = OGR_L_GetLayerDefn(layer);
    for (int i = 0, n = OGR_FD_GetFieldCount(definition); i < n; ++i) {
        result.fieldNames.push_back(text(OGR_Fld_GetNameRef(OGR_FD_GetFieldDefn(definition, i))));
    }
    int idIndex = -1;
    if (!options.idField.empty()) {
        const auto found =
            std::find(result.fieldNames.begin(), result.fieldNames.end(), options.idField);
        idIndex = found != result.fieldNames.end()
                      ? static_cast<int>(found - result.fieldNames.begin())
                      : OGR_FD_GetFieldIndex(definition, options.idField.c_str());
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

    // Ids of the chosen field that repeat or are missing: the rows stay, but are told apart
    // only by their order.
    std::map<std::string, int> idCount;
    std::vector<std::string> withoutId;
    OGR_L_ResetReading(layer);
    while (OGRFeatureH feature = OGR_L_GetNextFeature(layer)) {
        Parcel parcel;
        const std::string fid = std::to_string(static_cast<long long>(OGR_F_GetFID(feature)));
        if (idIndex < 0) {
            parcel.id = fid;
        } else if (OGR_F_IsFieldSetAndNotNull(feature, idIndex)) {
            parcel.id = text(OGR_F_GetFieldAsString(feature, idIndex));
        }
        if (idIndex >= 0 && parcel.id.empty())
            withoutId.push_back(fid);
        else if (idIndex >= 0)
            ++idCount[parcel.id];
        for (int i = 0; i < static_cast<int>(result.fieldNames.size()); ++i) {
            parcel.attributes.emplace_back(result.fieldNames[static_cast<std::size_t>(i)],
                                           OGR_F_IsFieldSetAndNotNull(feature, i)
                                               ? text(OGR_F_GetFieldAsString(feature, i))
                                               : std::string());
        }
        OGRGeometryH geometry = OGR_F_GetGeometryRef(feature);
        std::string problem;
        if (!geometry || OGR_G_IsEmpty(geometry)) {
            problem = "hat keine Geometrie";
            parcel.area = false;
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
                parcel.area = false;
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
        if (!problem.empty() && options.keepFeaturesWithoutArea) {
            parcel.problem = "Der Schlag " + problem + ".";
        } else if (!problem.empty()) {
            result.messages.push_back("Schlag " + Quoted(parcel.id) + " " + problem +
                                      " und wird übergangen.");
            continue;
        }
        result.parcels.push_back(std::move(parcel));
    }
    std::vector<std::string> repeated;
    for (const auto& [id, count] : idCount) {
        if (count > 1)
            repeated.push_back(Quoted(id) + " (" + std::to_string(count) + "-mal)");
    }
    if (!repeated.empty() || !withoutId.empty()) {
        const auto listed = [](const std::vector<std::string>& items) {
            constexpr std::size_t kShown = 10;
            std::string list;
            for (std::size_t i = 0; i < std::min(items.size(), kShown); ++i)
                list += (i > 0 ? ", " : "") + items[i];
            if (items.size() > kShown)
                list += " und " + std::to_string(items.size() - kShown) + " weitere";
            return list;
        };
        std::string message = "Das Feld " + Quoted(result.idField) + " ";
        if (!repeated.empty())
            message += "hat mehrfach dieselbe Id: " + listed(repeated);
        if (!repeated.empty() && !withoutId.empty())
            message += "; es ";
        if (!withoutId.empty()) {
            message += withoutId.size() == 1
                           ? "ist leer bei einem Schlag (Objekt " + listed(withoutId) + ")"
                           : "ist leer bei " + std::to_string(withoutId.size()) +
                                 " Schlägen (Objekte " + listed(withoutId) + ")";
        }
        result.messages.push_back(
            message + ". Ihre Zeilen bleiben, lassen sich aber nur über ihre Reihenfolge "
                      "zuordnen.");
    }
    if (recoded) {
        result.messages.push_back(
            "Die Texte der Ebene sind nicht in UTF-8, und keine .cpg-Datei nennt ihre Kodierung: "
            "sie werden als Windows-1252 (Latin-1) gelesen.");
    }
    return result;
}

std::vector<std::string> LayerNames(const std::string& path) {
    InitialiseGdal();
    std::vector<std::string> names;
    if (!MayOpen(path))
        return names;
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
