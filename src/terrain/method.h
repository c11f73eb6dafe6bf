#pragma once
// The terrain method in named steps, on a window of cells read from the raster: mask, slope,
// fill, routing, where flow concentrates, path lengths, longest path. Inside the terrain
// library only (terrain.h is its face); the tests call the steps one by one.

#include <array>
#include <cstdint>
#include <vector>

#include "terrain/terrain.h"

namespace brisolt::terrain::method {

// A window of cells, row by row from the north; x runs east, rows run south.
struct Grid {
    int columns = 0;
    int rows = 0;
    double cellWidth = 0;
    double cellHeight = 0;
    double originX = 0; // the window's north-west corner
    double originY = 0;
    int firstColumn = 0; // the window's first cell in the raster
    int firstRow = 0;
    std::vector<double> z; // NaN: no height

    std::size_t Count() const {
        return static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows);
    }
    Point Centre(std::size_t k) const {
        const auto c = static_cast<double>(k % static_cast<std::size_t>(columns));
        const auto r = static_cast<double>(k / static_cast<std::size_t>(columns));
        return {originX + (c + 0.5) * cellWidth, originY - (r + 0.5) * cellHeight};
    }
};

using Mask = std::vector<std::uint8_t>;

// The eight neighbours: four sides first, then the corners.
inline constexpr int kDx[8] = {1, 0, -1, 0, 1, -1, -1, 1};
inline constexpr int kDy[8] = {0, 1, 0, -1, 1, 1, -1, -1};
// The order in which a step tries the neighbours. No result may depend on it.
using NeighbourOrder = std::array<int, 8>;
inline constexpr NeighbourOrder kUsualOrder{0, 1, 2, 3, 4, 5, 6, 7};

// --- mask and slope -----------------------------------------------------------------------

// Cells whose centre lies inside the shape.
Mask CellsInside(const Grid& grid, const Shape& shape);
// Those cells less the ones whose centre lies within one cell width of an edge.
Mask ShrinkByOneCell(const Grid& grid, const Shape& shape, const Mask& inside);
// Horn's slope in per cent on every cell of `cells` whose 3 x 3 block has heights.
std::vector<double> HornSlopes(const Grid& grid, const Mask& cells);

// --- flow ---------------------------------------------------------------------------------

// Where sheet flow ends, and why. Every threshold is documented in terrain.h.
struct Thresholds {
    double catchment = 100;       // m: specific catchment area where flow may concentrate
    double planCurvature = 0.002; // 1/m: land at least this hollow across the flow gathers it
    double fitRadius = 5;         // m: half the side of the square the surface is fitted on
    double wideFitRadius = 15;    // m: the same for the slope that decides deposition
    double depositionRatio = 0.5; // local slope / slope of the catchment where deposition begins
    double gentleDepositionRatio = 0.7; // the same where the catchment is gentler than ...
    double gentleSlope = 0.05;          // ... this (m/m)
    double pondDepth = 0.1;             // m: a closed depression at least this deep ...
    double pondArea = 25;               // m2: ... and this large holds water
};

struct Options {
    NeighbourOrder order = kUsualOrder;
    Thresholds thresholds;
};

// The quadratic fitted by least squares on the square of cells within `radius` of a cell
// (Wood 1996): gradient and second derivatives, x east, y south. Not valid where the square
// lacks heights or leaves the window.
struct Quadric {
    bool valid = false;
    double dzdx = 0;
    double dzdy = 0;
    double dxx = 0;
    double dxy = 0;
    double dyy = 0;

    double Slope() const; // m/m; 0 when not valid
    // Zevenbergen and Thorne's plan curvature: the second derivative of the height across the
    // fall line (1/m), negative where the land is hollow across the flow.
    double PlanCurvature() const;
    // Whether the cell lies on the line where the surface is lowest across its most concave
    // direction (a valley line), to within half a cell.
    bool OnValleyLine(double cellSize) const;
};
Quadric FitQuadric(const Grid& grid, std::size_t k, double radius);

// Heights after filling closed depressions from the ring of cells just outside `domain`
// (water leaves the domain there and nowhere else). Ring cells keep their height; ring cells
// without one are -infinity; every other cell outside the ring is NaN.
std::vector<double> Fill(const Grid& grid, const Mask& domain, const NeighbourOrder& order);

// Flats of the filled surface (cells with no lower neighbour) get a rank that falls towards
// their outlet and away from higher ground; every other cell gets kNoRank. A flat drains into
// a lower cell of the domain where it has one; only a flat without one (a filled depression
// that spills over the edge) leaves by a ring cell of its own level.
inline constexpr std::int64_t kNoRank = INT64_MIN;
struct Flats {
    std::vector<std::int64_t> rank;
    Mask leavesByRing;
};
Flats RankFlats(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                const NeighbourOrder& order);

// Where each domain cell sends its water: one neighbour for the paths (D8; -1 for none) and
// every lower neighbour (one bit per direction, for the multiple-flow catchment); how far that
// step advances along the fall line; and an order of the domain cells in which every cell
// comes after all cells draining into it. Route gives each cell its steepest neighbour;
// KeepToTheFallLine then turns the paths onto the fall lines.
struct Routing {
    std::vector<std::int8_t> direction;
    std::vector<std::int8_t> steepest; // the steepest neighbour, which concentrated flow takes
    std::vector<std::uint8_t> receivers;
    std::vector<double> advance;
    std::vector<std::int32_t> order;
};
Routing Route(const Grid& grid, const Mask& domain, const std::vector<double>& level,
              const Flats& flats, const Thresholds& thresholds, const NeighbourOrder& order);

// Specific catchment area (m2 per m of contour, multiple flow) and the mean slope (m/m) of
// the land draining through each cell, the cell included.
struct Catchment {
    std::vector<double> area;
    std::vector<double> meanSlope;
};
Catchment Accumulate(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                     const Routing& routing, const std::vector<double>& hornSlopes);

void KeepToTheFallLine(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                       const Flats& flats, Routing& routing);

// What a cell is for the flow length: sheet flow, or one of the places where it ends.
enum class Kind : std::uint8_t { Outside, Sheet, Concentrated, Pond, Deposition };
// Concentrated flow starts on valley lines that gather enough water and runs on down the
// steepest way; it stops in a pond. `lines`: the cells of the lines it runs in (a valley line's
// cell beside a line already found ends sheet flow but starts no second line).
std::vector<Kind> Classify(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                           const Flats& flats, const Routing& routing, const Catchment& catchment,
                           const std::vector<double>& hornSlopes, const Thresholds& thresholds,
                           Mask& lines);

// Each sheet-flow cell's way down to where its sheet flow ends (metres, the step into that
// place included) and what ends it.
struct PathLengths {
    std::vector<double> length;
    std::vector<FlowEnd> end;
};
PathLengths SheetFlowLengths(const Grid& grid, const Routing& routing,
                             const std::vector<Kind>& kind);

// Everything the flow gives for a domain.
struct Flow {
    bool anyPath = false;
    double longest = 0;
    double p50 = 0; // of the paths that start on a divide or the domain's edge
    double p90 = 0;
    std::size_t starts = 0;               // how many such paths
    std::vector<std::size_t> longestPath; // cells, ending with the cell that ends it
    FlowEnd end = FlowEnd::None;
    double concentratedLength = 0; // metres of concentrated flow inside the domain
    std::vector<std::vector<std::size_t>> concentratedLines; // cells, downstream
    // The steps' results, for the tests.
    std::vector<Kind> kind;
    Catchment catchment;
};
// The longest path, the distribution and the lines of concentrated flow.
void LongestPath(const Grid& grid, const Mask& domain, const Routing& routing,
                 const Catchment& catchment, const PathLengths& lengths, const Mask& lines,
                 Flow& flow);

// All flow steps after one another on the cells of `domain` (cells on the window's border are
// left out: they have no ring).
Flow MeasureFlow(const Grid& grid, Mask domain, const Options& options = {});

} // namespace brisolt::terrain::method
