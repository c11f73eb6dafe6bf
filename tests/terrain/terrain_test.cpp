// The terrain figures against geometry whose answer is known, not against the code itself.

#include <gdal_utils.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <numbers>

#include "support/rasters.h"
#include "support/temp_dir.h"
#include "terrain/terrain.h"

namespace brisolt::terrain {
namespace {

using testing::LayerParcel;
using testing::Rectangle;
using testing::TempDir;
using testing::WriteLayer;
using testing::WriteRaster;

using testing::kCell;
using testing::kLeft;
using testing::kSize;
using testing::kTop;

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& m : messages)
        all += m + "\n";
    return all;
}

std::unique_ptr<ElevationModel> Raster(const TempDir& dir,
                                       const std::function<double(double, double)>& height,
                                       std::optional<double> noData = std::nullopt,
                                       int epsg = 2056) {
    const std::string path = dir.File("dem.tif");
    EXPECT_TRUE(WriteRaster(path, kSize, kSize, kCell, kLeft, kTop, epsg, height, noData));
    std::string error;
    auto model = ElevationModel::Open(path, error);
    EXPECT_TRUE(model) << error;
    return model;
}

// A plane falling by `percent` towards `angle` (radians from the x axis).
std::function<double(double, double)> Plane(double percent, double angle) {
    return [=](double x, double y) {
        return 600 - percent / 100 * ((x - kLeft) * std::cos(angle) + (y - kTop) * std::sin(angle));
    };
}

TEST(Terrain, PlaneAlongXGivesItsSlopeEverywhereAndTheRectangleItsLength) {
    TempDir dir;
    auto model = Raster(dir, Plane(8, 0));
    const std::vector<Shape> parcels = {
        Rectangle(kLeft + 100, kTop - 300, 120, 40),          // along the fall line
        Rectangle(kLeft + 301.3, kTop - 177.7, 90, 150, 0.3), // off the grid, turned
        Shape{{{{kLeft + 400, kTop - 400},
                {kLeft + 520, kTop - 380},
                {kLeft + 470, kTop - 520}}}}, // triangle
    };
    for (const Shape& parcel : parcels) {
        const ParcelTerrain t = model->Analyse(parcel);
        EXPECT_TRUE(t.usable) << Joined(t.messages);
        EXPECT_NEAR(t.slopeMean, 8.0, 0.05);
        EXPECT_NEAR(t.slopeP10, 8.0, 0.05);
        EXPECT_NEAR(t.slopeP90, 8.0, 0.05);
        EXPECT_EQ(t.gradient, 8);
        EXPECT_DOUBLE_EQ(t.coveredShare, 1.0);
        EXPECT_TRUE(t.messages.empty()) << Joined(t.messages);
    }
    const ParcelTerrain along = model->Analyse(parcels[0]);
    EXPECT_NEAR(along.flowLengthM, 120, kCell);
    EXPECT_EQ(along.flowLength, static_cast<int>(std::lround(along.flowLengthM)));
    EXPECT_NEAR(along.areaM2, 4800, 1e-6);
    // Interior cells only: 60 x 20 cells minus the ring along the edge.
    EXPECT_EQ(along.cellsUsed, 58u * 18u);
    // The path runs down the fall line: y constant, x rising.
    ASSERT_GE(along.flowPath.size(), 2u);
    EXPECT_DOUBLE_EQ(along.flowPath.front().y, along.flowPath.back().y);
    EXPECT_LT(along.flowPath.front().x, along.flowPath.back().x);
}

// D8 runs at most 22.5 degrees off the fall line: a 120 m rectangle along a fall line at 30
// degrees is crossed on a path up to 1/cos(15 degrees) longer; at 45 degrees D8 is exact.
TEST(Terrain, TurnedPlanesStayWithinTheBoundOfEightDirections) {
    struct Case {
        double degrees;
        double offFallLine; // angle between the fall line and the nearest D8 direction
    };
    for (const Case& c : {Case{30, 15}, Case{45, 0}, Case{10, 10}}) {
        SCOPED_TRACE(c.degrees);
        TempDir dir;
        const double angle = c.degrees * std::numbers::pi / 180;
        auto model = Raster(dir, Plane(8, angle));
        const ParcelTerrain t = model->Analyse(Rectangle(kLeft + 200, kTop - 400, 120, 60, angle));
        EXPECT_TRUE(t.usable) << Joined(t.messages);
        EXPECT_NEAR(t.slopeMean, 8.0, 0.05);
        const double diagonal = kCell * std::sqrt(2.0);
        EXPECT_GE(t.flowLengthM, 120 - diagonal);
        EXPECT_LE(t.flowLengthM, 120 / std::cos(c.offFallLine * std::numbers::pi / 180) + diagonal);
    }
}

TEST(Terrain, FlatSmallAndUncoveredParcelsSayWhy) {
    TempDir dir;
    auto flat = Raster(dir, [](double, double) { return 432.5; });
    const ParcelTerrain level = flat->Analyse(Rectangle(kLeft + 100, kTop - 100, 100, 100));
    EXPECT_FALSE(level.usable);
    EXPECT_EQ(level.gradient, 0);
    EXPECT_NE(Joined(level.messages).find("flach"), std::string::npos);

    TempDir other;
    auto plane = Raster(other, Plane(8, 0));
    const ParcelTerrain tiny = plane->Analyse(Rectangle(kLeft + 100, kTop - 100, 5, 5));
    EXPECT_FALSE(tiny.usable);
    EXPECT_NE(Joined(tiny.messages).find("zu klein"), std::string::npos);

    // 40 of 100 m beyond the east edge; messages take the caller's decimal separator.
    plane->setDecimalSeparator(',');
    const ParcelTerrain half = plane->Analyse(Rectangle(kLeft + 540, kTop - 300, 100, 40));
    EXPECT_FALSE(half.usable);
    EXPECT_NEAR(half.coveredShare, 0.6, 0.001);
    EXPECT_NE(Joined(half.messages).find("60,0 %"), std::string::npos) << Joined(half.messages);
    // 4 of 100 m beyond: still measured, with a word of warning.
    const ParcelTerrain most = plane->Analyse(Rectangle(kLeft + 504, kTop - 300, 100, 40));
    EXPECT_TRUE(most.usable) << Joined(most.messages);
    EXPECT_NEAR(most.coveredShare, 0.96, 0.001);
    EXPECT_EQ(most.messages.size(), 1u);
    plane->setDecimalSeparator('.');
    EXPECT_NE(
        Joined(plane->Analyse(Rectangle(kLeft + 504, kTop - 300, 100, 40)).messages).find("96.0 %"),
        std::string::npos);

    const ParcelTerrain outside = plane->Analyse(Rectangle(kLeft + 900, kTop - 300, 100, 40));
    EXPECT_FALSE(outside.usable);
    EXPECT_NE(Joined(outside.messages).find("nicht ab"), std::string::npos);
}

TEST(Terrain, HolesWithoutHeightAreLeftOutUpToAShare) {
    // Two holes: 10 x 10 m in one parcel, 40 x 40 m in the other.
    auto height = [](double x, double y) {
        const double dx = x - kLeft, dy = kTop - y;
        if (dx > 150 && dx < 160 && dy > 110 && dy < 120)
            return -9999.0;
        if (dx > 350 && dx < 390 && dy > 100 && dy < 140)
            return -9999.0;
        return 600 - 0.08 * dx;
    };
    TempDir dir;
    auto model = Raster(dir, height, -9999.0);
    const ParcelTerrain small = model->Analyse(Rectangle(kLeft + 100, kTop - 115, 120, 40));
    EXPECT_TRUE(small.usable) << Joined(small.messages);
    EXPECT_NEAR(small.slopeMean, 8.0, 0.05); // the cliff around the hole does not count
    EXPECT_NE(Joined(small.messages).find("25 Zellen"), std::string::npos)
        << Joined(small.messages);
    const ParcelTerrain large = model->Analyse(Rectangle(kLeft + 320, kTop - 120, 120, 40));
    EXPECT_FALSE(large.usable);
    EXPECT_NE(Joined(large.messages).find("zu viel"), std::string::npos) << Joined(large.messages);
}

TEST(Terrain, ParcelsInWgs84AreMovedOntoAnLv95Raster) {
    TempDir dir;
    auto model = Raster(dir, Plane(8, 0));
    const Shape lv95 = Rectangle(kLeft + 100, kTop - 300, 120, 40);

    OGRSpatialReferenceH from = OSRNewSpatialReference(nullptr);
    OGRSpatialReferenceH to = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(from, 2056);
    OSRImportFromEPSG(to, 4326);
    OSRSetAxisMappingStrategy(from, OAMS_TRADITIONAL_GIS_ORDER);
    OSRSetAxisMappingStrategy(to, OAMS_TRADITIONAL_GIS_ORDER);
    OGRCoordinateTransformationH transform = OCTNewCoordinateTransformation(from, to);
    Shape wgs84 = lv95;
    for (Point& p : wgs84.rings[0])
        ASSERT_TRUE(OCTTransform(transform, 1, &p.x, &p.y, nullptr));
    OCTDestroyCoordinateTransformation(transform);
    OSRDestroySpatialReference(from);
    OSRDestroySpatialReference(to);
    ASSERT_NEAR(wgs84.rings[0][0].x, 7.44, 0.01); // longitude first

    const std::string layerPath = dir.File("schlaege.geojson");
    ASSERT_TRUE(WriteLayer(layerPath, 4326, {{"A-1", wgs84, ""}}));
    std::string error;
    auto layer = ReadParcels(layerPath, {"", "id"}, model->spatialReferenceWkt(), error);
    ASSERT_TRUE(layer) << error;
    ASSERT_EQ(layer->parcels.size(), 1u);
    EXPECT_EQ(layer->parcels[0].id, "A-1");
    const Ring& back = layer->parcels[0].shape.rings.at(0);
    ASSERT_EQ(back.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_NEAR(back[i].x, lv95.rings[0][i].x, 0.01);
        EXPECT_NEAR(back[i].y, lv95.rings[0][i].y, 0.01);
    }
    const ParcelTerrain t = model->Analyse(layer->parcels[0].shape);
    EXPECT_EQ(t.gradient, 8);
    EXPECT_NEAR(t.flowLengthM, 120, kCell);

    // Without a coordinate system the layer cannot be placed, and a missing id field is named.
    const std::string bare = dir.File("ohne.shp"); // GeoJSON always has WGS84
    ASSERT_TRUE(WriteLayer(bare, 0, {{"B", lv95, ""}}));
    EXPECT_FALSE(ReadParcels(bare, {}, model->spatialReferenceWkt(), error));
    EXPECT_NE(error.find("kein Koordinatensystem"), std::string::npos) << error;
    EXPECT_FALSE(ReadParcels(layerPath, {"", "parzelle"}, model->spatialReferenceWkt(), error));
    EXPECT_NE(error.find("parzelle"), std::string::npos) << error;

    // A raster in degrees cannot give a gradient in per cent.
    TempDir degrees;
    const std::string path = degrees.File("grad.tif");
    ASSERT_TRUE(
        WriteRaster(path, 10, 10, 0.001, 7.4, 46.9, 4326, [](double, double) { return 500.0; }));
    EXPECT_FALSE(ElevationModel::Open(path, error));
    EXPECT_NE(error.find("geographische"), std::string::npos) << error;
    // A name that is not there is said so, rather than blamed on the format.
    EXPECT_FALSE(ElevationModel::Open(degrees.File("fehlt.tif"), error));
    EXPECT_NE(error.find("gibt es nicht"), std::string::npos) << error;
    EXPECT_FALSE(ReadParcels(degrees.File("fehlt.gpkg"), {}, model->spatialReferenceWkt(), error));
    EXPECT_NE(error.find("gibt es nicht"), std::string::npos) << error;
}

// On hills the slope must be what gdaldem computes for the same cells: the rectangle's edges
// lie on cell edges, so the shrunk parcel is the rectangle without its outermost ring of cells.
TEST(Terrain, SlopeOnHillsMatchesGdaldem) {
    TempDir dir;
    auto hills = [](double x, double y) {
        const double dx = x - kLeft, dy = kTop - y;
        auto hill = [&](double cx, double cy, double h, double s) {
            return h * std::exp(-((dx - cx) * (dx - cx) + (dy - cy) * (dy - cy)) / (2 * s * s));
        };
        return 500 + hill(120, 140, 25, 60) + hill(260, 90, 12, 35) - hill(200, 220, 8, 40);
    };
    auto model = Raster(dir, hills);
    // gdaldem's own code, as the library holds it (so that the Windows build, which brings no
    // GDAL tools along, runs it too).
    const std::string slopePath = dir.File("slope.tif");
    {
        const char* arguments[] = {"-p", "-q", nullptr};
        GDALDEMProcessingOptions* options =
            GDALDEMProcessingOptionsNew(const_cast<char**>(arguments), nullptr);
        GDALDatasetH source = GDALOpen(dir.File("dem.tif").c_str(), GA_ReadOnly);
        ASSERT_NE(source, nullptr);
        GDALDatasetH out =
            GDALDEMProcessing(slopePath.c_str(), source, "slope", nullptr, options, nullptr);
        ASSERT_NE(out, nullptr);
        GDALClose(out);
        GDALClose(source);
        GDALDEMProcessingOptionsFree(options);
    }

    const int c0 = 20, c1 = 119, r0 = 30, r1 = 109; // the rectangle's cells
    const ParcelTerrain t =
        model->Analyse(Rectangle(kLeft + c0 * kCell, kTop - r0 * kCell - (r1 - r0 + 1) * kCell / 2,
                                 (c1 - c0 + 1) * kCell, (r1 - r0 + 1) * kCell));
    ASSERT_TRUE(t.usable) << Joined(t.messages);

    GDALDatasetH slope = GDALOpen(slopePath.c_str(), GA_ReadOnly);
    ASSERT_TRUE(slope);
    const int columns = c1 - c0 - 1, rows = r1 - r0 - 1;
    std::vector<double> values(static_cast<std::size_t>(columns) * rows);
    ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(slope, 1), GF_Read, c0 + 1, r0 + 1, columns, rows,
                           values.data(), columns, rows, GDT_Float64, 0, 0),
              CE_None);
    GDALClose(slope);
    double sum = 0;
    for (double v : values)
        sum += v;
    std::sort(values.begin(), values.end());
    EXPECT_EQ(t.cellsUsed, values.size());
    EXPECT_NEAR(t.slopeMean, sum / static_cast<double>(values.size()), 1e-3);
    EXPECT_NEAR(t.slopeP50, values[values.size() / 2], 0.05);
    EXPECT_GT(t.slopeP90, t.slopeP50);
    EXPECT_GT(t.slopeP50, t.slopeP10);
    // The hills drain somewhere inside a 200 x 160 m block.
    EXPECT_GT(t.flowLengthM, 20);
    EXPECT_LT(t.flowLengthM, 400);
}

TEST(Terrain, AreaSubtractsHolesAndHillshadeLightsTheNorthWest) {
    Shape withHole{
        {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}, {{40, 40}, {60, 40}, {60, 60}, {40, 60}}}};
    EXPECT_DOUBLE_EQ(Area(withHole), 9600);

    // A pyramid: its north-west face lit, its south-east face in shadow, beyond the raster white.
    TempDir dir;
    auto model = Raster(dir, [](double x, double y) {
        return 600 - 0.3 * std::max(std::fabs(x - kLeft - 300), std::fabs(kTop - y - 300));
    });
    const auto image = model->Hillshade(kLeft - 60, kTop - 600, kLeft + 600, kTop, 66, 60);
    ASSERT_EQ(image.size(), 66u * 60u);
    auto at = [&](double x, double y) {
        return image[static_cast<std::size_t>((kTop - y) / 10) * 66 +
                     static_cast<std::size_t>((x - kLeft + 60) / 10)];
    };
    EXPECT_GT(at(kLeft + 150, kTop - 300),
              at(kLeft + 450, kTop - 300)); // west face lighter than east
    EXPECT_GT(at(kLeft + 300, kTop - 150),
              at(kLeft + 300, kTop - 450));     // north face lighter than south
    EXPECT_EQ(at(kLeft - 30, kTop - 300), 255); // no data
}

} // namespace
} // namespace brisolt::terrain
