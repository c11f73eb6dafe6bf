#include "terrain/terrain.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <mutex>
#include <numbers>
#include <queue>

#include <cpl_conv.h>
#include <cpl_error.h>
#include <cpl_vsi.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

namespace brisolt::terrain {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kMinusInfinity = -std::numeric_limits<double>::infinity();
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

double SegmentDistanceSquared(Point p, Point a, Point b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((p.x - a.x) * dx + (p.y - a.y) * dy) / length2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - p.x;
    const double ey = a.y + t * dy - p.y;
    return ex * ex + ey * ey;
}

double Percentile(const std::vector<double>& sorted, double p) {
    if (sorted.empty())
        return kNaN;
    const double rank = p * static_cast<double>(sorted.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(rank));
    const std::size_t upper = std::min(lower + 1, sorted.size() - 1);
    return sorted[lower] + (rank - static_cast<double>(lower)) * (sorted[upper] - sorted[lower]);
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

// The eight neighbours: four sides first, then the corners.
constexpr int kDx[8] = {1, 0, -1, 0, 1, -1, -1, 1};
constexpr int kDy[8] = {0, 1, 0, -1, 1, 1, -1, -1};

} // namespace

void InitialiseGdal() {
    static std::once_flag once;
    std::call_once(once, [] {
        GDALAllRegister();
        CPLSetErrorHandler(CPLQuietErrorHandler);
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
    std::unique_ptr<ElevationModel> model(new ElevationModel);
    model->dataset_ = dataset;
    model->path_ = path;
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

ParcelTerrain ElevationModel::Analyse(const Shape& parcel) const {
    ParcelTerrain result;
    result.areaM2 = Area(parcel);

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

    // The window: every cell the parcel touches, plus two for the slope's and the flow's
    // neighbours.
    const double cw = cellWidth_;
    const double ch = cellHeight_;
    const double firstColumn = std::floor((minX - originX_) / cw) - 2;
    const double lastColumn = std::floor((maxX - originX_) / cw) + 2;
    const double firstRow = std::floor((originY_ - maxY) / ch) - 2;
    const double lastRow = std::floor((originY_ - minY) / ch) + 2;
    const double windowCells = (lastColumn - firstColumn + 1) * (lastRow - firstRow + 1);
    if (!(windowCells <= kMaxWindowCells) || std::fabs(firstColumn) > 1e9 ||
        std::fabs(firstRow) > 1e9) {
        result.messages.push_back("Der Schlag ist für dieses Höhenmodell zu gross.");
        return result;
    }
    const int x0 = static_cast<int>(firstColumn);
    const int y0 = static_cast<int>(firstRow);
    const int columns = static_cast<int>(lastColumn - firstColumn) + 1;
    const int rows = static_cast<int>(lastRow - firstRow) + 1;
    const std::size_t count = static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    std::vector<double> z;
    if (!ReadWindow(x0, y0, columns, rows, z)) {
        result.messages.push_back("Das Höhenmodell lässt sich an dieser Stelle nicht lesen.");
        return result;
    }
    auto centre = [&](int c, int r) {
        return Point{originX_ + (x0 + c + 0.5) * cw, originY_ - (y0 + r + 0.5) * ch};
    };
    auto onRaster = [&](int c, int r) {
        return x0 + c >= 0 && x0 + c < width_ && y0 + r >= 0 && y0 + r < height_;
    };

    // Cells whose centre lies inside, row by row from the crossings of the centre line.
    std::vector<unsigned char> inside(count, 0);
    std::vector<double> crossings;
    for (int r = 0; r < rows; ++r) {
        const double y = centre(0, r).y;
        crossings.clear();
        for (const Ring& ring : parcel.rings) {
            for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
                const Point& a = ring[i];
                const Point& b = ring[j];
                if ((a.y > y) != (b.y > y))
                    crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Centres strictly between the two crossings.
            const int from =
                std::max(0, static_cast<int>(std::ceil((crossings[k] - originX_) / cw - 0.5)) - x0);
            const int to = std::min(
                columns - 1,
                static_cast<int>(std::floor((crossings[k + 1] - originX_) / cw - 0.5)) - x0);
            for (int c = from; c <= to; ++c)
                inside[static_cast<std::size_t>(r) * columns + c] = 1;
        }
    }

    std::size_t parcelCells = 0, coveredCells = 0, noDataCells = 0;
    double lowest = std::numeric_limits<double>::max(),
           highest = std::numeric_limits<double>::lowest();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * columns + c;
            if (!inside[i])
                continue;
            ++parcelCells;
            if (!onRaster(c, r))
                continue;
            ++coveredCells;
            if (std::isnan(z[i])) {
                ++noDataCells;
            } else {
                lowest = std::min(lowest, z[i]);
                highest = std::max(highest, z[i]);
            }
        }
    }
    if (parcelCells == 0) {
        result.messages.push_back("Der Schlag ist kleiner als eine Zelle des Höhenmodells.");
        return result;
    }
    result.coveredShare = static_cast<double>(coveredCells) / static_cast<double>(parcelCells);
    if (coveredCells == 0) {
        result.messages.push_back("Das Höhenmodell deckt den Schlag nicht ab.");
        return result;
    }
    bool trusted = true;
    if (coveredCells < parcelCells) {
        std::string message = "Das Höhenmodell deckt nur " +
                              Decimal1(100 * result.coveredShare, separator_) + " % des Schlags ab";
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
                              Decimal1(100 * share, separator_) + " %)";
        if (share > kMaxNoDataShare) {
            message += "; das ist zu viel für Gefälle und Fliessstrecke.";
            trusted = false;
        } else {
            message += "; sie zählen nicht mit.";
        }
        result.messages.push_back(message);
    }
    if (noDataCells == coveredCells)
        return result;

    // The parcel shrunk by one cell width: centres at least that far from every edge.
    std::vector<unsigned char> core = inside;
    const double margin = cw;
    for (const Ring& ring : parcel.rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point a = ring[j];
            const Point b = ring[i];
            const int r0 = std::max(
                0,
                static_cast<int>(std::floor((originY_ - std::max(a.y, b.y) - margin) / ch)) - y0);
            const int r1 = std::min(
                rows - 1,
                static_cast<int>(std::floor((originY_ - std::min(a.y, b.y) + margin) / ch)) - y0);
            for (int r = r0; r <= r1; ++r) {
                // Only the band of the edge that lies within the margin of this row's centres.
                const double y = centre(0, r).y;
                double xFrom = std::min(a.x, b.x), xTo = std::max(a.x, b.x);
                if (a.y != b.y) {
                    double t0 = (y - margin - a.y) / (b.y - a.y);
                    double t1 = (y + margin - a.y) / (b.y - a.y);
                    if (t0 > t1)
                        std::swap(t0, t1);
                    t0 = std::max(t0, 0.0);
                    t1 = std::min(t1, 1.0);
                    if (t0 > t1)
                        continue;
                    xFrom = std::min(a.x + t0 * (b.x - a.x), a.x + t1 * (b.x - a.x));
                    xTo = std::max(a.x + t0 * (b.x - a.x), a.x + t1 * (b.x - a.x));
                }
                const int c0 = std::max(
                    0, static_cast<int>(std::floor((xFrom - margin - originX_) / cw)) - x0);
                const int c1 = std::min(
                    columns - 1, static_cast<int>(std::floor((xTo + margin - originX_) / cw)) - x0);
                for (int c = c0; c <= c1; ++c) {
                    const std::size_t k = static_cast<std::size_t>(r) * columns + c;
                    if (core[k] && SegmentDistanceSquared(centre(c, r), a, b) < margin * margin)
                        core[k] = 0;
                }
            }
        }
    }

    // Horn's slope, as gdaldem computes it.
    std::vector<double> slopes;
    for (int r = 1; r + 1 < rows; ++r) {
        for (int c = 1; c + 1 < columns; ++c) {
            const std::size_t k = static_cast<std::size_t>(r) * columns + c;
            if (!core[k])
                continue;
            auto at = [&](int dc, int dr) {
                return z[static_cast<std::size_t>(r + dr) * columns + (c + dc)];
            };
            const double a = at(-1, -1), b = at(0, -1), cc = at(1, -1);
            const double d = at(-1, 0), e = at(0, 0), f = at(1, 0);
            const double g = at(-1, 1), h = at(0, 1), i = at(1, 1);
            if (std::isnan(a + b + cc + d + e + f + g + h + i))
                continue;
            const double dzdx = ((cc + 2 * f + i) - (a + 2 * d + g)) / (8 * cw);
            const double dzdy = ((g + 2 * h + i) - (a + 2 * b + cc)) / (8 * ch);
            slopes.push_back(100 * std::sqrt(dzdx * dzdx + dzdy * dzdy));
        }
    }
    result.cellsUsed = slopes.size();
    if (slopes.size() < kMinSlopeCells) {
        result.messages.push_back("Der Schlag ist zu klein für dieses Höhenmodell: nur " +
                                  std::to_string(slopes.size()) + " Zellen im Innern (mindestens " +
                                  std::to_string(kMinSlopeCells) + ").");
        trusted = false;
    }
    if (!slopes.empty()) {
        double sum = 0;
        for (double s : slopes)
            sum += s;
        result.slopeMean = sum / static_cast<double>(slopes.size());
        std::sort(slopes.begin(), slopes.end());
        result.slopeP10 = Percentile(slopes, 0.1);
        result.slopeP50 = Percentile(slopes, 0.5);
        result.slopeP90 = Percentile(slopes, 0.9);
        result.gradient = static_cast<int>(std::lround(result.slopeMean));
    }

    if (highest - lowest < kFlatRangeM) {
        result.messages.push_back("Der Schlag ist flach: das Wasser hat keinen Fliessweg.");
        return result;
    }

    // Priority flood from the ring just outside the parcel's cells: water leaves the parcel
    // there, and nowhere else. Cells without height count as outside and take any water.
    std::vector<unsigned char> domain(count, 0);
    for (std::size_t k = 0; k < count; ++k)
        domain[k] = inside[k] && !std::isnan(z[k]);
    std::vector<double> filled(count, kNaN);
    std::vector<unsigned char> done(count, 0);
    using Entry = std::pair<double, std::size_t>;
    std::priority_queue<Entry, std::vector<Entry>, std::greater<>> queue;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const std::size_t k = static_cast<std::size_t>(r) * columns + c;
            if (domain[k])
                continue;
            bool touches = false;
            for (int n = 0; n < 8 && !touches; ++n) {
                const int nc = c + kDx[n], nr = r + kDy[n];
                touches = nc >= 0 && nc < columns && nr >= 0 && nr < rows &&
                          domain[static_cast<std::size_t>(nr) * columns + nc];
            }
            if (!touches)
                continue;
            filled[k] = std::isnan(z[k]) ? kMinusInfinity : z[k];
            done[k] = 1;
            queue.emplace(filled[k], k);
        }
    }
    std::vector<std::size_t> order; // parcel cells from the lowest filled level up
    order.reserve(count);
    while (!queue.empty()) {
        const auto [level, k] = queue.top();
        queue.pop();
        if (domain[k])
            order.push_back(k);
        const int r = static_cast<int>(k / columns), c = static_cast<int>(k % columns);
        for (int n = 0; n < 8; ++n) {
            const int nc = c + kDx[n], nr = r + kDy[n];
            if (nc < 0 || nc >= columns || nr < 0 || nr >= rows)
                continue;
            const std::size_t m = static_cast<std::size_t>(nr) * columns + nc;
            if (!domain[m] || done[m])
                continue;
            done[m] = 1;
            // Strictly above the cell it drains to, so that even a filled hollow has a way out.
            filled[m] =
                std::max(z[m], std::nextafter(level, std::numeric_limits<double>::infinity()));
            queue.emplace(filled[m], m);
        }
    }

    // D8 steepest descent on the filled surface; the way out summed in the order of the flood,
    // so that every cell's downhill neighbour is already known.
    const double diagonal = std::hypot(cw, ch);
    const double stepLength[8] = {cw, ch, cw, ch, diagonal, diagonal, diagonal, diagonal};
    std::vector<int> direction(count, -1);
    std::vector<double> distance(count, 0);
    std::size_t longest = count;
    for (std::size_t k : order) {
        const int r = static_cast<int>(k / columns), c = static_cast<int>(k % columns);
        double steepest = 0;
        int best = -1;
        for (int n = 0; n < 8; ++n) {
            const int nc = c + kDx[n], nr = r + kDy[n];
            if (nc < 0 || nc >= columns || nr < 0 || nr >= rows)
                continue;
            const double fn = filled[static_cast<std::size_t>(nr) * columns + nc];
            if (std::isnan(fn) || !(fn < filled[k]))
                continue;
            const double drop = (filled[k] - fn) / stepLength[n];
            if (best < 0 || drop > steepest) {
                steepest = drop;
                best = n;
            }
        }
        if (best < 0)
            continue; // cannot happen after the flood; keeps a bad cell out of the sums
        direction[k] = best;
        const std::size_t next =
            static_cast<std::size_t>(r + kDy[best]) * columns + (c + kDx[best]);
        distance[k] = stepLength[best] + (domain[next] ? distance[next] : 0);
        if (longest == count || distance[k] > distance[longest])
            longest = k;
    }
    if (longest == count) {
        result.messages.push_back("Der Schlag ist flach: das Wasser hat keinen Fliessweg.");
        return result;
    }
    result.flowLengthM = distance[longest];
    result.flowLength = static_cast<int>(std::lround(result.flowLengthM));
    for (std::size_t k = longest;;) {
        const int r = static_cast<int>(k / columns), c = static_cast<int>(k % columns);
        result.flowPath.push_back(centre(c, r));
        if (!domain[k] || direction[k] < 0)
            break;
        k = static_cast<std::size_t>(r + kDy[direction[k]]) * columns + (c + kDx[direction[k]]);
    }
    result.usable = trusted;
    return result;
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

std::string Quoted(const std::string& text) {
    return "«" + text + "»";
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
    }

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
    std::unique_ptr<void, SpatialReferenceDeleter> source(OSRClone(layerSrs));
    std::unique_ptr<void, SpatialReferenceDeleter> target(OSRNewSpatialReference(nullptr));
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
