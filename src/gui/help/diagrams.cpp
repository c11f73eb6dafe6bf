#include "gui/help/diagrams.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <vector>

#include "gui/shell/qt_text.h"
#include "key/core/record.h"
#include "key/core/texts_results.h"
#include "key/results/fertility_risk.h"
#include "key/site/site_influence.h"
#include "report/area_map.h"

namespace brisolt::gui {

namespace {

const QString kFamily = QStringLiteral("Liberation Sans");

QFont Font(int pixels, bool bold = false) {
    QFont font(kFamily);
    font.setPixelSize(pixels);
    font.setBold(bold);
    // The font's own advances, as on Linux: labels are placed by their measured width.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

QImage Blank(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// An arrow from `from` to `to` with a filled head.
void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 2.0) {
    p.save();
    p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    if (length < 1e-6) {
        p.restore();
        return;
    }
    const QPointF u = d / length;
    const QPointF n(-u.y(), u.x());
    const double head = 5.0 + 2.5 * width;
    p.drawLine(from, to - u * head * 0.8);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPolygon(QPolygonF{to, to - u * head + n * head * 0.45, to - u * head - n * head * 0.45});
    p.restore();
}

// ---------------------------------------------------------------------------------------
// Risk level chart

constexpr int kChartWidth = 657;
constexpr int kChartHeight = 377;
constexpr double kPlotLeft = 172;
constexpr double kPlotRight = 640;
constexpr double kPlotTop = 34;
constexpr double kPlotBottom = 316;
constexpr double kEflMax = 140;
constexpr double kDepthMax = 120;

struct ChartLevel {
    const char* label;
    int grey;
};
constexpr ChartLevel kLevels[] = {{"0", 255}, {"1A", 218}, {"1B", 178}, {"2", 128}, {"3", 72}};

std::string RiskAt(double efl, long depth) {
    AssessmentRecord record;
    record.EFL = static_cast<Real>(efl);
    record.DepthSoil = static_cast<Int>(depth);
    return ComputeFertilityRisk(record);
}

// Model value at the centre of a pixel.
double EflAtColumn(int x) {
    return (x + 0.5 - kPlotLeft) / (kPlotRight - kPlotLeft) * kEflMax;
}
double DepthAtRow(int y) {
    return (kPlotBottom - (y + 0.5)) / (kPlotBottom - kPlotTop) * kDepthMax;
}

// The middles of the table's bands on the chart, clipped to the drawn axes.
std::vector<double> BandMiddles(const std::vector<double>& keys, double axisMax) {
    std::vector<double> middles;
    for (std::size_t i = 0; i + 1 < keys.size(); i += 2) {
        middles.push_back((keys[i] + std::min(keys[i + 1], axisMax)) / 2);
    }
    return middles;
}

std::vector<QPointF> CellMiddles() {
    const TmtxExtendedArray& table = FertilityRiskTable();
    std::vector<double> eflKeys;
    std::vector<double> depthKeys;
    for (Int c = 1; c < table.ColCount; ++c) {
        eflKeys.push_back(static_cast<double>(table.at(0, c)));
    }
    for (Int r = 1; r < table.RowCount; ++r) {
        depthKeys.push_back(static_cast<double>(table.at(r, 0)));
    }
    std::vector<QPointF> points;
    for (const double d : BandMiddles(depthKeys, kDepthMax)) {
        for (const double e : BandMiddles(eflKeys, kEflMax)) {
            points.push_back(RiskChartPoint(e, d));
        }
    }
    return points;
}

void DrawRiskAreas(QImage& image, QPainter& p) {
    const int left = static_cast<int>(kPlotLeft);
    const int top = static_cast<int>(kPlotTop);
    const int width = static_cast<int>(kPlotRight) - left;
    const int height = static_cast<int>(kPlotBottom) - top;
    // Level index of every plot pixel; the key decides, once per column and whole depth.
    std::vector<int> level(static_cast<std::size_t>(width * height));
    auto at = [&](int x, int y) -> int& { return level[static_cast<std::size_t>(y * width + x)]; };
    for (int x = 0; x < width; ++x) {
        const double efl = EflAtColumn(left + x);
        std::map<long, int> byDepth;
        for (int y = 0; y < height; ++y) {
            const long depth = std::lround(DepthAtRow(top + y));
            auto found = byDepth.find(depth);
            if (found == byDepth.end()) {
                const std::string label = RiskAt(efl, depth);
                int index = 0;
                for (int i = 0; i < 5; ++i) {
                    if (label == kLevels[i].label) {
                        index = i;
                    }
                }
                found = byDepth.emplace(depth, index).first;
            }
            at(x, y) = found->second;
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const int g = kLevels[at(x, y)].grey;
            const bool edge = (x + 1 < width && at(x + 1, y) != at(x, y)) ||
                              (y + 1 < height && at(x, y + 1) != at(x, y));
            image.setPixel(left + x, top + y, edge ? qRgb(0, 0, 0) : qRgb(g, g, g));
        }
    }

    // Chessboard distance of each pixel to another level or the plot edge, for placing
    // each area's label where it has most room.
    std::vector<int> dist(level.size());
    auto d = [&](int x, int y) -> int& { return dist[static_cast<std::size_t>(y * width + x)]; };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int v = 1;
            if (x > 0 && y > 0 && x + 1 < width) {
                const int l = at(x, y);
                if (at(x - 1, y) == l && at(x, y - 1) == l && at(x - 1, y - 1) == l &&
                    at(x + 1, y - 1) == l) {
                    v = 1 + std::min({d(x - 1, y), d(x, y - 1), d(x - 1, y - 1), d(x + 1, y - 1)});
                }
            }
            d(x, y) = v;
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = width - 1; x >= 0; --x) {
            int v = d(x, y);
            if (x + 1 >= width || y + 1 >= height || x == 0) {
                v = 1;
            } else {
                const int l = at(x, y);
                if (at(x + 1, y) == l && at(x, y + 1) == l && at(x + 1, y + 1) == l &&
                    at(x - 1, y + 1) == l) {
                    v = std::min(v, 1 + std::min({d(x + 1, y), d(x, y + 1), d(x + 1, y + 1),
                                                  d(x - 1, y + 1)}));
                } else {
                    v = 1;
                }
            }
            d(x, y) = v;
        }
    }

    // Labels keep clear of the band middles, where the chart is read.
    const std::vector<QPointF> middles = CellMiddles();
    const QFont font = Font(15, true);
    p.setFont(font);
    const QFontMetricsF metrics(font);
    for (int i = 0; i < 5; ++i) {
        const QString text = QString::fromLatin1(kLevels[i].label);
        const QSizeF box(metrics.horizontalAdvance(text) + 6, metrics.height() + 2);
        const int need = static_cast<int>(std::ceil(std::max(box.width(), box.height()) / 2)) + 2;
        int best = -1;
        QPointF bestCentre;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (at(x, y) != i || d(x, y) < need || d(x, y) <= best) {
                    continue;
                }
                const QPointF centre(left + x + 0.5, top + y + 0.5);
                const QRectF rect(centre - QPointF(box.width() / 2, box.height() / 2), box);
                const QRectF guard = rect.adjusted(-3, -3, 3, 3);
                const bool clear =
                    std::none_of(middles.begin(), middles.end(),
                                 [&](const QPointF& m) { return guard.contains(m); });
                if (clear) {
                    best = d(x, y);
                    bestCentre = centre;
                }
            }
        }
        if (best < 0) {
            continue;
        }
        const QRectF rect(bestCentre - QPointF(box.width() / 2, box.height() / 2), box);
        p.setPen(kLevels[i].grey < 150 ? Qt::white : Qt::black);
        p.drawText(rect, Qt::AlignCenter, text);
    }
}

QImage DrawRiskChart() {
    QImage image = Blank(kChartWidth, kChartHeight);
    QPainter p(&image);
    DrawRiskAreas(image, p);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QRectF plot(QPointF(kPlotLeft, kPlotTop), QPointF(kPlotRight, kPlotBottom));
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawRect(plot);

    // EFL axis.
    p.setFont(Font(12));
    for (int e = 0; e <= 140; e += 10) {
        const QPointF at = RiskChartPoint(e, 0);
        p.drawLine(at, at + QPointF(0, 5));
        p.drawText(QRectF(at.x() - 20, at.y() + 6, 40, 16), Qt::AlignCenter, QString::number(e));
    }
    p.setFont(Font(13, true));
    p.drawText(QRectF(kPlotLeft, kPlotBottom + 26, kPlotRight - kPlotLeft, 20), Qt::AlignCenter,
               QStringLiteral("Gesamtgefährdung durch Bodenerosion EFL"));

    // Depth axis with the five depth classes.
    p.setFont(Font(12));
    for (const int g : {0, 30, 50, 70, 100}) {
        const QPointF at = RiskChartPoint(0, g);
        p.drawLine(at, at - QPointF(5, 0));
        p.drawText(QRectF(at.x() - 40, at.y() - 8, 33, 16), Qt::AlignRight | Qt::AlignVCenter,
                   QString::number(g));
    }
    struct DepthClass {
        const char* name;
        double from;
        double to;
    };
    const DepthClass classes[] = {{"flachgründig", 0, 30},
                                  {"ziemlich\nflachgründig", 30, 50},
                                  {"mässig\ntiefgründig", 50, 70},
                                  {"tiefgründig", 70, 100},
                                  {"sehr\ntiefgründig", 100, kDepthMax}};
    const double classRight = kPlotLeft - 44;
    for (const DepthClass& c : classes) {
        const double yLow = RiskChartPoint(0, c.from).y();
        const double yHigh = RiskChartPoint(0, c.to).y();
        p.setPen(QPen(Qt::gray, 1));
        p.drawLine(QPointF(6, yHigh), QPointF(classRight, yHigh));
        p.setPen(Qt::black);
        p.drawText(QRectF(6, yHigh, classRight - 8, yLow - yHigh), Qt::AlignLeft | Qt::AlignVCenter,
                   QString::fromUtf8(c.name));
    }
    p.setPen(QPen(Qt::gray, 1));
    p.drawLine(QPointF(6, kPlotBottom), QPointF(classRight, kPlotBottom));
    p.setPen(Qt::black);
    p.setFont(Font(13, true));
    p.drawText(QRectF(6, 6, kPlotLeft, 22), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Gründigkeit G (cm)"));
    p.drawText(QRectF(kPlotLeft, 6, kPlotRight - kPlotLeft, 22), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Gefährdungsstufen GBF"));
    return image;
}

// ---------------------------------------------------------------------------------------
// Protractor

QImage DrawProtractor() {
    QImage image = Blank(417, 337);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF c = ProtractorCentre();
    const double r = ProtractorRadius();
    auto polar = [&](double degrees, double radius) {
        const double a = qDegreesToRadians(degrees);
        return c + QPointF(radius * std::cos(a), -radius * std::sin(a));
    };

    p.setPen(QPen(Qt::black, 2));
    p.setBrush(QColor(245, 245, 240));
    QPainterPath quarter(c);
    quarter.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 90);
    quarter.closeSubpath();
    p.drawPath(quarter);

    p.setFont(Font(12));
    for (int deg = 0; deg <= 90; ++deg) {
        const double length = deg % 10 == 0 ? 20 : deg % 5 == 0 ? 13 : 7;
        p.setPen(QPen(Qt::black, deg % 10 == 0 ? 1.6 : 1));
        p.drawLine(polar(deg, r), polar(deg, r - length));
        if (deg % 10 == 0) {
            const QPointF at = polar(deg, r + 16);
            p.drawText(QRectF(at.x() - 16, at.y() - 8, 32, 16), Qt::AlignCenter,
                       QStringLiteral("%1°").arg(deg));
        }
    }

    struct Ray {
        const char* label;
        double percent;
    };
    const Ray rays[] = {{"25%", 25}, {"50%", 50}, {"100%", 100}};
    p.setFont(Font(14, true));
    for (const Ray& ray : rays) {
        const double deg = qRadiansToDegrees(std::atan(ray.percent / 100.0));
        p.setPen(QPen(ProtractorRayColour(), 3, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(c, polar(deg, r));
        // The label sits above the ray, beyond the part of it that is read.
        p.save();
        p.translate(polar(deg, r * 0.84));
        p.rotate(-deg);
        p.setPen(ProtractorRayColour());
        p.drawText(QRectF(-30, -22, 60, 18), Qt::AlignCenter, QString::fromLatin1(ray.label));
        p.restore();
    }
    p.setPen(Qt::black);
    p.setBrush(Qt::black);
    p.drawEllipse(c, 3, 3);
    p.setFont(Font(13, true));
    p.drawText(QRectF(200, 50, 210, 40), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Gefälle in %\nund Winkel in Grad"));
    return image;
}

// ---------------------------------------------------------------------------------------
// Location sketches for the flow length

const QColor kSoil(215, 215, 215);
const QColor kField(60, 60, 60);
const QColor kWater(110, 110, 110);

// A ground profile: filled below, the field drawn as a thick line with crop marks.
void Ground(QPainter& p, const QPolygonF& surface, int height) {
    QPolygonF area = surface;
    area << QPointF(surface.last().x(), height) << QPointF(surface.first().x(), height);
    p.setPen(Qt::NoPen);
    p.setBrush(kSoil);
    p.drawPolygon(area);
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(surface);
}

QPointF Along(QPointF a, QPointF b, double t) {
    return a + (b - a) * t;
}

void FieldStretch(QPainter& p, QPointF a, QPointF b) {
    p.setPen(QPen(kField, 5, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    const QPointF n(d.y() / len, -d.x() / len); // pointing up out of the ground
    const QPointF normal = n.y() < 0 ? n : -n;
    p.setPen(QPen(kField, 1.2));
    for (double s = 6; s < len - 3; s += 9) {
        const QPointF base = a + d * (s / len);
        p.drawLine(base, base + normal * 7);
    }
}

// Water running just above the surface from a towards b.
void WaterArrows(QPainter& p, QPointF a, QPointF b, int count, double lift) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    QPointF n(d.y() / len, -d.x() / len);
    if (n.y() > 0) {
        n = -n;
    }
    for (int i = 0; i < count; ++i) {
        const double t0 = (i + 0.1) / count;
        const double t1 = (i + 0.85) / count;
        Arrow(p, Along(a, b, t0) + n * lift, Along(a, b, t1) + n * lift, kWater, 2.0);
    }
}

// The measured stretch: a dimension line parallel to a-b, offset away from the ground.
void Measure(QPainter& p, QPointF a, QPointF b, double offset, const QString& text) {
    const QPointF d = b - a;
    const double len = std::hypot(d.x(), d.y());
    QPointF n(d.y() / len, -d.x() / len);
    if (n.y() > 0) {
        n = -n;
    }
    const QPointF a1 = a + n * offset;
    const QPointF b1 = b + n * offset;
    p.setPen(QPen(Qt::black, 1, Qt::DashLine));
    p.drawLine(a, a1 + n * 5);
    p.drawLine(b, b1 + n * 5);
    Arrow(p, Along(a1, b1, 0.5), a1, Qt::black, 1.2);
    Arrow(p, Along(a1, b1, 0.5), b1, Qt::black, 1.2);
    double angle = qRadiansToDegrees(std::atan2(d.y(), d.x()));
    if (angle > 90) {
        angle -= 180;
    } else if (angle < -90) {
        angle += 180;
    }
    p.save();
    p.translate(Along(a1, b1, 0.5) + n * 12);
    p.rotate(angle);
    p.setFont(Font(13, true));
    p.setPen(Qt::black);
    p.drawText(QRectF(-80, -9, 160, 18), Qt::AlignCenter, text);
    p.restore();
}

void Caption(QPainter& p, QRectF rect, const QString& text, int flags = Qt::AlignCenter) {
    p.setFont(Font(13));
    p.setPen(Qt::black);
    p.drawText(rect, flags | Qt::TextWordWrap, text);
}

QImage DrawFlowRidge() {
    QImage image = Blank(417, 337);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF crest(208, 110);
    const QPointF leftFoot(40, 262);
    const QPointF rightFoot(377, 262);
    Ground(p, QPolygonF{{0, 276}, leftFoot, {160, 126}, crest, {256, 126}, rightFoot, {417, 276}},
           337);
    const QPointF fieldLeft(90, 217);
    const QPointF fieldRight(330, 220);
    FieldStretch(p, fieldLeft, QPointF(160, 126));
    FieldStretch(p, QPointF(160, 126), crest);
    FieldStretch(p, crest, QPointF(256, 126));
    FieldStretch(p, QPointF(256, 126), fieldRight);
    WaterArrows(p, crest, fieldLeft, 3, 22);
    WaterArrows(p, crest, fieldRight, 3, 22);
    Measure(p, crest, fieldRight, 52, QStringLiteral("Fliessstrecke"));
    Caption(p, QRectF(150, 66, 116, 20), QStringLiteral("Kuppe"));
    Caption(p, QRectF(158, 150, 100, 20), QStringLiteral("Schlag"));
    Caption(p, QRectF(60, 290, 300, 36),
            QStringLiteral("Schlag auf der Kuppe: das Wasser fliesst nach beiden Seiten ab"));
    return image;
}

QImage DrawFlowSlope() {
    QImage image = Blank(417, 337);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF top(0, 70);
    const QPointF bottom(417, 280);
    Ground(p, QPolygonF{top, bottom}, 337);
    const QPointF fieldTop = Along(top, bottom, 0.36);
    const QPointF fieldBottom = Along(top, bottom, 0.86);
    // Other fields above the one assessed.
    p.setPen(QPen(Qt::gray, 4, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(Along(top, bottom, 0.02), Along(top, bottom, 0.33));
    FieldStretch(p, fieldTop, fieldBottom);
    WaterArrows(p, fieldTop, fieldBottom, 4, 12);
    Measure(p, fieldTop, fieldBottom, 50, QStringLiteral("Fliessstrecke"));
    Caption(p, QRectF(12, 120, 150, 36), QStringLiteral("andere Felder"), Qt::AlignLeft);
    Caption(p, QRectF(200, 240, 120, 20), QStringLiteral("Schlag"));
    Caption(p, QRectF(30, 292, 360, 36),
            QStringLiteral("Flächenhafter Abfluss in der Fallinie über den Schlag"));
    return image;
}

QImage DrawFlowHollow() {
    QImage image = Blank(417, 337);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QPointF valley(300, 250);
    Ground(p, QPolygonF{{0, 80}, {60, 100}, valley, {350, 225}, {417, 190}}, 337);
    const QPointF fieldTop(60, 100);
    FieldStretch(p, fieldTop, valley);
    WaterArrows(p, fieldTop, valley, 4, 12);
    Measure(p, fieldTop, valley, 50, QStringLiteral("Fliessstrecke"));
    // The collected runoff in the valley line runs towards the viewer.
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::white);
    p.drawEllipse(valley, 9, 9);
    p.setBrush(Qt::black);
    p.drawEllipse(valley, 3, 3);
    Caption(p, QRectF(276, 262, 136, 36), QStringLiteral("Tiefenlinie der Mulde"));
    Caption(p, QRectF(10, 292, 270, 36),
            QStringLiteral("Gemessen wird bis zur Tiefenlinie; der gebündelte Abfluss zählt nicht"),
            Qt::AlignLeft);
    Caption(p, QRectF(110, 180, 100, 20), QStringLiteral("Schlag"));
    return image;
}

// ---------------------------------------------------------------------------------------
// Region map

QImage DrawRegionMap() {
    QImage image = Blank(1783, 1608);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    p.setPen(Qt::black);
    p.setFont(Font(48, true));
    p.drawText(QRectF(0, 20, 1783, 70), Qt::AlignCenter, QStringLiteral("Regionen A bis H"));

    const QRectF mapArea(60, 150, 1663, 900);
    p.setPen(QPen(Qt::gray, 2));
    p.setBrush(QColor(226, 226, 222));
    p.drawRect(mapArea);

    // Coarse outlines in map units; neighbours share their vertices.
    struct Region {
        QPolygonF outline;
        QPointF letterAt;
        QColor colour;
    };
    const std::vector<Region> regions = {
        {QPolygonF{{120, 470}, {600, 380}, {700, 380}, {700, 700}, {450, 800}, {120, 800}},
         {380, 610},
         QColor(246, 196, 120)},
        {QPolygonF{{700, 380}, {1250, 340}, {1250, 620}, {1100, 700}, {700, 700}},
         {960, 530},
         QColor(170, 210, 150)},
        {QPolygonF{{1100, 700}, {1250, 620}, {1700, 620}, {1700, 1000}, {1100, 1000}},
         {1400, 820},
         QColor(150, 190, 230)},
        {QPolygonF{{120, 800},
                   {450, 800},
                   {500, 950},
                   {900, 850},
                   {900, 700},
                   {1100, 700},
                   {1100, 1000},
                   {120, 1000}},
         {300, 910},
         QColor(220, 170, 210)},
        {QPolygonF{{450, 800}, {700, 700}, {900, 700}, {900, 850}, {500, 950}},
         {700, 800},
         QColor(240, 230, 130)},
        {QPolygonF{{120, 260}, {1250, 260}, {1250, 340}, {700, 380}, {600, 380}, {120, 470}},
         {500, 330},
         QColor(200, 160, 130)},
        {QPolygonF{{1500, 200}, {1700, 200}, {1700, 620}, {1250, 620}, {1250, 340}, {1500, 340}},
         {1480, 480},
         QColor(160, 220, 210)},
        {QPolygonF{{1250, 200}, {1500, 200}, {1500, 340}, {1250, 340}},
         {1375, 270},
         QColor(250, 150, 140)},
    };
    const QPointF shift(0, 40);
    const std::vector<std::string>& letters = RegionLetters();
    const std::vector<std::string>& descriptions = RegionDescriptions();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        p.setPen(QPen(QColor(60, 60, 60), 4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(regions[i].colour);
        p.drawPolygon(regions[i].outline.translated(shift));
    }
    p.setFont(Font(90, true));
    p.setPen(Qt::black);
    for (std::size_t i = 0; i < regions.size() && i < letters.size(); ++i) {
        const QPointF at = regions[i].letterAt + shift;
        p.drawText(QRectF(at.x() - 70, at.y() - 60, 140, 120), Qt::AlignCenter, Q(letters[i]));
    }

    // The map is a sketch of neighbourhoods, not a measured map: said on the map itself.
    const QRectF note(mapArea.left() + 60, mapArea.top() + 40, 980, 70);
    p.setPen(QPen(Qt::black, 3));
    p.setBrush(Qt::white);
    p.drawRect(note);
    p.setFont(Font(40, true));
    p.drawText(note, Qt::AlignCenter,
               QStringLiteral("Schematische Darstellung, nicht massstäblich"));

    // Legend: letter and description of every region.
    double y = mapArea.bottom() + 40;
    const QFont legend = Font(30);
    const QFontMetricsF metrics(legend);
    for (std::size_t i = 0; i < regions.size() && i < letters.size() && i < descriptions.size();
         ++i) {
        const QRectF swatch(80, y, 50, 50);
        p.setPen(QPen(QColor(60, 60, 60), 2));
        p.setBrush(regions[i].colour);
        p.drawRect(swatch);
        p.setFont(Font(32, true));
        p.setPen(Qt::black);
        p.drawText(swatch, Qt::AlignCenter, Q(letters[i]));
        p.setFont(legend);
        const QRectF textArea(150, y, 1783 - 150 - 60, 1000);
        const QRectF used =
            metrics.boundingRect(textArea, Qt::TextWordWrap | Qt::AlignLeft, Q(descriptions[i]));
        p.drawText(QRectF(150, y + 7, textArea.width(), used.height()),
                   Qt::TextWordWrap | Qt::AlignLeft, Q(descriptions[i]));
        y += std::max(56.0, used.height() + 16);
    }
    return image;
}

// ---------------------------------------------------------------------------------------
// Legend of the step 7 screen

QImage DrawLegendStep7() {
    namespace t = texts::results::step7;
    QImage image = Blank(560, 270);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    const QColor lightOrange = LegendLevelColor("1B");
    const QColor darkOrange = LegendLevelColor("2");
    constexpr double kMeaningX = 50;
    // The advice column ends at the right margin, however long its longest text.
    double adviceWidth = 0;
    for (const std::string_view advice :
         {t::kLevel1AAdvice, t::kLevel1BAdvice, t::kLevel2Advice, t::kLevel3Advice}) {
        adviceWidth =
            std::max(adviceWidth, QFontMetricsF(Font(12, true)).horizontalAdvance(Q(advice)));
    }
    const double kAdviceX = 560 - 12 - std::ceil(adviceWidth);
    constexpr double kRow = 36;

    auto row = [&](double y, std::string_view label, std::string_view meaning,
                   std::string_view advice) {
        const QRectF circle(10, y + (kRow - 30) / 2, 30, 30);
        const QColor fill = RiskLevelColor(std::string(label));
        p.setPen(QPen(Qt::black, 1.5));
        p.setBrush(fill);
        p.drawEllipse(circle);
        p.setFont(Font(13, true));
        p.setPen(fill.lightness() < 128 ? Qt::white : Qt::black);
        p.drawText(circle, Qt::AlignCenter, Q(label));
        p.setPen(Qt::black);
        p.setFont(Font(12));
        p.drawText(QRectF(kMeaningX, y, kAdviceX - kMeaningX - 6, kRow),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, Q(meaning));
        if (!advice.empty()) {
            p.setFont(Font(12, true));
            p.drawText(QRectF(kAdviceX, y, 560 - kAdviceX - 6, kRow),
                       Qt::AlignLeft | Qt::AlignVCenter, Q(advice));
        }
    };

    row(4, t::kLevel0, t::kLevel0Meaning, {});
    row(44, t::kLevel1A, t::kLevel1AMeaning, t::kLevel1AAdvice);
    p.setPen(Qt::NoPen);
    p.setBrush(lightOrange);
    p.drawRect(QRectF(4, 84, 552, kRow + 4));
    row(86, t::kLevel1B, t::kLevel1BMeaning, t::kLevel1BAdvice);
    const report::Rgba frame = report::kLegendBoxFrame;
    p.setPen(QPen(QColor(frame.red, frame.green, frame.blue), 1.5));
    p.setBrush(darkOrange);
    p.drawRoundedRect(QRectF(4, 130, 552, 134), 6, 6);
    row(134, t::kLevel2, t::kLevel2Meaning, t::kLevel2Advice);
    row(174, t::kLevel3, t::kLevel3Meaning, t::kLevel3Advice);
    p.setPen(Qt::black);
    p.setFont(Font(14, true));
    p.drawText(QRectF(10, 218, 540, 38), Qt::AlignCenter, Q(t::kContactAdviser));
    return image;
}

} // namespace

QPointF RiskChartPoint(double efl, double depthCm) {
    return {kPlotLeft + efl / kEflMax * (kPlotRight - kPlotLeft),
            kPlotBottom - depthCm / kDepthMax * (kPlotBottom - kPlotTop)};
}

QColor RiskLevelColor(const std::string& label) {
    for (const ChartLevel& level : kLevels) {
        if (label == level.label) {
            return QColor(level.grey, level.grey, level.grey);
        }
    }
    return {};
}

QColor LegendLevelColor(const std::string& label) {
    const auto colour = [](report::Rgba c) { return QColor(c.red, c.green, c.blue); };
    if (label == "1B") {
        return colour(report::kLegendLightOrange);
    }
    if (label == "2" || label == "3") {
        return colour(report::kLegendDarkOrange);
    }
    return {};
}

QPointF ProtractorCentre() {
    return {36, 306};
}
double ProtractorRadius() {
    return 262;
}
QColor ProtractorRayColour() {
    return QColor(190, 30, 30);
}

QImage DrawDiagram(const QString& name) {
    static const std::map<QString, std::function<QImage()>> painters = {
        {QStringLiteral("risk_chart"), DrawRiskChart},
        {QStringLiteral("protractor"), DrawProtractor},
        {QStringLiteral("flow_ridge"), DrawFlowRidge},
        {QStringLiteral("flow_slope"), DrawFlowSlope},
        {QStringLiteral("flow_hollow"), DrawFlowHollow},
        {QStringLiteral("region_map"), DrawRegionMap},
        {QStringLiteral("legend_step7"), DrawLegendStep7},
    };
    const auto found = painters.find(name);
    return found == painters.end() ? QImage() : found->second();
}

} // namespace brisolt::gui
