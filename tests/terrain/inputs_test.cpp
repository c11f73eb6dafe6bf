// What the terrain library takes as input beyond the heights: names that are no files, the
// files a raster and a layer are made of, a raster that breaks while it is read, shapes of
// many parts, and a hillshade that reads only what it draws.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "support/rasters.h"
#include "support/temp_dir.h"
#include "terrain/method.h"
#include "terrain/terrain.h"

namespace brisolt::terrain {
namespace {

using testing::kCell;
using testing::kLeft;
using testing::kSize;
using testing::kTop;
using testing::Rectangle;
using testing::TempDir;

double Plane(double x, double) {
    return 600 - 0.08 * (x - kLeft);
}

bool Lists(const std::vector<std::string>& files, const std::string& ending) {
    return std::any_of(files.begin(), files.end(),
                       [&](const std::string& file) { return file.ends_with(ending); });
}

#ifndef _WIN32
TEST(Inputs, NamesThatAreNoFilesAreRefusedBeforeGdalWaitsOnThem) {
    alarm(60); // a name GDAL opens would block this test for ever
    TempDir dir;
    const std::string pipe = dir.File("pipe.tif");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    ASSERT_TRUE(testing::WriteRaster(dir.File("dem.tif"), 10, 10, kCell, kLeft, kTop, 2056, Plane));
    struct Name {
        std::string path;
        bool mayOpen;
    };
    for (const Name& n : std::vector<Name>{
             {pipe, false},
             {"/vsizip/" + pipe + "/dem.tif", false},
             {"/vsizip/{" + pipe + "}/dem.tif", false},
             {"/vsigzip//vsizip/" + pipe + "/a/b.gz", false},
             {dir.File("dem.tif"), true},
             {dir.File("."), true},
             {dir.File("fehlt.tif"), true},
             {"/vsimem/dem.tif", true},
             {"/vsizip/" + dir.File("fehlt.zip") + "/dem.tif", true},
         }) {
        EXPECT_EQ(MayOpen(n.path), n.mayOpen) << n.path;
    }
    std::string error;
    EXPECT_FALSE(ElevationModel::Open(pipe, error));
    EXPECT_NE(error.find("keine gewöhnliche Datei"), std::string::npos) << error;
    EXPECT_FALSE(ElevationModel::Open({dir.File("dem.tif"), pipe}, error));
    EXPECT_NE(error.find("Die Kachel"), std::string::npos) << error;
    EXPECT_FALSE(ReadParcels(pipe, {}, "", error));
    EXPECT_NE(error.find("keine gewöhnliche Datei"), std::string::npos) << error;
    EXPECT_TRUE(LayerNames(pipe).empty());
    alarm(0);
}
#endif

TEST(Inputs, EveryFileOfTheRasterAndTheLayerIsKnown) {
    TempDir dir;
    for (const char* tile : {"a.tif", "b.tif"}) {
        ASSERT_TRUE(testing::WriteRaster(dir.File(tile), 100, 100, kCell,
                                         kLeft + (*tile == 'b' ? 200 : 0), kTop, 2056, Plane));
    }
    std::string error;
    const auto mosaic = ElevationModel::Open({dir.File("a.tif"), dir.File("b.tif")}, error);
    ASSERT_TRUE(mosaic) << error;
    EXPECT_TRUE(Lists(mosaic->files(), "a.tif") && Lists(mosaic->files(), "b.tif"));
    // Another reader of the mosaic measures as the first does.
    const auto again = mosaic->Reopen(error);
    ASSERT_TRUE(again) << error;
    const Shape parcel = Rectangle(kLeft + 100, kTop - 100, 200, 40);
    EXPECT_EQ(again->Analyse(parcel).messages, mosaic->Analyse(parcel).messages);
    EXPECT_EQ(again->Analyse(parcel).cellsUsed, mosaic->Analyse(parcel).cellsUsed);

    ASSERT_TRUE(
        testing::WriteRasterAs(dir.File("maske.tif"), 20, 20, kCell, kLeft, kTop, 2056, Plane, [] {
            testing::RasterForm form;
            form.datasetMask = true;
            return form;
        }()));
    const auto masked = ElevationModel::Open(dir.File("maske.tif"), error);
    ASSERT_TRUE(masked) << error;
    EXPECT_TRUE(Lists(masked->files(), "maske.tif.msk"));

    const std::string layerPath = dir.File("schlaege.shp");
    ASSERT_TRUE(testing::WriteLayer(layerPath, 2056, {{"A", parcel, ""}}));
    dir.Write("schlaege.qix", "Index");
    const auto layer = ReadParcels(layerPath, {}, mosaic->spatialReferenceWkt(), error);
    ASSERT_TRUE(layer) << error;
    for (const char* side : {".shx", ".dbf", ".prj", ".qix"})
        EXPECT_TRUE(Lists(layer->files, side)) << side;
}

TEST(Inputs, ARasterCutShortWhileOpenIsAReadError) {
    TempDir dir;
    const std::string path = dir.File("dem.tif");
    ASSERT_TRUE(testing::WriteRaster(path, kSize, kSize, kCell, kLeft, kTop, 2056, Plane));
    std::string error;
    const auto model = ElevationModel::Open(path, error);
    ASSERT_TRUE(model) << error;
    std::filesystem::resize_file(testing::PathOf(path),
                                 std::filesystem::file_size(testing::PathOf(path)) / 10);
    const ParcelTerrain t = model->Analyse(Rectangle(kLeft + 100, kTop - 400, 120, 40));
    EXPECT_FALSE(t.usable);
    EXPECT_FALSE(t.readError.empty());
}

// Squares of 4 x 4 cells, each with a hole of 2 x 2 cells: one shape of 400 parts.
TEST(Inputs, ShapesOfManyPartsKeepTheirAreaAndCells) {
    Shape shape;
    const auto square = [](double x, double y, double side) {
        return Ring{{x, y}, {x + side, y}, {x + side, y - side}, {x, y - side}};
    };
    for (int i = 0; i < 20; ++i) {
        for (int k = 0; k < 20; ++k) {
            const double x = kLeft + 10 + 12 * i, y = kTop - 10 - 12 * k;
            shape.rings.push_back(square(x, y, 8));
            shape.rings.push_back(square(x + 2, y - 2, 4));
        }
    }
    EXPECT_DOUBLE_EQ(Area(shape), 400 * (64 - 16));
    method::Grid grid;
    grid.columns = grid.rows = 150;
    grid.cellWidth = grid.cellHeight = kCell;
    grid.originX = kLeft;
    grid.originY = kTop;
    grid.z.assign(grid.Count(), 0);
    const method::Mask inside = method::CellsInside(grid, shape);
    EXPECT_EQ(std::count(inside.begin(), inside.end(), 1), 400 * (16 - 4));
}

TEST(Inputs, AHillshadeAroundBoxesReadsAndDrawsOnlyThere) {
    TempDir dir;
    const std::string path = dir.File("dem.tif");
    ASSERT_TRUE(
        testing::WriteRaster(path, kSize, kSize, kCell, kLeft, kTop, 2056, [](double x, double y) {
            return 600 - 0.08 * (x - kLeft) + 0.03 * (kTop - y);
        }));
    std::string error;
    const auto model = ElevationModel::Open(path, error);
    ASSERT_TRUE(model) << error;
    const int side = 120; // 5 m pixels
    const auto whole = model->Hillshade(kLeft, kTop - 600, kLeft + 600, kTop, side, side);
    const std::vector<std::array<double, 4>> box{
        {kLeft + 100, kTop - 200, kLeft + 150, kTop - 150}};
    const auto part = model->Hillshade(kLeft, kTop - 600, kLeft + 600, kTop, side, side, &box);
    const auto pixel = [&](const std::vector<unsigned char>& image, double x, double y) {
        return image[static_cast<std::size_t>((kTop - y) / 5) * side +
                     static_cast<std::size_t>((x - kLeft) / 5)];
    };
    EXPECT_NE(pixel(whole, kLeft + 125, kTop - 175), 255);
    EXPECT_EQ(pixel(part, kLeft + 125, kTop - 175), pixel(whole, kLeft + 125, kTop - 175));
    EXPECT_EQ(pixel(part, kLeft + 500, kTop - 500), 255);

    // GDAL reads the overview that fits the pixels.
    const double cells = model->HillshadeCells(kLeft, kTop - 600, kLeft + 600, kTop, 30, 30);
    EXPECT_DOUBLE_EQ(cells, kSize * kSize);
    GDALDatasetH dataset = GDALOpen(path.c_str(), GA_Update);
    const int levels[] = {2, 4};
    ASSERT_EQ(GDALBuildOverviews(dataset, "AVERAGE", 2, levels, 0, nullptr, nullptr, nullptr),
              CE_None);
    GDALClose(dataset);
    const auto withOverviews = ElevationModel::Open(path, error);
    ASSERT_TRUE(withOverviews) << error;
    EXPECT_DOUBLE_EQ(withOverviews->HillshadeCells(kLeft, kTop - 600, kLeft + 600, kTop, 30, 30),
                     kSize * kSize / 16.0);
}

} // namespace
} // namespace brisolt::terrain
