// The program's start and the moves between its windows.

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

#include "gui/files/file_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui/shell/wizard_screen.h"
#include "gui_support.h"
#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/files/file_system.h"
#include "pdf/bundled_fonts.h"

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
        QCOMPARE(main->windowTitle(),
                 QString("Brisolt - Ackerbaugebiete des zentralen Mittellandes"));
        QVERIFY(main->isVisible());
        for (int id = 1; id < static_cast<int>(ScreenId::Count); ++id) {
            QVERIFY2(!app.Context().Screen(static_cast<ScreenId>(id))->isVisible(),
                     qPrintable(app.Context().Screen(static_cast<ScreenId>(id))->windowTitle()));
        }
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(main->NextButton()));
        QCOMPARE(Find<QLabel>(main, "labTitle")->text(), QString("Quorvane"));
    }

    void filesLikeAnyDesktopProgram() {
        QSettings().clear();
        QTemporaryDir dir;
        const QString path = QDir::toNativeSeparators(dir.filePath("Grossacher.txt"));
        FileWindow::SetFileDialog([&](QWidget*, const FileDialogRequest&) { return path; });
        MessageLog log;
        Application app(2026);
        app.Start();
        TfrmMain* main = app.MainWindow();
        AppContext& context = app.Context();
        const QString caption = "Brisolt - Ackerbaugebiete des zentralen Mittellandes";
        QCOMPARE(main->windowTitle(), caption);

        // Ctrl+S opens the save window from a wizard screen, its name field focused.
        QWidget* step1 = context.Screen(ScreenId::Step1);
        Activate(step1);
        QTest::keyClick(step1, Qt::Key_S, Qt::ControlModifier);
        QWidget* save = context.Screen(ScreenId::Save);
        QVERIFY(save->isVisible());
        QTRY_COMPARE(QApplication::focusWidget(),
                     static_cast<QWidget*>(Find<QLineEdit>(save, "edtFileName")));
        // A name typed and left for a moment is still there when the user comes back.
        Find<QLineEdit>(save, "edtFileName")->setText("Gross");
        emit Find<QLineEdit>(save, "edtFileName")->textEdited("Gross");
        Activate(step1);
        Activate(save);
        QCOMPARE(Find<QLineEdit>(save, "edtFileName")->text(), QString("Gross"));
        Click(save, "bbtFolder");
        QCOMPARE(log.Take(), QStringList{"Daten wurden in die Datei geschrieben."});

        // The title names the file, with "*" once the assessment changes.
        QCOMPARE(main->windowTitle(), QString("Brisolt – Grossacher.txt"));
        QWidget* business = context.Screen(ScreenId::Business);
        Activate(business);
        TypeAndLeave(Find<QLineEdit>(business, "edtNameSurname"), "Muster Peter");
        QCOMPARE(main->windowTitle(), QString("Brisolt – Grossacher.txt*"));
        QCOMPARE(AppContext::RecentFiles(), QStringList{path});

        // "Neu" asks first; afterwards a fresh assessment without a file.
        Messages::SetSaveAnswer(Messages::SaveAnswer::Discard);
        Trigger(main, "mniNew");
        QCOMPARE(log.Take().size(), 1);
        QCOMPARE(context.record.NameSurname, std::string());
        QCOMPARE(main->windowTitle(), caption);
        // "Rückgängig" (Ctrl+Z) brings the assessment back, with its file.
        Activate(main);
        QTest::keyClick(main, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(context.record.NameSurname, std::string("Muster Peter"));
        QCOMPARE(main->windowTitle(), QString("Brisolt – Grossacher.txt*"));

        // The recently opened file loads from the menu (asking first: the name is unsaved).
        auto* recent = Find<QMenu>(main, "mnuRecent");
        QCOMPARE(recent->actions().size(), 1);
        QCOMPARE(recent->actions().front()->text(), path);
        recent->actions().front()->trigger();
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        QCOMPARE(log.Take(), (QStringList{"Die Eingaben wurden seit dem letzten Speichern "
                                          "geändert. Vorher speichern?",
                                          "Daten wurden aus der Datei eingelesen."}));
        QCOMPARE(context.record.NameSurname, std::string());
        QCOMPARE(main->windowTitle(), QString("Brisolt – Grossacher.txt"));

        // A file given at start that does not load shows the load command's error box.
        app.OpenAtStart(dir.filePath("fehlt.txt"));
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries.front().first, Messages::Kind::Error);
        FileWindow::SetFileDialog({});
        QSettings().clear();
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
        // Every button shows its whole caption with this platform's font and style.
        QStringList cut;
        for (const QWidget* window : QApplication::topLevelWidgets()) {
            cut += CutButtonTexts(window);
        }
        QCOMPARE(cut, QStringList());
    }

    void errorsGoToTheErrorBoxWithAFinalPeriod() {
        MessageLog log;
        RunGuarded(nullptr, [] { throw std::runtime_error("Datei nicht gefunden"); });
        RunGuarded(nullptr, [] { throw std::runtime_error("Fertig."); });
        QCOMPARE(log.entries.size(), std::size_t{2});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(log.entries[0].second, QString("Datei nicht gefunden."));
        QCOMPARE(log.entries[1].second, QString("Fertig."));
        // The program's own errors reach the box whole, even past a NUL.
        RunGuarded(nullptr, [] { throw FileError(std::string("a\0b", 3)); });
        QCOMPARE(log.entries.at(2).second, QString::fromUtf8("a\0b.", 4));
    }

    void endingAsksOnlyWhenInputsAreUnsaved() {
        QTemporaryDir dir;
        const QString path = dir.filePath("berechnung.txt");
        FileWindow::SetFileDialog([&](QWidget*, const FileDialogRequest&) { return path; });
        const auto typeName = [](Application& app) {
            QWidget* business = app.Context().Screen(ScreenId::Business);
            Activate(business);
            TypeAndLeave(Find<QLineEdit>(business, "edtNameSurname"), "Muster Peter");
        };
        const auto save = [](Application& app) {
            Click(app.Context().Screen(ScreenId::Save), "bbtFolder");
        };
        const auto load = [&](Application& app) {
            QWidget* open = app.Context().Screen(ScreenId::Open);
            Find<QLineEdit>(open, "edtFileName")->setText(path);
            Click(open, "bbtFolder");
        };
        const auto button = [](TfrmMain* main) { Click(main, "btnExit"); };
        const auto menu = [](TfrmMain* main) { Trigger(main, "mniExit"); };
        const auto keys = [](TfrmMain* main) {
            QTest::keyClick(main, Qt::Key_Q, Qt::ControlModifier);
        };
        const auto titleBar = [](TfrmMain* main) { main->close(); };
        using Answer = Messages::SaveAnswer;
        struct Case {
            const char* name;
            std::vector<std::function<void(Application&)>> before;
            std::function<void(TfrmMain*)> quit;
            Answer answer;
            bool asks;
            bool ends;
        };
        const Case cases[] = {
            {"unchanged", {}, button, Answer::Cancel, false, true},
            {"typed back to what it was",
             {typeName,
              [](Application& app) {
                  TypeAndLeave(
                      Find<QLineEdit>(app.Context().Screen(ScreenId::Business), "edtNameSurname"),
                      "");
              }},
             menu,
             Answer::Cancel,
             false,
             true},
            {"changed, Abbrechen", {typeName}, button, Answer::Cancel, true, false},
            {"changed, Abbrechen by the title bar",
             {typeName},
             titleBar,
             Answer::Cancel,
             true,
             false},
            {"changed, Nicht speichern", {typeName}, keys, Answer::Discard, true, true},
            {"changed, Speichern by the title bar", {typeName}, titleBar, Answer::Save, true, true},
            {"changed and saved", {typeName, save}, menu, Answer::Cancel, false, true},
            {"saved, changed again",
             {typeName, save, [](Application& app) { app.Context().record.Gradient = 5; }},
             button,
             Answer::Cancel,
             true,
             false},
            {"changed, then a file loaded",
             {typeName, save, typeName, load},
             button,
             Answer::Cancel,
             false,
             true},
        };
        for (const Case& c : cases) {
            QFile::remove(path);
            Application app(2026);
            app.Start();
            MessageLog log;
            for (const auto& step : c.before) {
                step(app);
            }
            log.Take();
            Messages::SetSaveAnswer(c.answer);
            TfrmMain* main = app.MainWindow();
            Activate(main);
            const bool ended = EndsTheProgram([&] { c.quit(main); });
            Messages::SetSaveAnswer(Answer::Cancel);
            QVERIFY2(ended == c.ends, c.name);
            QVERIFY2(ended || main->isVisible(), c.name);
            const QStringList expected =
                c.asks ? QStringList{"Die Eingaben wurden seit dem letzten Speichern geändert. "
                                     "Vor dem Beenden speichern?"}
                       : QStringList{};
            QCOMPARE(log.Take(), expected);
            // "Speichern" names the file first, since the assessment has none, then ends.
            if (c.answer == Answer::Save) {
                QVERIFY(QFile::exists(path));
            }
            if (c.asks) {
                QCOMPARE(log.entries.size(), std::size_t{0});
            }
        }
        FileWindow::SetFileDialog({});
    }

    void aWindowLargerThanTheScreenScrollsInsideAWindowThatFits() {
        Application app(2026);
        auto* step2 = app.Window<WizardScreen>(ScreenId::Step2);
        QWidget* canvas = Find<QWidget>(step2, "canvas");
        const QSize full = step2->sizeHint();
        std::vector<std::pair<QPushButton*, QRect>> buttons;
        for (QPushButton* button : canvas->findChildren<QPushButton*>()) {
            buttons.emplace_back(button, button->geometry());
        }
        QVERIFY(buttons.size() >= 7);

        step2->FitInto(full); // fits: stays as it is
        QCOMPARE(step2->findChild<QScrollArea*>(), nullptr);
        QCOMPARE(step2->sizeHint(), full);

        // 1280 x 720 less a frame: a 1920 x 1080 screen at 150 %, or smaller.
        for (const QSize room : {QSize(1240, 650), QSize(700, 500)}) {
            Application small(2026);
            auto* window = small.Window<WizardScreen>(ScreenId::Step2);
            window->FitInto(room);
            Activate(window);
            auto* scroll = window->findChild<QScrollArea*>("scrCanvas");
            QVERIFY(scroll != nullptr);
            QVERIFY(window->width() <= room.width());
            QVERIFY(window->height() <= room.height());
            QCOMPARE(Find<QWidget>(window, "canvas")->size(), WizardScreen::kStep2Canvas);
            for (const auto& [original, geometry] : buttons) {
                auto* button = Find<QPushButton>(window, qPrintable(original->objectName()));
                QCOMPARE(button->geometry(), geometry); // the layout inside is unchanged
                scroll->ensureWidgetVisible(button, 0, 0);
                const QRect onScreen(button->mapTo(window, QPoint(0, 0)), button->size());
                QVERIFY2(window->rect().contains(onScreen), qPrintable(button->objectName()));
                QVERIFY(!button->visibleRegion().isEmpty());
            }
        }
    }

    // The separator comes from the regional settings, and the windows and reports get the
    // family they were laid out for: from the system on Linux, built in on Windows.
    void regionalSeparatorAndFontsComeFromWhereThePlatformKeepsThem() {
        QCOMPARE(QString(QChar(DecimalSeparator())), QLocale::system().decimalPoint());
        // A run under a chosen regional setting (the Windows test under a German one) names
        // the separator it must give.
        if (qEnvironmentVariableIsSet("BRISOLT_EXPECTED_SEPARATOR")) {
            QCOMPARE(QString(QChar(DecimalSeparator())),
                     qEnvironmentVariable("BRISOLT_EXPECTED_SEPARATOR"));
        }
#ifdef _WIN32
        // Qt and the file layer ask Windows each in their own way; they must agree.
        QCOMPARE(DecimalSeparator(), SystemDecimalSeparator());
        QCOMPARE(pdf::ReportFontFamily(), QStringLiteral("Liberation Sans"));
#endif
        for (const QString& family : {pdf::ReportFontFamily(), QApplication::font().family()}) {
            for (const bool bold : {false, true}) {
                QFont font(family);
                font.setBold(bold);
                QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Sans"));
                QCOMPARE(QFontInfo(font).bold(), bold);
            }
        }
    }

private:
    // Runs `command` inside the event loop, as a user's action is; true when it ended the
    // program's event loop.
    static bool EndsTheProgram(const std::function<void()>& command) {
        QTimer giveUp;
        giveUp.setSingleShot(true);
        QObject::connect(&giveUp, &QTimer::timeout, [] { QApplication::exit(1); });
        giveUp.start(300);
        QTimer::singleShot(0, command);
        return QApplication::exec() == 0;
    }
};

QTEST_MAIN(ShellTest)
#include "shell_test.moc"
