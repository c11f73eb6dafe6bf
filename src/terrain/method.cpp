#include "terrain/method.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <queue>
#include <utility>

namespace brisolt::terrain::method {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr std::int64_t kFar = std::numeric_limits<std::int64_t>::max() / 4;
constexpr double kCos45 = 0.70710678118654752;
// Below this gradient (m/m) contours have no direction to bend in.
constexpr double kLevelGradient = 1e-4;
// A start whose catchment holds at most this many cells' worth of land lies on a divide.
constexpr double kDivideCells = 2;

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
        return 0;
    const double rank = p * static_cast<double>(sorted.size() - 1);
    const auto lower = static_cast<std::size_t>(std::floor(rank));
    const std::size_t upper = std::min(lower + 1, sorted.size() - 1);
    return sorted[lower] + (rank - static_cast<double>(lower)) * (sorted[upper] - sorted[lower]);
}

// What the flow steps share: index offsets, step lengths, unit vectors and contour widths per
// direction.
struct Neighbours {
    std::array<std::ptrdiff_t, 8> offset{};
    std::array<double, 8> step{};
    std::array<double, 8> ux{}; // the direction as a unit vector, x east, y south
    std::array<double, 8> uy{};
    std::array<double, 8> contour{};      // Quinn's contour lengths: 1/2 and 0.354 of a cell
    std::array<std::int64_t, 8> weight{}; // step lengths as exact integers, for flats

    explicit Neighbours(const Grid& grid) {
        const double unit = std::min(grid.cellWidth, grid.cellHeight);
        const double diagonal = std::hypot(grid.cellWidth, grid.cellHeight);
        for (int n = 0; n < 8; ++n) {
            offset[n] = static_cast<std::ptrdiff_t>(kDy[n]) * grid.columns + kDx[n];
            const bool corner = kDx[n] != 0 && kDy[n] != 0;
            step[n] = corner ? diagonal : kDx[n] != 0 ? grid.cellWidth : grid.cellHeight;
            ux[n] = kDx[n] * grid.cellWidth / step[n];
            uy[n] = kDy[n] * grid.cellHeight / step[n];
            contour[n] = (corner ? 0.354 : 0.5) * unit;
            weight[n] = std::llround(1000 * step[n] / unit);
        }
    }
    std::size_t At(std::size_t k, int n) const {
        return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(k) + offset[n]);
    }
};

// Of two directions that drain equally well, the one closer to the fitted fall line; on a
// level fit, the first in the fixed table. Never the neighbour order: it must not matter.
class Preference {
public:
    Preference(const Grid& grid, const Neighbours& nb, double fitRadius)
        : grid_(grid), nb_(nb), fitRadius_(fitRadius) {}
    bool operator()(int candidate, int current, std::size_t k) {
        if (k != fitted_) {
            fitted_ = k;
            fit_ = FitQuadric(grid_, k, fitRadius_);
        }
        if (fit_.valid && (fit_.dzdx != 0 || fit_.dzdy != 0)) {
            auto along = [&](int n) { return -fit_.dzdx * nb_.ux[n] - fit_.dzdy * nb_.uy[n]; };
            const double a = along(candidate), b = along(current);
            if (a != b)
                return a > b;
        }
        return candidate < current;
    }

private:
    const Grid& grid_;
    const Neighbours& nb_;
    double fitRadius_;
    std::size_t fitted_ = std::numeric_limits<std::size_t>::max();
    Quadric fit_;
};

// Whether the fitted section along the principal direction of curvature `value` is lowest
// within half a cell of the cell, measured along the grid so that the cells found make an
// unbroken line; half-open, so that a line between two rows of cells takes only one of them.
bool OnExtremeLine(const Quadric& q, double value, double cellSize) {
    double ex = 1, ey = 0;
    if (q.dxy != 0) {
        ex = value - q.dyy;
        ey = q.dxy;
        const double norm = std::hypot(ex, ey);
        ex /= norm;
        ey /= norm;
    } else if (std::fabs(value - q.dyy) < std::fabs(value - q.dxx)) {
        ex = 0;
        ey = 1;
    }
    if (ex < 0 || (ex == 0 && ey < 0)) {
        ex = -ex;
        ey = -ey;
    }
    const double offset = -(q.dzdx * ex + q.dzdy * ey) / value;
    const double half = 0.5 * cellSize * std::max(std::fabs(ex), std::fabs(ey));
    return offset >= -half && offset < half;
}

// Cells by level, lowest first (the lower index first on a tie), for a flood whose levels
// never fall below the last one taken and which takes each cell once: a heap only for the band
// of levels being taken, lists threaded through the cells for the bands above. Pops in the
// same order as one heap would, at a fraction of its cost.
class LevelQueue {
public:
    LevelQueue(const std::vector<double>& level, double low, double high)
        : level_(level), low_(low),
          head_(std::clamp<std::size_t>(level.size() / 8, 1, 1 << 16) + 1, -1),
          next_(level.size(), -1),
          scale_(high > low ? static_cast<double>(head_.size() - 1) / (high - low) : 0) {}

    // `level[k]` must be set.
    void Push(std::int32_t k) {
        const std::size_t band = Band(level_[static_cast<std::size_t>(k)]);
        if (band <= current_) {
            heap_.push_back(k);
            std::push_heap(heap_.begin(), heap_.end(), Later{level_});
        } else {
            next_[static_cast<std::size_t>(k)] = head_[band];
            head_[band] = k;
        }
        ++size_;
    }
    bool Empty() const { return size_ == 0; }
    std::int32_t Pop() {
        while (heap_.empty()) {
            for (std::int32_t k = head_[++current_]; k >= 0; k = next_[static_cast<std::size_t>(k)])
                heap_.push_back(k);
            std::make_heap(heap_.begin(), heap_.end(), Later{level_});
        }
        std::pop_heap(heap_.begin(), heap_.end(), Later{level_});
        const std::int32_t k = heap_.back();
        heap_.pop_back();
        --size_;
        return k;
    }

private:
    struct Later {
        const std::vector<double>& level;
        bool operator()(std::int32_t a, std::int32_t b) const {
            const double la = level[static_cast<std::size_t>(a)];
            const double lb = level[static_cast<std::size_t>(b)];
            return la > lb || (la == lb && a > b);
        }
    };
    std::size_t Band(double level) const {
        if (!(level > low_))
            return 0; // the lowest, and cells without height
        const double band = std::floor((level - low_) * scale_);
        return std::min(static_cast<std::size_t>(band), head_.size() - 1);
    }

    const std::vector<double>& level_;
    double low_;
    std::vector<std::int32_t> head_;
    std::vector<std::int32_t> next_;
    double scale_;
    std::vector<std::int32_t> heap_;
    std::size_t current_ = 0;
    std::size_t size_ = 0;
};

} // namespace

// --- mask and slope -----------------------------------------------------------------------

Mask CellsInside(const Grid& grid, const Shape& shape) {
    const int columns = grid.columns;
    Mask inside(grid.Count(), 0);
    // Each edge is looked at only on the rows it crosses, so that a shape of many parts costs
    // in proportion to its edges and rows, not their product.
    struct Edge {
        Point a, b;
        int lastRow;
    };
    std::vector<std::vector<Edge>> starting(static_cast<std::size_t>(std::max(grid.rows, 0)));
    const auto rowOf = [&](double y) { return (grid.originY - y) / grid.cellHeight - 0.5; };
    for (const Ring& ring : shape.rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point& a = ring[i];
            const Point& b = ring[j];
            if (a.y == b.y)
                continue;
            // A row crosses the edge where its centre lies between the ends (one row more on
            // each side: the test below decides).
            const double from = std::floor(rowOf(std::max(a.y, b.y))) - 1;
            const double to = std::ceil(rowOf(std::min(a.y, b.y))) + 1;
            if (!(to >= 0) || !(from < grid.rows))
                continue;
            const int first = static_cast<int>(std::max(from, 0.0));
            const int last = static_cast<int>(std::min(to, grid.rows - 1.0));
            starting[static_cast<std::size_t>(first)].push_back({a, b, last});
        }
    }
    std::vector<Edge> active;
    std::vector<double> crossings;
    for (int r = 0; r < grid.rows; ++r) {
        const double y = grid.originY - (r + 0.5) * grid.cellHeight;
        std::erase_if(active, [r](const Edge& e) { return e.lastRow < r; });
        const std::vector<Edge>& fresh = starting[static_cast<std::size_t>(r)];
        active.insert(active.end(), fresh.begin(), fresh.end());
        crossings.clear();
        for (const Edge& e : active) {
            const Point& a = e.a;
            const Point& b = e.b;
            if ((a.y > y) != (b.y > y))
                crossings.push_back((b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x);
        }
        std::sort(crossings.begin(), crossings.end());
        for (std::size_t k = 0; k + 1 < crossings.size(); k += 2) {
            // Centres strictly between the two crossings.
            const int from = std::max(
                0,
                static_cast<int>(std::ceil((crossings[k] - grid.originX) / grid.cellWidth - 0.5)));
            const int to = std::min(columns - 1,
                                    static_cast<int>(std::floor(
                                        (crossings[k + 1] - grid.originX) / grid.cellWidth - 0.5)));
            for (int c = from; c <= to; ++c)
                inside[static_cast<std::size_t>(r) * columns + c] = 1;
        }
    }
    return inside;
}

Mask ShrinkByOneCell(const Grid& grid, const Shape& shape, const Mask& inside) {
    Mask core = inside;
    const double cw = grid.cellWidth, ch = grid.cellHeight;
    const double margin = cw;
    for (const Ring& ring : shape.rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point a = ring[j];
            const Point b = ring[i];
            const int r0 = std::max(
                0, static_cast<int>(std::floor((grid.originY - std::max(a.y, b.y) - margin) / ch)));
            const int r1 = std::min(
                grid.rows - 1,
                static_cast<int>(std::floor((grid.originY - std::min(a.y, b.y) + margin) / ch)));
            for (int r = r0; r <= r1; ++r) {
                // Only the band of the edge that lies within the margin of this row's centres.
                const double y = grid.originY - (r + 0.5) * ch;
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
                const int c0 =
                    std::max(0, static_cast<int>(std::floor((xFrom - margin - grid.originX) / cw)));
                const int c1 =
                    std::min(grid.columns - 1,
                             static_cast<int>(std::floor((xTo + margin - grid.originX) / cw)));
                for (int c = c0; c <= c1; ++c) {
                    const std::size_t k = static_cast<std::size_t>(r) * grid.columns + c;
                    if (core[k] && SegmentDistanceSquared(grid.Centre(k), a, b) < margin * margin)
                        core[k] = 0;
                }
            }
        }
    }
    return core;
}

std::vector<double> HornSlopes(const Grid& grid, const Mask& cells) {
    std::vector<double> slopes(grid.Count(), kNaN);
    const int columns = grid.columns;
    for (int r = 1; r + 1 < grid.rows; ++r) {
        for (int c = 1; c + 1 < columns; ++c) {
            const std::size_t k = static_cast<std::size_t>(r) * columns + c;
            if (!cells[k])
                continue;
            auto at = [&](int dc, int dr) {
                return grid.z[static_cast<std::size_t>(r + dr) * columns + (c + dc)];
            };
            const double a = at(-1, -1), b = at(0, -1), cc = at(1, -1);
            const double d = at(-1, 0), e = at(0, 0), f = at(1, 0);
            const double g = at(-1, 1), h = at(0, 1), i = at(1, 1);
            if (std::isnan(a + b + cc + d + e + f + g + h + i))
                continue;
            const double dzdx = ((cc + 2 * f + i) - (a + 2 * d + g)) / (8 * grid.cellWidth);
            const double dzdy = ((g + 2 * h + i) - (a + 2 * b + cc)) / (8 * grid.cellHeight);
            slopes[k] = 100 * std::sqrt(dzdx * dzdx + dzdy * dzdy);
        }
    }
    return slopes;
}

// --- flow ---------------------------------------------------------------------------------

// On a full square the terms of the quadratic are orthogonal: each coefficient is one weighted
// sum of the heights.
Quadric FitQuadric(const Grid& grid, std::size_t k, double radius) {
    Quadric fit;
    const double cell = std::min(grid.cellWidth, grid.cellHeight);
    const int h = std::max(1, static_cast<int>(std::floor(radius / cell + 1e-9)));
    const int columns = grid.columns;
    const int c = static_cast<int>(k % static_cast<std::size_t>(columns));
    const int r = static_cast<int>(k / static_cast<std::size_t>(columns));
    if (c - h < 0 || c + h >= columns || r - h < 0 || r + h >= grid.rows || std::isnan(grid.z[k]))
        return fit;
    const double z0 = grid.z[k];
    double m00 = 0, m10 = 0, m01 = 0, m20 = 0, m02 = 0, m11 = 0;
    for (int j = -h; j <= h; ++j) {
        const double* row = &grid.z[static_cast<std::size_t>(r + j) * columns + c];
        double s0 = 0, s1 = 0, s2 = 0;
        for (int i = -h; i <= h; ++i) {
            const double v = row[i] - z0;
            s0 += v;
            s1 += i * v;
            s2 += static_cast<double>(i) * i * v;
        }
        if (std::isnan(s0))
            return fit;
        m00 += s0;
        m10 += s1;
        m20 += s2;
        m01 += j * s0;
        m11 += j * s1;
        m02 += static_cast<double>(j) * j * s0;
    }
    const double n = 2 * h + 1;
    const double si2 = h * (h + 1.0) * (2 * h + 1.0) / 3;
    const double si4 = h * (h + 1.0) * (2 * h + 1.0) * (3.0 * h * h + 3.0 * h - 1) / 15;
    const double mean2 = si2 / n;
    const double square = n * (si4 - si2 * si2 / n);
    const double cw = grid.cellWidth, ch = grid.cellHeight;
    fit.valid = true;
    fit.dzdx = m10 / (n * si2) / cw;
    fit.dzdy = m01 / (n * si2) / ch;
    fit.dxx = 2 * (m20 - mean2 * m00) / square / (cw * cw);
    fit.dyy = 2 * (m02 - mean2 * m00) / square / (ch * ch);
    fit.dxy = m11 / (si2 * si2) / (cw * ch);
    return fit;
}

double Quadric::Slope() const {
    return valid ? std::sqrt(dzdx * dzdx + dzdy * dzdy) : 0;
}

double Quadric::PlanCurvature() const {
    const double g2 = dzdx * dzdx + dzdy * dzdy;
    if (!valid || g2 < kLevelGradient * kLevelGradient)
        return 0;
    return -(dzdy * dzdy * dxx - 2 * dzdx * dzdy * dxy + dzdx * dzdx * dyy) / g2;
}

bool Quadric::OnValleyLine(double cellSize) const {
    const double half = (dxx - dyy) / 2;
    const double most = (dxx + dyy) / 2 + std::sqrt(half * half + dxy * dxy);
    return valid && most > 0 && OnExtremeLine(*this, most, cellSize);
}

// Priority flood (Barnes et al. 2014): cells are taken from the lowest known level up; a cell
// below the level it is reached from is raised to it and taken next, before anything higher.
std::vector<double> Fill(const Grid& grid, const Mask& domain, const NeighbourOrder& order) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    std::vector<double> level(count, kNaN);
    std::vector<std::uint8_t> done(count, 0);
    double low = kInfinity, high = -kInfinity;
    for (std::size_t k = 0; k < count; ++k) {
        if (!std::isnan(grid.z[k])) {
            low = std::min(low, grid.z[k]);
            high = std::max(high, grid.z[k]);
        }
    }
    LevelQueue open(level, low, high);
    // The ring: every cell next to the domain that is not part of it.
    for (std::size_t k = 0; k < count; ++k) {
        if (!domain[k])
            continue;
        for (int n = 0; n < 8; ++n) {
            const std::size_t m = nb.At(k, n);
            if (domain[m] || done[m])
                continue;
            done[m] = 1;
            level[m] = std::isnan(grid.z[m]) ? -kInfinity : grid.z[m];
            open.Push(static_cast<std::int32_t>(m));
        }
    }
    std::vector<std::int32_t> raised;
    std::size_t next = 0;
    const int columns = grid.columns;
    while (next < raised.size() || !open.Empty()) {
        std::size_t k;
        if (next < raised.size()) {
            k = static_cast<std::size_t>(raised[next++]);
        } else {
            k = static_cast<std::size_t>(open.Pop());
            raised.clear();
            next = 0;
        }
        const bool ring = !domain[k];
        for (int n : order) {
            // Ring cells lie next to the domain; the domain never touches the window's border.
            if (ring) {
                const int c = static_cast<int>(k % columns) + kDx[n];
                const int r = static_cast<int>(k / columns) + kDy[n];
                if (c < 0 || c >= columns || r < 0 || r >= grid.rows)
                    continue;
            }
            const std::size_t m = nb.At(k, n);
            if (!domain[m] || done[m])
                continue;
            done[m] = 1;
            if (grid.z[m] <= level[k]) {
                level[m] = level[k];
                raised.push_back(static_cast<std::int32_t>(m));
            } else {
                level[m] = grid.z[m];
                open.Push(static_cast<std::int32_t>(m));
            }
        }
    }
    return level;
}

// Garbrecht and Martz (1997), as Barnes et al. (2014) combine it: on a flat, twice the
// distance to the flat's outlet less the distance from higher ground. Both are shortest
// distances over the flat's cells in exact integer steps, so the rank falls along every
// shortest way to the outlet and no neighbour order can change it.
Flats RankFlats(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                const NeighbourOrder& order) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    Flats result;
    result.rank.assign(count, kNoRank);
    result.leavesByRing.assign(count, 0);
    Mask flat(count, 0);
    std::vector<std::int32_t> flats;
    for (std::size_t k = 0; k < count; ++k) {
        if (!domain[k])
            continue;
        bool lower = false;
        for (int n = 0; n < 8 && !lower; ++n)
            lower = level[nb.At(k, n)] < level[k];
        if (!lower) {
            flat[k] = 1;
            flats.push_back(static_cast<std::int32_t>(k));
        }
    }
    if (flats.empty())
        return result;

    // Each flat as a whole: does it reach a lower cell of the domain?
    std::vector<std::int32_t> group;
    Mask seen(count, 0);
    for (const std::int32_t start : flats) {
        if (seen[static_cast<std::size_t>(start)])
            continue;
        group.assign(1, start);
        seen[static_cast<std::size_t>(start)] = 1;
        bool domainOutlet = false;
        for (std::size_t i = 0; i < group.size(); ++i) {
            const auto k = static_cast<std::size_t>(group[i]);
            for (int n = 0; n < 8; ++n) {
                const auto m = static_cast<std::size_t>(group[i] + nb.offset[n]);
                if (level[m] != level[k] || !domain[m])
                    continue;
                if (!flat[m]) {
                    domainOutlet = true;
                } else if (!seen[m]) {
                    seen[m] = 1;
                    group.push_back(static_cast<std::int32_t>(m));
                }
            }
        }
        if (!domainOutlet) {
            for (const std::int32_t k : group)
                result.leavesByRing[static_cast<std::size_t>(k)] = 1;
        }
    }

    using Entry = std::pair<std::int64_t, std::int32_t>;
    auto distances = [&](bool towardsOutlet) {
        std::vector<std::int64_t> distance(count, kFar);
        std::priority_queue<Entry, std::vector<Entry>, std::greater<>> open;
        for (const std::int32_t f : flats) {
            const auto k = static_cast<std::size_t>(f);
            for (int n : order) {
                const auto m = static_cast<std::size_t>(f + nb.offset[n]);
                const bool outlet =
                    domain[m] ? !flat[m] : static_cast<bool>(result.leavesByRing[k]);
                const bool seed =
                    towardsOutlet ? level[m] == level[k] && outlet : level[m] > level[k];
                if (seed)
                    distance[k] = std::min(distance[k], nb.weight[n]);
            }
            if (distance[k] < kFar)
                open.emplace(distance[k], f);
        }
        while (!open.empty()) {
            const auto [d, f] = open.top();
            open.pop();
            const auto k = static_cast<std::size_t>(f);
            if (d > distance[k])
                continue;
            for (int n : order) {
                const auto m = static_cast<std::size_t>(f + nb.offset[n]);
                if (!flat[m] || level[m] != level[k] || d + nb.weight[n] >= distance[m])
                    continue;
                distance[m] = d + nb.weight[n];
                open.emplace(distance[m], static_cast<std::int32_t>(m));
            }
        }
        return distance;
    };
    const std::vector<std::int64_t> toOutlet = distances(true);
    const std::vector<std::int64_t> fromHigher = distances(false);
    for (const std::int32_t f : flats) {
        const auto k = static_cast<std::size_t>(f);
        // A flat with no higher ground around it (a whole level parcel) only falls outwards.
        const std::int64_t away = fromHigher[k] >= kFar ? 0 : fromHigher[k];
        result.rank[k] = 2 * std::min(toOutlet[k], kFar) - away;
    }
    return result;
}

Routing Route(const Grid& grid, const Mask& domain, const std::vector<double>& level,
              const Flats& flats, const Thresholds& thresholds, const NeighbourOrder& order) {
    const std::vector<std::int64_t>& rank = flats.rank;
    const Neighbours nb(grid);
    Preference prefer(grid, nb, thresholds.fitRadius);
    const std::size_t count = grid.Count();
    Routing routing;
    routing.direction.assign(count, -1);
    routing.receivers.assign(count, 0);
    routing.advance.assign(count, 0);
    std::vector<std::int32_t> donors(count, 0);
    for (std::size_t k = 0; k < count; ++k) {
        if (!domain[k])
            continue;
        int best = -1;
        double steepest = 0;
        std::uint8_t lower = 0;
        const bool flat = rank[k] != kNoRank;
        for (int n : order) {
            const std::size_t m = nb.At(k, n);
            double drop;
            if (!flat) {
                if (!(level[m] < level[k]))
                    continue;
                drop = (level[k] - level[m]) / nb.step[n];
                lower |= static_cast<std::uint8_t>(1u << n);
            } else if (level[m] != level[k]) {
                continue;
            } else if (domain[m] ? rank[m] == kNoRank : flats.leavesByRing[k] != 0) {
                drop = kInfinity; // the flat's outlet
            } else if (domain[m] && rank[m] < rank[k]) {
                drop = static_cast<double>(rank[k] - rank[m]) / nb.step[n];
            } else {
                continue;
            }
            if (best < 0 || drop > steepest || (drop == steepest && prefer(n, best, k))) {
                best = n;
                steepest = drop;
            }
        }
        if (best < 0)
            continue; // cannot happen after the fill and the flats' rank
        routing.direction[k] = static_cast<std::int8_t>(best);
        routing.advance[k] = nb.step[best];
        // Water off a cell without height, or off a flat, goes one way only.
        if (flat || steepest == kInfinity)
            lower = static_cast<std::uint8_t>(1u << best);
        routing.receivers[k] = lower;
        for (int n = 0; n < 8; ++n) {
            const std::size_t m = nb.At(k, n);
            if ((lower >> n & 1u) && domain[m])
                ++donors[m];
        }
    }
    routing.steepest = routing.direction;
    // Kahn's order: a cell once every cell draining into it has been placed.
    routing.order.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        if (domain[k] && donors[k] == 0)
            routing.order.push_back(static_cast<std::int32_t>(k));
    }
    for (std::size_t i = 0; i < routing.order.size(); ++i) {
        const auto k = static_cast<std::size_t>(routing.order[i]);
        const std::uint8_t lower = routing.receivers[k];
        for (int n = 0; n < 8; ++n) {
            if (!(lower >> n & 1u))
                continue;
            const std::size_t m = nb.At(k, n);
            if (domain[m] && --donors[m] == 0)
                routing.order.push_back(static_cast<std::int32_t>(m));
        }
    }
    return routing;
}

// Multiple flow as Quinn et al. (1991) divide it: to every lower neighbour in proportion to
// the drop per metre times the contour length facing it.
Catchment Accumulate(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                     const Routing& routing, const std::vector<double>& hornSlopes) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    const double cellArea = grid.cellWidth * grid.cellHeight;
    std::vector<double> area(count, 0), slopeArea(count, 0);
    for (const std::int32_t i : routing.order) {
        const auto k = static_cast<std::size_t>(i);
        const double slope = std::isnan(hornSlopes[k]) ? 0 : hornSlopes[k] / 100;
        area[k] += cellArea;
        slopeArea[k] += cellArea * slope;
        const std::uint8_t lower = routing.receivers[k];
        std::array<double, 8> share{};
        double total = 0;
        for (int n = 0; n < 8; ++n) {
            if (!(lower >> n & 1u))
                continue;
            const auto m = nb.At(k, n);
            const double drop = level[k] - level[m];
            share[n] = lower == (1u << n) ? 1 : drop / nb.step[n] * nb.contour[n];
            total += share[n];
        }
        if (!(total > 0))
            continue;
        for (int n = 0; n < 8; ++n) {
            const auto m = nb.At(k, n);
            if (share[n] > 0 && domain[m]) {
                area[m] += area[k] * share[n] / total;
                slopeArea[m] += slopeArea[k] * share[n] / total;
            }
        }
    }
    Catchment catchment;
    catchment.area.assign(count, 0);
    catchment.meanSlope.assign(count, 0);
    for (std::size_t k = 0; k < count; ++k) {
        if (area[k] > 0) {
            catchment.area[k] = area[k] / grid.cellWidth;
            catchment.meanSlope[k] = slopeArea[k] / area[k];
        }
    }
    return catchment;
}

// D8 with least transverse deviation (Orlandini et al. 2003): of the lower directions within
// 45 degrees of the fall line, a path takes the one that brings it back closest to the fall
// line it started on, so that over a few cells it follows the fall line instead of the nearest
// of eight directions; each step counts as far as it advances along the fall line. Where paths
// join, the longer keeps its course. Flats and cells draining off the raster keep their way.
void KeepToTheFallLine(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                       const Flats& flats, Routing& routing) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    const double cw = grid.cellWidth, ch = grid.cellHeight;
    std::vector<double> upstream(count, 0), deviation(count, 0);
    std::vector<std::int32_t> donor(count, -1);
    for (const std::int32_t i : routing.order) {
        const auto k = static_cast<std::size_t>(i);
        int d = routing.direction[k];
        if (d < 0)
            continue;
        double carried = 0;
        const std::uint8_t lower = routing.receivers[k];
        if (flats.rank[k] == kNoRank && lower != (1u << d)) {
            auto at = [&](int n) { return level[nb.At(k, n)]; };
            // Horn's gradient of the filled surface (directions: 0 east, 1 south, ...).
            const double gx =
                ((at(7) + 2 * at(0) + at(4)) - (at(6) + 2 * at(2) + at(5))) / (8 * cw);
            const double gy =
                ((at(5) + 2 * at(1) + at(4)) - (at(6) + 2 * at(3) + at(7))) / (8 * ch);
            const double norm = std::sqrt(gx * gx + gy * gy);
            if (std::isfinite(norm) && norm > 0) {
                const double fx = -gx / norm, fy = -gy / norm;
                const double before = deviation[k];
                int best = -1;
                double bestOff = 0, bestAlong = 0, bestAcross = 0;
                for (int n = 0; n < 8; ++n) {
                    const double along = nb.ux[n] * fx + nb.uy[n] * fy;
                    if (!(lower >> n & 1u) || along < kCos45 - 1e-12)
                        continue;
                    const double across = fx * nb.uy[n] - fy * nb.ux[n];
                    const double off = std::fabs(before + nb.step[n] * across);
                    if (best < 0 || off < bestOff ||
                        (off == bestOff &&
                         (along > bestAlong || (along == bestAlong && n < best)))) {
                        best = n;
                        bestOff = off;
                        bestAlong = along;
                        bestAcross = across;
                    }
                }
                if (best >= 0) {
                    d = best;
                    carried = before + nb.step[d] * bestAcross;
                    routing.advance[k] = nb.step[d] * bestAlong;
                }
            }
            routing.direction[k] = static_cast<std::int8_t>(d);
        }
        const std::size_t m = nb.At(k, d);
        if (!domain[m])
            continue;
        const double length = upstream[k] + routing.advance[k];
        if (donor[m] < 0 || length > upstream[m] || (length == upstream[m] && i < donor[m])) {
            upstream[m] = length;
            deviation[m] = carried;
            donor[m] = i;
        }
    }
}

// Concentrated flow, ponds and deposition; every other domain cell carries sheet flow.
std::vector<Kind> Classify(const Grid& grid, const Mask& domain, const std::vector<double>& level,
                           const Flats& flats, const Routing& routing, const Catchment& catchment,
                           const std::vector<double>& hornSlopes, const Thresholds& thresholds,
                           Mask& lines) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    std::vector<Kind> kind(count, Kind::Outside);
    for (std::size_t k = 0; k < count; ++k) {
        if (domain[k])
            kind[k] = Kind::Sheet;
    }

    // Closed depressions: the cells the fill raised, grouped; deep and large ones hold water.
    const double cellArea = grid.cellWidth * grid.cellHeight;
    Mask seen(count, 0);
    std::vector<std::size_t> group;
    for (std::size_t start = 0; start < count; ++start) {
        if (!domain[start] || seen[start] || !(level[start] > grid.z[start]))
            continue;
        group.assign(1, start);
        seen[start] = 1;
        double deepest = 0;
        for (std::size_t i = 0; i < group.size(); ++i) {
            const std::size_t k = group[i];
            deepest = std::max(deepest, level[k] - grid.z[k]);
            for (int n = 0; n < 8; ++n) {
                const std::size_t m = nb.At(k, n);
                if (domain[m] && !seen[m] && level[m] > grid.z[m]) {
                    seen[m] = 1;
                    group.push_back(m);
                }
            }
        }
        if (deepest >= thresholds.pondDepth &&
            static_cast<double>(group.size()) * cellArea >= thresholds.pondArea) {
            for (const std::size_t k : group)
                kind[k] = Kind::Pond;
        }
    }

    // Concentrated flow: from the valley lines that gather enough water on down the steepest
    // way, upstream cells first so that a cell knows whether concentrated flow reaches it.
    const double cell = std::min(grid.cellWidth, grid.cellHeight);
    lines.assign(count, 0);
    for (const std::int32_t i : routing.order) {
        const auto k = static_cast<std::size_t>(i);
        if (kind[k] != Kind::Sheet)
            continue;
        if (!lines[k]) {
            if (!(catchment.area[k] >= thresholds.catchment))
                continue;
            const Quadric fit = FitQuadric(grid, k, thresholds.fitRadius);
            if (!(fit.PlanCurvature() <= -thresholds.planCurvature && fit.OnValleyLine(cell)))
                continue;
            kind[k] = Kind::Concentrated;
            bool beside = false;
            for (int n = 0; n < 8 && !beside; ++n)
                beside = lines[nb.At(k, n)] != 0;
            if (beside)
                continue; // the same valley line as its neighbour's
        }
        kind[k] = Kind::Concentrated;
        lines[k] = 1;
        const int d = routing.steepest[k];
        if (d >= 0 && kind[nb.At(k, d)] == Kind::Sheet)
            lines[nb.At(k, d)] = 1;
    }

    // Deposition: the land flattens to a fraction of the slope the water came down. The cell's
    // own slope and the one fitted on 10 m must both say so, so that neither a sharp valley
    // side nor the noise of a fine raster ends a path; on a level cell (heights rounded to the
    // metre make level steps) the slope fitted on 30 m must say so too.
    for (std::size_t k = 0; k < count; ++k) {
        if (kind[k] != Kind::Sheet)
            continue;
        const double above = catchment.meanSlope[k];
        const double limit = (above >= thresholds.gentleSlope ? thresholds.depositionRatio
                                                              : thresholds.gentleDepositionRatio) *
                             above;
        const double horn = std::isnan(hornSlopes[k]) ? 0 : hornSlopes[k] / 100;
        if (!(horn < limit) || !(FitQuadric(grid, k, thresholds.fitRadius).Slope() < limit))
            continue;
        if (flats.rank[k] != kNoRank) {
            // Too near the window's edge for the wide square: rather no deposition than a
            // wrong one.
            const Quadric wide = FitQuadric(grid, k, thresholds.wideFitRadius);
            if (!wide.valid || !(wide.Slope() < limit))
                continue;
        }
        kind[k] = Kind::Deposition;
    }
    return kind;
}

PathLengths SheetFlowLengths(const Grid& grid, const Routing& routing,
                             const std::vector<Kind>& kind) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    PathLengths paths;
    paths.length.assign(count, 0);
    paths.end.assign(count, FlowEnd::None);
    // Downstream first: a cell's receiver is known before the cell.
    for (auto i = routing.order.rbegin(); i != routing.order.rend(); ++i) {
        const auto k = static_cast<std::size_t>(*i);
        const int d = routing.direction[k];
        if (kind[k] != Kind::Sheet || d < 0)
            continue;
        const auto m = nb.At(k, d);
        paths.length[k] = routing.advance[k];
        switch (kind[m]) {
        case Kind::Outside:
            paths.end[k] = FlowEnd::Edge;
            break;
        case Kind::Sheet:
            paths.length[k] += paths.length[m];
            paths.end[k] = paths.end[m];
            break;
        case Kind::Concentrated:
            paths.end[k] = FlowEnd::Concentrated;
            break;
        case Kind::Pond:
            paths.end[k] = FlowEnd::Pond;
            break;
        case Kind::Deposition:
            paths.end[k] = FlowEnd::Deposition;
            break;
        }
    }
    return paths;
}

void LongestPath(const Grid& grid, const Mask& domain, const Routing& routing,
                 const Catchment& catchment, const PathLengths& lengths, const Mask& lines,
                 Flow& flow) {
    const Neighbours nb(grid);
    const std::size_t count = grid.Count();
    const std::vector<Kind>& kind = flow.kind;
    auto receiver = [&](std::size_t k) { return nb.At(k, routing.direction[k]); };

    std::size_t longest = count;
    Mask fed(count, 0); // receives sheet flow from another cell
    for (std::size_t k = 0; k < count; ++k) {
        if (kind[k] != Kind::Sheet || routing.direction[k] < 0)
            continue;
        if (longest == count || lengths.length[k] > lengths.length[longest])
            longest = k;
        fed[receiver(k)] = 1;
    }
    if (longest == count)
        return;
    flow.anyPath = true;
    flow.longest = lengths.length[longest];
    flow.end = lengths.end[longest];
    for (std::size_t k = longest;;) {
        flow.longestPath.push_back(k);
        if (kind[k] != Kind::Sheet || routing.direction[k] < 0)
            break;
        k = receiver(k);
    }

    // Where paths start: on a divide (hardly any land above) or at the domain's edge.
    const double divide = kDivideCells * grid.cellHeight;
    std::vector<double> starts;
    for (std::size_t k = 0; k < count; ++k) {
        if (kind[k] != Kind::Sheet || fed[k] || routing.direction[k] < 0)
            continue;
        bool edge = false;
        for (int n = 0; n < 8 && !edge; ++n)
            edge = !domain[nb.At(k, n)];
        if (edge || catchment.area[k] <= divide)
            starts.push_back(lengths.length[k]);
    }
    std::sort(starts.begin(), starts.end());
    flow.starts = starts.size();
    flow.p50 = Percentile(starts, 0.5);
    flow.p90 = Percentile(starts, 0.9);

    // Lines of concentrated flow, from their upper ends down the steepest way to where they
    // leave the domain, meet a line already drawn, or end in a pond.
    Mask drawn(count, 0);
    for (const std::int32_t i : routing.order) {
        auto k = static_cast<std::size_t>(i);
        if (!lines[k] || drawn[k])
            continue;
        std::vector<std::size_t> line{k};
        drawn[k] = 1;
        while (routing.steepest[k] >= 0) {
            const int d = routing.steepest[k];
            const std::size_t m = nb.At(k, d);
            if (domain[m] && (!lines[m] || kind[m] != Kind::Concentrated))
                break;
            flow.concentratedLength += nb.step[d];
            line.push_back(m);
            if (!domain[m] || drawn[m])
                break;
            drawn[m] = 1;
            k = m;
        }
        if (line.size() > 1)
            flow.concentratedLines.push_back(std::move(line));
    }
}

Flow MeasureFlow(const Grid& grid, Mask domain, const Options& options) {
    for (int c = 0; c < grid.columns; ++c) {
        domain[static_cast<std::size_t>(c)] = 0;
        domain[static_cast<std::size_t>(grid.rows - 1) * grid.columns + c] = 0;
    }
    for (int r = 0; r < grid.rows; ++r) {
        domain[static_cast<std::size_t>(r) * grid.columns] = 0;
        domain[static_cast<std::size_t>(r) * grid.columns + grid.columns - 1] = 0;
    }
    for (std::size_t k = 0; k < grid.Count(); ++k) {
        if (std::isnan(grid.z[k]))
            domain[k] = 0;
    }
    const Thresholds& thresholds = options.thresholds;
    Flow flow;
    const std::vector<double> horn = HornSlopes(grid, domain);
    const std::vector<double> level = Fill(grid, domain, options.order);
    const Flats flats = RankFlats(grid, domain, level, options.order);
    Routing routing = Route(grid, domain, level, flats, thresholds, options.order);
    KeepToTheFallLine(grid, domain, level, flats, routing);
    flow.catchment = Accumulate(grid, domain, level, routing, horn);
    Mask lines;
    flow.kind =
        Classify(grid, domain, level, flats, routing, flow.catchment, horn, thresholds, lines);
    const PathLengths lengths = SheetFlowLengths(grid, routing, flow.kind);
    LongestPath(grid, domain, routing, flow.catchment, lengths, lines, flow);
    return flow;
}

} // namespace brisolt::terrain::method
