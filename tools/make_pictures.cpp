// Generates the photo-like pictures of the help pages into a folder, as JPEG files.
// Every picture comes from a fixed seed, so running this again gives the same files.
//
//   make_pictures <output folder>

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kQuality = 85;

using Rng = std::mt19937;

double Uniform(Rng& rng, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(rng);
}

int Clamp8(double v) {
    return std::clamp(static_cast<int>(std::lround(v)), 0, 255);
}

// `fullChroma` keeps the colour at full resolution instead of halving it in both directions.
bool WriteJpeg(const QImage& picture, const std::string& path, bool fullChroma) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return false;
    }
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, kQuality, TRUE);
    if (fullChroma) {
        info.comp_info[0].h_samp_factor = 1;
        info.comp_info[0].v_samp_factor = 1;
    }
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return std::fclose(file) == 0;
}

// Adds grain to every pixel: each channel moves by the same random amount.
void AddGrain(QImage& picture, Rng& rng, double amount) {
    std::normal_distribution<double> grain(0.0, amount);
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            const double d = grain(rng);
            line[x] = qRgb(Clamp8(qRed(line[x]) + d), Clamp8(qGreen(line[x]) + d),
                           Clamp8(qBlue(line[x]) + d));
        }
    }
}

// Soft blotches of a colour scattered over a rectangle.
void Blotches(QPainter& p, Rng& rng, const QRectF& area, QColor colour, int count, double size) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        colour.setAlpha(static_cast<int>(Uniform(rng, 25, 70)));
        p.setBrush(colour);
        const double w = Uniform(rng, 0.4, 1.0) * size;
        const double h = Uniform(rng, 0.4, 1.0) * size;
        p.drawEllipse(QPointF(Uniform(rng, area.left(), area.right()),
                              Uniform(rng, area.top(), area.bottom())),
                      w, h);
    }
}

// An irregular, roughly round outline around a centre.
QPolygonF Lump(Rng& rng, QPointF centre, double radius, double roughness) {
    const int corners = static_cast<int>(Uniform(rng, 6, 11));
    const double turn = Uniform(rng, 0, 2 * std::numbers::pi);
    const double stretch = Uniform(rng, 0.65, 1.0);
    QPolygonF outline;
    for (int i = 0; i < corners; ++i) {
        const double angle = turn + 2 * std::numbers::pi * i / corners;
        const double r = radius * Uniform(rng, 1.0 - roughness, 1.0 + roughness);
        outline << centre + QPointF(std::cos(angle) * r, std::sin(angle) * r * stretch);
    }
    return outline;
}

QImage SoilSurface(Rng& rng, int width, int height, QColor base) {
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(base);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    Blotches(p, rng, picture.rect(), base.darker(135), width * height / 300, 9);
    Blotches(p, rng, picture.rect(), base.lighter(118), width * height / 400, 7);
    // Small crumbs and their shadows.
    for (int i = 0; i < width * height / 60; ++i) {
        const QPointF at(Uniform(rng, 0, width), Uniform(rng, 0, height));
        const double r = Uniform(rng, 0.6, 2.0);
        p.setBrush(base.darker(160));
        p.drawEllipse(at + QPointF(0.6, 0.6), r, r);
        p.setBrush(base.lighter(112));
        p.drawEllipse(at, r, r);
    }
    p.end();
    AddGrain(picture, rng, 4.0);
    return picture;
}

// --- Stone cover ----------------------------------------------------------------------------

// Soil with stones that cover exactly `percent` of the pixels (to within a few pixels).
// Stones are drawn without smoothing, so each pixel is either stone or soil.
QImage StoneCover(int percent, unsigned seed) {
    constexpr int kSize = 153;
    Rng rng(seed);
    QImage picture = SoilSurface(rng, kSize, kSize, QColor(112, 84, 60));
    QImage mask(kSize, kSize, QImage::Format_Grayscale8);
    mask.fill(0);
    const long target = std::lround(kSize * kSize * percent / 100.0);
    long covered = 0;
    QPainter p(&picture);
    QPainter m(&mask);
    m.setPen(Qt::NoPen);
    m.setBrush(Qt::white);
    int attempts = 0;
    while (covered < target && attempts < 20000) {
        ++attempts;
        const long remaining = target - covered;
        double radius = Uniform(rng, 2.5, 9.0);
        radius = std::min(radius, std::sqrt(static_cast<double>(remaining) / 2.2) + 0.8);
        const QPointF centre(Uniform(rng, -4, kSize + 4), Uniform(rng, -4, kSize + 4));
        const QPolygonF stone = Lump(rng, centre, radius, 0.3);

        QImage trial = mask.copy();
        {
            QPainter t(&trial);
            t.setPen(Qt::NoPen);
            t.setBrush(Qt::white);
            t.drawPolygon(stone);
        }
        long now = 0;
        for (int y = 0; y < kSize; ++y) {
            const uchar* line = trial.constScanLine(y);
            now += std::count(line, line + kSize, uchar(255));
        }
        if (now == covered || now > target + 2) {
            continue; // hidden under earlier stones, or overshooting the share
        }
        covered = now;
        m.drawPolygon(stone);
        const int grey = static_cast<int>(Uniform(rng, 170, 212));
        const int tint = static_cast<int>(Uniform(rng, -8, 8));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(grey + tint, grey, grey - tint - 4));
        p.drawPolygon(stone);
    }
    p.end();
    m.end();
    std::printf("stones_%d: %ld of %ld pixels (%.3f %%)\n", percent, covered, long(kSize) * kSize,
                100.0 * covered / (kSize * kSize));
    // Shading inside the stones only: a lit upper left, a little grain; stays well above the
    // soil's brightness.
    std::normal_distribution<double> grain(0.0, 4.0);
    for (int y = 0; y < kSize; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        const uchar* inside = mask.constScanLine(y);
        for (int x = 0; x < kSize; ++x) {
            if (inside[x] != 255) {
                continue;
            }
            const bool edge = y + 1 < kSize && x + 1 < kSize &&
                              (mask.constScanLine(y + 1)[x] != 255 || inside[x + 1] != 255);
            const double d = grain(rng) + (edge ? -12 : 0);
            line[x] = qRgb(Clamp8(qRed(line[x]) + d), Clamp8(qGreen(line[x]) + d),
                           Clamp8(qBlue(line[x]) + d));
        }
    }
    return picture;
}

// --- Main field -----------------------------------------------------------------------------

QImage MainField() {
    constexpr int kWidth = 489;
    constexpr int kHeight = 305;
    constexpr int kHorizon = 78;
    Rng rng(1101);
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient sky(0, 0, 0, kHorizon);
    sky.setColorAt(0, QColor(120, 160, 205));
    sky.setColorAt(1, QColor(205, 220, 232));
    p.fillRect(QRect(0, 0, kWidth, kHorizon), sky);

    // Hedge and a wood along the upper edge of the field.
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 90; ++i) {
        const double x = Uniform(rng, -10, kWidth + 10);
        const double r = Uniform(rng, 6, 16);
        p.setBrush(QColor(static_cast<int>(Uniform(rng, 40, 70)),
                          static_cast<int>(Uniform(rng, 75, 105)),
                          static_cast<int>(Uniform(rng, 35, 55))));
        p.drawEllipse(QPointF(x, kHorizon - Uniform(rng, 0, 14) + (x > 300 ? -8 : 0)), r, r * 0.8);
    }
    p.setBrush(QColor(96, 140, 60));
    p.drawRect(QRectF(0, kHorizon - 2, kWidth, 8));

    // The field: brown, lighter where the topsoil was washed off, darker in the foreground.
    QLinearGradient soil(0, kHorizon, 0, kHeight);
    soil.setColorAt(0, QColor(150, 118, 88));
    soil.setColorAt(1, QColor(110, 80, 56));
    p.fillRect(QRectF(0, kHorizon + 6, kWidth, kHeight), soil);
    Blotches(p, rng, QRectF(0, kHorizon + 6, kWidth, kHeight - kHorizon), QColor(90, 64, 44), 500,
             14);
    Blotches(p, rng, QRectF(0, kHorizon + 6, kWidth, kHeight - kHorizon), QColor(175, 145, 110),
             300, 12);

    // Furrows across the slope, closer together towards the back.
    for (int i = 0; i < 46; ++i) {
        const double t = i / 45.0;
        const double y = kHorizon + 8 + (kHeight - kHorizon) * t * t;
        QPainterPath furrow;
        furrow.moveTo(-5, y);
        for (int x = 0; x <= kWidth + 20; x += 20) {
            furrow.lineTo(x, y + std::sin(x * 0.013 + i) * (1 + 3 * t) - x * 0.02 * t);
        }
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(85, 60, 42, 150), 0.6 + 2.4 * t));
        p.drawPath(furrow);
        p.setPen(QPen(QColor(185, 155, 120, 90), 0.4 + 1.2 * t));
        p.drawPath(furrow.translated(0, -1.5 - 2 * t));
    }

    // Rills down the fall line: narrow at the top, wider and deeper further down.
    const double starts[] = {70, 150, 238, 300, 395, 450};
    for (double start : starts) {
        double x = start + Uniform(rng, -10, 10);
        double y = kHorizon + Uniform(rng, 12, 40);
        QPointF last(x, y);
        while (y < kHeight + 5) {
            const double t = (y - kHorizon) / (kHeight - kHorizon);
            y += 5;
            x += Uniform(rng, -3.5, 3.5) + (x - kWidth / 2.0) * 0.012 * t;
            const QPointF next(x, y);
            const double width = 1.0 + 9.0 * t * t;
            p.setPen(QPen(QColor(60, 40, 28), width, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(last, next);
            p.setPen(QPen(QColor(128, 100, 76), width * 0.35, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(last + QPointF(width * 0.2, 0), next + QPointF(width * 0.2, 0));
            p.setPen(QPen(QColor(190, 160, 122, 140), 1.0, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(last + QPointF(width * 0.6, 0), next + QPointF(width * 0.6, 0));
            last = next;
        }
    }
    p.end();
    AddGrain(picture, rng, 3.0);
    return picture;
}

// --- Feel test ------------------------------------------------------------------------------
//
// The hands and the soil are modelled as heights over the picture plane (in pixels, towards
// the camera). The picture is that surface lit from the upper left: skin lets some light
// through (red most), shadows are cast along the light and soften with distance, creases and
// gaps between fingers get less light. Rendered at kFeelSamples x kFeelSamples samples per
// pixel and averaged; the background is a meadow far out of focus.

constexpr int kFeelWidth = 209;
constexpr int kFeelHeight = 207;
constexpr int kFeelSamples = 3;

enum class Stuff { Air, Skin, Nail, Soil };

// Smooth value noise on a 64 x 64 lattice that repeats.
class Noise {
public:
    Noise(Rng& rng, double cell) : cell_(cell), values_(64 * 64) {
        for (double& v : values_) {
            v = Uniform(rng, -1, 1);
        }
    }

    double At(double x, double y) const {
        x /= cell_;
        y /= cell_;
        const double fx0 = std::floor(x);
        const double fy0 = std::floor(y);
        const int ix = static_cast<int>(fx0);
        const int iy = static_cast<int>(fy0);
        double fx = x - fx0;
        double fy = y - fy0;
        fx = fx * fx * (3 - 2 * fx);
        fy = fy * fy * (3 - 2 * fy);
        auto v = [this](int i, int j) { return values_[(i & 63) * 64 + (j & 63)]; };
        const double top = v(ix, iy) + (v(ix + 1, iy) - v(ix, iy)) * fx;
        const double bottom = v(ix, iy + 1) + (v(ix + 1, iy + 1) - v(ix, iy + 1)) * fx;
        return top + (bottom - top) * fy;
    }

    // Octaves of half the size and half the strength each; about -1 ... 1.
    double Fractal(double x, double y, int octaves) const {
        double sum = 0;
        double weight = 0.6;
        double scale = 1;
        for (int i = 0; i < octaves; ++i) {
            sum += weight * At(x * scale + 17.3 * i, y * scale - 9.1 * i);
            weight *= 0.5;
            scale *= 2;
        }
        return sum;
    }

private:
    double cell_;
    std::vector<double> values_;
};

double Smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

double DistanceToSegment(QPointF p, QPointF a, QPointF b, double* along = nullptr) {
    const QPointF ab = b - a;
    const double length2 = QPointF::dotProduct(ab, ab);
    const double t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    if (along != nullptr) {
        *along = t;
    }
    const QPointF d = p - (a + ab * t);
    return std::hypot(d.x(), d.y());
}

double DistanceToPolyline(QPointF p, const QPolygonF& line) {
    double best = 1e9;
    for (qsizetype i = 0; i + 1 < line.size(); ++i) {
        best = std::min(best, DistanceToSegment(p, line[i], line[i + 1]));
    }
    return best;
}

// A closed outline through the given corners, rounded with Catmull-Rom curves.
QPolygonF Rounded(const QPolygonF& corners, int steps = 8) {
    QPolygonF outline;
    const qsizetype n = corners.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QPointF p0 = corners[(i + n - 1) % n];
        const QPointF p1 = corners[i];
        const QPointF p2 = corners[(i + 1) % n];
        const QPointF p3 = corners[(i + 2) % n];
        for (int s = 0; s < steps; ++s) {
            const double t = static_cast<double>(s) / steps;
            const double t2 = t * t;
            const double t3 = t2 * t;
            outline << 0.5 * ((2 * p1) + (-p0 + p2) * t + (2 * p0 - 5 * p1 + 4 * p2 - p3) * t2 +
                              (-p0 + 3 * p1 - 3 * p2 + p3) * t3);
        }
    }
    return outline;
}

struct Hit {
    double height = -1e9;
    double thickness = 1e9; // below the surface; small for crumbs in the air
    Stuff stuff = Stuff::Air;
    double tip = 1e9; // distance from the tip of a finger, for its nail and redder end
    double fold = 0;  // distance from the edge of a nail
};

// A finger, a wrist, a thread of soil: round in section, along a line of points.
struct Tube {
    std::vector<QPointF> axis; // base to tip
    std::vector<double> radius;
    std::vector<double> lift; // height of the axis at each point
    double flatten = 1.0;     // section height over width
    Stuff stuff = Stuff::Skin;
    bool nail = false; // the nail of the tip faces the camera
    bool creases = true;

    Hit At(QPointF p) const {
        Hit best;
        double length = 0;
        double bestAlong = 0;
        double bestSide = 0;
        std::vector<double> at(axis.size(), 0.0); // length along the axis at each point
        for (std::size_t i = 1; i < axis.size(); ++i) {
            at[i] = at[i - 1] +
                    std::hypot(axis[i].x() - axis[i - 1].x(), axis[i].y() - axis[i - 1].y());
        }
        length = at.back();
        for (std::size_t i = 0; i + 1 < axis.size(); ++i) {
            double t = 0;
            const double d = DistanceToSegment(p, axis[i], axis[i + 1], &t);
            const double r = radius[i] + (radius[i + 1] - radius[i]) * t;
            if (d >= r) {
                continue;
            }
            const double h =
                lift[i] + (lift[i + 1] - lift[i]) * t + flatten * std::sqrt(r * r - d * d);
            if (h > best.height) {
                best.height = h;
                best.stuff = stuff;
                bestAlong = at[i] + (at[i + 1] - at[i]) * t;
                bestSide = d / r;
            }
        }
        if (best.stuff == Stuff::Air) {
            return best;
        }
        best.tip = length - bestAlong;
        if (creases && stuff == Stuff::Skin) {
            // Folds across the finger at its joints.
            for (std::size_t i = 1; i + 1 < axis.size(); ++i) {
                const double off = (bestAlong - at[i]) / 1.1;
                best.height -= 1.1 * std::exp(-off * off) * (1 - 0.6 * bestSide * bestSide);
            }
        }
        const double nailLength = radius.back() * 1.25;
        if (nail && best.tip < nailLength && bestSide < 0.55) {
            best.stuff = Stuff::Nail;
            best.height += 0.6;
            // Distance to the nail's fold, in pixels, for its darker rim.
            best.fold = std::min(nailLength - best.tip, (0.55 - bestSide) * radius.back());
        }
        return best;
    }
};

// A palm or the back of a hand: a flat body inside an outline, rounded at its edge, with
// bumps (or hollows) and creases.
struct Slab {
    QPolygonF outline;
    double lift = 0;
    double edge = 10; // radius of the rounded edge
    double flatten = 1.0;
    struct Bump {
        QPointF centre;
        double radius;
        double amount;
    };
    std::vector<Bump> bumps;
    struct Crease {
        QPolygonF line;
        double depth;
    };
    std::vector<Crease> creases;

    Hit At(QPointF p) const {
        Hit hit;
        if (!outline.containsPoint(p, Qt::OddEvenFill)) {
            return hit;
        }
        double inside = 1e9;
        for (qsizetype i = 0; i < outline.size(); ++i) {
            inside = std::min(inside,
                              DistanceToSegment(p, outline[i], outline[(i + 1) % outline.size()]));
        }
        const double s = std::min(inside, edge);
        double h = lift + flatten * std::sqrt(edge * edge - (edge - s) * (edge - s));
        const double fade = Smoothstep(0, edge * 1.5, inside);
        for (const Bump& b : bumps) {
            const QPointF d = p - b.centre;
            h += fade * b.amount * std::exp(-QPointF::dotProduct(d, d) / (b.radius * b.radius));
        }
        for (const Crease& c : creases) {
            const double d = DistanceToPolyline(p, c.line) / 1.2;
            h -= fade * c.depth * std::exp(-d * d);
        }
        hit.height = h;
        hit.stuff = Stuff::Skin;
        return hit;
    }
};

// A lump of soil: a ball with a rough outline and a bumpy surface.
struct Clod {
    QPointF centre;
    double radius;
    double lift; // height of the centre
    double squash = 1.0;
    double phase[3];
    double wobble = 0.1;

    Hit At(QPointF p, const Noise& bumps) const {
        Hit hit;
        const QPointF d = p - centre;
        const double angle = std::atan2(d.y(), d.x());
        const double r = radius * (1 + wobble * (0.6 * std::sin(2 * angle + phase[0]) +
                                                 0.3 * std::sin(3 * angle + phase[1]) +
                                                 0.2 * std::sin(5 * angle + phase[2])));
        const double dist2 = QPointF::dotProduct(d, d);
        if (dist2 >= r * r) {
            return hit;
        }
        const double half = squash * std::sqrt(r * r - dist2);
        hit.height = lift + half + radius * 0.05 * bumps.Fractal(p.x() * 3, p.y() * 3, 3);
        hit.thickness = 2 * half;
        hit.stuff = Stuff::Soil;
        return hit;
    }
};

struct Scene {
    std::vector<Tube> tubes;
    std::vector<Slab> slabs;
    std::vector<Clod> lumps;
    QColor soil;           // moist soil under even light
    double grains = 0;     // share of light sand grains in the soil
    double gloss = 0.1;    // wet shine of the soil
    double texture = 0.22; // unevenness of the soil's colour
    QPolygonF dirt;        // smears of soil on the skin around these points
};

// Height of the hand's surface at a point (0 off the hand).
double SurfaceHeight(const Scene& scene, QPointF p) {
    double below = 0;
    for (const Slab& s : scene.slabs) {
        below = std::max(below, s.At(p).height);
    }
    for (const Tube& t : scene.tubes) {
        below = std::max(below, t.At(p).height);
    }
    return below;
}

Clod MakeClod(Rng& rng, QPointF centre, double radius, double lift, double wobble) {
    Clod lump{centre, radius, lift, 1.0, {}, wobble};
    for (double& ph : lump.phase) {
        ph = Uniform(rng, 0, 2 * std::numbers::pi);
    }
    return lump;
}

// The meadow behind the hand, far out of focus.
QImage Meadow(Rng& rng) {
    QImage picture(kFeelWidth, kFeelHeight, QImage::Format_RGB32);
    QLinearGradient light(0, 0, kFeelWidth, kFeelHeight);
    light.setColorAt(0, QColor(120, 150, 78));
    light.setColorAt(1, QColor(62, 92, 46));
    QPainter p(&picture);
    p.fillRect(picture.rect(), light);
    p.setRenderHint(QPainter::Antialiasing);
    Blotches(p, rng, picture.rect(), QColor(40, 66, 30), 90, 28);
    Blotches(p, rng, picture.rect(), QColor(150, 172, 90), 60, 22);
    Blotches(p, rng, picture.rect(), QColor(196, 206, 140), 14, 8); // sunlit blades
    p.end();
    // Three box blurs in each direction: close to a Gaussian.
    QImage blurred = picture;
    for (int pass = 0; pass < 6; ++pass) {
        const bool across = pass % 2 == 0;
        const QImage from = blurred;
        constexpr int kReach = 6;
        for (int y = 0; y < kFeelHeight; ++y) {
            auto* line = reinterpret_cast<QRgb*>(blurred.scanLine(y));
            for (int x = 0; x < kFeelWidth; ++x) {
                int r = 0;
                int g = 0;
                int b = 0;
                for (int k = -kReach; k <= kReach; ++k) {
                    const int sx = across ? std::clamp(x + k, 0, kFeelWidth - 1) : x;
                    const int sy = across ? y : std::clamp(y + k, 0, kFeelHeight - 1);
                    const QRgb c = from.pixel(sx, sy);
                    r += qRed(c);
                    g += qGreen(c);
                    b += qBlue(c);
                }
                constexpr int kCount = 2 * kReach + 1;
                line[x] = qRgb(r / kCount, g / kCount, b / kCount);
            }
        }
    }
    return blurred;
}

QImage RenderFeelTest(const Scene& scene, Rng& rng) {
    constexpr int kW = kFeelWidth * kFeelSamples;
    constexpr int kH = kFeelHeight * kFeelSamples;
    constexpr double kStep = 1.0 / kFeelSamples;
    const QImage meadow = Meadow(rng);
    const Noise mottle(rng, 9.0);
    const Noise pores(rng, 0.7);
    const Noise soilNoise(rng, 2.2);
    const Noise bumps(rng, 1.6);
    const Noise smear(rng, 4.0);

    std::vector<Hit> hits(static_cast<std::size_t>(kW) * kH);
    std::vector<int> part(hits.size(), -1);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const QPointF p((x + 0.5) * kStep, (y + 0.5) * kStep);
            Hit best;
            int index = 0;
            int bestPart = -1;
            auto consider = [&](const Hit& h) {
                if (h.stuff != Stuff::Air && h.height > best.height) {
                    best = h;
                    bestPart = index;
                }
                ++index;
            };
            for (const Slab& s : scene.slabs) {
                consider(s.At(p));
            }
            for (const Tube& t : scene.tubes) {
                consider(t.At(p));
            }
            for (const Clod& l : scene.lumps) {
                consider(l.At(p, bumps));
            }
            hits[static_cast<std::size_t>(y) * kW + x] = best;
            part[static_cast<std::size_t>(y) * kW + x] = bestPart;
        }
    }
    auto height = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= kW || y >= kH) {
            return -1e9;
        }
        return hits[static_cast<std::size_t>(y) * kW + x].height;
    };

    // Mean height of the solid samples around each sample, for the darkening of creases.
    constexpr int kReach = 4 * kFeelSamples;
    std::vector<double> sumH((kW + 1) * static_cast<std::size_t>(kH + 1), 0.0);
    std::vector<double> sumN(sumH.size(), 0.0);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const bool solid = part[static_cast<std::size_t>(y) * kW + x] >= 0;
            const std::size_t i = static_cast<std::size_t>(y + 1) * (kW + 1) + x + 1;
            sumH[i] =
                (solid ? height(x, y) : 0) + sumH[i - 1] + sumH[i - kW - 1] - sumH[i - kW - 2];
            sumN[i] = (solid ? 1 : 0) + sumN[i - 1] + sumN[i - kW - 1] - sumN[i - kW - 2];
        }
    }
    auto meanAround = [&](int x, int y) {
        const int x0 = std::max(0, x - kReach);
        const int y0 = std::max(0, y - kReach);
        const int x1 = std::min(kW, x + kReach + 1);
        const int y1 = std::min(kH, y + kReach + 1);
        auto at = [&](const std::vector<double>& s, int xx, int yy) {
            return s[static_cast<std::size_t>(yy) * (kW + 1) + xx];
        };
        const double n = at(sumN, x1, y1) - at(sumN, x0, y1) - at(sumN, x1, y0) + at(sumN, x0, y0);
        const double h = at(sumH, x1, y1) - at(sumH, x0, y1) - at(sumH, x1, y0) + at(sumH, x0, y0);
        return n > 0 ? h / n : 0.0;
    };

    // Light from the upper left, in front of the hand.
    const double lx = -0.52;
    const double ly = -0.62;
    const double lz = 0.59;
    const double lxy = std::hypot(lx, ly);
    const double rise = lz / lxy; // height the light ray climbs per pixel
    const double hx = lx;
    const double hy = ly;
    const double hz = lz + 1.0;
    const double hn = std::sqrt(hx * hx + hy * hy + hz * hz);

    std::vector<double> r(static_cast<std::size_t>(kFeelWidth) * kFeelHeight, 0.0);
    std::vector<double> g(r.size(), 0.0);
    std::vector<double> b(r.size(), 0.0);
    for (int y = 0; y < kH; ++y) {
        for (int x = 0; x < kW; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kW + x;
            const std::size_t pixel =
                static_cast<std::size_t>(y / kFeelSamples) * kFeelWidth + x / kFeelSamples;
            const Hit& hit = hits[i];
            if (part[i] < 0) {
                const QRgb c = meadow.pixel(x / kFeelSamples, y / kFeelSamples);
                r[pixel] += qRed(c);
                g[pixel] += qGreen(c);
                b[pixel] += qBlue(c);
                continue;
            }
            // Slopes from neighbours of the same part; one-sided at its edges.
            auto slope = [&](int dx, int dy) {
                const int ax = x + dx;
                const int ay = y + dy;
                const int bx = x - dx;
                const int by = y - dy;
                const bool hasA = ax >= 0 && ay >= 0 && ax < kW && ay < kH &&
                                  part[static_cast<std::size_t>(ay) * kW + ax] == part[i];
                const bool hasB = bx >= 0 && by >= 0 && bx < kW && by < kH &&
                                  part[static_cast<std::size_t>(by) * kW + bx] == part[i];
                if (hasA && hasB) {
                    return (height(ax, ay) - height(bx, by)) / (2 * kStep);
                }
                if (hasA) {
                    return (height(ax, ay) - hit.height) / kStep;
                }
                if (hasB) {
                    return (hit.height - height(bx, by)) / kStep;
                }
                return 0.0;
            };
            double nx = -std::clamp(slope(1, 0), -6.0, 6.0);
            double ny = -std::clamp(slope(0, 1), -6.0, 6.0);
            double nz = 1.0;
            const double nn = std::sqrt(nx * nx + ny * ny + nz * nz);
            nx /= nn;
            ny /= nn;
            nz /= nn;

            // Soft shadow: how far the surface towards the light rises above the light ray.
            double block = 0;
            const double px = (x + 0.5) * kStep;
            const double py = (y + 0.5) * kStep;
            for (double t = 0.8; t < 70; t += 0.6) {
                const int qx = static_cast<int>((px + t * lx / lxy) * kFeelSamples);
                const int qy = static_cast<int>((py + t * ly / lxy) * kFeelSamples);
                if (qx < 0 || qy < 0 || qx >= kW || qy >= kH) {
                    break;
                }
                const Hit& over = hits[static_cast<std::size_t>(qy) * kW + qx];
                const double ray = hit.height + t * rise;
                if (ray > over.height - over.thickness) {
                    block = std::max(block, (over.height - ray) / (0.7 + 0.16 * t));
                }
            }
            const double lit = 1 - Smoothstep(0, 1, block);
            const double crease = std::max(0.0, meanAround(x, y) - hit.height);
            const double open = std::clamp(1 - 0.04 * crease, 0.65, 1.0);
            const double facing = nx * lx + ny * ly + nz * lz;
            const double shine = std::max(0.0, (nx * hx + ny * hy + nz * hz) / hn);

            double ar = 0;
            double ag = 0;
            double ab = 0;
            double wrapR = 0;
            double wrapG = 0;
            double wrapB = 0;
            double gloss = 0;
            double sharp = 20;
            if (hit.stuff == Stuff::Soil) {
                const double v = 1 + scene.texture * soilNoise.Fractal(px, py, 4);
                ar = scene.soil.redF() * v;
                ag = scene.soil.greenF() * v;
                ab = scene.soil.blueF() * v;
                if (scene.grains > 0 && Uniform(rng, 0, 1) < scene.grains) {
                    const double grain = Uniform(rng, 1.6, 2.4);
                    ar *= grain;
                    ag *= grain * 0.97;
                    ab *= grain * 0.9;
                }
                gloss = scene.gloss * (0.6 + 0.8 * std::max(0.0, soilNoise.At(px * 2, py * 2)));
                sharp = 45;
            } else {
                // Skin: mottled, redder towards the finger tips, a fine texture of pores.
                const double m = mottle.Fractal(px, py, 3);
                const double red = 0.04 * m + 0.05 * std::exp(-hit.tip / 12.0);
                const double fine = 0.025 * pores.At(px, py);
                ar = (0.875 + red * 0.4 + fine);
                ag = (0.69 - red * 0.9 + fine);
                ab = (0.575 - red * 0.8 + fine);
                wrapR = 0.55;
                wrapG = 0.32;
                wrapB = 0.26;
                gloss = 0.07;
                sharp = 16;
                if (hit.stuff == Stuff::Nail) {
                    const double rim = 0.8 + 0.2 * Smoothstep(0, 1.5, hit.fold);
                    ar = 0.84 * rim;
                    ag = 0.66 * rim;
                    ab = 0.62 * rim;
                    if (hit.tip < 1.6) { // the free edge
                        ar = 0.86;
                        ag = 0.8;
                        ab = 0.74;
                    }
                    gloss = 0.14;
                    sharp = 50;
                }
                // Soil left on the skin.
                double dirt = 0;
                for (const QPointF& d : scene.dirt) {
                    const double dist = std::hypot(px - d.x(), py - d.y());
                    dirt = std::max(dirt, Smoothstep(14, 4, dist));
                }
                dirt *= Smoothstep(0.1, 0.5, smear.Fractal(px, py, 3));
                dirt = std::min(dirt, 0.45);
                ar += (scene.soil.redF() * 1.3 - ar) * dirt;
                ag += (scene.soil.greenF() * 1.3 - ag) * dirt;
                ab += (scene.soil.blueF() * 1.3 - ab) * dirt;
            }
            auto diffuse = [facing](double wrap) {
                return std::max(0.0, (facing + wrap) / (1 + wrap));
            };
            const double sky = (hit.stuff == Stuff::Soil ? 0.34 : 0.44) * open * (0.8 + 0.2 * nz);
            const double sun = 0.82 * lit;
            const double highlight = gloss * lit * std::pow(shine, sharp) * 255;
            r[pixel] += 255 * ar * (sky * 0.96 + sun * diffuse(wrapR) * 1.02) + highlight;
            g[pixel] += 255 * ag * (sky * 1.0 + sun * diffuse(wrapG)) + highlight;
            b[pixel] += 255 * ab * (sky * 1.08 + sun * diffuse(wrapB) * 0.95) + highlight;
        }
    }
    QImage picture(kFeelWidth, kFeelHeight, QImage::Format_RGB32);
    constexpr double kPerPixel = kFeelSamples * kFeelSamples;
    for (int y = 0; y < kFeelHeight; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < kFeelWidth; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * kFeelWidth + x;
            // A little darker towards the corners, as through a lens.
            const double dx = (x - kFeelWidth / 2.0) / kFeelWidth;
            const double dy = (y - kFeelHeight / 2.0) / kFeelHeight;
            const double vignette = 1 - 0.35 * (dx * dx + dy * dy);
            line[x] = qRgb(Clamp8(r[i] / kPerPixel * vignette), Clamp8(g[i] / kPerPixel * vignette),
                           Clamp8(b[i] / kPerPixel * vignette));
        }
    }
    AddGrain(picture, rng, 2.2);
    return picture;
}

// A left hand held open, palm up, fingers to the upper right: `centre` is the middle of the
// palm. `curl` raises the finger tips (a hand closing a little around what it holds).
struct OpenHand {
    QPointF centre;
    double curl;
};

QPointF HandPoint(const OpenHand& hand, double along, double across) {
    // Along the hand towards the fingers (up right); across towards the thumb (up left).
    const QPointF u(0.64, -0.77);
    const QPointF v(-0.77, -0.64);
    return hand.centre + u * along + v * across;
}

void AddOpenHand(Scene& scene, const OpenHand& hand) {
    auto at = [&hand](double a, double b) { return HandPoint(hand, a, b); };
    // Forearm and wrist, leaving the picture at the lower left.
    scene.tubes.push_back({{at(-40, -2), at(-150, -6)}, {35, 38}, {6, 4}, 0.45});
    Slab palm;
    const QPolygonF corners{at(-46, 30), at(-24, 42),  at(8, 43),   at(38, 37),
                            at(45, 16),  at(46, -4),   at(43, -24), at(36, -40),
                            at(8, -43),  at(-26, -40), at(-48, -30)};
    palm.outline = Rounded(corners);
    palm.lift = 5;
    palm.edge = 15;
    palm.flatten = 0.75;
    palm.bumps = {{at(-20, 24), 19, 8}, {at(-16, -25), 17, 5}, {at(35, 26), 10, 3},
                  {at(38, 8), 10, 3},   {at(37, -10), 10, 3},  {at(33, -28), 9, 2.5},
                  {at(4, 0), 24, -3.5}};
    palm.creases = {{QPolygonF{at(24, -43), at(28, -20), at(29, 0), at(24, 18), at(30, 34)}, 1.5},
                    {QPolygonF{at(14, 44), at(6, 22), at(0, 0), at(-6, -22), at(-10, -36)}, 1.4},
                    {QPolygonF{at(16, 42), at(2, 30), at(-14, 16), at(-30, 10), at(-46, 8)}, 1.6},
                    {QPolygonF{at(-44, -6), at(-44, 22)}, 0.8}};
    scene.slabs.push_back(palm);

    struct Finger {
        double base;   // across the hand
        double start;  // along the hand
        double spread; // degrees towards the thumb
        double lengths[3];
        double radius;
    };
    const Finger fingers[] = {{26, 36, 9, {27, 19, 16}, 9.4},
                              {8, 40, 2, {30, 21, 17}, 9.9},
                              {-11, 38, -5, {28, 20, 16}, 9.3},
                              {-29, 31, -13, {21, 15, 13}, 7.9}};
    for (const Finger& f : fingers) {
        const double angle = f.spread * std::numbers::pi / 180;
        const double ca = std::cos(angle);
        const double sa = std::sin(angle);
        Tube finger;
        double a = f.start;
        double b = f.base;
        finger.axis.push_back(at(a - 8, b));
        finger.radius.push_back(f.radius + 1);
        finger.lift.push_back(6);
        double lift = 9;
        for (int k = 0; k < 3; ++k) {
            // Curled fingers come towards the camera and look shorter.
            const double l = f.lengths[k] * (1 - 0.12 * hand.curl * k);
            a += l * ca;
            b += l * sa;
            lift += hand.curl * (2 + 2.5 * k);
            finger.axis.push_back(at(a, b));
            finger.radius.push_back(f.radius * (1 - 0.08 * (k + 1)));
            finger.lift.push_back(lift);
        }
        finger.flatten = 0.78;
        scene.tubes.push_back(finger);
    }
    // The thumb, from the ball of the thumb towards the upper left.
    scene.tubes.push_back({{at(-38, 12), at(-8, 42), at(14, 60), at(28, 70)},
                           {19, 12.5, 10.8, 9.6},
                           {1, 12, 13 + 3 * hand.curl, 14 + 5 * hand.curl},
                           0.8});
}

Scene Rubbing(Rng& rng) {
    // A right hand from the right, thumb on top, rubbing soil between the thumb and the tips of
    // the index and middle fingers; crumbs stick to the fingers and trickle down.
    Scene scene;
    scene.soil = QColor(84, 62, 44);
    scene.grains = 0.05;
    scene.gloss = 0.06;
    Slab back;
    back.outline = Rounded(QPolygonF{{150, 34},
                                     {230, 14},
                                     {240, 150},
                                     {205, 188},
                                     {160, 190},
                                     {126, 160},
                                     {124, 112},
                                     {138, 70}});
    back.lift = 8;
    back.edge = 26;
    back.flatten = 0.9;
    back.bumps = {{{178, 90}, 34, 6}, {{150, 128}, 12, 3}, {{158, 152}, 12, 2.5}};
    scene.slabs.push_back(back);
    // Ring finger curled under, middle and index finger reaching left, thumb over them.
    scene.tubes.push_back({{{170, 168}, {140, 180}, {124, 190}, {120, 203}},
                           {12, 10.5, 9.5, 9},
                           {10, 12, 12, 11},
                           0.9});
    scene.tubes.push_back({{{156, 150}, {114, 146}, {88, 150}, {71, 158}},
                           {12.5, 11, 10, 9.2},
                           {14, 16, 16, 15},
                           0.9});
    scene.tubes.push_back({{{148, 126}, {103, 118}, {76, 116}, {57, 120}},
                           {12.5, 11, 10, 9.2},
                           {20, 23, 23, 22},
                           0.9});
    Tube thumb{{{182, 62}, {130, 82}, {92, 96}, {64, 106}},
               {17, 13.5, 11.5, 10.4},
               {20, 32, 34, 32},
               0.85};
    thumb.nail = true;
    scene.tubes.push_back(thumb);
    // Squeezed soil between the tips, crumbs on the fingers and falling.
    scene.lumps.push_back(MakeClod(rng, {58, 113}, 7.5, 26, 0.35));
    scene.lumps.push_back(MakeClod(rng, {68, 110}, 5, 30, 0.4));
    for (int i = 0; i < 26; ++i) { // stuck to the finger tips
        const QPointF at(Uniform(rng, 44, 92), Uniform(rng, 98, 132));
        const double radius = Uniform(rng, 1.0, 2.6);
        scene.lumps.push_back(
            MakeClod(rng, at, radius, SurfaceHeight(scene, at) - 0.3 * radius, 0.3));
    }
    for (int i = 0; i < 46; ++i) { // falling, fewer further down
        const double fall = std::pow(Uniform(rng, 0, 1), 1.6);
        const QPointF at(Uniform(rng, 40, 82) - fall * 10, 128 + fall * 78);
        scene.lumps.push_back(MakeClod(rng, at, Uniform(rng, 0.9, 2.8), 40, 0.35));
    }
    scene.dirt = QPolygonF{{60, 108}, {72, 118}, {82, 102}};
    return scene;
}

Scene Ball(Rng& rng) {
    // Moist loam pressed into a ball in the cupped palm.
    Scene scene;
    scene.soil = QColor(92, 68, 49);
    scene.grains = 0.01;
    scene.gloss = 0.16;
    scene.texture = 0.12;
    const OpenHand hand{{94, 124}, 1.0};
    AddOpenHand(scene, hand);
    Clod ball = MakeClod(rng, HandPoint(hand, 6, 2), 29, 9, 0.04);
    ball.squash = 0.92;
    scene.lumps.push_back(ball);
    scene.dirt =
        QPolygonF{HandPoint(hand, 36, 20), HandPoint(hand, -20, 30), HandPoint(hand, 30, -30)};
    return scene;
}

Scene Thread(Rng& rng) {
    // Soil rolled out on the palm to a thin thread.
    Scene scene;
    scene.soil = QColor(90, 72, 57); // clayey: greyer, smooth and shiny
    scene.grains = 0;
    scene.gloss = 0.22;
    scene.texture = 0.08;
    const OpenHand hand{{96, 124}, 0.4};
    AddOpenHand(scene, hand);
    // Lay the thread over the palm: its axis follows the skin below it.
    Tube thread;
    thread.stuff = Stuff::Soil;
    thread.creases = false;
    const int points = 24;
    for (int k = 0; k <= points; ++k) {
        const double t = static_cast<double>(k) / points;
        const double along = -34 + 84 * t;
        const double across = 30 - 58 * t + 4 * std::sin(t * 2 * std::numbers::pi);
        const QPointF p = HandPoint(hand, along, across);
        thread.axis.push_back(p);
        thread.radius.push_back(2.6 + 0.25 * std::sin(t * 19));
        thread.lift.push_back(SurfaceHeight(scene, p) + 1.6);
    }
    thread.flatten = 0.9;
    scene.tubes.push_back(thread);
    scene.dirt =
        QPolygonF{HandPoint(hand, -20, 20), HandPoint(hand, 25, -20), HandPoint(hand, 10, 5)};
    for (int i = 0; i < 5; ++i) { // a few crumbs rubbed off
        const QPointF at = HandPoint(hand, Uniform(rng, -30, 40), Uniform(rng, -30, 30));
        scene.lumps.push_back(
            MakeClod(rng, at, Uniform(rng, 0.8, 1.4), SurfaceHeight(scene, at), 0.3));
    }
    return scene;
}

QImage FeelTest(int kind) {
    Rng rng(2200 + kind);
    const Scene scene = kind == 1 ? Rubbing(rng) : kind == 2 ? Ball(rng) : Thread(rng);
    return RenderFeelTest(scene, rng);
}

// --- Soil profiles --------------------------------------------------------------------------

constexpr int kProfileWidth = 217;
constexpr int kProfileHeight = 369;
constexpr int kSurface = 6;          // rod zero, the soil surface, in pixels from the top
constexpr double kPixelsPerCm = 3.0; // so 120 cm of rod fit the picture

struct Horizon {
    double bottomCm; // lower boundary
    QColor colour;
    int stones;     // stones per 100 x 100 pixels
    QColor mottles; // rust or grey spots, alpha 0 for none
};

struct Profile {
    unsigned seed;
    std::vector<Horizon> horizons; // top down; the last reaches below the picture
};

double DepthY(double cm) {
    return kSurface + cm * kPixelsPerCm;
}

QImage SoilProfile(const Profile& profile) {
    Rng rng(profile.seed);
    QImage picture(kProfileWidth, kProfileHeight, QImage::Format_RGB32);
    // Black under the smoothed seams between horizons (never memory left from before).
    picture.fill(0u);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // Grass above the profile wall.
    p.fillRect(QRect(0, 0, kProfileWidth, kSurface + 3), QColor(70, 110, 45));
    double top = 0;
    std::vector<double> offsets(kProfileWidth / 8 + 3);
    for (const Horizon& h : profile.horizons) {
        // Wavy lower boundary.
        const double phase = Uniform(rng, 0, 6.3);
        QPolygonF area;
        for (size_t i = 0; i < offsets.size(); ++i) {
            area << QPointF(i * 8.0, DepthY(top) + offsets[i]);
        }
        std::vector<double> next(offsets.size());
        for (size_t i = 0; i < next.size(); ++i) {
            next[i] = std::sin(i * 0.45 + phase) * 4 + Uniform(rng, -2, 2);
        }
        for (size_t i = next.size(); i-- > 0;) {
            area << QPointF(i * 8.0, DepthY(h.bottomCm) + next[i]);
        }
        p.setPen(Qt::NoPen);
        p.setBrush(h.colour);
        p.drawPolygon(area);
        p.save();
        p.setClipRegion(QRegion(area.toPolygon()));
        const QRectF box = area.boundingRect();
        Blotches(p, rng, box, h.colour.darker(125),
                 static_cast<int>(box.width() * box.height() / 120), 6);
        Blotches(p, rng, box, h.colour.lighter(115),
                 static_cast<int>(box.width() * box.height() / 160), 5);
        if (h.mottles.alpha() > 0) {
            Blotches(p, rng, box, h.mottles, static_cast<int>(box.width() * box.height() / 90), 4);
        }
        const int stones = static_cast<int>(h.stones * box.width() * box.height() / 10000);
        for (int i = 0; i < stones; ++i) {
            const int grey = static_cast<int>(Uniform(rng, 140, 200));
            const QPointF at(Uniform(rng, box.left(), box.right()),
                             Uniform(rng, box.top(), box.bottom()));
            const QPolygonF stone = Lump(rng, at, Uniform(rng, 2, 8), 0.3);
            p.setBrush(QColor(grey - 50, grey - 52, grey - 55));
            p.drawPolygon(stone.translated(1, 1.5));
            p.setBrush(QColor(grey, grey - 4, grey - 10));
            p.drawPolygon(stone);
        }
        // Roots in the upper part of the soil.
        if (top < 40) {
            p.setPen(QPen(QColor(200, 185, 150, 120), 0.8));
            for (int i = 0; i < 10; ++i) {
                QPointF at(Uniform(rng, 20, kProfileWidth), DepthY(top) + Uniform(rng, 0, 10));
                for (int s = 0; s < 6; ++s) {
                    const QPointF next = at + QPointF(Uniform(rng, -4, 4), Uniform(rng, 3, 9));
                    p.drawLine(at, next);
                    at = next;
                }
            }
            p.setPen(Qt::NoPen);
        }
        p.restore();
        top = h.bottomCm;
        offsets = next;
    }
    p.end();
    AddGrain(picture, rng, 4.0);

    // The measuring rod, decimetres alternating black and white, drawn over the grain.
    QPainter r(&picture);
    r.fillRect(QRectF(6, kSurface, 14, 120 * kPixelsPerCm), QColor(250, 250, 246));
    for (int dm = 0; dm < 12; dm += 2) {
        r.fillRect(QRectF(6, DepthY(dm * 10), 14, 10 * kPixelsPerCm), QColor(16, 16, 16));
    }
    r.setPen(QPen(QColor(40, 40, 40), 1));
    r.drawRect(QRectF(5.5, kSurface - 0.5, 15, 120 * kPixelsPerCm + 1));
    return picture;
}

std::vector<Profile> Profiles() {
    const QColor none(0, 0, 0, 0);
    const QColor rust(190, 110, 40, 150);
    const QColor bleached(175, 170, 160, 140);
    return {
        // Shallow: thin topsoil straight on stony, sandy weathering material.
        {3101, {{22, QColor(92, 70, 50), 6, none}, {200, QColor(150, 140, 118), 45, none}}},
        // Shallow to moderate: dense, waterlogged subsoil below about 40 cm.
        {3102,
         {{25, QColor(88, 70, 52), 2, none},
          {42, QColor(140, 118, 88), 2, rust},
          {200, QColor(128, 126, 118), 1, rust}}},
        // Shallow: dark, peaty topsoil over grey, wet subsoil.
        {3103, {{26, QColor(48, 40, 34), 0, none}, {200, QColor(118, 124, 122), 1, bleached}}},
        // Moderately deep: calcareous, stony below 60 cm.
        {3104,
         {{28, QColor(96, 78, 58), 5, none},
          {62, QColor(150, 122, 86), 14, none},
          {200, QColor(180, 172, 150), 50, none}}},
        // Moderately deep: uneven weathering front at about 65 cm.
        {3105,
         {{30, QColor(98, 76, 56), 3, none},
          {66, QColor(160, 110, 70), 9, none},
          {200, QColor(170, 160, 136), 30, none}}},
        // Moderately deep: dense subsoil, wet at times, mottled below 55 cm.
        {3106,
         {{28, QColor(90, 72, 54), 1, none},
          {55, QColor(145, 120, 90), 1, rust},
          {200, QColor(122, 128, 126), 1, rust}}},
        // Deep: brown subsoil to about 90 cm.
        {3107,
         {{30, QColor(94, 72, 52), 2, none},
          {90, QColor(156, 112, 70), 3, none},
          {200, QColor(168, 158, 134), 22, none}}},
        // Very deep: brown soil throughout the rod.
        {3108,
         {{32, QColor(92, 70, 50), 1, none},
          {80, QColor(150, 106, 66), 2, none},
          {200, QColor(162, 120, 80), 4, none}}},
        // Very deep, calcareous: light brown subsoil below the rod's end.
        {3109,
         {{30, QColor(100, 82, 62), 3, none},
          {75, QColor(158, 128, 90), 5, none},
          {200, QColor(172, 146, 104), 8, none}}},
    };
}

// --- Emblems and the imprint drawing --------------------------------------------------------

QImage Emblems() {
    QImage picture(641, 193, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    // Left: a ring around three leaves.
    p.setPen(QPen(QColor(40, 110, 60), 7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(110, 96), 70, 70);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(110, 110);
        p.rotate(-40 + 40 * i);
        QPainterPath leaf;
        leaf.moveTo(0, 0);
        leaf.cubicTo(-22, -25, -12, -60, 0, -72);
        leaf.cubicTo(12, -60, 22, -25, 0, 0);
        p.setBrush(QColor(60 + 30 * i, 150, 70));
        p.drawPath(leaf);
        p.restore();
    }
    // Middle: a shield with waves above furrows.
    QPainterPath shield;
    shield.moveTo(260, 26);
    shield.lineTo(380, 26);
    shield.lineTo(380, 100);
    shield.cubicTo(380, 140, 340, 160, 320, 170);
    shield.cubicTo(300, 160, 260, 140, 260, 100);
    shield.closeSubpath();
    p.setBrush(QColor(235, 225, 200));
    p.setPen(QPen(QColor(120, 80, 40), 5));
    p.drawPath(shield);
    p.save();
    p.setClipPath(shield);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(40, 100, 170), 5));
    for (int row = 0; row < 3; ++row) {
        QPainterPath wave;
        wave.moveTo(250, 48 + row * 16);
        for (int x = 250; x <= 390; x += 20) {
            wave.quadTo(x + 5, 40 + row * 16, x + 10, 48 + row * 16);
            wave.quadTo(x + 15, 56 + row * 16, x + 20, 48 + row * 16);
        }
        p.drawPath(wave);
    }
    p.setPen(QPen(QColor(130, 90, 50), 6));
    for (int i = 0; i < 6; ++i) {
        p.drawLine(QPointF(320, 104), QPointF(240 + i * 32, 180));
    }
    p.restore();
    // Right: a square of field stripes with a sun.
    p.setPen(Qt::NoPen);
    const QColor stripes[] = {QColor(200, 170, 60), QColor(110, 150, 60), QColor(150, 110, 70),
                              QColor(200, 170, 60), QColor(110, 150, 60)};
    for (int i = 0; i < 5; ++i) {
        p.setBrush(stripes[i]);
        p.drawRect(QRectF(460, 86 + i * 18, 150, 18));
    }
    p.setBrush(QColor(230, 150, 40));
    p.drawEllipse(QPointF(535, 58), 26, 26);
    p.setPen(QPen(QColor(60, 60, 60), 4));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(460, 26, 150, 150));
    return picture;
}

QImage ImprintDrawing() {
    QImage picture(321, 313, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::NoBrush);
    const QPen line(QColor(30, 30, 30), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    // Hills on the horizon.
    QPainterPath hills;
    hills.moveTo(0, 120);
    hills.cubicTo(60, 70, 120, 100, 170, 95);
    hills.cubicTo(220, 90, 270, 60, 321, 90);
    p.drawPath(hills);
    // Field boundaries running down towards the viewer.
    QPainterPath bounds;
    bounds.moveTo(0, 175);
    bounds.cubicTo(100, 150, 200, 140, 321, 150);
    bounds.moveTo(150, 112);
    bounds.cubicTo(130, 180, 90, 250, 40, 313);
    p.drawPath(bounds);
    // Furrows in the right field.
    p.setPen(QPen(QColor(60, 60, 60), 1.0));
    for (int i = 0; i < 12; ++i) {
        p.drawLine(QPointF(155 - i * 2, 150 + i * 2), QPointF(170 + i * 28, 313));
    }
    // Stubble strokes in the left field.
    for (int i = 0; i < 40; ++i) {
        const double x = 8 + (i % 8) * 14 + (i / 8) * 3;
        const double y = 190 + (i / 8) * 22;
        if (x < 150 - (y - 112) * 0.45) {
            p.drawLine(QPointF(x, y), QPointF(x + 2, y - 6));
        }
    }
    // A tree and a farmhouse on the skyline.
    p.setPen(line);
    p.drawLine(QPointF(60, 150), QPointF(60, 110));
    p.drawEllipse(QPointF(60, 92), 22, 24);
    p.drawRect(QRectF(215, 95, 50, 30));
    QPolygonF roof;
    roof << QPointF(208, 97) << QPointF(240, 72) << QPointF(272, 97);
    p.drawPolyline(roof);
    p.drawRect(QRectF(235, 108, 10, 17));
    // A few birds.
    for (int i = 0; i < 3; ++i) {
        const QPointF at(110 + i * 22, 40 + (i % 2) * 10);
        p.drawLine(at, at + QPointF(6, 4));
        p.drawLine(at + QPointF(6, 4), at + QPointF(12, 0));
    }
    return picture;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_pictures <output folder> [picture name ...]\n");
        return 2;
    }
    const std::string folder = argv[1];
    const std::vector<std::string> only(argv + 2, argv + argc); // empty: all pictures
    bool ok = true;
    // Draws and writes the picture unless other pictures were asked for.
    auto save = [&](const std::string& name, const auto& draw, bool fullChroma = false) {
        if (!only.empty() && std::find(only.begin(), only.end(), name) == only.end()) {
            return;
        }
        if (!WriteJpeg(draw(), folder + "/" + name + ".jpg", fullChroma)) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            ok = false;
        }
    };
    save("main_field", [] { return MainField(); });
    const int shares[] = {2, 5, 10, 15, 20, 25};
    for (int share : shares) {
        save("stones_" + std::to_string(share),
             [share] { return StoneCover(share, 4000 + share); });
    }
    // Full colour resolution, so that the small crumbs keep their colour.
    for (int kind = 1; kind <= 3; ++kind) {
        save(
            "feel_" + std::to_string(kind), [kind] { return FeelTest(kind); }, true);
    }
    const std::vector<Profile> profiles = Profiles();
    for (size_t i = 0; i < profiles.size(); ++i) {
        save("profile_" + std::to_string(i + 1),
             [&profiles, i] { return SoilProfile(profiles[i]); });
    }
    save("emblems", [] { return Emblems(); });
    save("imprint_drawing", [] { return ImprintDrawing(); });
    return ok ? 0 : 1;
}
