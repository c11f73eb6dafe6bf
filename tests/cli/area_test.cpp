// brisolt-cli terrain and area on rasters and layers written with GDAL: the rows against the
// geometry, the GeoPackage against ogrinfo and against evaluate on the same inputs.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "cli/report_command.h"
#include "support/json.h"
#include "support/rasters.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using testing::LayerParcel;
using testing::ParseJsonLines;
using testing::ReadBytes;
using testing::Rectangle;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;

using testing::kCell;
using testing::kLeft;
using testing::kSize;
using testing::kTop;

// West of x = 300 m the land falls by 8 % towards the east, east of it by 1 % only: too
// flat for the key, whose step 1 refuses gradients below 2 %.
double Height(double x, double) {
    const double d = x - kLeft;
    return d < 300 ? 600 - 0.08 * d : 600 - 0.08 * 300 - 0.01 * (d - 300);
}

using Feature = std::map<std::string, std::optional<std::string>>;

// The features of a layer as text, null fields as nothing.
std::vector<Feature> ReadFeatures(const std::string& path, const char* layerName) {
    std::vector<Feature> features;
    GDALDatasetH dataset = GDALOpenEx(path.c_str(), GDAL_OF_VECTOR, nullptr, nullptr, nullptr);
    if (dataset == nullptr) {
        return features;
    }
    OGRLayerH layer = GDALDatasetGetLayerByName(dataset, layerName);
    OGRFeatureH f = nullptr;
    while (layer != nullptr && (f = OGR_L_GetNextFeature(layer)) != nullptr) {
        Feature feature;
        for (int i = 0; i < OGR_F_GetFieldCount(f); ++i) {
            const char* name = OGR_Fld_GetNameRef(OGR_F_GetFieldDefnRef(f, i));
            feature[name] = OGR_F_IsFieldSetAndNotNull(f, i)
                                ? std::optional<std::string>(OGR_F_GetFieldAsString(f, i))
                                : std::nullopt;
        }
        feature["geometry"] = OGR_F_GetGeometryRef(f) != nullptr ? "yes" : "";
        features.push_back(std::move(feature));
        OGR_F_Destroy(f);
    }
    GDALClose(dataset);
    return features;
}

class CliArea : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(testing::WriteRaster(dem, kSize, kSize, kCell, kLeft, kTop, 2056, Height));
        ASSERT_TRUE(testing::WriteLayer(
            parcels, 2056,
            {{"A", Rectangle(kLeft + 100, kTop - 300, 120, 40), "a.txt"},
             {"B", Rectangle(kLeft + 20, kTop - 100, 60, 80), "unterordner/b.txt"},
             {"flach", Rectangle(kLeft + 400, kTop - 200, 100, 60), "fehlt.txt"},
             {"halb draussen", Rectangle(kLeft + 560, kTop - 450, 80, 40), "a.txt"}}));
    }
    std::string Cli(const std::string& args) const { return std::string(BRISOLT_CLI) + " " + args; }
    std::string Inputs() const {
        return "--dem " + ShellQuote(dem) + " --parcels " + ShellQuote(parcels) + " --id id";
    }
    TempDir dir;
    std::string dem = dir.File("dem.tif");
    std::string parcels = dir.File("schlaege.geojson");
    std::string example = std::string(BRISOLT_TEST_DATA) + "/worked_example.txt";
};

TEST_F(CliArea, TerrainRowsInBothFormats) {
    const auto json = RunCommand(Cli("terrain " + Inputs()));
    ASSERT_EQ(json.status, 0) << json.out;
    const auto rows = ParseJsonLines(json.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0]["id"].text, "A");
    EXPECT_EQ(rows[0]["Gradient"].number, 8);
    EXPECT_NEAR(static_cast<double>(rows[0]["slope_mean"].number), 8.0, 0.05);
    EXPECT_NEAR(static_cast<double>(rows[0]["flow_length_m"].number), 120, 2 * kCell);
    EXPECT_NEAR(static_cast<double>(rows[0]["FloatDistance"].number),
                static_cast<double>(rows[0]["flow_length_m"].number), 0.5);
    EXPECT_EQ(rows[0]["covered_share"].number, 1);
    EXPECT_EQ(rows[2]["Gradient"].number, 1);
    EXPECT_EQ(rows[3]["usable"].boolean, false);
    EXPECT_TRUE(rows[3]["Gradient"].IsNull());
    EXPECT_FALSE(rows[3]["messages"].items.empty());
    // A plain slope: every path from the upper edge crosses the whole parcel; nothing gathers.
    EXPECT_EQ(rows[0]["flow_end"].text, "edge");
    EXPECT_NEAR(static_cast<double>(rows[0]["flow_length_p50_m"].number), 120, 2 * kCell);
    EXPECT_EQ(rows[0]["concentrated_flow_m"].number, 0);
    EXPECT_TRUE(rows[3]["flow_end"].IsNull());

    const auto csv = RunCommand(Cli("terrain --format csv " + Inputs()));
    ASSERT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.rfind("id,usable,Gradient,FloatDistance,slope_mean,", 0), 0u) << csv.out;
    EXPECT_NE(csv.out.find(",area_m2,messages,flow_length_p50_m,flow_length_p90_m,flow_end,"
                           "concentrated_flow_m\r\n"),
              std::string::npos)
        << csv.out;
    EXPECT_NE(csv.out.find("\r\nA,true,8," + rows[0]["FloatDistance"].text + ","),
              std::string::npos)
        << csv.out;
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'), 5);
}

TEST_F(CliArea, EveryParcelKeepsItsRowAndAgreesWithEvaluate) {
    const std::string out = dir.File("ergebnis.gpkg");
    const auto run = RunCommand(Cli("area " + Inputs() + " --template " + ShellQuote(example) +
                                    " --measures --jobs 2 --out " + ShellQuote(out) + " 2>&1"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("2 von 4 Parzellen ohne Ergebnis"), std::string::npos) << run.out;

#ifndef _WIN32
    // An independent reader (GDAL's own tool, which the Windows build does not bring along).
    const auto info = RunCommand("ogrinfo -ro -so " + ShellQuote(out) + " parzellen 2>&1");
    ASSERT_EQ(info.status, 0) << info.out;
    EXPECT_NE(info.out.find("Feature Count: 4"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("CH1903+ / LV95"), std::string::npos) << info.out;
#endif

    const std::vector<Feature> features = ReadFeatures(out, "parzellen");
    ASSERT_EQ(features.size(), 4u);
    for (const Feature& f : features) {
        EXPECT_EQ(f.at("geometry"), "yes");
    }
    // The first parcel, walked: evaluate on the example with its terrain values typed in
    // (lines 11 and 12 of the file) gives the same results.
    const Feature& a = features[0];
    ASSERT_EQ(a.at("id"), "A");
    ASSERT_TRUE(a.at("GBF").has_value()) << a.at("messages").value_or("");
    std::string file = ReadBytes(example);
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; start < file.size(); start = end + 2) {
        end = file.find("\r\n", start);
        lines.push_back(file.substr(start, end - start));
    }
    lines.at(10) = *a.at("FloatDistance");
    lines.at(11) = *a.at("Gradient");
    std::string edited;
    for (const std::string& line : lines) {
        edited += line + "\r\n";
    }
    const auto evaluated =
        RunCommand(Cli("evaluate " + ShellQuote(dir.Write("parzelle_a.txt", edited))));
    const auto rows = ParseJsonLines(evaluated.out);
    ASSERT_EQ(rows.size(), 1u) << evaluated.out;
    EXPECT_EQ(rows[0]["Gradient"].text, *a.at("Gradient"));
    EXPECT_NEAR(std::stod(rows[0]["EFL"].text), std::stod(*a.at("EFL")), 1e-9);
    EXPECT_EQ(rows[0]["GBF"].text, *a.at("GBF"));
    EXPECT_TRUE(a.at("plan_target").has_value());
    EXPECT_TRUE(a.at("plan_count").has_value());

    // Too flat for step 1: the row stays, with the step's message and no results.
    const Feature& flat = features[2];
    EXPECT_EQ(flat.at("Gradient"), "1");
    EXPECT_EQ(flat.at("stopped_at"), "1");
    EXPECT_FALSE(flat.at("EFL").has_value());
    EXPECT_NE(flat.at("messages").value_or("").find("Schritt 1: "), std::string::npos);
    // Outside the raster: no terrain figures, the terrain's message.
    const Feature& outside = features[3];
    EXPECT_FALSE(outside.at("Gradient").has_value());
    EXPECT_FALSE(outside.at("GBF").has_value());
    // Its share with the point, as every number the CLI writes.
    EXPECT_NE(outside.at("messages").value_or("").find(" % "), std::string::npos);
    EXPECT_EQ(outside.at("messages").value_or("").find(','), std::string::npos)
        << outside.at("messages").value_or("");

    // Every parcel with terrain figures has its path, the flat one too.
    EXPECT_EQ(ReadFeatures(out, "fliesswege").size(), 3u);

    // One worker or two: the same rows in the same order.
    const std::string single = dir.File("einzeln.gpkg");
    ASSERT_EQ(RunCommand(Cli("area " + Inputs() + " --template " + ShellQuote(example) +
                             " --measures --jobs 1 --out " + ShellQuote(single) + " 2>/dev/null"))
                  .status,
              0);
    EXPECT_EQ(ReadFeatures(single, "parzellen"), features);
}

TEST_F(CliArea, FilesFromTheLayerAreTakenFromItsFolder) {
    dir.Write("a.txt", ReadBytes(example));
    std::filesystem::create_directory(testing::PathOf(dir.File("unterordner")));
    dir.Write("unterordner/b.txt", ReadBytes(example));
    const std::string out = dir.File("ergebnis.gpkg");
    // Run from elsewhere: the files are found beside the layer, not in the working folder.
    const std::filesystem::path here = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    const auto run =
        RunCommand(Cli("area " + Inputs() + " --files datei --out " + ShellQuote(out) + " 2>&1"));
    std::filesystem::current_path(here);
    // One parcel's file is missing: the run fails as evaluate does, and every row is written.
    EXPECT_EQ(run.status, 1) << run.out;
    const std::vector<Feature> features = ReadFeatures(out, "parzellen");
    ASSERT_EQ(features.size(), 4u) << run.out;
    EXPECT_EQ(features[0].at("file"), dir.File("a.txt"));
    EXPECT_TRUE(features[0].at("GBF").has_value());
    EXPECT_EQ(features[1].at("file"), dir.File("unterordner/b.txt"));
    EXPECT_TRUE(features[1].at("GBF").has_value());
    EXPECT_NE(features[2].at("messages").value_or("").find(dir.File("fehlt.txt") + ": "),
              std::string::npos)
        << features[2].at("messages").value_or("");
}

TEST_F(CliArea, RefusesToOverwriteItsInputs) {
    const std::string before = ReadBytes(parcels);
    for (const std::string& target : {parcels, dem, example}) {
        const auto run = RunCommand(Cli("area " + Inputs() + " --template " + ShellQuote(example) +
                                        " --out " + ShellQuote(target) + " 2>&1"));
        EXPECT_EQ(run.status, 2) << target;
        EXPECT_NE(run.out.find("würde überschrieben"), std::string::npos) << run.out;
    }
    EXPECT_EQ(ReadBytes(parcels), before);
    struct Bad {
        std::string args;
        const char* message;
    };
    for (const Bad& bad : std::vector<Bad>{
             {"--out x.gpkg", "entweder --template DATEI oder --files FELD"},
             {"--template a --files b --out x.gpkg", "entweder --template"},
             {"--template a", "--out fehlt"},
             {"--template a --out x.gpkg --jobs 0", "--jobs braucht"},
         }) {
        const auto run = RunCommand(Cli("area " + Inputs() + " " + bad.args + " 2>&1"));
        EXPECT_EQ(run.status, 2) << bad.args;
        EXPECT_NE(run.out.find(bad.message), std::string::npos) << run.out;
    }
    const auto missing =
        RunCommand(Cli("area --dem " + ShellQuote(dir.File("nichts.tif")) + " --parcels " +
                       ShellQuote(parcels) + " --template " + ShellQuote(example) + " --out " +
                       ShellQuote(dir.File("x.gpkg")) + " 2>&1"));
    EXPECT_EQ(missing.status, 1) << missing.out;
    EXPECT_FALSE(std::filesystem::exists(testing::PathOf(dir.File("x.gpkg"))));
}

// The raster cut into four tiles, given as a folder or as files: every figure as on the whole.
TEST_F(CliArea, TilesGiveTheFiguresOfTheWholeRaster) {
    std::filesystem::create_directory(testing::PathOf(dir.File("kacheln")));
    const int half = kSize / 2;
    std::vector<std::string> tiles;
    for (int i = 0; i < 4; ++i) {
        const double left = kLeft + (i % 2) * half * kCell, top = kTop - (i / 2) * half * kCell;
        tiles.push_back(dir.File("kacheln/" + std::to_string(i) + ".tif"));
        ASSERT_TRUE(testing::WriteRaster(tiles.back(), half, half, kCell, left, top, 2056, Height));
    }
    dir.Write("kacheln/liesmich.txt", "keine Kachel");
    const auto whole = RunCommand(Cli("terrain " + Inputs()));
    ASSERT_EQ(whole.status, 0) << whole.out;
    std::string files;
    for (const std::string& tile : tiles) {
        files += " " + ShellQuote(tile);
    }
    for (const std::string& dem : {" " + ShellQuote(dir.File("kacheln")), files}) {
        const auto tiled = RunCommand(
            Cli("terrain --dem" + dem + " --parcels " + ShellQuote(parcels) + " --id id"));
        ASSERT_EQ(tiled.status, 0) << tiled.out;
        EXPECT_EQ(tiled.out, whole.out) << dem;
    }
    // Parcel A (x 100 to 220 m, y 280 to 320 m) lies across the seam at 300 m.
    ASSERT_GT(ParseJsonLines(whole.out).at(0)["cells_used"].number, 0);

    // Tiles of another cell size do not make one raster.
    ASSERT_TRUE(
        testing::WriteRaster(dir.File("grob.tif"), 10, 10, 5, kLeft + 600, kTop, 2056, Height));
    const auto mixed =
        RunCommand(Cli("terrain --dem" + files + " " + ShellQuote(dir.File("grob.tif")) +
                       " --parcels " + ShellQuote(parcels) + " 2>&1"));
    EXPECT_EQ(mixed.status, 1);
    EXPECT_NE(mixed.out.find("verschiedene Zellgrössen"), std::string::npos) << mixed.out;
    const auto empty = RunCommand(Cli("terrain --dem " + ShellQuote(dir.File("unterordner")) +
                                      " --parcels " + ShellQuote(parcels) + " 2>&1"));
    EXPECT_EQ(empty.status, 1);
}

// Without --id the layer's own ids; the GeoPackage holds the lines of concentrated flow and a
// style for each layer as QGIS reads it.
TEST_F(CliArea, OwnIdsConcentratedFlowAndStyles) {
    // A valley along the x axis, its sides 10 %, falling 2 % to the east.
    const double valley = kTop - 301;
    ASSERT_TRUE(
        testing::WriteRaster(dem, kSize, kSize, kCell, kLeft, kTop, 2056, [&](double x, double y) {
            return 600 - 0.02 * (x - kLeft) + 0.10 * std::fabs(y - valley);
        }));
    ASSERT_TRUE(testing::WriteLayer(
        parcels, 2056,
        {{"Talacker", Rectangle(kLeft + 200, valley, 100, 100), ""},
         {"Hang", Rectangle(kLeft + 200, valley + 110, 90, 60, -std::numbers::pi / 2), ""}}));
    const std::string out = dir.File("ergebnis.gpkg");
    const auto run = RunCommand(Cli("area --dem " + ShellQuote(dem) + " --parcels " +
                                    ShellQuote(parcels) + " --template " + ShellQuote(example) +
                                    " --out " + ShellQuote(out) + " 2>&1"));
    ASSERT_EQ(run.status, 0) << run.out;
    const std::vector<Feature> features = ReadFeatures(out, "parzellen");
    ASSERT_EQ(features.size(), 2u);
    EXPECT_EQ(features[0].at("id"), "Talacker");
    // Down the valley side, 50 m, not along the valley.
    EXPECT_NEAR(std::stod(features[0].at("flow_length_m").value()), 51, 2 * kCell);
    EXPECT_GT(std::stod(features[0].at("concentrated_flow_m").value()), 80);
    EXPECT_EQ(std::stod(features[1].at("concentrated_flow_m").value()), 0);
    const std::vector<Feature> lines = ReadFeatures(out, "talwege");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].at("id"), "Talacker");

    std::map<std::string, Feature> styles;
    for (const Feature& style : ReadFeatures(out, "layer_styles")) {
        styles[style.at("f_table_name").value_or("")] = style;
    }
    ASSERT_EQ(styles.size(), 3u);
    for (const auto& [layer, style] : styles) {
        EXPECT_EQ(style.at("useAsDefault"), "1") << layer;
        EXPECT_EQ(style.at("f_geometry_column"), "geom") << layer;
        EXPECT_NE(style.at("styleSLD").value_or("").find("<StyledLayerDescriptor"),
                  std::string::npos);
    }
    const std::string parcelStyle = styles.at("parzellen").at("styleQML").value_or("");
    EXPECT_NE(parcelStyle.find("type=\"categorizedSymbol\" attr=\"GBF\""), std::string::npos);
    // The dark orange of level 2, as the step 7 legend and the map show it.
    EXPECT_NE(parcelStyle.find("value=\"2\" label=\"2: Bodenfruchtbarkeit gefährdet\""),
              std::string::npos)
        << parcelStyle;
    EXPECT_NE(parcelStyle.find("value=\"236,128,40,210\""), std::string::npos) << parcelStyle;
    EXPECT_NE(styles.at("talwege").at("styleQML").value_or("").find("150,40,190,255"),
              std::string::npos);
}

TEST_F(CliArea, MapPageRenders) {
    if (!cli::ReportsAvailable()) {
        GTEST_SKIP() << "built without PDF support";
    }
    const std::string map = dir.File("karte.pdf");
    const auto run = RunCommand(Cli("area " + Inputs() + " --template " + ShellQuote(example) +
                                    " --out " + ShellQuote(dir.File("e.gpkg")) + " --map " +
                                    ShellQuote(map) + " 2>/dev/null"));
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find(map), std::string::npos);
    const auto info = RunCommand("pdfinfo " + ShellQuote(map) + " 2>&1");
    EXPECT_NE(info.out.find("595 x 842 pts (A4)"), std::string::npos) << info.out;
    const auto png = RunCommand("pdftoppm -png -r 30 -singlefile " + ShellQuote(map) + " " +
                                ShellQuote(dir.File("karte")) + " 2>&1");
    EXPECT_EQ(png.status, 0) << png.out;
    EXPECT_GT(ReadBytes(dir.File("karte.png")).size(), 1000u);
    const std::string text = RunCommand("pdftotext " + ShellQuote(map) + " - 2>&1").out;
    for (const char* expected : {"Gefährdungsstufe der Bodenfruchtbarkeit je Parzelle",
                                 "Bodenfruchtbarkeit akut gefährdet", "ohne Ergebnis", "N"}) {
        EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
    }
}

} // namespace
} // namespace brisolt
