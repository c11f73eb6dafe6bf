// Heights as GDAL means them, and heights that cannot be the land's: a figure from them must
// be withheld with the reason, never given as usable.

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <gdal_utils.h>

#include "support/rasters.h"
#include "support/temp_dir.h"
#include "terrain/terrain.h"

namespace brisolt::terrain {
namespace {

using testing::kCell;
using testing::kLeft;
using testing::kSize;
using testing::kTop;
using testing::RasterForm;
using testing::Rectangle;
using testing::TempDir;

std::string Joined(const std::vector<std::string>& messages) {
    std::string all;
    for (const std::string& m : messages)
        all += m + "\n";
    return all;
}

// 8 % down towards the east.
double Plane(double x, double) {
    return 600 - 0.08 * (x - kLeft);
}

// Cells c0..c1 x r0..r1 of the usual raster.
bool InCells(double x, double y, int c0, int c1, int r0, int r1) {
    const int c = static_cast<int>(std::floor((x - kLeft) / kCell));
    const int r = static_cast<int>(std::floor((kTop - y) / kCell));
    return c >= c0 && c <= c1 && r >= r0 && r <= r1;
}

RasterForm With(const std::function<void(RasterForm&)>& set) {
    RasterForm form;
    set(form);
    return form;
}

// Along the fall line, x 100..220 m, rows 140..159.
const Shape kParcel = Rectangle(kLeft + 100, kTop - 300, 120, 40);

struct Case {
    const char* name;
    std::function<double(double, double)> height;
    RasterForm form;
    Shape parcel;
    bool usable;
    const char* message; // part of a message; empty: none expected
};

TEST(Heights, AreReadAsGdalMeansThemOrWithheldWithTheReason) {
    const auto masked = [](double x, double y) { return InCells(x, y, 80, 299, 0, 299); };
    const auto east = [masked](double x, double y) { return masked(x, y) ? 0.0 : Plane(x, y); };
    const std::vector<Case> cases = {
        {"centimetres with a scale", Plane, With([](RasterForm& f) {
             f.type = GDT_Int32;
             f.scale = 0.01;
         }),
         kParcel, true, ""},
        {"decimetres above 400 m", Plane, With([](RasterForm& f) {
             f.type = GDT_UInt16;
             f.scale = 0.1;
             f.offset = 400;
         }),
         kParcel, true, ""},
        // The east of the parcel has no data, its cells hold 0.
        {"alpha band", east, With([&](RasterForm& f) {
             f.alpha = true;
             f.masked = masked;
         }),
         kParcel, false, "keine Höhe"},
        {"mask of the dataset", east, With([&](RasterForm& f) {
             f.datasetMask = true;
             f.masked = masked;
         }),
         kParcel, false, "keine Höhe"},
        {"undeclared -3.4e38",
         [](double x, double y) { return InCells(x, y, 80, 81, 150, 151) ? -3.4e38 : Plane(x, y); },
         {},
         kParcel,
         false,
         "4 Zellen im Schlag haben Höhen ausserhalb von -500 bis 5000 m"},
        {"undeclared -9999",
         [](double x, double y) { return InCells(x, y, 70, 74, 145, 149) ? -9999 : Plane(x, y); },
         {},
         kParcel,
         false,
         "25 Zellen im Schlag haben Höhen ausserhalb"},
        {"broken cells",
         [](double x, double y) {
             if (!InCells(x, y, 60, 65, 145, 150))
                 return Plane(x, y);
             const auto bits = static_cast<std::uint32_t>((x - kLeft) * 2654435761.0 + y * 40503);
             float value;
             std::memcpy(&value, &bits, sizeof value);
             return static_cast<double>(value);
         },
         {},
         kParcel,
         false,
         "ausserhalb"},
        {"a spike of 30 m",
         [](double x, double y) {
             return Plane(x, y) + (InCells(x, y, 80, 80, 150, 150) ? 30 : 0);
         },
         {},
         kParcel,
         false,
         "steiler als 100 %"},
        // Whole metres, and the value for missing heights is one of them: its cells are real.
        {"no-data value among the heights", Plane, With([](RasterForm& f) {
             f.type = GDT_Int16;
             f.noData = 590;
         }),
         Rectangle(kLeft + 20, kTop - 300, 560, 40), false, "zwischen den Höhen ringsum"},
        // A mosaic's gap without a value for missing heights: a column of 0 m across the parcel
        // is left out, a band of them is too much.
        {"a gap of one column",
         [](double x, double y) { return InCells(x, y, 80, 80, 0, 299) ? 0.0 : Plane(x, y); },
         {},
         kParcel,
         true,
         "Höhe 0 m, wo ringsum echte Höhen liegen"},
        {"a gap of 20 m",
         [](double x, double y) { return InCells(x, y, 75, 84, 0, 299) ? 0.0 : Plane(x, y); },
         {},
         kParcel,
         false,
         "Höhe 0 m"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string path = dir.File("dem.tif");
        ASSERT_TRUE(
            testing::WriteRasterAs(path, kSize, kSize, kCell, kLeft, kTop, 2056, c.height, c.form));
        std::string error;
        auto model = ElevationModel::Open(path, error);
        ASSERT_TRUE(model) << error;
        model->setDecimalSeparator('.');
        const ParcelTerrain t = model->Analyse(c.parcel);
        EXPECT_EQ(t.usable, c.usable) << Joined(t.messages);
        if (c.usable) {
            EXPECT_EQ(t.gradient, 8);
            EXPECT_NEAR(t.slopeMean, 8, 0.05);
        }
        if (c.usable && *c.message == '\0') {
            EXPECT_NEAR(t.flowLengthM, 120, 2 * kCell);
        }
        EXPECT_GE(t.gradient, 0); // never a wrapped integer
        if (*c.message == '\0') {
            EXPECT_TRUE(t.messages.empty()) << Joined(t.messages);
        } else {
            EXPECT_NE(Joined(t.messages).find(c.message), std::string::npos) << Joined(t.messages);
        }
    }
}

TEST(Heights, PicturesAreNoHeightModels) {
    struct Picture {
        const char* name;
        RasterForm form;
        const char* problem; // empty: a height model
    };
    for (const Picture& p : std::vector<Picture>{
             {"orthophoto", With([](RasterForm& f) {
                  f.type = GDT_Byte;
                  f.bands = 3;
              }),
              "3 Bänder"},
             {"grey picture", With([](RasterForm& f) { f.type = GDT_Byte; }), "Bytes"},
             {"two height bands", With([](RasterForm& f) { f.bands = 2; }), "2 Bänder"},
             {"heights and alpha", With([](RasterForm& f) { f.alpha = true; }), ""},
         }) {
        SCOPED_TRACE(p.name);
        TempDir dir;
        const std::string path = dir.File("bild.tif");
        ASSERT_TRUE(testing::WriteRasterAs(
            path, 50, 50, kCell, kLeft, kTop, 2056,
            [](double x, double) { return (x - kLeft) / 2; }, p.form));
        std::string error;
        const auto model = ElevationModel::Open(path, error);
        EXPECT_EQ(model == nullptr, *p.problem != '\0');
        if (*p.problem != '\0') {
            EXPECT_NE(error.find("ist kein Höhenmodell: "), std::string::npos) << error;
            EXPECT_NE(error.find(p.problem), std::string::npos) << error;
        }
    }
}

// Tiles with a gap and no value for missing heights: a VRT made by gdalbuildvrt reads the gap
// as 0 m, the tiles given together read it as no height.
TEST(Heights, AMosaicsGapIsNoHeight) {
    TempDir dir;
    const std::string west = dir.File("w.tif"), east = dir.File("o.tif");
    ASSERT_TRUE(testing::WriteRaster(west, 75, kSize, kCell, kLeft, kTop, 2056, Plane));
    ASSERT_TRUE(testing::WriteRaster(east, 140, kSize, kCell, kLeft + 170, kTop, 2056, Plane));
    const char* tiles[] = {west.c_str(), east.c_str()};
    const std::string vrt = dir.File("mosaik.vrt");
    GDALDatasetH mosaic = GDALBuildVRT(vrt.c_str(), 2, nullptr, tiles, nullptr, nullptr);
    ASSERT_TRUE(mosaic);
    GDALClose(mosaic);

    for (const std::vector<std::string>& dem : {std::vector{vrt}, std::vector{west, east}}) {
        std::string error;
        const auto model = ElevationModel::Open(dem, error);
        ASSERT_TRUE(model) << error;
        const ParcelTerrain t = model->Analyse(kParcel);
        EXPECT_FALSE(t.usable) << Joined(t.messages);
        EXPECT_NE(Joined(t.messages).find("Zellen im Schlag haben keine Höhe"), std::string::npos)
            << Joined(t.messages);
    }
}

} // namespace
} // namespace brisolt::terrain
