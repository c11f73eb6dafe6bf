// A realistic landscape with fields whose flow length is paced on the surface itself, to set
// the program's figures against: 1 x 1 km of 2 m cells in LV95 with a valley (a concave foot on
// its north side), a divide, three hollows of different depth running down to the valley, a
// closed depression and a little noise, as a measured model has it.
//
// The pacing follows the help page: from every point of a field (every 2 m) the fall line of
// the smooth surface (without the noise) is walked in 0.5 m steps until it leaves the field,
// meets a valley line (the valley's axis, or a hollow's axis where the hollow is at least
// 0.3 m deep), enters the pond or reaches the foot where the land has flattened to half the
// mean slope the water came down (after at least 20 m). The longest walk is the field's flow
// length. Walking every point also finds the divides.
//
// Usage: make_landscape FOLDER [FIELD]   writes FOLDER/landscape.tif and FOLDER/fields.gpkg,
// prints the pacing and the program's figures per field as CSV, and draws FOLDER/landscape.png:
// the relief, the fields (red), the program's longest path (blue) and concentrated flow
// (violet), and the longest paced walk (yellow); with FIELD, that field alone, 5 pixels a metre,
// as FOLDER/FIELD.png.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/rasters.h"
#include "terrain/terrain.h"

namespace {

using brisolt::terrain::Point;
using brisolt::terrain::Shape;

constexpr double kLeft = 2610000, kTop = 1231000, kCell = 2;
constexpr int kSize = 500;

double SmoothStep(double from, double to, double x) {
    const double t = std::clamp((x - from) / (to - from), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// The valley's axis: v (metres south of the top) at u (metres east of the left edge).
double ValleyAxis(double u) {
    return 760 + 30 * std::sin(u / 180);
}

struct Hollow {
    double u0;    // axis at the head
    double head;  // v where it starts
    double depth; // m, reached 80 m below the head
    double half;  // half width, m
};
const Hollow kHollows[] = {{250, 250, 2.5, 35}, {520, 320, 1.5, 30}, {800, 380, 0.6, 40}};

double HollowAxis(const Hollow& h, double v) {
    return h.u0 + 15 * std::sin((v - h.head) / 90);
}
double HollowDepth(const Hollow& h, double v) {
    // Fades out on the valley's foot, so that it joins the valley instead of cutting it.
    return h.depth * SmoothStep(h.head, h.head + 80, v) *
           (1 - SmoothStep(ValleyAxis(h.u0) - 60, ValleyAxis(h.u0) - 10, v));
}

// The pond: a round pit on the foot north of the valley.
constexpr double kPondU = 400, kPondDepth = 1.2, kPondSigma = 8;
double PondV() {
    return ValleyAxis(kPondU) - 60;
}

// The smooth surface, in u (east) and v (south) metres.
double Smooth(double u, double v) {
    const double axis = ValleyAxis(u);
    const double d = v - axis; // < 0 north of the axis
    double z = 520 - 0.015 * u;
    if (d > 0) {
        z += 0.07 * d; // the south side: a straight 7 %
    } else {
        // North: a concave foot (1.5 % rising to 9 % between 40 and 140 m from the axis), a
        // convex top and a divide 120 m south of the top edge, falling north beyond it.
        const double t = -d;
        const double crest = axis - 120;
        // The rise over s metres: 1.5 % plus 7.5 % times a smooth step from 40 to 140 m.
        auto rise = [](double s) {
            const double tau = std::clamp((s - 40) / 100, 0.0, 1.0);
            const double step =
                s < 140 ? 100 * (tau * tau * tau - tau * tau * tau * tau / 2) : 50 + (s - 140);
            return 0.015 * s + 0.075 * step;
        };
        if (t <= crest - 80) {
            z += rise(t);
        } else if (t <= crest) {
            // Convex: the slope eases to 0 at the crest.
            const double base = rise(crest - 80);
            const double x = t - (crest - 80);
            z += base + 0.09 * (x - x * x / 160);
        } else {
            const double top = rise(crest - 80) + 0.09 * 40;
            const double x = t - crest;
            z += top - 0.09 * (x * x / 160) * (x < 80) - (x >= 80) * (0.09 * 40 + 0.08 * (x - 80));
        }
    }
    for (const Hollow& h : kHollows) {
        const double depth = HollowDepth(h, v);
        const double across = std::fabs(u - HollowAxis(h, v)) / h.half;
        if (depth > 0 && across < 1)
            z -= depth * (1 - across) * (1 - across);
    }
    const double du = u - kPondU, dv = v - PondV();
    z -= kPondDepth * std::exp(-(du * du + dv * dv) / (2 * kPondSigma * kPondSigma));
    return z;
}

// What a measured model adds: a few centimetres of smooth unevenness and a little noise.
double Noise(double u, double v) {
    static std::vector<double> white = [] {
        std::mt19937 random(7);
        std::uniform_real_distribution<double> unit(-0.01, 0.01);
        std::vector<double> values(static_cast<std::size_t>(kSize) * kSize);
        for (double& x : values)
            x = unit(random);
        return values;
    }();
    const int c = std::clamp(static_cast<int>(u / kCell), 0, kSize - 1);
    const int r = std::clamp(static_cast<int>(v / kCell), 0, kSize - 1);
    return 0.02 * std::sin(u / 7.3 + 1.1) * std::cos(v / 5.9) + 0.015 * std::sin((u + v) / 13.1) +
           white[static_cast<std::size_t>(r) * kSize + c];
}

bool Inside(const Shape& shape, double x, double y) {
    bool inside = false;
    for (const auto& ring : shape.rings) {
        for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
            const Point& a = ring[i];
            const Point& b = ring[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x)
                inside = !inside;
        }
    }
    return inside;
}

// The pond's water level: the lowest level at which water in the pit spills, found by
// raising the level until the region below it around the pit touches the pit's surroundings.
double PondLevel() {
    const double step = 0.25;
    const int n = static_cast<int>(120 / step);
    std::vector<double> z(static_cast<std::size_t>(n) * n);
    for (int r = 0; r < n; ++r)
        for (int c = 0; c < n; ++c)
            z[static_cast<std::size_t>(r) * n + c] =
                Smooth(kPondU - 60 + c * step, PondV() - 60 + r * step);
    const int centreIndex = (n / 2) * n + n / 2;
    double low = z[static_cast<std::size_t>(centreIndex)], high = low + kPondDepth;
    for (int i = 0; i < 40; ++i) {
        const double level = (low + high) / 2;
        std::vector<char> seen(z.size(), 0);
        std::vector<int> todo{centreIndex};
        seen[static_cast<std::size_t>(centreIndex)] = 1;
        bool spills = false;
        while (!todo.empty() && !spills) {
            const int k = todo.back();
            todo.pop_back();
            const int r = k / n, c = k % n;
            for (int dr = -1; dr <= 1; ++dr) {
                for (int dc = -1; dc <= 1; ++dc) {
                    const int rr = r + dr, cc = c + dc;
                    if (rr < 0 || cc < 0 || rr >= n || cc >= n) {
                        spills = true;
                        continue;
                    }
                    const int m = rr * n + cc;
                    if (!seen[static_cast<std::size_t>(m)] &&
                        z[static_cast<std::size_t>(m)] < level) {
                        seen[static_cast<std::size_t>(m)] = 1;
                        todo.push_back(m);
                    }
                }
            }
        }
        (spills ? high : low) = level;
    }
    return low;
}

struct Walk {
    double length = 0;
    const char* end = "";
    std::vector<Point> line;
};

// One fall line from (u, v) in the field.
Walk Pace(const Shape& field, double u, double v, double pondLevel) {
    Walk walk;
    walk.line.push_back({kLeft + u, kTop - v});
    const double step = 0.5, h = 0.05;
    double slopeSum = 0;
    int steps = 0;
    for (int i = 0; i < 6000; ++i) {
        // A valley line: the valley's axis, or a hollow's axis where it is deep enough.
        if (std::fabs(v - ValleyAxis(u)) < step) {
            walk.end = "Talweg";
            return walk;
        }
        for (const Hollow& hollow : kHollows) {
            if (HollowDepth(hollow, v) >= 0.3 && std::fabs(u - HollowAxis(hollow, v)) < step) {
                walk.end = "Mulde";
                return walk;
            }
        }
        const double du = u - kPondU, dv = v - PondV();
        if (du * du + dv * dv < 40 * 40 && Smooth(u, v) < pondLevel) {
            walk.end = "Senke";
            return walk;
        }
        const double gu = (Smooth(u + h, v) - Smooth(u - h, v)) / (2 * h);
        const double gv = (Smooth(u, v + h) - Smooth(u, v - h)) / (2 * h);
        const double slope = std::hypot(gu, gv);
        if (slope < 1e-4) {
            walk.end = "flach";
            return walk;
        }
        if (walk.length >= 20 && slope < 0.5 * slopeSum / steps) {
            walk.end = "Fuss";
            return walk;
        }
        slopeSum += slope;
        ++steps;
        const double nu = u - step * gu / slope, nv = v - step * gv / slope;
        if (!Inside(field, kLeft + nu, kTop - nv)) {
            // The rest of the step up to the edge.
            double lo = 0, hi = step;
            for (int k = 0; k < 30; ++k) {
                const double mid = (lo + hi) / 2;
                (Inside(field, kLeft + u - mid * gu / slope, kTop - (v - mid * gv / slope)) ? lo
                                                                                            : hi) =
                    mid;
            }
            walk.length += lo;
            walk.end = "Rand";
            return walk;
        }
        u = nu;
        v = nv;
        walk.length += step;
        walk.line.push_back({kLeft + u, kTop - v});
    }
    walk.end = "zu lang";
    return walk;
}

// A rectangle in u/v metres: from (u0, v0) to (u1, v1), turned by `degrees` about its centre.
Shape Field(double u0, double v0, double u1, double v1, double degrees = 0) {
    const double cu = (u0 + u1) / 2, cv = (v0 + v1) / 2;
    const double a = degrees * M_PI / 180;
    Shape shape;
    shape.rings.emplace_back();
    for (const auto& [u, v] : {std::pair{u0, v0}, {u1, v0}, {u1, v1}, {u0, v1}}) {
        const double ru = cu + (u - cu) * std::cos(a) - (v - cv) * std::sin(a);
        const double rv = cv + (u - cu) * std::sin(a) + (v - cv) * std::cos(a);
        shape.rings.back().push_back({kLeft + ru, kTop - rv});
    }
    return shape;
}

// An RGB picture of `side` x `side` pixels of `scale` metres from (left, top).
struct Picture {
    static constexpr int kSide = 1000;
    double left = kLeft, top = kTop, scale = 1;
    std::vector<unsigned char> rgb = std::vector<unsigned char>(3 * kSide * kSide, 255);

    void Plot(double x, double y, const unsigned char colour[3], int width) {
        const int c = static_cast<int>((x - left) / scale), r = static_cast<int>((top - y) / scale);
        for (int dr = -width / 2; dr <= width / 2; ++dr) {
            for (int dc = -width / 2; dc <= width / 2; ++dc) {
                if (c + dc < 0 || c + dc >= kSide || r + dr < 0 || r + dr >= kSide)
                    continue;
                std::copy_n(colour, 3,
                            &rgb[3 * (static_cast<std::size_t>(r + dr) * kSide + c + dc)]);
            }
        }
    }
    void Line(const std::vector<Point>& points, const unsigned char colour[3], int width,
              bool closed = false) {
        for (std::size_t i = 0; i + 1 < points.size() + (closed ? 1 : 0); ++i) {
            const Point a = points[i], b = points[(i + 1) % points.size()];
            const int steps = static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) * 2 / scale) + 1;
            for (int s = 0; s <= steps; ++s) {
                const double t = static_cast<double>(s) / steps;
                Plot(a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), colour, width);
            }
        }
    }
    bool Write(const std::string& path) const {
        GDALDatasetH memory =
            GDALCreate(GDALGetDriverByName("MEM"), "", kSide, kSide, 3, GDT_Byte, nullptr);
        for (int band = 0; band < 3; ++band) {
            std::vector<unsigned char> plane(static_cast<std::size_t>(kSide) * kSide);
            for (std::size_t i = 0; i < plane.size(); ++i)
                plane[i] = rgb[3 * i + static_cast<std::size_t>(band)];
            if (GDALRasterIO(GDALGetRasterBand(memory, band + 1), GF_Write, 0, 0, kSide, kSide,
                             plane.data(), kSide, kSide, GDT_Byte, 0, 0) != CE_None)
                return false;
        }
        GDALDatasetH png = GDALCreateCopy(GDALGetDriverByName("PNG"), path.c_str(), memory, FALSE,
                                          nullptr, nullptr, nullptr);
        GDALClose(memory);
        if (png == nullptr)
            return false;
        GDALClose(png);
        return true;
    }
};

const char* EndName(brisolt::terrain::FlowEnd end) {
    switch (end) {
    case brisolt::terrain::FlowEnd::Edge:
        return "Rand";
    case brisolt::terrain::FlowEnd::Concentrated:
        return "Talweg";
    case brisolt::terrain::FlowEnd::Pond:
        return "Senke";
    case brisolt::terrain::FlowEnd::Deposition:
        return "Fuss";
    case brisolt::terrain::FlowEnd::None:
        break;
    }
    return "";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "Aufruf: make_landscape ORDNER\n");
        return 2;
    }
    const std::string folder = argv[1];
    if (!brisolt::testing::WriteRaster(folder + "/landscape.tif", kSize, kSize, kCell, kLeft, kTop,
                                       2056, [](double x, double y) {
                                           const double u = x - kLeft, v = kTop - y;
                                           return Smooth(u, v) + Noise(u, v);
                                       })) {
        std::fprintf(stderr, "Raster nicht geschrieben\n");
        return 1;
    }
    const std::vector<brisolt::testing::LayerParcel> fields = {
        {"hang", Field(360, 400, 440, 520), ""},
        {"mulde-tief", Field(225, 420, 295, 540), ""},
        {"neben-mulde", Field(550, 420, 630, 540), ""},
        {"talquerung", Field(600, 680, 700, 820), ""},
        {"fuss", Field(100, 620, 200, 740), ""},
        {"senke", Field(350, 660, 450, 760), ""},
        {"ruecken", Field(600, 60, 700, 200), ""},
        {"mulde-flach", Field(772, 450, 852, 570), ""},
        {"suedhang", Field(300, 820, 400, 920), ""},
        {"muldenkopf", Field(480, 280, 560, 380), ""},
        {"hang-lang", Field(880, 250, 940, 500), ""},
        {"schraeg", Field(640, 330, 740, 430, 30), ""},
        {"mulde-unten", Field(210, 560, 310, 660), ""},
    };
    if (!brisolt::testing::WriteLayer(folder + "/fields.gpkg", 2056, fields)) {
        std::fprintf(stderr, "Layer nicht geschrieben\n");
        return 1;
    }
    const double pondLevel = PondLevel();
    std::string error;
    auto model = brisolt::terrain::ElevationModel::Open(folder + "/landscape.tif", error);
    if (!model) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    model->setDecimalSeparator('.');
    Picture picture;
    const std::string zoomed = argc > 2 ? argv[2] : "";
    for (const auto& field : fields) {
        if (field.id != zoomed)
            continue;
        double minX = 1e300, maxY = -1e300;
        for (const Point& p : field.shape.rings[0]) {
            minX = std::min(minX, p.x);
            maxY = std::max(maxY, p.y);
        }
        picture.scale = 0.2;
        picture.left = minX - 20;
        picture.top = maxY + 20;
    }
    const double side = Picture::kSide * picture.scale;
    const auto shade = model->Hillshade(picture.left, picture.top - side, picture.left + side,
                                        picture.top, Picture::kSide, Picture::kSide);
    // The gentle relief shows better with its greys spread.
    for (std::size_t i = 0; i < shade.size(); ++i) {
        const int g = std::clamp(128 + (shade[i] - 180) * 3, 0, 255);
        std::fill_n(&picture.rgb[3 * i], 3, static_cast<unsigned char>(g));
    }
    const unsigned char red[3] = {210, 30, 30}, blue[3] = {20, 70, 220}, violet[3] = {150, 40, 190},
                        yellow[3] = {240, 200, 0};
    std::printf("id,paced_m,paced_end,program_m,program_end,p50_m,p90_m,concentrated_m\n");
    for (const auto& field : fields) {
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (const Point& p : field.shape.rings[0]) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
            minY = std::min(minY, p.y);
            maxY = std::max(maxY, p.y);
        }
        Walk longest;
        for (double x = minX + 1; x < maxX; x += 2) {
            for (double y = minY + 1; y < maxY; y += 2) {
                if (!Inside(field.shape, x, y))
                    continue;
                Walk walk = Pace(field.shape, x - kLeft, kTop - y, pondLevel);
                if (walk.length > longest.length)
                    longest = std::move(walk);
            }
        }
        const brisolt::terrain::ParcelTerrain t = model->Analyse(field.shape);
        std::printf("%s,%.0f,%s,%.0f,%s,%.0f,%.0f,%.0f\n", field.id.c_str(), longest.length,
                    longest.end, t.flowLengthM, EndName(t.flowEnd), t.flowLengthP50M,
                    t.flowLengthP90M, t.concentratedLengthM);
        picture.Line(field.shape.rings[0], red, 2, true);
        for (const auto& line : t.concentratedFlow)
            picture.Line(line, violet, 3);
        picture.Line(longest.line, yellow, 3);
        picture.Line(t.flowPath, blue, 2);
    }
    if (!picture.Write(folder + "/" + (zoomed.empty() ? std::string("landscape") : zoomed) +
                       ".png")) {
        std::fprintf(stderr, "Bild nicht geschrieben\n");
        return 1;
    }
    return 0;
}
