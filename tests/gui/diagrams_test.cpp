// The drawn pictures: their sizes, and that what they show agrees with the key.

#include <QDir>
#include <QTest>
#include <cmath>

#include "gui/help/diagrams.h"
#include "gui/shell/application.h"
#include "key/core/record.h"
#include "key/results/fertility_risk.h"

namespace brisolt::gui {

namespace {

bool NearColour(QRgb pixel, const QColor& want, int tolerance) {
    return std::abs(qRed(pixel) - want.red()) <= tolerance &&
           std::abs(qGreen(pixel) - want.green()) <= tolerance &&
           std::abs(qBlue(pixel) - want.blue()) <= tolerance;
}

QRgb PixelAt(const QImage& image, QPointF at) {
    return image.pixel(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
}

} // namespace

class DiagramsTest : public QObject {
    Q_OBJECT

private slots:
    // The fonts the program draws with, as at its start (on Windows they are built in).
    void initTestCase() { ConfigureApplication(); }
    void EveryNameHasItsSizeAndOthersNone() {
        const struct {
            const char* name;
            QSize size;
        } expected[] = {
            {"risk_chart", {657, 377}},   {"protractor", {417, 337}},  {"flow_ridge", {417, 337}},
            {"flow_slope", {417, 337}},   {"flow_hollow", {417, 337}}, {"region_map", {1783, 1608}},
            {"legend_step7", {560, 270}},
        };
        for (const auto& e : expected) {
            const QImage image = DrawDiagram(QString::fromLatin1(e.name));
            QVERIFY2(!image.isNull(), e.name);
            QCOMPARE(image.size(), e.size);
            // Not a blank page: some dark ink is on every picture.
            int dark = 0;
            for (int y = 0; y < image.height(); y += 2) {
                for (int x = 0; x < image.width(); x += 2) {
                    dark += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
                }
            }
            QVERIFY2(dark > 100, e.name);
        }
        QVERIFY(DrawDiagram(QStringLiteral("Risk_Chart")).isNull());
        QVERIFY(DrawDiagram(QString()).isNull());
        QVERIFY(DrawDiagram(QStringLiteral("photo_stones")).isNull());
    }

    // The five shades are distinct and run from white to dark in level order.
    void LevelShadesRunFromWhiteToDark() {
        const char* order[] = {"0", "1A", "1B", "2", "3"};
        QCOMPARE(RiskLevelColor("0"), QColor(Qt::white));
        for (int i = 1; i < 5; ++i) {
            QVERIFY(RiskLevelColor(order[i]).lightness() <
                    RiskLevelColor(order[i - 1]).lightness());
        }
        QVERIFY(!RiskLevelColor("").isValid());
        QVERIFY(!RiskLevelColor("4").isValid());
    }

    // Every band cell of the chart shows the level the key gives there.
    void RiskChartAgreesWithTheKeyInEveryBand() {
        const QImage chart = DrawDiagram(QStringLiteral("risk_chart"));
        const double eflBands[][2] = {{0, 10},    {11, 20},   {21, 30},  {31, 40}, {41, 50},
                                      {51, 60},   {61, 70},   {71, 80},  {81, 90}, {91, 100},
                                      {101, 110}, {111, 120}, {121, 140}};
        const double depthBands[][2] = {{0, 29},  {30, 40}, {41, 50}, {51, 60},
                                        {61, 70}, {71, 80}, {81, 90}, {91, 120}};
        QSet<QString> seen;
        for (const auto& d : depthBands) {
            for (const auto& e : eflBands) {
                const double efl = (e[0] + e[1]) / 2;
                const double depth = (d[0] + d[1]) / 2;
                AssessmentRecord record;
                record.EFL = efl;
                record.DepthSoil = static_cast<Int>(depth);
                const std::string label = ComputeFertilityRisk(record);
                const QRgb pixel = PixelAt(chart, RiskChartPoint(efl, depth));
                QVERIFY2(pixel == RiskLevelColor(label).rgb(),
                         qPrintable(QStringLiteral("EFL %1, depth %2: want %3")
                                        .arg(efl)
                                        .arg(depth)
                                        .arg(QString::fromStdString(label))));
                seen.insert(QString::fromStdString(label));
            }
        }
        QCOMPARE(seen.size(), 5);
        // Known corners: shallow and eroded is the darkest, deep and barely eroded white.
        QCOMPARE(PixelAt(chart, RiskChartPoint(135, 10)), RiskLevelColor("3").rgb());
        QCOMPARE(PixelAt(chart, RiskChartPoint(3, 115)), RiskLevelColor("0").rgb());
        // Whole-centimetre depths sit where a user's entry lands: 29 cm is still shallow.
        QCOMPARE(PixelAt(chart, RiskChartPoint(35, 28.4)), RiskLevelColor("3").rgb());
        QCOMPARE(PixelAt(chart, RiskChartPoint(35, 31)), RiskLevelColor("2").rgb());
        QCOMPARE(PixelAt(chart, RiskChartPoint(54, 100)), RiskLevelColor("1B").rgb());
        // The chart's axes map the model linearly: EFL 0 ... 140 left to right, depth upwards.
        QVERIFY(RiskChartPoint(140, 0).x() > RiskChartPoint(0, 0).x() + 400);
        QVERIFY(RiskChartPoint(0, 120).y() < RiskChartPoint(0, 0).y() - 250);
        QVERIFY(QRectF(QPointF(0, 0), QSizeF(chart.size()))
                    .contains(QRectF(RiskChartPoint(0, 120), RiskChartPoint(140, 0))));
    }

    // Level 1B lies on a light orange band; levels 2 and 3 share one dark orange box that
    // reaches below them; levels 0 and 1A stand on white.
    void LegendGroupsTheLevelsByUrgency() {
        const QImage legend = DrawDiagram(QStringLiteral("legend_step7"));
        auto orange = [&](int x, int y) {
            const QColor c = legend.pixelColor(x, y);
            return c.red() > 200 && c.green() > 90 && c.blue() < 190 && c.red() - c.blue() > 60;
        };
        for (const int y : {6, 24, 48, 78}) {
            QCOMPARE(legend.pixelColor(45, y), QColor(Qt::white));
        }
        QVERIFY(orange(45, 90) && orange(45, 118));
        QVERIFY(legend.pixelColor(45, 90).lightness() >
                legend.pixelColor(45, 200).lightness() + 30);
        for (const int y : {140, 172, 210, 258}) {
            QVERIFY2(orange(45, y), qPrintable(QString::number(y)));
        }
    }

    // Each slope ray runs at the angle whose tangent is the slope, not at the percentage in
    // degrees; neighbouring angles stay clear of ray ink.
    void ProtractorRaysRunAtTheTrueAngles() {
        const QImage image = DrawDiagram(QStringLiteral("protractor"));
        const QPointF centre = ProtractorCentre();
        const double radius = ProtractorRadius();
        const QColor ray = ProtractorRayColour();
        auto point = [&](double degrees, double r) {
            const double a = degrees * M_PI / 180;
            return centre + QPointF(r * std::cos(a), -r * std::sin(a));
        };
        for (const double percent : {25.0, 50.0, 100.0}) {
            const double degrees = std::atan(percent / 100) * 180 / M_PI;
            for (const double share : {0.25, 0.45, 0.65, 0.95}) {
                QVERIFY2(
                    NearColour(PixelAt(image, point(degrees, radius * share)), ray, 40),
                    qPrintable(QStringLiteral("%1 % at radius share %2").arg(percent).arg(share)));
            }
            for (const double off : {-3.0, 3.0}) {
                QVERIFY(!NearColour(PixelAt(image, point(degrees + off, radius * 0.65)), ray, 60));
            }
        }
        // No ray at 25, 50 or 90 degrees, where a percent-as-degrees mistake would put them.
        for (const double degrees : {25.0, 50.0, 90.0}) {
            QVERIFY(!NearColour(PixelAt(image, point(degrees, radius * 0.5)), ray, 60));
        }
    }
};

} // namespace brisolt::gui

QTEST_MAIN(brisolt::gui::DiagramsTest)
#include "diagrams_test.moc"
