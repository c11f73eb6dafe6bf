// brisolt-cli terrain and area on rasters and layers written with GDAL: the rows against the
// geometry, the GeoPackage against ogrinfo and against evaluate on the same inputs.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include <gdal_utils.h>

#include "cli/report_command.h"
#include "support/json.h"
#include "support/rasters.h"
#include "support/run.h"
#include "support/temp_dir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace brisolt {
namespace {

using testing::LayerParcel;
using testing::ParseJsonLines;
using testing::ReadBytes;
using testing::Rectangle;
using testing::RunCommand;
using testing::ShellQuote;
using testing::TempDir;
using testing::WktFeature;

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
    EXPECT_EQ(ReadBytes(map).substr(0, 5), "%PDF-");
#ifndef _WIN32
    // Read back by poppler's tools, which the Windows run does not have.
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
#endif
}

// Outputs never replace a file the run reads: the layer's side files, a parcel's calculation
// file, a tile of the raster. Nothing is written then.
TEST_F(CliArea, OutputsNeverReplaceWhatTheRunReads) {
    const std::string shapefile = dir.File("schlaege.shp");
    ASSERT_TRUE(testing::WriteLayer(shapefile, 2056,
                                    {{"A", Rectangle(kLeft + 100, kTop - 300, 120, 40), "a.txt"}}));
    dir.Write("schlaege.qix", "ein Index");
    dir.Write("a.txt", ReadBytes(example));
    std::filesystem::create_directory(testing::PathOf(dir.File("kacheln")));
    std::vector<std::string> tiles;
    for (int i = 0; i < 2; ++i) {
        tiles.push_back(dir.File("kacheln/" + std::to_string(i) + ".tif"));
        ASSERT_TRUE(testing::WriteRaster(tiles.back(), kSize / 2, kSize, kCell,
                                         kLeft + i * kSize / 2 * kCell, kTop, 2056, Height));
    }
    const char* names[] = {tiles[0].c_str(), tiles[1].c_str()};
    const std::string vrt = dir.File("mosaik.vrt");
    GDALClose(GDALBuildVRT(vrt.c_str(), 2, nullptr, names, nullptr, nullptr));
    const std::string side = dir.File("frei.gpkg");
    struct Clash {
        std::string dem;
        std::string rest;
        std::string target; // the file that must stay as it is
    };
    const std::string layer = " --parcels " + ShellQuote(shapefile) + " --id id";
    const std::string withTemplate = " --template " + ShellQuote(example);
    std::vector<Clash> clashes;
    for (const char* ending : {".dbf", ".shx", ".prj", ".qix"}) {
        const std::string target = dir.File(std::string("schlaege") + ending);
        clashes.push_back({dem, withTemplate + " --out " + ShellQuote(target), target});
    }
    clashes.push_back(
        {dem, " --files datei --out " + ShellQuote(dir.File("a.txt")), dir.File("a.txt")});
    clashes.push_back({vrt, withTemplate + " --out " + ShellQuote(tiles[0]), tiles[0]});
    clashes.push_back({dir.File("kacheln"),
                       withTemplate + " --out " + ShellQuote(side) +
                           (cli::ReportsAvailable() ? " --map " : " --out ") + ShellQuote(tiles[1]),
                       tiles[1]});
    for (const Clash& clash : clashes) {
        SCOPED_TRACE(clash.target);
        const std::string before = ReadBytes(clash.target);
        const auto run =
            RunCommand(Cli("area --dem " + ShellQuote(clash.dem) + layer + clash.rest + " 2>&1"));
        EXPECT_EQ(run.status, 2) << run.out;
        EXPECT_NE(run.out.find("würde überschrieben"), std::string::npos) << run.out;
        EXPECT_EQ(ReadBytes(clash.target), before);
        EXPECT_FALSE(std::filesystem::exists(testing::PathOf(side)));
    }
}

#ifndef _WIN32
// A named pipe as raster or layer would keep GDAL waiting for ever: refused at once.
TEST_F(CliArea, NamesThatAreNoFilesAreRefusedWithoutWaiting) {
    const std::string pipe = dir.File("pipe");
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string& args :
         {"terrain --dem " + ShellQuote(pipe) + " --parcels " + ShellQuote(parcels),
          "terrain --dem " + ShellQuote(dem) + " --parcels " + ShellQuote(pipe),
          "area --dem " + ShellQuote(pipe) + " --parcels " + ShellQuote(parcels) + " --template " +
              ShellQuote(example) + " --out " + ShellQuote(dir.File("x.gpkg"))}) {
        const auto run = RunCommand("timeout 60 " + Cli(args) + " 2>&1");
        EXPECT_EQ(run.status, 1) << args << "\n" << run.out;
        EXPECT_NE(run.out.find("keine gewöhnliche Datei"), std::string::npos) << run.out;
    }
}
#endif

// Every feature keeps its row, and what is doubtful about the layer is said once.
TEST_F(CliArea, EveryFeatureKeepsItsRowAndDoubtsAreSaid) {
    const std::string mixed = dir.File("gemischt.gpkg");
    const std::string a = testing::Wkt(Rectangle(kLeft + 100, kTop - 300, 120, 40));
    const std::string point =
        "POINT(" + std::to_string(kLeft + 50) + " " + std::to_string(kTop - 50) + ")";
    const std::string line = "LINESTRING(" + std::to_string(kLeft + 50) + " " +
                             std::to_string(kTop - 50) + "," + std::to_string(kLeft + 90) + " " +
                             std::to_string(kTop - 90) + ")";
    ASSERT_TRUE(testing::WriteWktLayer(
        mixed, 2056,
        {{"A", a, ""},
         {"punkt", point, ""},
         {"A", line, ""},
         {"leer", "POLYGON EMPTY", ""},
         {std::nullopt, "", ""},
         {"B", testing::Wkt(Rectangle(kLeft + 20, kTop - 100, 60, 80)), ""}}));
    const std::string out = dir.File("ergebnis.gpkg");
    const auto run = RunCommand(Cli("area --dem " + ShellQuote(dem) + " --parcels " +
                                    ShellQuote(mixed) + " --id id --template " +
                                    ShellQuote(example) + " --out " + ShellQuote(out) + " 2>&1"));
    EXPECT_EQ(run.status, 0) << run.out;
    const std::vector<Feature> rows = ReadFeatures(out, "parzellen");
    ASSERT_EQ(rows.size(), 6u) << run.out;
    const char* expected[] = {
        "", "ist keine Fläche", "ist keine Fläche", "hat keine Geometrie", "hat keine Geometrie",
        ""};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const std::string messages = rows[i].at("messages").value_or("");
        EXPECT_EQ(rows[i].at("Gradient").has_value(), *expected[i] == '\0') << messages;
        if (*expected[i] != '\0') {
            EXPECT_NE(messages.find(expected[i]), std::string::npos) << messages;
        }
    }
    EXPECT_NE(run.out.find("4 von 6 Parzellen ohne Ergebnis"), std::string::npos) << run.out;
    // The repeated and the missing id, in one message.
    const std::size_t said = run.out.find("mehrfach dieselbe Id: «A» (2-mal)");
    EXPECT_NE(said, std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("mehrfach", said + 1), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("ist leer bei einem Schlag (Objekt 5)"), std::string::npos) << run.out;

    // A Shapefile in Latin-1 without .cpg: read as Windows-1252, said once.
    const std::string latin = dir.File("latin.shp");
    ASSERT_TRUE(testing::WriteWktLayer(
        latin, 2056,
        {{"Bühl", a, ""}, {"Bähl", testing::Wkt(Rectangle(kLeft + 20, kTop - 100, 60, 80)), ""}},
        {"ENCODING=ISO-8859-1"}));
    std::filesystem::remove(testing::PathOf(dir.File("latin.cpg")));
    {
        // The table's language byte: none.
        std::fstream dbf(testing::PathOf(dir.File("latin.dbf")),
                         std::ios::binary | std::ios::in | std::ios::out);
        dbf.seekp(29);
        dbf.put('\0');
    }
    const auto terrain = RunCommand(Cli("terrain --dem " + ShellQuote(dem) + " --parcels " +
                                        ShellQuote(latin) + " --id id 2>&1"));
    EXPECT_EQ(terrain.status, 0) << terrain.out;
    EXPECT_NE(terrain.out.find("{\"id\":\"Bühl\""), std::string::npos) << terrain.out;
    EXPECT_NE(terrain.out.find("{\"id\":\"Bähl\""), std::string::npos) << terrain.out;
    const std::size_t recoded = terrain.out.find("Windows-1252");
    EXPECT_NE(terrain.out.find("als Windows-1252 (Latin-1) gelesen"), std::string::npos)
        << terrain.out;
    EXPECT_EQ(terrain.out.find("Windows-1252", recoded + 1), std::string::npos);

    // Cells a spreadsheet would run as formulas are written as text; numbers stay numbers.
    ASSERT_TRUE(testing::WriteLayer(
        parcels, 2056,
        {{"=HYPERLINK(\"http://x\")", Rectangle(kLeft + 100, kTop - 300, 120, 40), ""},
         {"@SUMME(A1)", Rectangle(kLeft + 20, kTop - 100, 60, 80), ""},
         {"-3", Rectangle(kLeft + 100, kTop - 400, 60, 60), ""}}));
    const auto csv = RunCommand(Cli("terrain --format csv " + Inputs()));
    EXPECT_NE(csv.out.find("\r\n\"'=HYPERLINK(\"\"http://x\"\")\",true,"), std::string::npos)
        << csv.out;
    EXPECT_NE(csv.out.find("\r\n'@SUMME(A1),true,"), std::string::npos) << csv.out;
    EXPECT_NE(csv.out.find("\r\n-3,true,"), std::string::npos) << csv.out;
}

// What stops a run is said once on standard error, with the file it concerns; nothing is
// written then.
TEST_F(CliArea, InputErrorsEndTheRunWithTheirFile) {
    // Cut short: the header is there, most cells are not.
    const std::string shortDem = dir.File("kurz.tif");
    const std::string bytes = ReadBytes(dem);
    dir.Write("kurz.tif", bytes.substr(0, bytes.size() / 10));
    const std::string wgs84 = dir.File("wgs84.geojson");
    ASSERT_TRUE(
        testing::WriteLayer(wgs84, 4326, {{"A", Rectangle(kLeft + 100, kTop - 300, 120, 40), ""}}));
    const std::string bare = dir.File("ohne.tif");
    ASSERT_TRUE(testing::WriteRaster(bare, kSize, kSize, kCell, kLeft, kTop, 0, Height));
    const std::string locked = dir.File("gesperrt.gpkg");
    ASSERT_TRUE(testing::WriteLayer(locked, 2056,
                                    {{"A", Rectangle(kLeft + 100, kTop - 300, 120, 40), ""}}));
    // Another program writing the GeoPackage holds it locked.
    GDALDatasetH holder =
        GDALOpenEx(locked.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(holder);
    GDALDatasetReleaseResultSet(
        holder, GDALDatasetExecuteSQL(holder, "PRAGMA locking_mode = EXCLUSIVE", nullptr, nullptr));
    ASSERT_EQ(GDALDatasetStartTransaction(holder, FALSE), OGRERR_NONE);
    OGRLayerH holderLayer = GDALDatasetGetLayer(holder, 0);
    OGRFeatureH feature = OGR_L_GetNextFeature(holderLayer);
    ASSERT_EQ(OGR_L_SetFeature(holderLayer, feature), OGRERR_NONE);
    OGR_F_Destroy(feature);
    ASSERT_EQ(GDALDatasetCommitTransaction(holder), OGRERR_NONE);

    const std::string out = dir.File("ergebnis.gpkg");
    struct Stop {
        std::string dem;
        std::string parcels;
        std::string said; // the line on standard error
    };
    for (const Stop& stop : std::vector<Stop>{
             {shortDem, parcels,
              shortDem + ": Das Höhenmodell lässt sich nicht lesen; die Datei ist beschädigt oder "
                         "unvollständig ("},
             {dem, wgs84,
              wgs84 + ": Keine Parzelle liegt auf dem Höhenmodell — stimmt das Koordinatensystem "
                      "der Parzellen?"},
             {bare, parcels, bare + ": Das Höhenmodell hat kein Koordinatensystem"},
             {dem, locked, locked + ": Die Schlagebene ist in Gebrauch"},
         }) {
        SCOPED_TRACE(stop.said);
        for (const std::string& command :
             {std::string("terrain"),
              "area --template " + ShellQuote(example) + " --out " + ShellQuote(out)}) {
            const auto run =
                RunCommand(Cli(command + " --dem " + ShellQuote(stop.dem) + " --parcels " +
                               ShellQuote(stop.parcels) + " 2>&1 >/dev/null"));
            EXPECT_EQ(run.status, 1) << run.out;
            EXPECT_EQ(run.out.rfind("brisolt-cli: " + stop.said, 0), 0u) << run.out;
            EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
            EXPECT_FALSE(std::filesystem::exists(testing::PathOf(out)));
        }
    }
    GDALClose(holder);

    // A folder that is not there is found before the work, not after it: the work would show
    // its progress on a terminal.
    const std::string missing = dir.File("fehlt/ergebnis.gpkg");
    const auto early =
        RunCommand("script -qec " +
                   ShellQuote(Cli("area " + Inputs() + " --template " + ShellQuote(example) +
                                  " --out " + ShellQuote(missing))) +
                   " /dev/null");
    if (early.status != 127) {
        EXPECT_NE(early.out.find(missing + ": Die Datei kann nicht geschrieben werden"),
                  std::string::npos)
            << early.out;
        EXPECT_EQ(early.out.find("Parzelle "), std::string::npos) << early.out;
    }

    // A parcel's file of another version: its message ends as the program's own text does.
    dir.Write("alt.txt", "Version 1\r\n");
    ASSERT_TRUE(testing::WriteLayer(
        parcels, 2056, {{"A", Rectangle(kLeft + 100, kTop - 300, 120, 40), "alt.txt"}}));
    RunCommand(Cli("area " + Inputs() + " --files datei --out " + ShellQuote(out) + " 2>&1"));
    const std::string messages = ReadFeatures(out, "parzellen").at(0).at("messages").value_or("");
    EXPECT_NE(messages.find("werden!"), std::string::npos) << messages;
    EXPECT_EQ(messages.find("!."), std::string::npos) << messages;
}

// Two parcels 120 km apart on a raster of 2 m cells without overviews: the map's relief is
// read only around them, and the map says so.
TEST_F(CliArea, AMapOfFarApartParcelsReadsOnlyTheirSurroundings) {
    if (!cli::ReportsAvailable()) {
        GTEST_SKIP() << "built without PDF support";
    }
    const std::string wide = dir.File("weit.tif");
    {
        const char* options[] = {"TILED=YES", "SPARSE_OK=TRUE", nullptr};
        GDALDatasetH dataset = GDALCreate(GDALGetDriverByName("GTiff"), wide.c_str(), 60000, 2000,
                                          1, GDT_Float32, const_cast<char**>(options));
        ASSERT_TRUE(dataset);
        double transform[6] = {kLeft, kCell, 0, kTop, 0, -kCell};
        GDALSetGeoTransform(dataset, transform);
        OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
        OSRImportFromEPSG(srs, 2056);
        GDALSetSpatialRef(dataset, srs);
        OSRDestroySpatialReference(srs);
        std::vector<float> heights(300 * 300);
        for (int r = 0; r < 300; ++r) {
            for (int c = 0; c < 300; ++c)
                heights[static_cast<std::size_t>(r) * 300 + c] = static_cast<float>(600 - 0.16 * c);
        }
        for (const int column : {0, 59700}) {
            ASSERT_EQ(GDALRasterIO(GDALGetRasterBand(dataset, 1), GF_Write, column, 0, 300, 300,
                                   heights.data(), 300, 300, GDT_Float32, 0, 0),
                      CE_None);
        }
        GDALClose(dataset);
    }
    ASSERT_TRUE(testing::WriteLayer(
        parcels, 2056,
        {{"West", Rectangle(kLeft + 100, kTop - 300, 120, 40), ""},
         {"Ost", Rectangle(kLeft + 59700 * kCell + 100, kTop - 300, 120, 40), ""}}));
    const std::string map = dir.File("karte.pdf");
    const auto run =
        RunCommand(Cli("area --dem " + ShellQuote(wide) + " --parcels " + ShellQuote(parcels) +
                       " --template " + ShellQuote(example) + " --out " +
                       ShellQuote(dir.File("e.gpkg")) + " --map " + ShellQuote(map) + " 2>&1"));
    ASSERT_EQ(run.status, 0) << run.out;
#ifndef _WIN32 // poppler's pdftotext is there only on Linux
    const std::string text = RunCommand("pdftotext " + ShellQuote(map) + " - 2>&1").out;
    EXPECT_NE(text.find("Relief nur um die Parzellen"), std::string::npos) << text;
#endif
}

} // namespace
} // namespace brisolt
