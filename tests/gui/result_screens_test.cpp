// The windows of steps 3 to 7: results recomputed whenever a window becomes active, the
// rill questions that appear and disappear, the soil depth field that the regional
// standard fills and locks, and the end-of-assessment commands of step 7.

#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QTest>

#include "gui/shell/application.h"
#include "gui_support.h"
#include "key/core/number_text.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

QString Text(const QWidget* window, const char* name) {
    return Find<QLineEdit>(window, name)->text();
}

void ClickAnswer(const QWidget* window, const char* group, int position) {
    const QString name = QString::fromLatin1(group) + QString::number(position);
    auto* button = Find<QRadioButton>(window, qPrintable(name));
    // On the round indicator: a click far right of a short caption misses the button.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(7, button->height() / 2));
}

// Names of the rill question groups the window shows, in screen order.
QStringList VisibleGroups(const QWidget* step4) {
    QStringList shown;
    for (const char* name : {"ragChannels", "ragNumChannels", "ragDepthChannels", "ragDepthChannel",
                             "ragWidthChannel", "ragFrequencyChannels"}) {
        if (Find<QGroupBox>(step4, name)->isVisible()) {
            shown << QString::fromLatin1(name);
        }
    }
    return shown;
}

// Region A, "Lehmiger Sand", 10 %, 100 m, down the slope, no stones: ST' = 46.12.
void SetWorkedSite(AssessmentRecord& record) {
    record.Region = 0;
    record.SoilType = 0;
    record.Gradient = 10;
    record.FloatDistance = 100;
    record.Stones = 0;
    record.Entertainment = 0;
}

} // namespace

class ResultScreensTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    // EF = ST' x C from the current inputs, every time the window becomes active.
    void step3RecomputesEveryActivation() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        SetWorkedSite(record);
        record.C = 0.25L;
        QWidget* step3 = app.Context().Screen(ScreenId::Step3);
        Activate(step3);
        QCOMPARE(Text(step3, "edtEF"), QString("12"));
        QVERIFY(record.EF > 11.52L && record.EF < 11.54L);
        auto* field = Find<QLineEdit>(step3, "edtEF");
        QVERIFY(field->isReadOnly());
        QCOMPARE(field->focusPolicy(), Qt::NoFocus);

        // Back to step 1, across the slope: 41.97 x 0.25 = 10.49.
        Activate(app.Context().Screen(ScreenId::Main));
        record.Entertainment = 1;
        Activate(step3);
        QCOMPARE(Text(step3, "edtEF"), QString("10"));

        Activate(app.Context().Screen(ScreenId::Main));
        record.C = 0;
        Activate(step3);
        QCOMPARE(Text(step3, "edtEF"), QString("0"));
    }

    // Only the questions that apply are shown; the answers go to the record on each click
    // and "Weiter" leads to step 5, which computes EL from them.
    void step4QuestionsFollowTheAnswers() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* step4 = app.Context().Screen(ScreenId::Step4);
        QWidget* step5 = app.Context().Screen(ScreenId::Step5);
        Activate(step4);
        QCOMPARE(VisibleGroups(step4), QStringList{"ragChannels"});
        QVERIFY(Find<QRadioButton>(step4, "ragChannels1")->isChecked()); // "Nein"

        ClickAnswer(step4, "ragChannels", 0); // "Ja"
        QCOMPARE(VisibleGroups(step4),
                 (QStringList{"ragChannels", "ragNumChannels", "ragDepthChannel", "ragWidthChannel",
                              "ragFrequencyChannels"}));
        QCOMPARE(record.Channels, 0);
        ClickAnswer(step4, "ragDepthChannel", 1); // "15 - 25 cm"
        ClickAnswer(step4, "ragWidthChannel", 1); // "deutlich breiter als tief"
        Click(step4, "btnNext");
        QVERIFY(step5->isVisible());
        QVERIFY(!step4->isVisible());
        QTRY_COMPARE(record.EL, 150.0L); // step 5 computes when it becomes active
        QCOMPARE(Text(step5, "edtEFL"), QString("150"));

        Click(step5, "btnBack");
        QVERIFY(step4->isVisible());
        ClickAnswer(step4, "ragDepthChannel", 2); // "> 25 cm": no width question
        QVERIFY(!VisibleGroups(step4).contains("ragWidthChannel"));
        QCOMPARE(record.WidthChannel, 0);
        ClickAnswer(step4, "ragFrequencyChannels", 4);
        Trigger(step4, "mniNext");
        QVERIFY(step5->isVisible());
        Activate(step5);
        QCOMPARE(record.EL, 5.0L);

        Click(step5, "btnBack");
        ClickAnswer(step4, "ragNumChannels", 1); // "mehrere Rinnen"
        QCOMPARE(VisibleGroups(step4), (QStringList{"ragChannels", "ragNumChannels",
                                                    "ragDepthChannels", "ragFrequencyChannels"}));
        QCOMPARE(record.DepthChannel, 0);
        ClickAnswer(step4, "ragDepthChannels", 1);
        ClickAnswer(step4, "ragNumChannels", 0); // back to one rill: "> 15 cm" is undone
        QCOMPARE(record.DepthChannels, 0);
        QVERIFY(Find<QRadioButton>(step4, "ragDepthChannels0")->isChecked());

        ClickAnswer(step4, "ragChannels", 1); // "Nein" resets every other question
        QCOMPARE(VisibleGroups(step4), QStringList{"ragChannels"});
        QCOMPARE(record.FrequencyChannels, 0);
        QCOMPARE(record.NumChannels, 0);
    }

    // A loaded file whose answers break the rules is brought into line on activation.
    void step4ActivationAppliesTheRules() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        record.Channels = 0;
        record.NumChannels = 1;
        record.DepthChannels = 1;
        record.DepthChannel = 2;
        record.WidthChannel = 1;
        record.FrequencyChannels = 2;
        QWidget* step4 = app.Context().Screen(ScreenId::Step4);
        Activate(step4);
        QCOMPARE(VisibleGroups(step4), (QStringList{"ragChannels", "ragNumChannels",
                                                    "ragDepthChannels", "ragFrequencyChannels"}));
        QCOMPARE(record.DepthChannel, 0);
        QCOMPARE(record.WidthChannel, 0);
        QVERIFY(Find<QRadioButton>(step4, "ragDepthChannels1")->isChecked());
        QVERIFY(Find<QRadioButton>(step4, "ragFrequencyChannels2")->isChecked());

        // Several groups with their answers, for the picture.
        ClickAnswer(step4, "ragNumChannels", 0);
        ClickAnswer(step4, "ragDepthChannel", 1);
        ClickAnswer(step4, "ragWidthChannel", 1);
    }

    // EFL and the soil loss; the soil loss is written with "." even where the regional
    // separator is ",".
    void step5ShowsTotalRiskAndSoilLoss() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* step5 = app.Context().Screen(ScreenId::Step5);
        const struct {
            long double ef;
            const char* efl;
            const char* mm;
            const char* tha;
        } cases[] = {
            {15, "15", "0.12", "1.500"},
            {11.53L, "12", "0.10", "1.153"},
            {54, "54", "0.45", "5.400"},
            {0, "0", "0.00", "0.000"},
        };
        SetDecimalSeparator(',');
        for (const auto& c : cases) {
            Activate(app.Context().Screen(ScreenId::Main));
            record.EF = c.ef;
            Activate(step5);
            QCOMPARE(Text(step5, "edtEFL"), QString(c.efl));
            QCOMPARE(Text(step5, "edtSoilLossMM"), QString(c.mm));
            QCOMPARE(Text(step5, "edtSoilLossTHA"), QString(c.tha));
        }
        SetDecimalSeparator('.');
        record.EF = 54;
        Activate(app.Context().Screen(ScreenId::Main));
        Activate(step5);
    }

    // The regional standard fills in the region's depth and locks the field on the window
    // background; another method unlocks it and keeps the value.
    void step6RegionalStandardLocksTheDepth() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        record.Region = 5; // F
        record.Method = 2;
        record.DepthSoil = 0;
        QWidget* step6 = app.Context().Screen(ScreenId::Step6);
        Activate(step6);
        auto* depth = Find<QLineEdit>(step6, "edtDepthSoil");
        const auto onWindowBackground = [depth] {
            return depth->palette().color(QPalette::Base) ==
                   depth->palette().color(QPalette::Window);
        };
        QCOMPARE(depth->text(), QString("60"));
        QCOMPARE(record.DepthSoil, 60);
        QVERIFY(depth->isReadOnly());
        QVERIFY(onWindowBackground());

        ClickAnswer(step6, "ragMethod", 1); // "Bohrung"
        QCOMPARE(depth->text(), QString("60"));
        QVERIFY(!depth->isReadOnly());
        QVERIFY(!onWindowBackground());
        QCOMPARE(record.Method, 1);
        TypeAndLeave(depth, "45 cm");
        QCOMPARE(depth->text(), QString("45"));
        QCOMPARE(record.DepthSoil, 45);

        // A region changed on step 1 updates the standard depth on the next visit.
        ClickAnswer(step6, "ragMethod", 2);
        QCOMPARE(record.DepthSoil, 60);
        Activate(app.Context().Screen(ScreenId::Main));
        record.Region = 7; // H
        Activate(step6);
        QCOMPARE(depth->text(), QString("90"));
        QCOMPARE(record.DepthSoil, 90);

        // A map depth of 0 or none is no depth: asked for, and step 6 stays.
        ClickAnswer(step6, "ragMethod", 0);
        for (const char* typed : {"0", ""}) {
            MessageLog log;
            TypeAndLeave(depth, typed);
            Trigger(step6, "mniNext");
            QCOMPARE(log.Take(), QStringList{"Bitte die Gründigkeit des Bodens in cm eingeben."});
            QVERIFY(step6->isVisible());
            QVERIFY(!app.Context().Screen(ScreenId::Step7)->isVisible());
        }

        // The menu command leaves the focus in the field: it is finished as if left.
        depth->setFocus();
        depth->selectAll();
        QTest::keyClicks(depth, "55 cm");
        Trigger(step6, "mniNext");
        QVERIFY(app.Context().Screen(ScreenId::Step7)->isVisible());
        QCOMPARE(record.Method, 0);
        QCOMPARE(record.DepthSoil, 55);
        QCOMPARE(depth->text(), QString("55"));
    }

    void step6OversizedDepthKeepsTheStoredValue() {
        Application app(2026);
        MessageLog log;
        AssessmentRecord& record = app.Context().record;
        record.Method = 1;
        record.DepthSoil = 70;
        QWidget* step6 = app.Context().Screen(ScreenId::Step6);
        Activate(step6);
        TypeAndLeave(Find<QLineEdit>(step6, "edtDepthSoil"), "99999999999");
        QCOMPARE(log.Take(),
                 QStringList{QString::fromUtf8("'99999999999' ist kein gültiger Integerwert.")});
        QCOMPARE(record.DepthSoil, 70);
        QVERIFY(step6->isVisible());
    }

    // GBF from EFL and the depth, recomputed whenever the window becomes active.
    void step7RecomputesEveryActivation() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* step7 = app.Context().Screen(ScreenId::Step7);
        record.EFL = 54;
        record.DepthSoil = 60;
        Activate(step7);
        QCOMPARE(Text(step7, "edtGBF"), QString("2"));
        QCOMPARE(record.GBF, std::string("2"));
        QVERIFY(Find<QLineEdit>(step7, "edtGBF")->isReadOnly());

        Activate(app.Context().Screen(ScreenId::Main));
        record.DepthSoil = 100;
        Activate(step7);
        QCOMPARE(Text(step7, "edtGBF"), QString("1B"));

        Activate(app.Context().Screen(ScreenId::Main));
        record.EFL = 11.53L;
        record.DepthSoil = 80;
        Activate(step7);
        QCOMPARE(Text(step7, "edtGBF"), QString("0"));
        QVERIFY(step7->findChild<QAbstractButton*>("btnNext") == nullptr);
    }

    // Print, save and help commands reach their windows; none of them hides step 7.
    void step7CommandsReachTheirWindows() {
        Application app(2026);
        QWidget* step7 = app.Context().Screen(ScreenId::Step7);
        Activate(step7);
        QStringList opened;
        app.Context().openEvaluationProtocol = [&opened] { opened << "protocol"; };
        app.Context().openRotationSheet = [&opened] { opened << "rotation"; };
        app.Context().openHelpPage = [&opened](int page) { opened << QString::number(page); };
        Click(step7, "btnPrint");
        Trigger(step7, "mniPrint");
        Click(step7, "btnPrintStep2");
        Trigger(step7, "mniPrintStep2");
        Click(step7, "btnAssistance");
        Trigger(step7, "mniAssistance");
        QCOMPARE(opened,
                 (QStringList{"protocol", "protocol", "rotation", "rotation", "105", "105"}));
        Trigger(step7, "mniSaveCalculations");
        QVERIFY(app.Context().Screen(ScreenId::Save)->isVisible());
        QVERIFY(step7->isVisible());

        QStringList menu;
        for (const QAction* action : Find<QMenu>(step7, "mnhFile")->actions()) {
            menu << action->text();
        }
        QCOMPARE(menu, (QStringList{QString::fromUtf8("Zurück"), "Berechnung speichern",
                                    "Auswertung drucken", "Schritt 2 drucken",
                                    QString::fromUtf8("Massnahmen prüfen …"),
                                    "Massnahmenblatt drucken", "", "Speichern", "", "Schliessen"}));
        Trigger(step7, "mniBack");
        QVERIFY(app.Context().Screen(ScreenId::Step6)->isVisible());
        QVERIFY(!step7->isVisible());
    }

    // The help command of each result step opens its own page.
    void helpCommandsOpenTheStepsPages() {
        Application app(2026);
        QList<int> opened;
        app.Context().openHelpPage = [&opened](int page) { opened << page; };
        for (const ScreenId id : {ScreenId::Step4, ScreenId::Step5, ScreenId::Step6}) {
            QWidget* window = app.Context().Screen(id);
            Activate(window);
            Click(window, "btnAssistance");
            Trigger(window, "mniAssistance");
        }
        QCOMPARE(opened, (QList<int>{111, 111, 104, 104, 102, 102}));
        QVERIFY(app.Context().Screen(ScreenId::Step3)->findChild<QAction*>("mniAssistance") ==
                nullptr);
    }
};

QTEST_MAIN(ResultScreensTest)
#include "result_screens_test.moc"
