// The help pages: every page opens, the chain and section buttons lead where they should,
// and the soil depth page shows the regional standard depths.

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QWheelEvent>

#include "gui/help/diagrams.h"
#include "gui/help/help_catalogue.h"
#include "gui/help/help_pages.h"
#include "gui/help/help_window.h"
#include "gui/help/region_map_view.h"
#include "gui/shell/app_context.h"
#include "gui/shell/application.h"
#include "gui/shell/qt_text.h"
#include "gui_support.h"
#include "key/results/soil_depth.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

QList<int> VisiblePages(const HelpPages& pages) {
    QList<int> visible;
    for (const auto& entry : HelpCatalogue()) {
        if (pages.Page(entry.first)->isVisible()) {
            visible << entry.first;
        }
    }
    return visible;
}

} // namespace

class HelpPagesTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void everyPageOpensThroughTheHookAndOnlyItself() {
        HelpPages pages;
        AppContext context(2026);
        InstallHelpPages(context, pages);
        QVERIFY(VisiblePages(pages).isEmpty());
        QCOMPARE(HelpCatalogue().size(), std::size_t{35}); // 101 ... 137 without 108 and 109
        for (const auto& [number, description] : HelpCatalogue()) {
            context.OpenHelpPage(number);
            HelpWindow* window = pages.Page(number);
            QCOMPARE(VisiblePages(pages), QList<int>{number});
            QCOMPARE(window->objectName(), QStringLiteral("frmHelp%1").arg(number));
            QCOMPARE(window->windowTitle(), description.windowTitle);
            QVERIFY(!window->windowTitle().isEmpty());
            QCOMPARE(window->size(), QSize(696, 515));
            window->hide();
        }
        context.OpenHelpPage(999); // no such page: nothing happens
        QVERIFY(VisiblePages(pages).isEmpty());
    }

    void openingAPageKeepsTheOthersOpen() {
        HelpPages pages;
        pages.Show(help::kSoilType);
        pages.Show(help::kStones);
        QCOMPARE(VisiblePages(pages), (QList<int>{help::kStones, help::kSoilType}));
    }

    void chainButtonsLeadToTheirTargetsAndHideTheCurrentPage() {
        struct Move {
            int from;
            const char* button;
            const char* caption;
            int to;
        };
        const Move moves[] = {
            {107, "btnNext", "Umrechnung", 132}, {132, "btnBack", "Zurück", 107},
            {106, "btnNext", "Weiter", 117},     {106, "btnStepHelp", "?", 117},
            {117, "btnBack", "Zurück", 106},     {117, "btnNext", "Weiter", 118},
            {118, "btnBack", "Zurück", 117},     {118, "btnNext", "Weiter", 119},
            {119, "btnBack", "Zurück", 118},     {103, "btnNext", "Weiter", 101},
            {101, "btnBack", "Zurück", 103},     {130, "btnNext", "Weiter", 131},
            {131, "btnBack", "Zurück", 130},     {111, "btnNext", "Weiter", 112},
            {112, "btnBack", "Zurück", 111},     {102, "btnNext", "Weiter", 120},
            {120, "btnBack", "Zurück", 102},     {124, "btnBack", "Zurück", 123},
            {128, "btnBack", "Zurück", 127},     {105, "btnNext", "Weiter", 113},
            {113, "btnBack", "Zurück", 105},     {114, "btnNext", "Quellen", 115},
            {115, "btnBack", "Zurück", 114},     {115, "btnNext", "Auskünfte", 129},
            {129, "btnBack", "Zurück", 115}};
        HelpPages pages;
        for (const Move& move : moves) {
            pages.Show(move.from);
            auto* button = Find<QPushButton>(pages.Page(move.from), move.button);
            QCOMPARE(button->text(), Q(move.caption));
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(VisiblePages(pages), QList<int>{move.to});
            pages.Hide(move.to);
        }
    }

    void endsOfChainsHaveNoButtonBeyondThem() {
        HelpPages pages;
        for (int page : {132, 119, 101, 131, 112, 128, 113, 129, 104}) {
            QVERIFY2(pages.Page(page)->findChild<QPushButton*>("btnNext") == nullptr,
                     qPrintable(QString::number(page)));
        }
        for (int page : {107, 106, 103, 130, 111, 102, 105, 114, 104}) {
            QVERIFY2(pages.Page(page)->findChild<QPushButton*>("btnBack") == nullptr,
                     qPrintable(QString::number(page)));
        }
        // The stone comparison page keeps "Zurück" above "Schliessen" at the right.
        QCOMPARE(Find<QPushButton>(pages.Page(101), "btnBack")->geometry(),
                 QRect(568, 408, 105, 25));
    }

    void schliessenHidesOnlyThePage() {
        HelpPages pages;
        pages.Show(111);
        pages.Show(104);
        Click(pages.Page(104), "btnClose");
        QCOMPARE(VisiblePages(pages), QList<int>{111});
        pages.Show(116);
        Trigger(pages.Page(116), "mniClose");
        QCOMPARE(VisiblePages(pages), QList<int>{111});
    }

    void walkingWeiterFromTheSoilDepthPageReachesTheLastProfileInNineSteps() {
        HelpPages pages;
        pages.Show(102);
        int current = 102;
        int steps = 0;
        while (QPushButton* next = pages.Page(current)->findChild<QPushButton*>("btnNext")) {
            QTest::mouseClick(next, Qt::LeftButton);
            const QList<int> visible = VisiblePages(pages);
            QCOMPARE(visible.size(), 1);
            current = visible.front();
            ++steps;
            QVERIFY(steps <= 9);
        }
        QCOMPARE(current, 128);
        QCOMPARE(steps, 9);
        QCOMPARE(pages.Page(128)->windowTitle(), QString("Hilfe: Gründigkeit des Bodens (10)"));
    }

    void sectionBarLeavesOutTheOwnSection() {
        HelpPages pages;
        const std::pair<int, const char*> missing[] = {{110, "btnEntry"},
                                                       {133, "btnProcedure"},
                                                       {134, "btnMainCrops"},
                                                       {136, "btnPeriod"},
                                                       {135, "btnTillage"}};
        const std::pair<const char*, int> all[] = {{"btnEntry", 8},       {"btnProcedure", 120},
                                                   {"btnMainCrops", 232}, {"btnPeriod", 344},
                                                   {"btnTillage", 456},   {"btnClose", 568}};
        for (const auto& [page, own] : missing) {
            for (const auto& [name, x] : all) {
                auto* button = pages.Page(page)->findChild<QPushButton*>(name);
                if (QString(name) == own) {
                    QVERIFY(button == nullptr);
                } else {
                    QVERIFY2(button != nullptr, name);
                    QCOMPARE(button->pos(), QPoint(x, 448));
                }
            }
        }
    }

    void sectionButtonsOnTheEntryPageKeepItOpenUnderneath() {
        HelpPages pages;
        pages.Show(110);
        Click(pages.Page(110), "btnMainCrops");
        QCOMPARE(VisiblePages(pages), (QList<int>{110, 134}));
        // Another section replaces the section page; the entry page stays.
        Click(pages.Page(134), "btnTillage");
        QCOMPARE(VisiblePages(pages), (QList<int>{110, 135}));
        Click(pages.Page(135), "btnPeriod");
        QCOMPARE(VisiblePages(pages), (QList<int>{110, 136}));
        Click(pages.Page(136), "btnProcedure");
        QCOMPARE(VisiblePages(pages), (QList<int>{110, 133}));
        // "Einstieg" uncovers the entry page.
        Click(pages.Page(133), "btnEntry");
        QCOMPARE(VisiblePages(pages), QList<int>{110});
        Click(pages.Page(110), "btnClose");
        QVERIFY(VisiblePages(pages).isEmpty());
    }

    void schliessenOnASectionPageClosesTheEntryPageToo() {
        HelpPages pages;
        pages.Show(110);
        Click(pages.Page(110), "btnMainCrops");
        Click(pages.Page(134), "btnClose");
        QVERIFY(VisiblePages(pages).isEmpty());
    }

    void einstiegAfterTheEntryPageWasClosedLeavesNoRotationPage() {
        HelpPages pages;
        pages.Show(110);
        Click(pages.Page(110), "btnTillage");
        pages.Hide(110);
        Click(pages.Page(135), "btnEntry");
        QVERIFY(VisiblePages(pages).isEmpty());
    }

    void soilDepthGridShowsTheRegionalTableTransposed() {
        HelpPages pages;
        auto* grid = Find<QTableWidget>(pages.Page(102), "grdDepth");
        const TmtxStringArray& table = RegionalDepthTable();
        // Spoil the grid; activating the page must rebuild it from the table.
        grid->setColumnCount(3);
        grid->setRowCount(1);
        Activate(pages.Page(102));
        QTRY_COMPARE(grid->columnCount(), 9);
        QCOMPARE(grid->rowCount(), 2);
        QCOMPARE(table.RowCount, 9);
        for (int c = 0; c < 9; ++c) {
            for (int r = 0; r < 2; ++r) {
                QCOMPARE(grid->item(r, c)->text(), Q(table.at(c, r)));
                QVERIFY(!(grid->item(r, c)->flags() & Qt::ItemIsEditable));
            }
            QCOMPARE(grid->columnWidth(c), c == 0 ? 280 : 36);
        }
        QCOMPARE(grid->item(0, 0)->text(), QString("Region"));
        QCOMPARE(grid->item(0, 8)->text(), QString("H"));
        QCOMPARE(grid->item(1, 6)->text(), QString("60"));
        QCOMPARE(grid->geometry(), QRect(40, 216, 593, 65));
        QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
        // The row captions are shown whole, not cut off.
        const QFontMetrics metrics(grid->font());
        QVERIFY(metrics.horizontalAdvance(grid->item(1, 0)->text()) < 280 - 6);
    }

    void chainedPageKeepsItsOwnPosition() {
        HelpPages pages;
        pages.Show(111);
        pages.Page(111)->move(40, 50);
        Click(pages.Page(111), "btnNext");
        pages.Page(112)->move(300, 120);
        Click(pages.Page(112), "btnBack");
        QCOMPARE(pages.Page(111)->pos(), QPoint(40, 50));
        Click(pages.Page(111), "btnNext");
        QCOMPARE(pages.Page(112)->pos(), QPoint(300, 120));
    }

    void framesAndTextsOfThePages() {
        HelpPages pages;
        auto title = [&pages](int page) { return Find<QLabel>(pages.Page(page), "labTitle"); };
        QCOMPARE(title(104)->font().pixelSize(), 25);
        QVERIFY(title(104)->font().bold());
        // A long title above a picture keeps to one line rather than run into it.
        QVERIFY(title(105)->geometry().bottom() < 64);
        QCOMPARE(title(114)->font().pixelSize(), 21);
        QCOMPARE(title(129)->text(),
                 QString("Brisolt V2.02 - Ackerbaugebiete des zentralen Mittellandes"));
        QVERIFY(pages.Page(110)->findChild<QLabel*>("labTitle") == nullptr);
        QCOMPARE(Find<QPushButton>(pages.Page(107), "btnNext")->pos(), QPoint(16, 448));
        QCOMPARE(Find<QPushButton>(pages.Page(106), "btnStepHelp")->size(), QSize(17, 17));
        // Buttons of the common frame: Weiter at 152, Schliessen at 568.
        QCOMPARE(Find<QPushButton>(pages.Page(111), "btnNext")->geometry(),
                 QRect(152, 448, 105, 25));
        QCOMPARE(Find<QPushButton>(pages.Page(111), "btnClose")->geometry(),
                 QRect(568, 448, 105, 25));
        // The region map has no buttons, only its menu (its sizes: see the region map test).
        QVERIFY(pages.Page(116)->findChildren<QPushButton*>().isEmpty());
        QCOMPARE(Find<QLabel>(pages.Page(101), "pic_stones_25")->size(), QSize(153, 153));
        QCOMPARE(Find<QLabel>(pages.Page(124), "pic_profile_5")->size(), QSize(217, 369));
        // Pictures are loaded when their page is first shown: the picture or an empty frame.
        auto* chart = Find<QLabel>(pages.Page(105), "pic_risk_chart");
        pages.Show(105);
        QCOMPARE(chart->pixmap().isNull(), DrawDiagram("risk_chart").isNull());
        QCOMPARE(chart->frameShape() == QFrame::Box, chart->pixmap().isNull());
        if (!chart->pixmap().isNull()) {
            QCOMPARE(chart->pixmap().size(), QSize(657, 377));
        }
    }

    // Every text label lies inside the window clear of the buttons, and no two texts of a
    // page overlap.
    void textsStayInsideTheirPagesAndApart() {
        HelpPages pages;
        for (const auto& entry : HelpCatalogue()) {
            if (entry.second.regionMap) {
                continue;
            }
            HelpWindow* window = pages.Page(entry.first);
            QList<QRect> boxes;
            for (QPushButton* button : window->findChildren<QPushButton*>()) {
                boxes << button->geometry();
            }
            for (QLabel* picture : window->findChildren<QLabel*>()) {
                if (picture->objectName().startsWith("pic_")) {
                    boxes << picture->geometry();
                }
            }
            if (auto* grid = window->findChild<QTableWidget*>()) {
                boxes << grid->geometry();
            }
            for (QLabel* label : window->findChildren<QLabel*>()) {
                if (label->text().isEmpty() || label->frameShape() == QFrame::Box) {
                    continue;
                }
                const QRect box = label->geometry();
                const QString where = window->objectName() + ": " + label->text().left(30);
                QVERIFY2(box.right() < 696 && box.bottom() < 515, qPrintable(where));
                QVERIFY2(box.height() >= label->heightForWidth(box.width()) || box.height() == 16,
                         qPrintable(where));
                for (const QRect& other : boxes) {
                    QVERIFY2(!box.intersects(other), qPrintable(where));
                }
                boxes << box;
            }
        }
    }

    // The region map page opens with the whole map in view, heading and legend included;
    // Ctrl+plus / Ctrl+wheel up show it at its natural size with scroll bars, Ctrl+minus /
    // Ctrl+wheel down fit it again.
    void regionMapOpensFittedAndZoomsToItsNaturalSize() {
        HelpPages pages;
        pages.Show(116);
        HelpWindow* window = pages.Page(116);
        Activate(window);
        auto* view = Find<RegionMapView>(window, "scrMap");
        auto* map = Find<QLabel>(window, "pic_region_map");
        QWidget* viewport = view->viewport();
        auto shown = [&] { return QRect(map->mapTo(viewport, QPoint(0, 0)), map->size()); };
        auto checkFitted = [&](const char* when) {
            QVERIFY2(view->Fitted(), when);
            QVERIFY2(viewport->rect().contains(shown()), when);
            // Fills the viewport in one direction, keeping the map's proportions.
            QVERIFY2(map->width() >= viewport->width() - 1 ||
                         map->height() >= viewport->height() - 1,
                     when);
            QVERIFY2(qAbs(double(map->width()) / map->height() - 1783.0 / 1608) < 0.01, when);
            QVERIFY2(view->Scale() < 0.5, when);
        };
        checkFitted("on opening");
        // Dark text pixels in the heading's band (y 20 ... 90 of the map) and the legend's last
        // line (y 1500 ... 1560), as seen in the viewport.
        const QImage seen = viewport->grab().toImage();
        auto darkInBand = [&](int top, int bottom) {
            const QRect area = shown();
            int dark = 0;
            for (int y = area.top() + top * area.height() / 1608;
                 y <= area.top() + bottom * area.height() / 1608; ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    dark += qGray(seen.pixel(x, y)) < 100 ? 1 : 0;
                }
            }
            return dark;
        };
        QVERIFY(darkInBand(20, 90) > 30);
        QVERIFY(darkInBand(1500, 1560) > 30);

        QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
        QApplication::processEvents();
        QVERIFY(!view->Fitted());
        QCOMPARE(map->size(), QSize(1783, 1608));
        QCOMPARE(view->Scale(), 1.0);
        QVERIFY(view->horizontalScrollBar()->isVisible() && view->verticalScrollBar()->isVisible());
        window->resize(650, 480); // a natural-size map stays natural
        QCOMPARE(map->size(), QSize(1783, 1608));
        QTest::keyClick(window, Qt::Key_Minus, Qt::ControlModifier);
        checkFitted("after Ctrl+minus");
        window->resize(800, 600); // the fitted map follows the window
        QApplication::processEvents();
        checkFitted("after growing the window");

        auto wheel = [&](int delta, Qt::KeyboardModifiers modifiers) {
            const QPointF at = viewport->rect().center();
            QWheelEvent event(at, viewport->mapToGlobal(at), QPoint(), QPoint(0, delta),
                              Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &event);
        };
        wheel(120, Qt::NoModifier); // a plain wheel does not zoom
        QVERIFY(view->Fitted());
        wheel(120, Qt::ControlModifier);
        QCOMPARE(map->size(), QSize(1783, 1608));
        // The point under the pointer stays there: the map's middle, here.
        const QPoint middle = map->mapFrom(viewport, viewport->rect().center());
        QVERIFY(qAbs(middle.x() - 1783 / 2) < 10 && qAbs(middle.y() - 1608 / 2) < 10);
        wheel(-120, Qt::ControlModifier);
        checkFitted("after Ctrl+wheel down");
    }
};

QTEST_MAIN(HelpPagesTest)
#include "help_pages_test.moc"
