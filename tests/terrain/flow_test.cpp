// The flow length as it is paced: sheet flow only, from where it begins to the parcel's edge,
// the valley line or the rim of a pond. Surfaces whose answer follows from their geometry.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <numbers>
#include <random>

#include "support/rasters.h"
#include "support/temp_dir.h"
#include "terrain/method.h"
#include "terrain/terrain.h"

namespace brisolt::terrain {
namespace {

using testing::Rectangle;
using testing::TempDir;
using testing::WriteRaster;

using testing::kCell;
using testing::kLeft;
using testing::kSize;
using testing::kTop;

using Height = std::function<double(double, double)>;

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& m : messages)
        all += m + "\n";
    return all;
}

ParcelTerrain Measure(const Height& height, const Shape& parcel) {
    TempDir dir;
    const std::string path = dir.File("dem.tif");
    EXPECT_TRUE(WriteRaster(path, kSize, kSize, kCell, kLeft, kTop, 2056, height));
    std::string error;
    auto model = ElevationModel::Open(path, error);
    EXPECT_TRUE(model) << error;
    return model ? model->Analyse(parcel) : ParcelTerrain{};
}

constexpr double kDiagonal = kCell * std::numbers::sqrt2;
const double kCentreX = kLeft + 301; // cell centres
const double kCentreY = kTop - 301;

// Each surface with the length its geometry gives and where the longest path must end.
TEST(Flow, SheetFlowEndsWhereTheGeometrySays) {
    struct Case {
        const char* name;
        Height height;
        Shape parcel;
        double expected;  // metres
        double tolerance; // D8 and the cell the path starts or ends in
        std::vector<FlowEnd> ends;
    };
    const double a = kCentreY; // the valley line, the hollow's axis, the crest
    const std::vector<Case> cases = {
        // Across a valley falling 2 % to the east, sides 10 %: down the side to the valley
        // line, 50 m across, not 150 m along it. D8 runs straight across (11 degrees off).
        // Where the valley line starts, its gentle bottom takes the water as deposition.
        {"V-shaped valley",
         [=](double x, double y) { return 600 - 0.02 * (x - kLeft) + 0.10 * std::fabs(y - a); },
         Rectangle(kLeft + 200, a, 100, 100),
         50 / std::cos(std::atan(0.2)),
         2 * kCell,
         {FlowEnd::Concentrated, FlowEnd::Deposition}},
        // A hollow running down an 8 % slope, flanks rising 8 % across it: the flank's fall
        // line runs at 45 degrees, 50 m across to the axis.
        {"hollow down a slope",
         [=](double x, double y) { return 600 - 0.08 * (x - kLeft) + 0.08 * std::fabs(y - a); },
         Rectangle(kLeft + 200, a, 120, 100),
         50 * std::numbers::sqrt2,
         kDiagonal,
         {FlowEnd::Concentrated}},
        // Over a ridge: the longer side, 70 m from the crest, not along it.
        {"ridge",
         [=](double, double y) { return 600 - 0.10 * std::fabs(y - a); },
         Rectangle(kLeft + 260, a + 30, 100, 80, -std::numbers::pi / 2),
         70,
         kCell,
         {FlowEnd::Edge}},
        // The same with a level crest 12 m wide: its water goes the shorter way off it.
        {"ridge with a level top",
         [=](double, double y) { return 600 - 0.10 * std::max(0.0, std::fabs(y - a) - 6); },
         Rectangle(kLeft + 260, a + 30, 100, 80, -std::numbers::pi / 2),
         70,
         kCell,
         {FlowEnd::Edge}},
        // A slope of 10 % running out on a foot of 1 % 60 m down: deposition begins there.
        {"foot of a slope",
         [](double x, double) {
             const double d = x - kLeft - 200;
             return 600 - 0.10 * std::min(d, 60.0) - 0.01 * std::max(d - 60, 0.0);
         },
         Rectangle(kLeft + 200, kCentreY, 120, 60),
         60,
         2 * kCell,
         {FlowEnd::Deposition}},
        // A bowl inside the field: the field's lowest outside cells lie 31 m from its centre,
        // so water ponds within 31 m; the farthest corner is 65.7 m out.
        {"closed depression",
         [=](double x, double y) {
             return 600 + 0.002 * ((x - kCentreX) * (x - kCentreX) + (y - a) * (y - a));
         },
         Rectangle(kCentreX - 60, a, 120, 60),
         std::hypot(60.0, 30.0) - 31,
         0.1 * 35 + kDiagonal,
         {FlowEnd::Pond}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ParcelTerrain t = Measure(c.height, c.parcel);
        ASSERT_TRUE(t.usable) << Joined(t.messages);
        EXPECT_NEAR(t.flowLengthM, c.expected, c.tolerance);
        EXPECT_NE(std::find(c.ends.begin(), c.ends.end(), t.flowEnd), c.ends.end())
            << static_cast<int>(t.flowEnd);
        EXPECT_LE(t.flowLengthP50M, t.flowLengthM);
        EXPECT_LE(t.flowLengthP90M, t.flowLengthM + 1e-9);
        EXPECT_GE(t.flowLengthP90M, t.flowLengthP50M);
    }
}

TEST(Flow, ConcentratedFlowIsDrawnAlongTheValleyLineOnly) {
    const double a = kCentreY;
    const ParcelTerrain t = Measure(
        [=](double x, double y) { return 600 - 0.02 * (x - kLeft) + 0.10 * std::fabs(y - a); },
        Rectangle(kLeft + 200, a, 100, 100));
    ASSERT_TRUE(t.usable) << Joined(t.messages);
    // The path climbs down the side and stops on the valley line.
    EXPECT_NEAR(t.flowPath.back().y, a, 1e-6);
    EXPECT_NEAR(std::fabs(t.flowPath.front().y - a), 50, kCell);
    // The valley line runs through the whole field; its first metres gather too little water.
    EXPECT_GT(t.concentratedLengthM, 80);
    EXPECT_LE(t.concentratedLengthM, 100 + kCell);
    ASSERT_FALSE(t.concentratedFlow.empty());
    for (const auto& line : t.concentratedFlow) {
        for (const Point& p : line)
            EXPECT_NEAR(p.y, a, 1e-6);
    }
    // On a plain slope nothing gathers, however long it is.
    const ParcelTerrain plane = Measure([](double x, double) { return 600 - 0.08 * (x - kLeft); },
                                        Rectangle(kLeft + 50, kTop - 300, 400, 60));
    EXPECT_NEAR(plane.flowLengthM, 400, kCell);
    EXPECT_EQ(plane.concentratedLengthM, 0);
    EXPECT_TRUE(plane.concentratedFlow.empty());
    EXPECT_NEAR(plane.flowLengthP50M, 400, kCell);
}

// Heights rounded to whole metres make flats and ties everywhere: the path must not depend on
// the order in which the neighbours are tried, nor on the side the slope faces.
TEST(Flow, TiesOnAWholeMetrePlaneDoNotDependOnTheNeighbourOrder) {
    std::mt19937 random(26);
    std::vector<method::NeighbourOrder> orders{
        method::kUsualOrder, {7, 6, 5, 4, 3, 2, 1, 0}, {4, 0, 5, 1, 6, 2, 7, 3}};
    for (int i = 0; i < 5; ++i) {
        method::NeighbourOrder order = method::kUsualOrder;
        std::shuffle(order.begin(), order.end(), random);
        orders.push_back(order);
    }
    for (const double degrees : {0.0, 30.0, 45.0, 60.0}) {
        std::vector<double> lengths; // one per mirror image and order
        for (const double mirrored : {degrees, 180 - degrees, 180 + degrees, 360 - degrees}) {
            const double angle = mirrored * std::numbers::pi / 180;
            method::Grid grid;
            grid.columns = grid.rows = 120;
            grid.cellWidth = grid.cellHeight = kCell;
            grid.originX = 0;
            grid.originY = 240;
            for (int r = 0; r < grid.rows; ++r) {
                for (int c = 0; c < grid.columns; ++c) {
                    const double x = (c + 0.5) * kCell - 120, y = 120 - (r + 0.5) * kCell;
                    grid.z.push_back(
                        std::round(100 - 0.08 * (x * std::cos(angle) + y * std::sin(angle))));
                }
            }
            // 80 m along the fall line, 60 m across, centred on the raster.
            const Shape field =
                Rectangle(120 - 40 * std::cos(angle), 120 - 40 * std::sin(angle), 80, 60, angle);
            const method::Mask inside = method::CellsInside(grid, field);
            for (const method::NeighbourOrder& order : orders) {
                method::Options options;
                options.order = order;
                lengths.push_back(method::MeasureFlow(grid, inside, options).longest);
            }
        }
        SCOPED_TRACE(degrees);
        const auto [shortest, longest] = std::minmax_element(lengths.begin(), lengths.end());
        EXPECT_LE(*longest - *shortest, kDiagonal);
        const double offFallLine = std::fabs(degrees - 45 * std::round(degrees / 45));
        EXPECT_GE(*shortest, 80 - kDiagonal);
        EXPECT_LE(*longest, 80 / std::cos(offFallLine * std::numbers::pi / 180) + 2 * kDiagonal);
    }
}

// Random heights full of pits, flats and ties: every cell drains, no path runs in a circle, and
// every path ends somewhere.
TEST(Flow, EveryCellOfARoughFieldDrainsAndEveryPathEnds) {
    std::mt19937 random(4);
    std::uniform_int_distribution<int> height(0, 5);
    method::Grid grid;
    grid.columns = grid.rows = 60;
    grid.cellWidth = grid.cellHeight = kCell;
    grid.originY = 120;
    for (int k = 0; k < grid.columns * grid.rows; ++k)
        grid.z.push_back(height(random));
    grid.z[static_cast<std::size_t>(30 * 60 + 30)] = std::numeric_limits<double>::quiet_NaN();
    const method::Mask inside = method::CellsInside(grid, Rectangle(10, 60, 100, 100));
    const method::Flow flow = method::MeasureFlow(grid, inside);
    std::size_t domain = 0;
    for (std::size_t k = 0; k < inside.size(); ++k)
        domain += inside[k] && !std::isnan(grid.z[k]);
    const method::Kind sheet = method::Kind::Sheet;
    std::size_t sheets = 0;
    for (const method::Kind kind : flow.kind)
        sheets += kind == sheet;
    EXPECT_EQ(std::count_if(flow.kind.begin(), flow.kind.end(),
                            [](method::Kind k) { return k != method::Kind::Outside; }),
              static_cast<std::ptrdiff_t>(domain));
    ASSERT_TRUE(flow.anyPath);
    EXPECT_GT(flow.longest, 0);
    EXPECT_LT(flow.longest, kCell * std::numbers::sqrt2 * static_cast<double>(sheets));
    EXPECT_NE(flow.end, FlowEnd::None);
    ASSERT_FALSE(flow.longestPath.empty());
    EXPECT_NE(flow.kind[flow.longestPath.back()], sheet);
}

} // namespace
} // namespace brisolt::terrain
