// The step 1 window: number fields that keep only digits, the region and soil type choices
// with their descriptions, the gradient and stone checks of "Weiter", refills from the
// record, and conversion errors that end only the command.

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "gui/shell/application.h"
#include "gui_support.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

const QString kGradientMessage = QString::fromUtf8(
    "Bei Gefälle von weniger als 2% ist der Schlag kaum erosionsgefährdet. Weitere "
    "Abklärungen erübrigen sich.");

QString Text(const QWidget* window, const char* name) {
    if (auto* edit = window->findChild<QLineEdit*>(QString::fromLatin1(name))) {
        return edit->text();
    }
    return Find<QLabel>(window, name)->text();
}

} // namespace

class Step1ScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    // Leaving a number field keeps its digits (a decimal is rounded), shows what it keeps at
    // once and stores it; the other two fields follow the same rule.
    void numberFieldsKeepOnlyDigitsWhenLeft() {
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        const struct {
            const char* field;
            const char* typed;
            const char* shown;
            Int AssessmentRecord::*stored;
            Int value;
        } cases[] = {
            {"edtGradient", "12.5", "13", &AssessmentRecord::Gradient, 13},
            {"edtGradient", "7 %", "7", &AssessmentRecord::Gradient, 7},
            {"edtFloatDistance", "120 m", "120", &AssessmentRecord::FloatDistance, 120},
            {"edtStones", "-3", "3", &AssessmentRecord::Stones, 3},
            {"edtGradient", "", "", &AssessmentRecord::Gradient, 0},
        };
        for (const auto& c : cases) {
            auto* edit = Find<QLineEdit>(step1, c.field);
            TypeAndLeave(edit, QString::fromUtf8(c.typed));
            QCOMPARE(edit->text(), QString::fromUtf8(c.shown));
            QCOMPARE(app.Context().record.*c.stored, c.value);
        }
    }

    void regionChoiceRefillsTheSoilTypes() {
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        app.Context().record.SoilType = 2;
        Activate(step1);
        auto* region = Find<QComboBox>(step1, "cmbRegion");
        auto* soilType = Find<QComboBox>(step1, "cmbSoilType");
        QCOMPARE(region->count(), 8);
        QCOMPARE(soilType->currentIndex(), 2);

        Choose(region, "F");
        QCOMPARE(soilType->count(), 3);
        QCOMPARE(soilType->currentIndex(), 0);
        QCOMPARE(soilType->currentText(), QString("Toniger Lehm oder lehmiger Ton"));
        QCOMPARE(Text(step1, "labSoilTypeDescription"),
                 QString::fromUtf8("Der Boden ist klebrig und nicht körnig. Er ist sehr gut "
                                   "formbar und lässt sich dünner als 2 mm ausrollen."));
        QCOMPARE(Text(step1, "labRegionDescription"),
                 QString::fromUtf8("Jura-Südhang, Region Thal, Region Brugg-Baden"));
        QCOMPARE(app.Context().record.Region, 5);
        QCOMPARE(app.Context().record.SoilType, 0);

        Choose(soilType, 2);
        QCOMPARE(Text(step1, "labSoilTypeDescription"),
                 QString::fromUtf8("Die Einstufung der Bodenart ist unklar."));
        QCOMPARE(app.Context().record.SoilType, 2);

        Choose(region, "H");
        QCOMPARE(soilType->count(), 2);
        QCOMPARE(Text(step1, "labSoilTypeDescription"), QString::fromUtf8("Lössboden"));

        QTest::mouseClick(Find<QRadioButton>(step1, "rgrEntertainment1"), Qt::LeftButton);
        QCOMPARE(app.Context().record.Entertainment, 1);
        QCOMPARE(Find<QGroupBox>(step1, "rgrEntertainment")->title(),
                 QString::fromUtf8("Hauptsächlich"));
    }

    // "Weiter" refuses a gradient below 2 % (and a stone cover above 100 %) with a message
    // and stays; otherwise it moves on to step 2.
    void weiterChecksGradientAndStones() {
        Application app(2026);
        MessageLog log;
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        QWidget* step2 = app.Context().Screen(ScreenId::Step2);
        Activate(step1);
        auto* gradient = Find<QLineEdit>(step1, "edtGradient");
        auto* stones = Find<QLineEdit>(step1, "edtStones");

        for (const char* low : {"", "0", "1"}) {
            TypeAndLeave(gradient, low);
            Click(step1, "btnNext");
            QCOMPARE(log.Take(), QStringList{kGradientMessage});
            QVERIFY(step1->isVisible());
            QVERIFY(!step2->isVisible());
        }

        TypeAndLeave(gradient, "12");
        TypeAndLeave(stones, "150");
        Trigger(step1, "mniNext");
        QCOMPARE(log.Take(),
                 QStringList{QString::fromUtf8("Die Oberflächenbedeckung mit Steinen kann nicht "
                                               "mehr als 100% betragen. Bitte Eingabe "
                                               "korrigieren.")});
        QVERIFY(!step2->isVisible());

        TypeAndLeave(stones, "100");
        TypeAndLeave(gradient, "2");
        Click(step1, "btnNext");
        QVERIFY(log.Take().isEmpty());
        QVERIFY(step2->isVisible());
        QVERIFY(!step1->isVisible());
        QCOMPARE(app.Context().record.Gradient, 2);
    }

    // The menu command does not move the focus out of the field being typed in: the field
    // is finished as if it had been left, instead of failing on its unreduced text.
    void menuWeiterFinishesTheFieldBeingTyped() {
        Application app(2026);
        MessageLog log;
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        auto* gradient = Find<QLineEdit>(step1, "edtGradient");
        gradient->setFocus();
        QTest::keyClicks(gradient, "12 %");
        QVERIFY(gradient->hasFocus());
        Trigger(step1, "mniNext");
        QVERIFY(log.Take().isEmpty());
        QCOMPARE(app.Context().record.Gradient, 12);
        QCOMPARE(gradient->text(), QString("12"));
        QVERIFY(app.Context().Screen(ScreenId::Step2)->isVisible());
    }

    // A loaded record is shown as it is when the window becomes active; the refill does not
    // write back (the soil type would otherwise fall back to the region's first entry).
    void activationShowsTheRecord() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        record.Gradient = 5;
        record.Region = 7;
        record.SoilType = 1;
        record.FloatDistance = 0;
        record.Stones = 4;
        record.Entertainment = 1;
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        QCOMPARE(Text(step1, "edtGradient"), QString("5"));
        QCOMPARE(Text(step1, "edtFloatDistance"), QString(""));
        QCOMPARE(Text(step1, "edtStones"), QString("4"));
        QCOMPARE(Find<QComboBox>(step1, "cmbRegion")->currentText(), QString("H"));
        QCOMPARE(Find<QComboBox>(step1, "cmbSoilType")->currentText(), QString("unklar"));
        QCOMPARE(Text(step1, "labSoilTypeDescription"),
                 QString::fromUtf8("Die Einstufung der Bodenart ist unklar."));
        QVERIFY(Find<QRadioButton>(step1, "rgrEntertainment1")->isChecked());
        QCOMPARE(record.SoilType, 1);

        // Clicking back into the window after a load elsewhere shows the new values.
        Activate(app.Context().Screen(ScreenId::Main));
        record.Gradient = 9;
        record.Region = 0;
        Activate(step1);
        QCOMPARE(Text(step1, "edtGradient"), QString("9"));
        QCOMPARE(Find<QComboBox>(step1, "cmbSoilType")->count(), 4);
    }

    // A number beyond 32 bits ends the command with the error box; the window goes on.
    void oversizedNumberShowsTheErrorAndTheProgramGoesOn() {
        Application app(2026);
        MessageLog log;
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        app.Context().record.Gradient = 8;
        Activate(step1);
        auto* gradient = Find<QLineEdit>(step1, "edtGradient");
        TypeAndLeave(gradient, "99999999999");
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(log.entries[0].second,
                 QString::fromUtf8("'99999999999' ist kein gültiger Integerwert."));
        log.Take();
        QCOMPARE(gradient->text(), QString("99999999999"));
        QCOMPARE(app.Context().record.Gradient, 8);

        TypeAndLeave(gradient, "7");
        QVERIFY(log.Take().isEmpty());
        QCOMPARE(app.Context().record.Gradient, 7);
        Click(step1, "btnNext");
        QVERIFY(app.Context().Screen(ScreenId::Step2)->isVisible());
    }

    void helpButtonsOpenTheirPages() {
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        QList<int> opened;
        app.Context().openHelpPage = [&opened](int page) { opened << page; };
        for (const char* button : {"btnHelpRegion", "btnHelpGradient", "btnHelpFloatDistance",
                                   "btnHelpSoilType", "btnHelpStones"}) {
            Click(step1, button);
        }
        Trigger(step1, "mniVersioninfo");
        QCOMPARE(opened, (QList<int>{116, 107, 106, 130, 103, 114}));
        QVERIFY(step1->isVisible());
    }

    // Every region and soil type description fits its two-line area unclipped.
    void descriptionsFitTheirArea() {
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        auto* region = Find<QComboBox>(step1, "cmbRegion");
        auto* soilType = Find<QComboBox>(step1, "cmbSoilType");
        const auto fits = [step1](const char* name) {
            auto* label = Find<QLabel>(step1, name);
            return label->heightForWidth(label->width()) <= label->height();
        };
        for (int r = 0; r < region->count(); ++r) {
            Choose(region, r);
            QVERIFY2(fits("labRegionDescription"), qPrintable(region->currentText()));
            for (int s = 0; s < soilType->count(); ++s) {
                Choose(soilType, s);
                QVERIFY2(fits("labSoilTypeDescription"), qPrintable(soilType->currentText()));
            }
        }
    }
};

QTEST_MAIN(Step1ScreenTest)
#include "step1_screen_test.moc"
