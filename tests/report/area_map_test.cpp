// The map page: where the world lands on the sheet, and what the legend counts.

#include <gtest/gtest.h>

#include <algorithm>

#include "report/area_map.h"

namespace brisolt::report {
namespace {

TEST(AreaMap, FrameHoldsTheDataInTheMapsShape) {
    struct Case {
        double minX, minY, maxX, maxY;
    };
    for (const Case c : {Case{0, 0, 1000, 100}, Case{0, 0, 100, 5000}, Case{5, 5, 5, 5}}) {
        const MapFrame f = FrameFor(c.minX, c.minY, c.maxX, c.maxY);
        EXPECT_LT(f.minX, c.minX);
        EXPECT_GT(f.maxX, c.maxX);
        EXPECT_LT(f.minY, c.minY);
        EXPECT_GT(f.maxY, c.maxY);
        // Metres per millimetre the same across and down: no parcel is stretched.
        EXPECT_NEAR((f.maxX - f.minX) / (f.maxY - f.minY), static_cast<double>(f.columns) / f.rows,
                    1e-3);
    }
}

TEST(AreaMap, ParcelsTakeTheirLevelsColourAndTheLegendCountsThem) {
    AreaMap map;
    map.frame = FrameFor(0, 0, 900, 1000);
    map.hillshade.assign(static_cast<std::size_t>(map.frame.columns) * map.frame.rows, 128);
    const std::vector<std::vector<MapPoint>> square = {{{0, 0}, {100, 0}, {100, 100}, {0, 100}}};
    for (const char* level : {"2", "2", "1B", "", "3"}) {
        map.parcels.push_back({square, level});
    }
    map.flowPaths = {{{10, 90}, {10, 10}}};
    map.concentratedFlow = {{{50, 100}, {50, 0}}, {{0, 50}, {50, 50}}};
    const Page page = BuildAreaMap(map);

    std::vector<const Element*> shapes;
    for (const Element& e : page.elements) {
        if (e.kind == ElementKind::Shape && e.closed && e.paths.size() == 1 &&
            e.paths[0].size() == 4 && e.paths[0][1].x - e.paths[0][0].x > 15) {
            shapes.push_back(&e);
        }
    }
    ASSERT_GE(shapes.size(), 5u);
    // Inside the map's box, north up: the square's first corner (south-west) lies below its
    // last (north-west).
    EXPECT_GT(shapes[0]->paths[0][0].y, shapes[0]->paths[0][3].y);
    EXPECT_EQ(shapes[0]->shapeFill.red, MapLevelColour("2").red);
    EXPECT_EQ(shapes[2]->shapeFill.green, MapLevelColour("1B").green);
    EXPECT_EQ(shapes[3]->shapeFill.alpha, 0);                      // no result: outline only
    EXPECT_NE(shapes[4]->shapeFill.red, shapes[0]->shapeFill.red); // 3 differs from 2 at a glance
    // 100 m on a map 200 mm high showing 1080 m (the data and a margin of 4 % each side).
    EXPECT_NEAR(shapes[0]->paths[0][1].x - shapes[0]->paths[0][0].x, 100 * 200 / 1080.0, 1e-6);

    for (const char* text : {"2 Parz.", "1 Parz.", "0 Parz."}) {
        EXPECT_NE(FindText(page, text), nullptr) << text;
    }
    // The scale bar: the longest round length up to 40 mm (216 m here).
    EXPECT_NE(FindText(page, "200 m"), nullptr);
    // Concentrated flow in its own colour, and in the legend.
    const auto lines = [&](Rgba colour) {
        return std::find_if(page.elements.begin(), page.elements.end(), [&](const Element& e) {
            return e.kind == ElementKind::Shape && !e.closed && e.paths.size() >= 2 &&
                   e.stroke.red == colour.red && e.stroke.blue == colour.blue;
        });
    };
    ASSERT_NE(lines(kConcentratedFlow), page.elements.end());
    EXPECT_EQ(lines(kConcentratedFlow)->paths.size(), 2u);
    EXPECT_NE(FindText(page, "Talweg (gebündelter Abfluss)"), nullptr);
    const auto image = std::find_if(page.elements.begin(), page.elements.end(),
                                    [](const Element& e) { return e.kind == ElementKind::Image; });
    ASSERT_NE(image, page.elements.end());
    EXPECT_EQ(image->grey.size(), map.hillshade.size());
}

} // namespace
} // namespace brisolt::report
