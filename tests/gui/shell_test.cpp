// The program's start and the moves between its windows.

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

class ShellTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void startShowsOnlyTheMainWindowWithWeiterFocused() {
        Application app(2026);
        app.Start();
        QApplication::processEvents();
        TfrmMain* main = app.MainWindow();
        QCOMPARE(main->windowTitle(), QString("Brisolt - Ackerbaugebiete des zentralen Mittellandes"));
        QVERIFY(main->isVisible());
        for (int id = 1; id < static_cast<int>(ScreenId::Count); ++id) {
            QVERIFY2(!app.Context().Screen(static_cast<ScreenId>(id))->isVisible(),
                     qPrintable(app.Context().Screen(static_cast<ScreenId>(id))->windowTitle()));
        }
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(main->NextButton()));
        QCOMPARE(Find<QLabel>(main, "labTitle")->text(), QString("Quorvane"));
    }

    void weiterZurueckAndSchliessenMoveBetweenScreens() {
        Application app(2026);
        app.Start();
        auto* main = app.MainWindow();
        QWidget* intro = app.Context().Screen(ScreenId::Intro);
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Click(main, "btnNext");
        QVERIFY(intro->isVisible());
        QVERIFY(main->isVisible()); // the main window stays open
        Click(intro, "btnNext");
        QVERIFY(business->isVisible());
        QVERIFY(!intro->isVisible());
        Click(business, "btnBack");
        QVERIFY(intro->isVisible());
        QVERIFY(!business->isVisible());
        Trigger(intro, "mniNext");
        Trigger(business, "mniNext");
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        QVERIFY(step1->isVisible());
        Click(step1, "btnClose");
        QVERIFY(!step1->isVisible());
        QVERIFY(main->isVisible());
    }

    void everyWindowHasItsTitle() {
        Application app(2026);
        const std::pair<ScreenId, const char*> titles[] = {
            {ScreenId::Intro, "Übersicht"},
            {ScreenId::Business, "Betriebsdaten"},
            {ScreenId::Step1, "Schritt 1: Standorteinflüsse einstufen"},
            {ScreenId::Step2, "Schritt 2: Fruchtfolge"},
            {ScreenId::Step3, "Schritt 3: Gefährdung durch flächenhafte Erosion berechnen"},
            {ScreenId::Step4, "Schritt 4: Linienhafte Erosion (Rinnenerosion)"},
            {ScreenId::Step5, "Schritt 5: Gesamtgefährdung durch Bodenerosion berechnen"},
            {ScreenId::Step6, "Schritt 6: Gründigkeit des Bodens"},
            {ScreenId::Step7, "Schritt 7: Berechnung Gefährdungsstufe der Bodenfruchtbarkeit"},
            {ScreenId::Open, "Berechnung laden"},
            {ScreenId::Save, "Berechnung speichern"},
        };
        for (const auto& [id, title] : titles) {
            QCOMPARE(app.Context().Screen(id)->windowTitle(), QString::fromUtf8(title));
        }
    }

    void errorsGoToTheErrorBoxWithAFinalPeriod() {
        MessageLog log;
        RunGuarded(nullptr, [] { throw std::runtime_error("Datei nicht gefunden"); });
        RunGuarded(nullptr, [] { throw std::runtime_error("Fertig."); });
        QCOMPARE(log.entries.size(), std::size_t{2});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(log.entries[0].second, QString("Datei nicht gefunden."));
        QCOMPARE(log.entries[1].second, QString("Fertig."));
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
