// The crop rotation screen: choices, year numbering, the commands and when "Weiter" may be
// pressed, driven through the real widgets.

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/rotation/step2_screen.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/core/texts_rotation.h"
#include "key/files/calculation_file.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

const char* const kPlough = "Plug/pfluglos unter 10% Bedeckung";
const char* const kMulch = "Mulchsaat 10-30% Bedeckung";

QComboBox* ChoiceOf(const QWidget* window, int n, char letter) {
    const QByteArray name = QStringLiteral("cmbYear%1%2").arg(n).arg(QChar(letter)).toLatin1();
    return Find<QComboBox>(window, name.constData());
}

QLineEdit* Field(const QWidget* window, const char* name) {
    return Find<QLineEdit>(window, name);
}

// One year as a user enters it: crop, its tillage, period type, then (where given) the
// period's tillage and start.
void EnterYear(const QWidget* window, int n, const char* crop, const char* tillage,
               const char* period, const char* periodTillage, const char* start) {
    Choose(ChoiceOf(window, n, 'a'), QString::fromUtf8(crop));
    Choose(ChoiceOf(window, n, 'c'), QString::fromUtf8(tillage));
    Choose(ChoiceOf(window, n, 'b'), QString::fromUtf8(period));
    if (periodTillage != nullptr) {
        Choose(ChoiceOf(window, n, 'd'), QString::fromUtf8(periodTillage));
    }
    if (start != nullptr) {
        Choose(ChoiceOf(window, n, 'e'), QString::fromUtf8(start));
    }
}

void EnterWorkedExample(const QWidget* window) {
    EnterYear(window, 1, "Weizen (Winter)", kPlough, "Stoppelbrache im Winter", nullptr,
              "20.07. bis 31.07.");
    EnterYear(window, 2, "Mais (Körnermais)", kMulch, "Zwischenfutter/Gründüngung vor Winterkultur",
              kPlough, "01.08. bis 15.08.");
    EnterYear(window, 3, "Gerste (Winter)", kPlough, "Schwarzbrache im Herbst und Winter", nullptr,
              "vor dem 31.07.");
}

// Years 1 and 3 complete, year 2 left blank.
void EnterRotationWithGap(const QWidget* window) {
    EnterYear(window, 1, "Weizen (Winter)", kPlough, "Keine Zwischenperiode", nullptr, nullptr);
    EnterYear(window, 3, "Soja", kPlough, "Keine Zwischenperiode", nullptr, nullptr);
}

// The user coming back to the screen from another window.
void Reactivate(Application& app, QWidget* window) {
    Activate(app.MainWindow());
    Activate(window);
}

QWidget* OpenStep2(Application& app) {
    app.Start();
    app.Context().Navigate(app.MainWindow(), ScreenId::Step2);
    QWidget* window = app.Context().Screen(ScreenId::Step2);
    Activate(window);
    return window;
}

// The widget the Tab key moves to from `w`.
QWidget* NextTabStop(QWidget* w) {
    do {
        w = w->nextInFocusChain();
    } while ((w->focusPolicy() & Qt::TabFocus) == 0);
    return w;
}

bool NextButtonEnabled(const QWidget* window) {
    return Find<QPushButton>(window, "btnNext")->isEnabled();
}

} // namespace

class Step2ScreenTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }
    void init() { SetDecimalSeparator('.'); }
    void cleanupTestCase() { SetDecimalSeparator('.'); }

    void workedExampleEnteredByChoices_data() {
        QTest::addColumn<char>("separator");
        QTest::addColumn<QString>("c");
        QTest::newRow("point") << '.' << "1.512";
        QTest::newRow("comma") << ',' << "1,512";
    }
    void workedExampleEnteredByChoices() {
        QFETCH(char, separator);
        QFETCH(QString, c);
        SetDecimalSeparator(separator);
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        QVERIFY(window->isActiveWindow());

        // The lists offered follow the choices above them.
        Choose(ChoiceOf(window, 1, 'a'), QString("Weizen (Winter)"));
        QCOMPARE(ChoiceOf(window, 1, 'c')->count(), 5);
        QCOMPARE(ChoiceOf(window, 1, 'd')->count(), 0);
        EnterWorkedExample(window);
        QCOMPARE(ChoiceOf(window, 1, 'd')->currentText(), QString("keine Bodenbearbeitung"));
        QCOMPARE(ChoiceOf(window, 3, 'd')->currentText(), QString::fromUtf8(kPlough));
        QCOMPARE(Field(window, "edtC")->text(), QString());

        Click(window, "btnCalculate");
        QCOMPARE(log.Take(), QStringList());
        QCOMPARE(Field(window, "edtC")->text(), c);
        QCOMPARE(Field(window, "edtYears")->text(), QString("3"));
        const AssessmentRecord& record = app.Context().record;
        QCOMPARE(record.Years, 3);
        QCOMPARE(record.RotationYearAt(2).text[0], std::string("Mais (Körnermais)"));
        QCOMPARE(record.RotationYearAt(2).text[3], std::string(kPlough));
        QCOMPARE(FormatPositiveReal(record.C, '.'), std::string("1.512"));

        if (separator == '.') {
            TypeAndLeave(Field(window, "edtRemark"), "Hanglage, Mais quer zum Hang gesät");
            Click(window, "btnCalculate");
        }
    }

    void layoutNamesAndKeyboardOrder() {
        Application app(2026);
        QWidget* window = OpenStep2(app);
        QCOMPARE(Find<QWidget>(window, "canvas")->size(), QSize(834, 654));
        QCOMPARE(Find<QPushButton>(window, "btnClose")->geometry(), QRect(704, 624, 105, 25));
        QCOMPARE(Find<QPushButton>(window, "btnPrintStep2")->geometry().topLeft(), QPoint(24, 536));
        QCOMPARE(ChoiceOf(window, 10, 'e')->y(), 56 + 48 * 9 + 24);

        // Nothing overlaps, nothing leaves the canvas, no caption is cut.
        const QWidget* canvas = Find<QWidget>(window, "canvas");
        std::vector<const QWidget*> controls;
        for (const QWidget* child : canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (child->objectName() != "bvlInput") {
                controls.push_back(child);
            }
        }
        for (std::size_t i = 0; i < controls.size(); ++i) {
            QVERIFY2(canvas->rect().contains(controls[i]->geometry()),
                     qPrintable(controls[i]->objectName()));
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()),
                         qPrintable(controls[i]->objectName() + " " + controls[j]->objectName()));
            }
            if (const auto* label = qobject_cast<const QLabel*>(controls[i]);
                label != nullptr && !label->wordWrap()) {
                QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->text()));
            }
        }
        // The longest entries of every choice fit: the period types after a cereal, the
        // tillage and the starts after maize with a catch crop.
        EnterYear(window, 1, "Mais (Körnermais)", kPlough,
                  "Zwischenfutter/Gründüngung im Winter, überwinternd", nullptr, nullptr);
        Choose(ChoiceOf(window, 2, 'a'), QString("Rotations-/Buntbrachen 2. und folgende Jahre"));
        EnterYear(window, 3, "Mais (Körnermais)", kPlough, "Schwarzbrache im Herbst und Winter",
                  nullptr, nullptr);
        for (QComboBox* combo : canvas->findChildren<QComboBox*>()) {
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            QVERIFY2(combo->sizeHint().width() <= combo->width(), qPrintable(combo->objectName()));
        }
        for (int n = 1; n <= 10; ++n) {
            QCOMPARE(Field(window, qPrintable(QString("edtYear%1").arg(n)))->isReadOnly(), n > 1);
            for (char letter : {'a', 'b', 'c', 'd', 'e'}) {
                QVERIFY(!ChoiceOf(window, n, letter)->isEditable());
            }
        }
        QVERIFY(Field(window, "edtC")->isReadOnly());
        QCOMPARE(Field(window, "edtRemark")->maxLength(), 256);

        QStringList order;
        QWidget* w = Field(window, "edtYear1");
        for (int i = 0; i < 12; ++i) {
            order << w->objectName();
            w = NextTabStop(w);
        }
        QCOMPARE(order, QStringList({"edtYear1", "cmbYear1a", "cmbYear1c", "cmbYear1b", "cmbYear1d",
                                     "cmbYear1e", "cmbYear2a", "cmbYear2c", "cmbYear2b",
                                     "cmbYear2d", "cmbYear2e", "cmbYear3a"}));
        QCOMPARE(NextTabStop(ChoiceOf(window, 10, 'e'))->objectName(), QString("btnPrintStep2"));
        QCOMPARE(NextTabStop(Field(window, "edtC"))->objectName(), QString("edtRemark"));
    }

    void weiterButtonFollowsChoicesAndCommands() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        QVERIFY(NextButtonEnabled(window));

        Choose(ChoiceOf(window, 1, 'a'), QString("Weizen (Winter)"));
        QVERIFY(!NextButtonEnabled(window));
        Reactivate(app, window);
        QVERIFY(NextButtonEnabled(window)); // activation enables it
        QCOMPARE(ChoiceOf(window, 1, 'a')->currentText(), QString("Weizen (Winter)"));

        EnterWorkedExample(window);
        QVERIFY(!NextButtonEnabled(window));
        Click(window, "btnCalculate");
        QVERIFY(NextButtonEnabled(window));

        TypeAndLeave(Field(window, "edtRemark"), "Hang");
        QVERIFY(!NextButtonEnabled(window));
        QCOMPARE(app.Context().record.Remark, std::string("Hang"));
        // Left, the remark shows what the record stores.
        TypeAndLeave(Field(window, "edtRemark"), "Hang bei Łódź");
        QCOMPARE(Field(window, "edtRemark")->text(), QString("Hang bei Lódz"));
        QCOMPARE(app.Context().record.Remark, std::string("Hang bei Lódz"));
        TypeAndLeave(Field(window, "edtRemark"), "Hang");
        TypeAndLeave(Field(window, "edtYear1"), "2030");
        QVERIFY(!NextButtonEnabled(window)); // the year field leaves it as it was

        // "Felder leeren": blank rotation, no C, calendar years and remark kept.
        Trigger(window, "mniClearFields");
        QVERIFY(NextButtonEnabled(window));
        QCOMPARE(ChoiceOf(window, 1, 'a')->currentIndex(), 0);
        QCOMPARE(ChoiceOf(window, 1, 'b')->count(), 0);
        QCOMPARE(Field(window, "edtC")->text(), QString());
        QCOMPARE(Field(window, "edtYears")->text(), QString());
        QCOMPARE(Field(window, "edtYear3")->text(), QString("2032"));
        QCOMPARE(Field(window, "edtRemark")->text(), QString("Hang"));
        QCOMPARE(app.Context().record.C, Real{0});

        // With the button disabled the menu entry still checks, calculates and moves on.
        EnterWorkedExample(window);
        QVERIFY(!NextButtonEnabled(window));
        Trigger(window, "mniNext");
        QCOMPARE(log.Take(), QStringList());
        QVERIFY(app.Context().Screen(ScreenId::Step3)->isVisible());
        QVERIFY(!window->isVisible());
        QCOMPARE(FormatPositiveReal(app.Context().record.C, '.'), std::string("1.512"));
        QCOMPARE(Field(window, "edtC")->text(), QString("1.512"));
    }

    // Enter presses "Berechnen" while "Weiter" waits for it, then "Weiter".
    void enterPressesWhatCanBePressed() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        EnterWorkedExample(window);
        QVERIFY(!NextButtonEnabled(window));
        Field(window, "edtRemark")->setFocus();
        QTest::keyClick(Field(window, "edtRemark"), Qt::Key_Return);
        QVERIFY(NextButtonEnabled(window));
        QCOMPARE(Field(window, "edtC")->text(), QString("1.512"));
        QVERIFY(window->isVisible());
        QWidget* focus = window->focusWidget();
        QCOMPARE(focus ? focus->objectName() : QString(), QString("btnNext"));
        QTest::keyClick(focus, Qt::Key_Return);
        QVERIFY(app.Context().Screen(ScreenId::Step3)->isVisible());
        QCOMPARE(log.Take(), QStringList());
    }

    void refusedRotationStaysOnStep2() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        EnterRotationWithGap(window);
        const QString gap = QString::fromUtf8(texts::step2::kGapInRotation.data(),
                                              texts::step2::kGapInRotation.size());
        for (const char* action : {"mniNext", "mniCalculate"}) {
            Trigger(window, action);
            QCOMPARE(log.Take(), QStringList({gap}));
            QVERIFY(window->isVisible());
            QVERIFY(!app.Context().Screen(ScreenId::Step3)->isVisible());
            QCOMPARE(app.Context().record.C, Real{0});
            QCOMPARE(Field(window, "edtC")->text(), QString());
            QVERIFY(!NextButtonEnabled(window));
        }
        // Filling the gap lets "Weiter" through.
        EnterYear(window, 2, "Mais (Silomais)", kPlough, "Keine Zwischenperiode", nullptr, nullptr);
        Click(window, "btnCalculate");
        QCOMPARE(log.Take(), QStringList());
        Click(window, "btnNext");
        QVERIFY(app.Context().Screen(ScreenId::Step3)->isVisible());
    }

    void noCropIsNoRotation() {
        // "Weiter" without a single crop would go on with C = 0, the best protection there is.
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        Click(window, "btnNext");
        QCOMPARE(log.Take(), QStringList{"Bitte zuerst die Fruchtfolge eingeben."});
        QVERIFY(window->isVisible());
        QVERIFY(!app.Context().Screen(ScreenId::Step3)->isVisible());
        // "Felder leeren" and "Berechnen" stay as they are.
        Click(window, "btnClearFields");
        Click(window, "btnCalculate");
        QCOMPARE(log.Take(), QStringList());
    }

    void repeatRotationFillsTheFollowingEmptyYears() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        EnterWorkedExample(window);
        int proposed = 0;
        TfrmStep2::SetRepeatAsker([&](QWidget*, int p) {
            proposed = p;
            return p;
        });
        Trigger(window, "mniRepeatRotation");
        TfrmStep2::SetRepeatAsker({});
        // Three whole cycles of the three-year rotation, and not a year more.
        QCOMPARE(proposed, 9);
        QCOMPARE(log.Take(), QStringList());
        QCOMPARE(ChoiceOf(window, 10, 'a')->currentIndex(), 0);
        // Years 4 to 9 repeat years 1 to 3, every choice as entered there.
        for (int n = 4; n <= 9; ++n) {
            const int from = (n - 1) % 3 + 1;
            for (const char letter : {'a', 'b', 'c', 'd', 'e'}) {
                QCOMPARE(ChoiceOf(window, n, letter)->currentText(),
                         ChoiceOf(window, from, letter)->currentText());
            }
            QCOMPARE(app.Context().record.RotationYearAt(n).e,
                     app.Context().record.RotationYearAt(from).e);
        }
        // The ten years pass the checks.
        Trigger(window, "mniNext");
        QCOMPARE(log.Take(), QStringList());
        QVERIFY(app.Context().Screen(ScreenId::Step3)->isVisible());
    }

    void printStep2ButtonChecksFirstTheMenuEntryDoesNot() {
        MessageLog log;
        Application app(2026);
        int sheets = 0;
        app.Context().openRotationSheet = [&sheets] { ++sheets; };
        QWidget* window = OpenStep2(app);
        EnterRotationWithGap(window);

        Trigger(window, "mniPrintStep2");
        QCOMPARE(sheets, 1);
        QCOMPARE(log.Take(), QStringList());

        Click(window, "btnPrintStep2");
        QCOMPARE(sheets, 1);
        QCOMPARE(log.Take().size(), 1);

        // The menu prints the C of the last calculation, the button recalculates first.
        Trigger(window, "mniClearFields");
        EnterWorkedExample(window);
        Trigger(window, "mniPrintStep2");
        QCOMPARE(sheets, 2);
        QCOMPARE(app.Context().record.C, Real{0});
        Click(window, "btnPrintStep2");
        QCOMPARE(sheets, 3);
        QCOMPARE(FormatPositiveReal(app.Context().record.C, '.'), std::string("1.512"));
        QCOMPARE(Field(window, "edtC")->text(), QString("1.512"));
        QVERIFY(window->isVisible());
    }

    void helpCommandsOpenTheirPages() {
        Application app(2026);
        std::vector<int> pages;
        app.Context().openHelpPage = [&pages](int page) { pages.push_back(page); };
        QWidget* window = OpenStep2(app);
        Click(window, "btnAssistance");
        Trigger(window, "mniAssistance");
        Trigger(window, "mniVersioninfo");
        QCOMPARE(pages, (std::vector<int>{help::kRotation, help::kRotation, help::kImprint}));
    }

    void leavingYear1NumbersTheOtherYears() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        QCOMPARE(Field(window, "edtYear1")->text(), QString("2017"));
        QCOMPARE(Field(window, "edtYear10")->text(), QString("2026"));

        TypeAndLeave(Field(window, "edtYear1"), "20a15");
        QCOMPARE(Field(window, "edtYear1")->text(), QString("2015"));
        QCOMPARE(Field(window, "edtYear2")->text(), QString("2016"));
        QCOMPARE(Field(window, "edtYear10")->text(), QString("2024"));
        QCOMPARE(app.Context().record.RotationYearAt(10).Year, 2024);

        // A year past the integer range is refused; the other years stay as they were.
        TypeAndLeave(Field(window, "edtYear1"), "2147483647");
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(Field(window, "edtYear2")->text(), QString("2016"));
        log.Take();

        TypeAndLeave(Field(window, "edtYear1"), "");
        for (int n = 2; n <= 10; ++n) {
            QCOMPARE(Field(window, qPrintable(QString("edtYear%1").arg(n)))->text(), QString());
            QCOMPARE(app.Context().record.RotationYearAt(n).Year, 0);
        }
        QCOMPARE(log.Take(), QStringList());
    }

    void textTypedBeforeSwitchingWindowsIsKept() {
        Application app(2026);
        QWidget* window = OpenStep2(app);
        // The user types without leaving the field, looks at another window and comes back:
        // the refill on return must not throw the typed text away.
        QLineEdit* remark = Field(window, "edtRemark");
        remark->setFocus();
        remark->insert("Hang");
        QLineEdit* year1 = Field(window, "edtYear1");
        Reactivate(app, window);
        QCOMPARE(remark->text(), QString("Hang"));
        QCOMPARE(app.Context().record.Remark, std::string("Hang"));

        year1->setFocus();
        year1->selectAll();
        year1->insert("2020");
        Reactivate(app, window);
        QCOMPARE(year1->text(), QString("2020"));
        QCOMPARE(Field(window, "edtYear10")->text(), QString("2029"));
        QCOMPARE(app.Context().record.RotationYearAt(1).Year, 2020);
    }

    void loadedRotationShowsNoOldC() {
        MessageLog log;
        Application app(2026);
        QWidget* window = OpenStep2(app);
        EnterWorkedExample(window);
        Click(window, "btnCalculate");
        QCOMPARE(Field(window, "edtC")->text(), QString("1.512"));

        // Another assessment with the same rotation is loaded while step 2 stays open.
        const std::string file = CalculationFileBytes(app.Context().record);
        QVERIFY(LoadCalculationBytes(app.Context().record, file, 2026).loaded);
        Reactivate(app, window);
        QCOMPARE(ChoiceOf(window, 2, 'a')->currentText(), QString("Mais (Körnermais)"));
        QCOMPARE(ChoiceOf(window, 2, 'e')->currentText(), QString("01.08. bis 15.08."));
        QCOMPARE(Field(window, "edtC")->text(), QString());

        Click(window, "btnCalculate");
        QCOMPARE(Field(window, "edtC")->text(), QString("1.512"));
    }
};

QTEST_MAIN(Step2ScreenTest)
#include "step2_screen_test.moc"
