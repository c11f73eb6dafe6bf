#include "report/area_map.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>

#include "key/core/texts_results.h"

namespace brisolt::report {

namespace {

// Where the map sits on the sheet, in millimetres.
constexpr RectMm kMapBox{15, 34, 180, 200};
// Hillshade pixels per millimetre: about 150 dpi, fine enough for print, small in the file.
constexpr double kShadePixelsPerMm = 6;
constexpr double kMarginShare = 0.04;

// The step 7 legend: levels 0 and 1A sit on the white sheet in circles of their grey,
// 1B on the light orange band, 2 and 3 in the dark orange box (whose frame is brown). The map
// fills 1A with the circle's grey, 1B and 2 with the band's and the box's colour, and 3 with
// the box's brown.
constexpr Rgba kLightOrange = kLegendLightOrange;
constexpr Rgba kDarkOrange = kLegendDarkOrange;
constexpr Rgba kBoxFrame = kLegendBoxFrame;
constexpr Rgba kBlack{0, 0, 0, 255};
constexpr Rgba kWhite{255, 255, 255, 255};

using Level = MapLevel;
constexpr std::array<Level, 5> kLevels{{
    {texts::results::step7::kLevel0, texts::results::step7::kLevel0Meaning},
    {texts::results::step7::kLevel1A, texts::results::step7::kLevel1AMeaning},
    {texts::results::step7::kLevel1B, texts::results::step7::kLevel1BMeaning},
    {texts::results::step7::kLevel2, texts::results::step7::kLevel2Meaning},
    {texts::results::step7::kLevel3, texts::results::step7::kLevel3Meaning},
}};

class Projection {
public:
    explicit Projection(const MapFrame& frame)
        : frame_(frame), scale_(kMapBox.width / std::max(frame.maxX - frame.minX, 1e-9)) {}
    PointMm operator()(MapPoint p) const {
        return {kMapBox.x + (p.x - frame_.minX) * scale_, kMapBox.y + (frame_.maxY - p.y) * scale_};
    }
    double MmPerMetre() const { return scale_; }

private:
    MapFrame frame_;
    double scale_;
};

Element TextAt(RectMm box, std::string text, double points, bool bold = false,
               Align align = Align::Left) {
    Element e;
    e.kind = ElementKind::Text;
    e.box = box;
    e.text = std::move(text);
    e.fontPoints = points;
    e.bold = bold;
    e.align = align;
    return e;
}

Element Polygon(std::vector<PointMm> ring, Rgba fill, Rgba stroke, double strokeMm) {
    Element e;
    e.kind = ElementKind::Shape;
    e.paths.push_back(std::move(ring));
    e.shapeFill = fill;
    e.stroke = stroke;
    e.strokeMm = strokeMm;
    return e;
}

std::vector<PointMm> Rectangle(double x, double y, double width, double height) {
    return {{x, y}, {x + width, y}, {x + width, y + height}, {x, y + height}};
}

std::vector<PointMm> Projected(const std::vector<MapPoint>& line, const Projection& project) {
    std::vector<PointMm> points;
    points.reserve(line.size());
    for (const MapPoint p : line) {
        points.push_back(project(p));
    }
    return points;
}

Element ParcelShape(const MapParcel& parcel, const Projection& project) {
    Element e;
    e.kind = ElementKind::Shape;
    for (const std::vector<MapPoint>& ring : parcel.rings) {
        e.paths.push_back(Projected(ring, project));
    }
    e.shapeFill = MapLevelColour(parcel.level);
    e.shapeFill.alpha = e.shapeFill.alpha > 0 ? kParcelAlpha : 0;
    e.stroke = parcel.level.empty() ? kNoResultLine : kBlack;
    e.strokeMm = 0.12;
    return e;
}

// The longest round length (1, 2 or 5 times a power of ten metres) not longer than `mm`.
double ScaleBarMetres(double mmPerMetre, double mm) {
    const double most = mm / mmPerMetre;
    double best = 1;
    for (double power = 1; power <= 1e7; power *= 10) {
        for (const double step : {1.0, 2.0, 5.0}) {
            if (step * power <= most) {
                best = step * power;
            }
        }
    }
    return best;
}

std::string LengthText(double metres) {
    const auto whole = [](double x) { return std::to_string(static_cast<long long>(x)); };
    return metres >= 1000 ? whole(metres / 1000) + " km" : whole(metres) + " m";
}

void AddScaleBar(Page& page, const Projection& project) {
    const double metres = ScaleBarMetres(project.MmPerMetre(), 40);
    const double length = metres * project.MmPerMetre();
    const double x = kMapBox.x + 4;
    const double y = kMapBox.y + kMapBox.height - 9;
    page.elements.push_back(
        Polygon(Rectangle(x - 2, y - 4.5, length + 4 + 12, 11), kWhite, kBlack, 0.1));
    const double half = length / 2;
    page.elements.push_back(Polygon(Rectangle(x, y, half, 1.6), kBlack, kBlack, 0.15));
    page.elements.push_back(Polygon(Rectangle(x + half, y, half, 1.6), kWhite, kBlack, 0.15));
    page.elements.push_back(TextAt({x - 3, y - 4.2, 6, 3.5}, "0", 7, false, Align::Center));
    page.elements.push_back(
        TextAt({x + length - 10, y - 4.2, 20, 3.5}, LengthText(metres), 7, false, Align::Center));
    page.elements.push_back(
        TextAt({x, y + 2, length + 12, 3.5},
               "1 : " + std::to_string(static_cast<long long>(
                            std::llround(1000.0 / project.MmPerMetre() / 100) * 100)),
               7));
}

void AddNorthArrow(Page& page) {
    const double cx = kMapBox.x + kMapBox.width - 9;
    const double top = kMapBox.y + 4;
    page.elements.push_back(Polygon(Rectangle(cx - 5, top - 1, 10, 17), kWhite, kBlack, 0.1));
    page.elements.push_back(
        Polygon({{cx, top + 5}, {cx + 3, top + 14}, {cx, top + 11.5}}, kWhite, kBlack, 0.2));
    page.elements.push_back(
        Polygon({{cx, top + 5}, {cx - 3, top + 14}, {cx, top + 11.5}}, kBlack, kBlack, 0.2));
    page.elements.push_back(TextAt({cx - 4, top, 8, 4.5}, "N", 9, true, Align::Center));
}

void AddLegend(Page& page, const AreaMap& map) {
    std::array<int, kLevels.size()> counts{};
    int none = 0;
    for (const MapParcel& parcel : map.parcels) {
        const auto found = std::find_if(kLevels.begin(), kLevels.end(),
                                        [&](const Level& l) { return l.label == parcel.level; });
        if (found == kLevels.end()) {
            ++none;
        } else {
            ++counts[static_cast<std::size_t>(found - kLevels.begin())];
        }
    }
    double y = kMapBox.y + kMapBox.height + 5;
    page.elements.push_back(
        TextAt({kMapBox.x, y, 120, 4.5}, "Gefährdungsstufe der Bodenfruchtbarkeit (GBF)", 9, true));
    y += 5.5;
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        MapParcel sample;
        sample.level = std::string(kLevels[i].label);
        Element patch = ParcelShape(sample, Projection(map.frame));
        patch.paths = {Rectangle(kMapBox.x, y + 0.5, 9, 3.5)};
        page.elements.push_back(patch);
        page.elements.push_back(
            TextAt({kMapBox.x + 11, y, 10, 4.5}, std::string(kLevels[i].label), 8, true));
        page.elements.push_back(
            TextAt({kMapBox.x + 20, y, 85, 4.5}, std::string(kLevels[i].meaning), 8));
        page.elements.push_back(TextAt({kMapBox.x + 105, y, 20, 4.5},
                                       std::to_string(counts[i]) + " Parz.", 8, false,
                                       Align::Right));
        y += 4.8;
    }
    double x = kMapBox.x + 132;
    double y2 = kMapBox.y + kMapBox.height + 10.5;
    page.elements.push_back(
        Polygon(Rectangle(x, y2 + 0.5, 9, 3.5), Rgba{0, 0, 0, 0}, kNoResultLine, 0.12));
    page.elements.push_back(TextAt({x + 11, y2, 37, 4.5}, "ohne Ergebnis", 8));
    page.elements.push_back(
        TextAt({x + 11, y2 + 4.8, 37, 4.5}, std::to_string(none) + " Parz.", 8));
    y2 += 11;
    Element line;
    line.kind = ElementKind::Shape;
    line.closed = false;
    line.paths = {{{x, y2 + 2.25}, {x + 9, y2 + 2.25}}};
    line.stroke = kFlowPath;
    line.strokeMm = 0.35;
    page.elements.push_back(line);
    page.elements.push_back(TextAt({x + 11, y2, 37, 4.5}, "längster Fliessweg", 8));
    y2 += 5.5;
    line.paths = {{{x, y2 + 2.25}, {x + 9, y2 + 2.25}}};
    line.stroke = kConcentratedFlow;
    page.elements.push_back(line);
    page.elements.push_back(TextAt({x + 11, y2, 37, 8}, "Talweg (gebündelter Abfluss)", 8));
}

} // namespace

const std::vector<MapLevel>& MapLevels() {
    static const std::vector<MapLevel> levels(kLevels.begin(), kLevels.end());
    return levels;
}

Rgba MapLevelColour(const std::string& level) {
    namespace t7 = texts::results::step7;
    if (level == t7::kLevel0) {
        return kWhite;
    }
    if (level == t7::kLevel1A) {
        return {218, 218, 218, 255};
    }
    if (level == t7::kLevel1B) {
        return kLightOrange;
    }
    if (level == t7::kLevel2) {
        return kDarkOrange;
    }
    // The legend puts 2 and 3 in one box; on a map they must differ at a glance, so 3 takes
    // the box's brown frame colour as its fill.
    if (level == t7::kLevel3) {
        return kBoxFrame;
    }
    return {0, 0, 0, 0};
}

MapFrame FrameFor(double minX, double minY, double maxX, double maxY) {
    MapFrame frame;
    const double cx = (minX + maxX) / 2;
    const double cy = (minY + maxY) / 2;
    double width = std::max(maxX - minX, 1.0) * (1 + 2 * kMarginShare);
    double height = std::max(maxY - minY, 1.0) * (1 + 2 * kMarginShare);
    const double aspect = kMapBox.width / kMapBox.height;
    if (width / height > aspect) {
        height = width / aspect;
    } else {
        width = height * aspect;
    }
    frame.minX = cx - width / 2;
    frame.maxX = cx + width / 2;
    frame.minY = cy - height / 2;
    frame.maxY = cy + height / 2;
    frame.columns = static_cast<int>(std::lround(kMapBox.width * kShadePixelsPerMm));
    frame.rows = static_cast<int>(std::lround(kMapBox.height * kShadePixelsPerMm));
    return frame;
}

Page BuildAreaMap(const AreaMap& map) {
    Page page;
    page.name = "Gefährdungskarte";
    page.elements.push_back(
        TextAt({15, 10, 140, 7}, "Gefährdungsstufe der Bodenfruchtbarkeit je Parzelle", 14, true));
    page.elements.push_back(TextAt({155, 10, 40, 7}, map.date, 9, false, Align::Right));
    double y = 19;
    for (const std::string& line : map.sources) {
        Element e = TextAt({15, y, 180, 4}, line, 8);
        e.minFontPoints = 5; // file names can be long
        e.wrap = false;
        page.elements.push_back(std::move(e));
        y += 4;
        if (y > kMapBox.y - 4) {
            break;
        }
    }

    Element shade;
    shade.kind = ElementKind::Image;
    shade.box = kMapBox;
    shade.imageColumns = map.frame.columns;
    shade.imageRows = map.frame.rows;
    shade.grey = map.hillshade;
    page.elements.push_back(std::move(shade));

    const Projection project(map.frame);
    for (const MapParcel& parcel : map.parcels) {
        page.elements.push_back(ParcelShape(parcel, project));
    }
    // Concentrated flow under the flow paths, which end on it.
    Element concentrated;
    concentrated.kind = ElementKind::Shape;
    concentrated.closed = false;
    concentrated.stroke = kConcentratedFlow;
    concentrated.strokeMm = 0.35;
    for (const std::vector<MapPoint>& line : map.concentratedFlow) {
        concentrated.paths.push_back(Projected(line, project));
    }
    page.elements.push_back(std::move(concentrated));
    Element paths;
    paths.kind = ElementKind::Shape;
    paths.closed = false;
    paths.stroke = kFlowPath;
    paths.strokeMm = 0.25;
    for (const std::vector<MapPoint>& path : map.flowPaths) {
        paths.paths.push_back(Projected(path, project));
    }
    page.elements.push_back(std::move(paths));

    Element frame;
    frame.kind = ElementKind::Box;
    frame.box = kMapBox;
    frame.frame = Frame::All();
    page.elements.push_back(frame);
    AddNorthArrow(page);
    AddScaleBar(page, project);
    AddLegend(page, map);
    return page;
}

} // namespace brisolt::report
