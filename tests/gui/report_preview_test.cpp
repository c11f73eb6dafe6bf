// The report pages drawn by the painter, and the preview that step 7 opens.

#include <QAction>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QTimer>

#include "gui/shell/application.h"
#include "gui_support.h"
#include "key/startup.h"
#include "key/walk.h"
#include "pdf/page_painter.h"
#include "report/reports.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::pdf;
using namespace brisolt::gui::testing;

namespace {

constexpr int kDpi = 100;

QImage Render(const report::Page& page) {
    QImage image(827, 1169, QImage::Format_RGB32); // A4 at 100 dpi
    image.setDotsPerMeterX(qRound(kDpi / 0.0254));
    image.setDotsPerMeterY(qRound(kDpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPage(painter, page);
    return image;
}

QPoint AtMm(double x, double y) {
    return QPoint(qRound(x * kDpi / 25.4), qRound(y * kDpi / 25.4));
}

// Share of non-white pixels in a rectangle of the sheet, in mm.
double Ink(const QImage& image, double x, double y, double w, double h) {
    const QPoint a = AtMm(x, y);
    const QPoint b = AtMm(x + w, y + h);
    int dark = 0;
    int all = 0;
    for (int py = a.y(); py < b.y(); ++py) {
        for (int px = a.x(); px < b.x(); ++px) {
            ++all;
            dark += qGray(image.pixel(px, py)) < 200 ? 1 : 0; // thin lines are antialiased
        }
    }
    return all == 0 ? 0 : double(dark) / all;
}

} // namespace

class ReportPreviewTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void protocolIsDrawnWhereThePageSays() {
        const Evaluation e = EvaluateCalculationFile(BRISOLT_TEST_DATA "/worked_example.txt", 2026);
        const QImage image = Render(report::BuildEvaluationProtocol(e.record, '.'));
        // The C cell of step 2: grey fill inside, a frame around, a value at its right end.
        const QPoint inside = AtMm(20 + 152.4 + 1, 23.5 + 135.5 + 0.7);
        QCOMPARE(qGray(image.pixel(inside)), qGray(qRgb(0xF0, 0xF0, 0xF0)));
        QVERIFY(Ink(image, 20 + 152.4 - 0.3, 23.5 + 135.5 + 1, 0.6, 2) > 0.2);    // left frame
        QVERIFY(Ink(image, 20 + 152.4 + 7, 23.5 + 135.5 + 0.5, 7.5, 3.5) > 0.05); // "1.512"
        // The rule under the title, and blank paper beside the page's content.
        QVERIFY(Ink(image, 60, 15.1, 40, 2.1) > 0.05);
        QCOMPARE(Ink(image, 0, 0, 19, 297), 0.0);
        QCOMPARE(Ink(image, 20, 280, 180, 15), 0.0);
    }

    void longTextsStayInsideTheirBoxes() {
        AssessmentRecord record = FreshRecord(2026);
        for (int i = 0; i < 800; ++i) {
            record.Remark += "Wasser ";
        }
        record.Remark += "Ende";
        record.NameSurname = std::string(300, 'M');
        const QImage image = Render(report::BuildRotationSheet(record, '.'));
        // The remark box ends 25.7 mm below its top; below it only the signature lines.
        QVERIFY(Ink(image, 20, 23.5 + 192.6, 178, 25.7) > 0.1);
        QCOMPARE(Ink(image, 20, 23.5 + 192.6 + 26.5, 178, 230.7 - 192.6 - 27.5), 0.0);
    }

    // A value of 10 MB without a blank: only what can fit is measured, so the page still
    // draws at once; the word is cut with "…" inside its box.
    void hugeValuesDrawAtOnceInsideTheirBoxes() {
        AssessmentRecord record = FreshRecord(2026);
        record.NameSurname = std::string(10'000'000, 'M');
        record.Remark = std::string(10'000'000, 'W');
        record.Rotation[0].text[0] = std::string(10'000'000, 'i');
        const report::Page page = report::BuildRotationSheet(record, '.');
        QElapsedTimer timer;
        timer.start();
        const QImage image = Render(page);
        QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed()) + " ms"));
        // The name along its box; the remark's one line at its top, nothing below.
        QVERIFY(Ink(image, 20 + 38.1 + 1, 23.5 + 10.6 + 1, 42, 2.5) > 0.05);
        QVERIFY(Ink(image, 20 + 1, 23.5 + 192.6 + 0.5, 176, 3) > 0.05);
        QCOMPARE(Ink(image, 20, 23.5 + 192.6 + 4, 178, 21), 0.0);
    }

    void shapesAndImagesAreDrawnWhereThePageSays() {
        report::Page page;
        report::Element shade;
        shade.kind = report::ElementKind::Image;
        shade.box = {20, 20, 100, 100};
        shade.imageColumns = 2;
        shade.imageRows = 1;
        shade.grey = {60, 200}; // west half dark, east half light
        page.elements.push_back(shade);
        // A square with a square hole: the hole shows what lies below.
        report::Element parcel;
        parcel.kind = report::ElementKind::Shape;
        parcel.paths = {{{30, 30}, {90, 30}, {90, 90}, {30, 90}},
                        {{50, 50}, {70, 50}, {70, 70}, {50, 70}}};
        parcel.shapeFill = {236, 128, 40, 255};
        page.elements.push_back(parcel);
        report::Element path;
        path.kind = report::ElementKind::Shape;
        path.closed = false;
        path.paths = {{{100, 30}, {100, 110}}};
        path.stroke = {20, 80, 200, 255};
        path.strokeMm = 1;
        page.elements.push_back(path);
        const QImage image = Render(page);
        QCOMPARE(image.pixel(AtMm(25, 25)), qRgb(60, 60, 60));
        QCOMPARE(image.pixel(AtMm(115, 25)), qRgb(200, 200, 200));
        QCOMPARE(image.pixel(AtMm(35, 40)), qRgb(236, 128, 40));
        QCOMPARE(image.pixel(AtMm(55, 60)), qRgb(60, 60, 60));
        QCOMPARE(image.pixel(AtMm(100, 80)), qRgb(20, 80, 200));
        QCOMPARE(image.pixel(AtMm(100, 115)), qRgb(200, 200, 200)); // the line ends at 110
    }

    // A list of items in a narrow box (a plan's measures): an item that wraps goes on under
    // its first line, indented, so where the next item begins stays plain.
    void wrappedItemsHangUnderTheirFirstLine() {
        report::Page page;
        report::Element list;
        list.box = {20, 20, 60, 40};
        list.text = "Erste Massnahme mit einem Text, der weit über das Ende der Zeile hinaus "
                    "geht\nZweite";
        list.minFontPoints = 6;
        list.hangingIndentMm = 5;
        page.elements.push_back(list);
        for (const bool hanging : {true, false}) {
            page.elements.front().hangingIndentMm = hanging ? 5 : 0;
            const QImage image = Render(page);
            // Lines of 8 points, 3.2 mm apart from 0.2 mm below the top: the first item's two
            // lines, then the second item.
            const auto atLeft = [&](int line) {
                return Ink(image, 20.6, 20.9 + 3.2 * line, 3.5, 1.8);
            };
            QVERIFY(atLeft(0) > 0.05);
            QCOMPARE(atLeft(1) > 0.05, !hanging);
            QVERIFY(Ink(image, 26, 20.9 + 3.2, 20, 1.8) > 0.05);
            QVERIFY(atLeft(2) > 0.05);
            QCOMPARE(Ink(image, 20.6, 20.9 + 3.2 * 3, 58, 10), 0.0); // nothing cut or shrunk
        }
    }

    void step7OpensThePreviewWithPdfExport() {
        Application app(2026);
        app.Start();
        QWidget* step7 = app.Context().Screen(ScreenId::Step7);
        Activate(step7);
        bool sawPreview = false;
        bool sawPdfAction = false;
        QTimer::singleShot(300, [&] {
            auto* preview = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
            if (preview == nullptr) {
                const auto dialogs = QApplication::topLevelWidgets();
                for (QWidget* w : dialogs) {
                    if (auto* p = qobject_cast<QPrintPreviewDialog*>(w); p && p->isVisible()) {
                        preview = p;
                    }
                }
            }
            sawPreview = preview != nullptr;
            if (preview != nullptr) {
                sawPdfAction = preview->findChild<QAction*>("actSavePdf") != nullptr;
                preview->reject();
            }
        });
        Click(step7, "btnPrint");
        QVERIFY(sawPreview);
        QVERIFY(sawPdfAction);
    }
};

QTEST_MAIN(ReportPreviewTest)
#include "report_preview_test.moc"
