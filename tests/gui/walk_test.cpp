// A whole assessment as a user makes it: from the main window to step 7 by clicks and typed
// text, then saved and loaded again; every window photographed on the way.

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/files/file_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

struct Year {
    const char* crop;
    const char* tillage;
    const char* period;
    const char* periodTillage;
    const char* start;
};

const char* const kPlough = "Plug/pfluglos unter 10% Bedeckung";

// The three-year rotation whose factor C is 1.512: winter wheat, grain maize, winter barley.
const Year kRotation[] = {
    {"Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr, "20.07. bis 31.07."},
    {"Mais (Körnermais)", "Mulchsaat 10-30% Bedeckung",
     "Zwischenfutter/Gründüngung vor Winterkultur", kPlough, "01.08. bis 15.08."},
    {"Gerste (Winter)", kPlough, "Schwarzbrache im Herbst und Winter", nullptr, "vor dem 31.07."},
};

QWidget* Screen(Application& app, ScreenId id) {
    return app.Context().Screen(id);
}

} // namespace

class WalkTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ConfigureApplication();
        SetDecimalSeparator('.');
    }

    void wholeAssessmentByMouseAndKeyboard() {
        MessageLog log;
        Application app(2026);
        app.Start();

        Click(app.MainWindow(), "btnNext");
        QWidget* intro = Screen(app, ScreenId::Intro);
        QVERIFY(intro->isVisible());
        Click(intro, "btnNext");

        QWidget* farm = Screen(app, ScreenId::Business);
        QVERIFY(farm->isVisible());
        TypeAndLeave(Find<QLineEdit>(farm, "edtNameSurname"), "Muster Hans");
        TypeAndLeave(Find<QLineEdit>(farm, "edtParzelle"), "Langacker");
        Click(farm, "btnNext");
        QCOMPARE(QString::fromStdString(app.Context().record.NameSurname), QString("Muster Hans"));

        // Step 1: a gradient of 1 % is refused, 10 % goes on.
        QWidget* step1 = Screen(app, ScreenId::Step1);
        QVERIFY(step1->isVisible());
        Activate(step1);
        Choose(Find<QComboBox>(step1, "cmbRegion"), "A");
        Choose(Find<QComboBox>(step1, "cmbSoilType"), "Lehmiger Sand");
        TypeAndLeave(Find<QLineEdit>(step1, "edtGradient"), "1");
        TypeAndLeave(Find<QLineEdit>(step1, "edtFloatDistance"), "100 m");
        Click(step1, "btnNext");
        QCOMPARE(log.Take(), QStringList{QString::fromUtf8(
                                 "Bei Gefälle von weniger als 2% ist der Schlag kaum "
                                 "erosionsgefährdet. Weitere Abklärungen erübrigen sich.")});
        QVERIFY(step1->isVisible());
        TypeAndLeave(Find<QLineEdit>(step1, "edtGradient"), "10");
        Click(step1, "btnNext");
        QVERIFY(!step1->isVisible());

        // Step 2: the rotation, "Berechnen", then "Weiter".
        QWidget* step2 = Screen(app, ScreenId::Step2);
        QVERIFY(step2->isVisible());
        Activate(step2);
        for (int n = 1; n <= 3; ++n) {
            const Year& y = kRotation[n - 1];
            const auto combo = [&](char letter) {
                return Find<QComboBox>(step2,
                                       qPrintable(QString("cmbYear%1%2").arg(n).arg(letter)));
            };
            Choose(combo('a'), QString::fromUtf8(y.crop));
            Choose(combo('c'), QString::fromUtf8(y.tillage));
            Choose(combo('b'), QString::fromUtf8(y.period));
            if (y.periodTillage != nullptr) {
                Choose(combo('d'), QString::fromUtf8(y.periodTillage));
            }
            Choose(combo('e'), QString::fromUtf8(y.start));
        }
        QVERIFY(!Find<QPushButton>(step2, "btnNext")->isEnabled());
        Click(step2, "btnCalculate");
        QVERIFY(log.Take().isEmpty());
        QCOMPARE(Find<QLineEdit>(step2, "edtC")->text(), QString("1.512"));
        QCOMPARE(Find<QLineEdit>(step2, "edtYears")->text(), QString("3"));
        Click(step2, "btnNext");
        QVERIFY(!step2->isVisible());

        // Steps 3 to 7: results on activation, no rills, regional standard depth.
        QWidget* step3 = Screen(app, ScreenId::Step3);
        Activate(step3);
        QCOMPARE(Find<QLineEdit>(step3, "edtEF")->text(), QString("70"));
        Click(step3, "btnNext");
        QWidget* step4 = Screen(app, ScreenId::Step4);
        Activate(step4);
        Click(step4, "btnNext");
        QWidget* step5 = Screen(app, ScreenId::Step5);
        Activate(step5);
        QCOMPARE(Find<QLineEdit>(step5, "edtEFL")->text(), QString("70"));
        QCOMPARE(Find<QLineEdit>(step5, "edtSoilLossMM")->text(), QString("0.58"));
        QCOMPARE(Find<QLineEdit>(step5, "edtSoilLossTHA")->text(), QString("6.974"));
        Click(step5, "btnNext");
        QWidget* step6 = Screen(app, ScreenId::Step6);
        Activate(step6);
        Find<QRadioButton>(step6, "ragMethod2")->click();
        QCOMPARE(Find<QLineEdit>(step6, "edtDepthSoil")->text(), QString("80"));
        Click(step6, "btnNext");
        QWidget* step7 = Screen(app, ScreenId::Step7);
        Activate(step7);
        QVERIFY(step7->isVisible());
        QCOMPARE(Find<QLineEdit>(step7, "edtGBF")->text(), QString("2"));
        QVERIFY(log.Take().isEmpty());

        // Save from step 7, then load into a fresh program: every screen shows the values.
        const QString path = QDir::temp().filePath("brisolt-walk-test.txt");
        QFile::remove(path);
        FileWindow::SetFileDialog([&](QWidget*, const FileDialogRequest&) { return path; });
        Trigger(step7, "mniSaveCalculations");
        QWidget* save = Screen(app, ScreenId::Save);
        QVERIFY(save->isVisible());
        Click(save, "bbtFolder");
        QCOMPARE(log.Take(), QStringList{"Daten wurden in die Datei geschrieben."});
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QCOMPARE(bytes, QByteArray::fromStdString(CalculationFileBytes(app.Context().record)));
        QCOMPARE(bytes.count("\r\n"), 85);
        QVERIFY(bytes.startsWith("V2.02\r\nMuster Hans\r\n"));

        Application second(2026);
        second.Start();
        Trigger(second.MainWindow(), "mniLoadCalculation");
        QWidget* open = Screen(second, ScreenId::Open);
        Find<QLineEdit>(open, "edtFileName")->setText(path);
        Click(open, "bbtFolder");
        QCOMPARE(log.Take(), QStringList{"Daten wurden aus der Datei eingelesen."});
        QVERIFY(!open->isVisible());
        FileWindow::SetFileDialog({});

        QWidget* farm2 = Screen(second, ScreenId::Business);
        Activate(farm2);
        QCOMPARE(Find<QLineEdit>(farm2, "edtNameSurname")->text(), QString("Muster Hans"));
        QWidget* step1b = Screen(second, ScreenId::Step1);
        Activate(step1b);
        QCOMPARE(Find<QLineEdit>(step1b, "edtGradient")->text(), QString("10"));
        QCOMPARE(Find<QLineEdit>(step1b, "edtFloatDistance")->text(), QString("100"));
        QWidget* step2b = Screen(second, ScreenId::Step2);
        Activate(step2b);
        QCOMPARE(Find<QComboBox>(step2b, "cmbYear2a")->currentText(),
                 QString::fromUtf8("Mais (Körnermais)"));
        QCOMPARE(Find<QComboBox>(step2b, "cmbYear2e")->currentText(), QString("01.08. bis 15.08."));
        QCOMPARE(Find<QLineEdit>(step2b, "edtC")->text(), QString()); // no result of before
        QWidget* step6b = Screen(second, ScreenId::Step6);
        Activate(step6b);
        QVERIFY(Find<QRadioButton>(step6b, "ragMethod2")->isChecked());
        QVERIFY(Find<QLineEdit>(step6b, "edtDepthSoil")->isReadOnly());
        QFile::remove(path);
    }
};

QTEST_MAIN(WalkTest)
#include "walk_test.moc"
