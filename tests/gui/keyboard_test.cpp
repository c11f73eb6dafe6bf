// The program by keyboard: Enter walks the wizard, F1 opens a step's help page, Escape closes
// it, and the main window's and the file windows' keys.

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "gui/files/file_window.h"
#include "gui/help/help_pages.h"
#include "gui/help/help_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "key/files/calculation_file.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

void PressEnter() {
    QWidget* focus = QApplication::focusWidget();
    QVERIFY(focus != nullptr);
    QTest::keyClick(focus, Qt::Key_Return);
    QApplication::processEvents();
}

} // namespace

class KeyboardTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void enterWalksFromTheMainWindowToStep7() {
        Application app(2026);
        MessageLog log;
        QVERIFY(LoadCalculation(app.Context().record, BRISOLT_TEST_DATA "/worked_example.txt", 2026)
                    .loaded);
        app.Start();
        // Where the focus is on arrival (a screen's first input, else its default button),
        // and the screen Enter leads to.
        struct Stop {
            ScreenId screen;
            const char* focus;
            ScreenId next;
        };
        const Stop stops[] = {
            {ScreenId::Main, "btnNext", ScreenId::Intro},
            {ScreenId::Intro, "btnNext", ScreenId::Business},
            {ScreenId::Business, "edtNameSurname", ScreenId::Step1},
            {ScreenId::Step1, "cmbRegion", ScreenId::Step2},
            {ScreenId::Step2, "edtYear1", ScreenId::Step3},
            {ScreenId::Step3, "btnNext", ScreenId::Step4},
            {ScreenId::Step4, "ragChannels", ScreenId::Step5},
            {ScreenId::Step5, "btnNext", ScreenId::Step6},
            {ScreenId::Step6, "ragMethod", ScreenId::Step7},
        };
        for (const Stop& stop : stops) {
            QWidget* screen = app.Context().Screen(stop.screen);
            QTRY_VERIFY(screen->isActiveWindow());
            QWidget* focus = QApplication::focusWidget();
            QVERIFY(focus != nullptr);
            const QString where = focus->objectName() + " / " + focus->parentWidget()->objectName();
            QVERIFY2(focus->objectName() == stop.focus ||
                         focus->parentWidget()->objectName() == stop.focus,
                     qPrintable(screen->windowTitle() + ": " + where));
            PressEnter();
            QVERIFY2(app.Context().Screen(stop.next)->isVisible(),
                     qPrintable(screen->windowTitle()));
        }
        QCOMPARE(log.Take(), QStringList{});
        QWidget* step7 = app.Context().Screen(ScreenId::Step7);
        QTRY_VERIFY(step7->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(step7, "btnPrint"));
        QVERIFY(Find<QPushButton>(step7, "btnPrint")->isDefault());

        // A button that has the focus takes Enter itself; back on step 7, "Zurück" no longer
        // has it.
        QWidget* step6 = app.Context().Screen(ScreenId::Step6);
        Find<QWidget>(step7, "btnBack")->setFocus();
        PressEnter();
        QVERIFY(step6->isVisible());
        QVERIFY(!step7->isVisible());
        Click(step6, "btnNext");
        QTRY_VERIFY(step7->isActiveWindow());
        QCOMPARE(QApplication::focusWidget(), Find<QWidget>(step7, "btnPrint"));
    }

    void f1OpensTheStepsHelpAndEscapeClosesIt() {
        Application app(2026);
        MessageLog log;
        const std::pair<ScreenId, int> screens[] = {
            {ScreenId::Step1, 116}, // the help of the focused input, the region's
            {ScreenId::Step2, 110}, {ScreenId::Step3, 0},   {ScreenId::Step4, 111},
            {ScreenId::Step5, 104}, {ScreenId::Step6, 102}, {ScreenId::Step7, 105},
        };
        for (const auto& [id, page] : screens) {
            QWidget* screen = app.Context().Screen(id);
            Activate(screen);
            QTest::keyClick(screen, Qt::Key_F1);
            QApplication::processEvents();
            for (int number : {102, 104, 105, 110, 111, 116}) {
                HelpWindow* help = app.Help().Page(number);
                QVERIFY(help != nullptr);
                QCOMPARE(help->isVisible(), number == page);
            }
            if (page != 0) {
                HelpWindow* help = app.Help().Page(page);
                Activate(help);
                QTest::keyClick(help, Qt::Key_Escape);
                QVERIFY(!help->isVisible());
            }
            screen->hide();
        }
    }

    // Alt+D opens "Datei" and never changes a field (it chose region D in step 1).
    void altWithALetterLeavesTheFieldsAsTheyAre() {
        Application app(2026);
        QVERIFY(LoadCalculation(app.Context().record, BRISOLT_TEST_DATA "/worked_example.txt", 2026)
                    .loaded);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        auto* region = Find<QComboBox>(step1, "cmbRegion");
        auto* gradient = Find<QLineEdit>(step1, "edtGradient");
        const QString regionBefore = region->currentText();
        const QString gradientBefore = gradient->text();
        auto* file = Find<QMenu>(step1, "mnhFile");
        for (QWidget* field : {static_cast<QWidget*>(region), static_cast<QWidget*>(gradient)}) {
            field->setFocus();
            QTest::keyClick(field, Qt::Key_D, Qt::AltModifier);
            QTRY_VERIFY(file->isVisible()); // and opens "Datei" instead
            file->hide();
        }
        QCOMPARE(region->currentText(), regionBefore);
        QCOMPARE(gradient->text(), gradientBefore);
        // The same letters without Alt still do what they do.
        QTest::keyClick(region, Qt::Key_D);
        QCOMPARE(region->currentText(), QString("D"));
        gradient->setCursorPosition(gradient->text().size());
        QTest::keyClick(gradient, Qt::Key_5);
        QCOMPARE(gradient->text(), gradientBefore + "5");
    }

    void mainWindowKeysOpenTheFileWindows() {
        Application app(2026);
        app.Start();
        TfrmMain* main = app.MainWindow();
        Activate(main);
        QTest::keyClick(main, Qt::Key_O, Qt::ControlModifier);
        QVERIFY(app.Context().Screen(ScreenId::Open)->isVisible());
        Activate(main);
        QTest::keyClick(main, Qt::Key_S, Qt::ControlModifier);
        QVERIFY(app.Context().Screen(ScreenId::Save)->isVisible());
        QCOMPARE(Find<QAction>(main, "mniLoadCalculation")->text(), QString("Berechnung laden"));
        QCOMPARE(Find<QAction>(main, "mniSaveCalculation")->text(),
                 QString("Berechnung speichern"));
        QCOMPARE(Find<QAction>(main, "mniExit")->text(), QString("Beenden"));
    }

    void enterInTheFileNameFieldRunsTheCommand() {
        QTemporaryDir dir;
        const QString path = dir.filePath("berechnung.txt");
        int asked = 0;
        FileWindow::SetFileDialog([&](QWidget*, const FileDialogRequest&) {
            ++asked;
            return path;
        });
        Application app(2026);
        MessageLog log;
        app.Context().record.NameSurname = "Muster Peter";
        QWidget* save = app.Context().Screen(ScreenId::Save);
        Activate(save);
        auto* name = Find<QLineEdit>(save, "edtFileName");
        name->setFocus();
        QTest::keyClicks(name, "berechnung");
        QTest::keyClick(name, Qt::Key_Return);
        QCOMPARE(asked, 1);
        QCOMPARE(log.Take(), QStringList{"Daten wurden in die Datei geschrieben."});
        QVERIFY(QFile::exists(path));

        app.Context().record.NameSurname.clear();
        QWidget* open = app.Context().Screen(ScreenId::Open);
        Activate(open);
        name = Find<QLineEdit>(open, "edtFileName");
        name->setFocus();
        QTest::keyClicks(name, path);
        MarkAsSaved(app.Context().record);
        QTest::keyClick(name, Qt::Key_Enter);
        QCOMPARE(asked, 1); // an existing file is loaded without the dialog
        QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
        QCOMPARE(app.Context().record.NameSurname, std::string("Muster Peter"));
        FileWindow::SetFileDialog({});
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
