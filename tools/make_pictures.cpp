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

int Clamp8(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

bool WriteJpeg(const QImage& picture, const std::string& path) {
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
    info.optimize_coding = TRUE;
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
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
            continue;  // hidden under earlier stones, or overshooting the share
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
        p.setBrush(QColor(static_cast<int>(Uniform(rng, 40, 70)), static_cast<int>(Uniform(rng, 75, 105)),
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
    Blotches(p, rng, QRectF(0, kHorizon + 6, kWidth, kHeight - kHorizon), QColor(90, 64, 44), 500, 14);
    Blotches(p, rng, QRectF(0, kHorizon + 6, kWidth, kHeight - kHorizon), QColor(175, 145, 110), 300, 12);

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

void DrawHand(QPainter& p, Rng& rng) {
    const QColor skin(222, 178, 146);
    p.setPen(QPen(skin.darker(125), 1.5));
    p.setBrush(skin);
    // Open palm seen from above, fingers to the upper right.
    QPainterPath hand;
    hand.addEllipse(QPointF(92, 128), 72, 58);
    p.drawPath(hand);
    const double fingers[][4] = {{150, 70, 26, 14}, {168, 100, 30, 13}, {172, 132, 28, 12},
                                 {160, 162, 24, 11}};
    for (const auto& f : fingers) {
        p.save();
        p.translate(f[0], f[1]);
        p.rotate(Uniform(rng, -20, -5));
        p.drawRoundedRect(QRectF(-f[2], -f[3], f[2] * 2.2, f[3] * 2), f[3], f[3]);
        p.restore();
    }
    p.save();
    p.translate(60, 185);
    p.rotate(35);
    p.drawRoundedRect(QRectF(-16, -14, 60, 28), 14, 14);  // thumb
    p.restore();
    // Palm creases.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(skin.darker(135), 1.2));
    p.drawArc(QRectF(40, 80, 110, 80), 20 * 16, 120 * 16);
    p.drawArc(QRectF(30, 100, 120, 90), 30 * 16, 100 * 16);
}

QImage FeelTest(int kind) {
    constexpr int kWidth = 209;
    constexpr int kHeight = 207;
    Rng rng(2200 + kind);
    QImage picture = SoilSurface(rng, kWidth, kHeight, QColor(92, 110, 70));  // grass-green ground
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    DrawHand(p, rng);
    p.setPen(Qt::NoPen);
    if (kind == 1) {
        // Loamy sand: loose crumbs that do not hold together.
        for (int i = 0; i < 170; ++i) {
            const double a = Uniform(rng, 0, 2 * std::numbers::pi);
            const double r = std::sqrt(Uniform(rng, 0, 1)) * 42;
            const QPointF at(95 + std::cos(a) * r, 125 + std::sin(a) * r * 0.8);
            const QColor crumb(static_cast<int>(Uniform(rng, 130, 165)), static_cast<int>(Uniform(rng, 100, 125)),
                               static_cast<int>(Uniform(rng, 65, 85)));
            p.setBrush(crumb.darker(150));
            p.drawPolygon(Lump(rng, at + QPointF(1, 1), Uniform(rng, 1.5, 5), 0.4));
            p.setBrush(crumb);
            p.drawPolygon(Lump(rng, at, Uniform(rng, 1.5, 5), 0.4));
        }
    } else {
        // Clay rolls out to a thin, unbroken thread; loam gives a thick roll that breaks.
        const double thickness = kind == 2 ? 4.0 : 13.0;
        const QColor colour = kind == 2 ? QColor(120, 104, 92) : QColor(126, 96, 66);
        QPainterPath roll;
        roll.moveTo(35, 150);
        roll.cubicTo(70, 95, 120, 170, 175, 88);
        const int pieces = kind == 2 ? 1 : 4;
        for (int piece = 0; piece < pieces; ++piece) {
            const double from = static_cast<double>(piece) / pieces + (piece > 0 ? 0.02 : 0);
            const double to = static_cast<double>(piece + 1) / pieces - (piece + 1 < pieces ? 0.02 : 0);
            QPainterPath part;
            part.moveTo(roll.pointAtPercent(from));
            for (double t = from; t <= to + 1e-9; t += 0.01) {
                part.lineTo(roll.pointAtPercent(std::min(t, to)));
            }
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(colour.darker(150), thickness + 2, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(part.translated(1.5, 2));
            p.setPen(QPen(colour, thickness, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(part);
            p.setPen(QPen(colour.lighter(125), thickness * 0.3, Qt::SolidLine, Qt::RoundCap));
            p.drawPath(part.translated(-thickness * 0.2, -thickness * 0.25));
            if (kind == 3) {
                // Cracks across the roll.
                p.setPen(QPen(colour.darker(170), 1.2));
                for (double t = from + 0.04; t < to; t += 0.05) {
                    const QPointF c = roll.pointAtPercent(t);
                    const double angle = roll.angleAtPercent(t) * std::numbers::pi / 180 + std::numbers::pi / 2;
                    const QPointF d(std::cos(angle) * thickness * 0.45, -std::sin(angle) * thickness * 0.45);
                    p.drawLine(c - d, c + d * Uniform(rng, 0.2, 0.9));
                }
            }
        }
        p.setPen(Qt::NoPen);
        for (int i = 0; i < 14; ++i) {  // a few smears on the palm
            p.setBrush(QColor(colour.red(), colour.green(), colour.blue(), 90));
            p.drawPolygon(Lump(rng, QPointF(Uniform(rng, 50, 150), Uniform(rng, 100, 170)), Uniform(rng, 1, 3), 0.4));
        }
    }
    p.end();
    AddGrain(picture, rng, 2.5);
    return picture;
}

// --- Soil profiles --------------------------------------------------------------------------

constexpr int kProfileWidth = 217;
constexpr int kProfileHeight = 369;
constexpr int kSurface = 6;           // rod zero, the soil surface, in pixels from the top
constexpr double kPixelsPerCm = 3.0;  // so 120 cm of rod fit the picture

struct Horizon {
    double bottomCm;  // lower boundary
    QColor colour;
    int stones;       // stones per 100 x 100 pixels
    QColor mottles;   // rust or grey spots, alpha 0 for none
};

struct Profile {
    unsigned seed;
    std::vector<Horizon> horizons;  // top down; the last reaches below the picture
};

double DepthY(double cm) { return kSurface + cm * kPixelsPerCm; }

QImage SoilProfile(const Profile& profile) {
    Rng rng(profile.seed);
    QImage picture(kProfileWidth, kProfileHeight, QImage::Format_RGB32);
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
        Blotches(p, rng, box, h.colour.darker(125), static_cast<int>(box.width() * box.height() / 120), 6);
        Blotches(p, rng, box, h.colour.lighter(115), static_cast<int>(box.width() * box.height() / 160), 5);
        if (h.mottles.alpha() > 0) {
            Blotches(p, rng, box, h.mottles, static_cast<int>(box.width() * box.height() / 90), 4);
        }
        const int stones = static_cast<int>(h.stones * box.width() * box.height() / 10000);
        for (int i = 0; i < stones; ++i) {
            const int grey = static_cast<int>(Uniform(rng, 140, 200));
            const QPointF at(Uniform(rng, box.left(), box.right()), Uniform(rng, box.top(), box.bottom()));
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
        {3102, {{25, QColor(88, 70, 52), 2, none}, {42, QColor(140, 118, 88), 2, rust},
                {200, QColor(128, 126, 118), 1, rust}}},
        // Shallow: dark, peaty topsoil over grey, wet subsoil.
        {3103, {{26, QColor(48, 40, 34), 0, none}, {200, QColor(118, 124, 122), 1, bleached}}},
        // Moderately deep: calcareous, stony below 60 cm.
        {3104, {{28, QColor(96, 78, 58), 5, none}, {62, QColor(150, 122, 86), 14, none},
                {200, QColor(180, 172, 150), 50, none}}},
        // Moderately deep: uneven weathering front at about 65 cm.
        {3105, {{30, QColor(98, 76, 56), 3, none}, {66, QColor(160, 110, 70), 9, none},
                {200, QColor(170, 160, 136), 30, none}}},
        // Moderately deep: dense subsoil, wet at times, mottled below 55 cm.
        {3106, {{28, QColor(90, 72, 54), 1, none}, {55, QColor(145, 120, 90), 1, rust},
                {200, QColor(122, 128, 126), 1, rust}}},
        // Deep: brown subsoil to about 90 cm.
        {3107, {{30, QColor(94, 72, 52), 2, none}, {90, QColor(156, 112, 70), 3, none},
                {200, QColor(168, 158, 134), 22, none}}},
        // Very deep: brown soil throughout the rod.
        {3108, {{32, QColor(92, 70, 50), 1, none}, {80, QColor(150, 106, 66), 2, none},
                {200, QColor(162, 120, 80), 4, none}}},
        // Very deep, calcareous: light brown subsoil below the rod's end.
        {3109, {{30, QColor(100, 82, 62), 3, none}, {75, QColor(158, 128, 90), 5, none},
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

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    bool ok = true;
    auto save = [&](const QImage& picture, const std::string& name) {
        if (!WriteJpeg(picture, folder + "/" + name + ".jpg")) {
            std::fprintf(stderr, "cannot write %s\n", name.c_str());
            ok = false;
        }
    };
    save(MainField(), "main_field");
    const int shares[] = {2, 5, 10, 15, 20, 25};
    for (int share : shares) {
        save(StoneCover(share, 4000 + share), "stones_" + std::to_string(share));
    }
    for (int kind = 1; kind <= 3; ++kind) {
        save(FeelTest(kind), "feel_" + std::to_string(kind));
    }
    const std::vector<Profile> profiles = Profiles();
    for (size_t i = 0; i < profiles.size(); ++i) {
        save(SoilProfile(profiles[i]), "profile_" + std::to_string(i + 1));
    }
    save(Emblems(), "emblems");
    save(ImprintDrawing(), "imprint_drawing");
    return ok ? 0 : 1;
}
