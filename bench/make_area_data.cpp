// Writes the area benchmark's data: an 8 x 8 km raster in LV95 with smooth rolling relief, of
// 2 m cells (4000 x 4000) or, with CELL 0.5, of the national model's finest cells (16 times as
// many, written in tiles as that model comes), and a GeoPackage of 10,000 rectangular parcels
// of 1 to 3 ha. 10,000 such parcels need more than the raster's 64 km2, so they overlap: each
// is assessed on its own.
// Usage: make_area_data FOLDER [PARCELS] [CELL]

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "support/rasters.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: make_area_data ORDNER [PARZELLEN]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int count = argc > 2 ? std::stoi(argv[2]) : 10000;
    const double cell = argc > 3 ? std::stod(argv[3]) : 2;
    constexpr double kLeft = 2600000, kTop = 1210000, kExtent = 8000;
    const int size = static_cast<int>(std::lround(kExtent / cell));
    const auto height = [](double x, double y) {
        const double u = x - kLeft, v = kTop - y;
        double h = 550 + 45 * std::sin(u / 760) * std::cos(v / 910) + 20 * std::sin((u + v) / 330) +
                   8 * std::cos((u - 2 * v) / 150);
        // A few broad hills.
        const double hills[][3] = {
            {1500, 2000, 60}, {5200, 1800, 45}, {3000, 6000, 70}, {6500, 6500, 50}};
        for (const auto& hill : hills) {
            const double d2 = (u - hill[0]) * (u - hill[0]) + (v - hill[1]) * (v - hill[1]);
            h += hill[2] * std::exp(-d2 / (2 * 900.0 * 900.0));
        }
        return h;
    };
    if (!brisolt::testing::WriteRaster(folder + "/dem.tif", size, size, cell, kLeft, kTop, 2056,
                                       height, std::nullopt, cell < 2)) {
        std::fprintf(stderr, "Raster nicht geschrieben\n");
        return 1;
    }
    std::mt19937 random(20);
    std::uniform_real_distribution<double> unit(0, 1);
    std::vector<brisolt::testing::LayerParcel> parcels;
    parcels.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const double area = 10000 + 20000 * unit(random);
        const double aspect = 1 + 2 * unit(random);
        const double length = std::sqrt(area * aspect);
        const double width = area / length;
        const double angle = 2 * M_PI * unit(random);
        const double x = kLeft + 250 + (kExtent - 500) * unit(random);
        const double y = kTop - 250 - (kExtent - 500) * unit(random);
        parcels.push_back({"P" + std::to_string(i + 1),
                           brisolt::testing::Rectangle(x, y, length, width, angle), ""});
    }
    if (!brisolt::testing::WriteLayer(folder + "/parcels.gpkg", 2056, parcels)) {
        std::fprintf(stderr, "Layer nicht geschrieben\n");
        return 1;
    }
    return 0;
}
