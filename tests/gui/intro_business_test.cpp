// The overview and the farm data screen: what they show and how the farm data fields reach
// the assessment.

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/shell/application.h"
#include "gui/shell/business_screen.h"
#include "gui/shell/intro_screen.h"
#include "gui/shell/main_window.h"
#include "gui_support.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

// No two controls of a window overlap, and every
// control must stand inside its window.
void CheckNoOverlap(QWidget* window) {
    const QWidget* canvas = Find<QWidget>(window, "canvas");
    const QList<QWidget*> children = canvas->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (int i = 0; i < children.size(); ++i) {
        QVERIFY2(canvas->rect().contains(children[i]->geometry()),
                 qPrintable(children[i]->objectName()));
        for (int j = i + 1; j < children.size(); ++j) {
            QVERIFY2(!children[i]->geometry().intersects(children[j]->geometry()),
                     qPrintable(children[i]->objectName() + " / " + children[j]->objectName()));
        }
    }
}

// A label's text fits its width on one line, unless the label wraps.
void CheckLabelsFit(QWidget* window) {
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->wordWrap() || label->text().isEmpty()) {
            continue;
        }
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(needed <= label->width(), qPrintable(label->text()));
    }
}

QStringList TabWalk(QWidget* start, int steps) {
    QStringList names;
    start->setFocus(Qt::TabFocusReason);
    names << QApplication::focusWidget()->objectName();
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names;
}

} // namespace

class IntroBusinessTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { ConfigureApplication(); }

    void overviewListsTheStepsWithTheirPlaces() {
        Application app(2026);
        QWidget* intro = app.Context().Screen(ScreenId::Intro);
        Activate(intro);
        QCOMPARE(Find<QLabel>(intro, "labTitle")->text(),
                 QString("Die Schritte bei der Abschätzung der Gefährdung der Bodenfruchtbarkeit "
                         "durch Bodenerosion"));
        const char* places[] = {"Feld", "Büro", "Büro", "Feld", "Büro", "Feld", "Büro"};
        for (int step = 1; step <= 7; ++step) {
            const QByteArray n = QByteArray::number(step);
            const QLabel* number = Find<QLabel>(intro, "labStep" + n);
            const QLabel* place = Find<QLabel>(intro, "labPlace" + n);
            QCOMPARE(number->text(), "Schritt " + QString::number(step));
            QVERIFY(number->font().bold());
            QCOMPARE(place->text(), QString::fromUtf8(places[step - 1]));
            QVERIFY(place->font().bold());
            QVERIFY(!Find<QLabel>(intro, "labStepTitle" + n)->font().bold());
        }
        QCOMPARE(Find<QLabel>(intro, "labStepTitle4")->text(),
                 QString("Zuschlag für linienhafte Erosion (Rinnenerosion) bestimmen"));
        const QLabel* closing = Find<QLabel>(intro, "labClosing");
        QVERIFY(closing->font().bold());
        QCOMPARE(closing->text(),
                 QString("Überlegungen anstellen zu möglichen Massnahmen zur Verminderung der "
                         "Bodenerosion"));
        // The heading needs both of its lines.
        const QLabel* heading = Find<QLabel>(intro, "labTitle");
        QVERIFY(heading->heightForWidth(heading->width()) <= heading->height());
        QVERIFY(heading->fontMetrics().horizontalAdvance(heading->text()) > heading->width());
        CheckNoOverlap(intro);
        CheckLabelsFit(intro);
    }

    void firstDisplayShowsTheCurrentYearAndEmptyFields() {
        Application app(2026);
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        QCOMPARE(Find<QLineEdit>(business, "edtYear")->text(), QString("2026"));
        for (const char* name : {"edtNameSurname", "edtAddress1", "edtAddress2", "edtParzelle",
                                 "edtVariant", "edtEnteredBy", "edtEnteredOn"}) {
            QVERIFY2(Find<QLineEdit>(business, name)->text().isEmpty(), name);
        }
        CheckNoOverlap(business);
        CheckLabelsFit(business);
        // The year field is narrow, the date field a little wider, the texts wide.
        const int year = Find<QLineEdit>(business, "edtYear")->width();
        const int date = Find<QLineEdit>(business, "edtEnteredOn")->width();
        const int name = Find<QLineEdit>(business, "edtNameSurname")->width();
        QVERIFY(year < date && date < name);
        QVERIFY(year >= business->fontMetrics().horizontalAdvance("99999"));
        QVERIFY(date >= business->fontMetrics().horizontalAdvance("31.12.2026"));
    }

    void everyKeystrokeInATextFieldReachesTheRecord() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        auto* name = Find<QLineEdit>(business, "edtNameSurname");
        name->setFocus();
        QTest::keyClicks(name, "Muster");
        QCOMPARE(record.NameSurname, std::string("Muster"));
        QTest::keyClick(name, Qt::Key_Backspace);
        QCOMPARE(record.NameSurname, std::string("Muste"));
        // Non-ASCII text as a paste would bring it.
        auto* address = Find<QLineEdit>(business, "edtAddress2");
        address->setFocus();
        address->insert(QString("8000 Zürich"));
        QCOMPARE(record.Address2, std::string("8000 Zürich"));
        auto* variant = Find<QLineEdit>(business, "edtVariant");
        variant->setFocus();
        QTest::keyClicks(variant, "B");
        QCOMPARE(record.Variant, std::string("B"));
        // Typing in the year alone copies nothing until the field is left.
        auto* year = Find<QLineEdit>(business, "edtYear");
        year->setFocus();
        year->selectAll();
        QTest::keyClicks(year, "2031");
        QCOMPARE(record.Year, 2026);
        // Clicking "Weiter" moves the focus out of the year first, so step 1 starts with it.
        Click(business, "btnNext");
        QCOMPARE(record.Year, 2031);
        QVERIFY(app.Context().Screen(ScreenId::Step1)->isVisible());
        QVERIFY(!business->isVisible());
    }

    void aLetterWindows1252LacksShowsAsStoredOnceTheFieldIsLeft() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        auto* name = Find<QLineEdit>(business, "edtNameSurname");
        name->setFocus();
        // keyClicks cannot send "Ł": one key event with its text, as a keyboard sends it.
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString("Ł"));
        QApplication::sendEvent(name, &press);
        QTest::keyClicks(name, "ukasiewicz");
        // While typing, the field keeps the letter and the cursor; the record has the
        // stored form at once.
        QCOMPARE(name->text(), QString("Łukasiewicz"));
        QCOMPARE(name->cursorPosition(), 11);
        QCOMPARE(record.NameSurname, std::string("Lukasiewicz"));
        QTest::keyClick(name, Qt::Key_Tab);
        QCOMPARE(name->text(), QString("Lukasiewicz"));
        QCOMPARE(record.NameSurname, std::string("Lukasiewicz"));
        // Every text field does the same.
        for (const char* field : {"edtAddress1", "edtAddress2", "edtParzelle", "edtVariant",
                                  "edtEnteredBy", "edtEnteredOn"}) {
            TypeAndLeave(Find<QLineEdit>(business, field), "Čakovec 1‑3");
            QCOMPARE(Find<QLineEdit>(business, field)->text(), QString("Cakovec 1-3"));
        }
        QCOMPARE(record.EnteredOn, std::string("Cakovec 1-3"));
    }

    void leavingTheYearKeepsItsDigits() {
        MessageLog log;
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        auto* year = Find<QLineEdit>(business, "edtYear");
        TypeAndLeave(year, "20a6");
        QCOMPARE(year->text(), QString("206"));
        QCOMPARE(record.Year, 206);

        // An empty year is 0 and shows as an empty field the next time.
        TypeAndLeave(year, "");
        QCOMPARE(record.Year, 0);
        Activate(app.MainWindow());
        record.Year = 0;
        Activate(business);
        QCOMPARE(year->text(), QString());
        QVERIFY(log.Take().isEmpty());
    }

    void aYearTooLongForAnIntegerIsAnErrorAndKeepsTheOldYear() {
        MessageLog log;
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        record.EnteredBy = "Alt";
        auto* name = Find<QLineEdit>(business, "edtNameSurname");
        auto* year = Find<QLineEdit>(business, "edtYear");
        TypeAndLeave(year, "9999x9999999");
        QCOMPARE(year->text(), QString("99999999999"));
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries[0].first, Messages::Kind::Error);
        QCOMPARE(log.Take(), QStringList{"'99999999999' ist kein gültiger Integerwert."});
        QCOMPARE(record.Year, 2026);
        // The next keystroke elsewhere stores the fields before the year, then fails again.
        name->setFocus();
        QTest::keyClicks(name, "K");
        QCOMPARE(record.NameSurname, std::string("K"));
        QCOMPARE(record.EnteredBy, std::string("Alt"));
        QCOMPARE(log.Take(), QStringList{"'99999999999' ist kein gültiger Integerwert."});
    }

    void activationShowsTheRecordWithoutWritingBack() {
        MessageLog log;
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        auto* year = Find<QLineEdit>(business, "edtYear");
        auto* name = Find<QLineEdit>(business, "edtNameSurname");
        // Switching to another window does not leave the year field: nothing is copied.
        year->setFocus();
        year->selectAll();
        QTest::keyClicks(year, "2030");
        Activate(app.MainWindow());
        QCOMPARE(record.Year, 2026);
        record.NameSurname = "Hofer Anna";
        record.Parzelle = "Unterfeld";
        record.Year = 2019;
        Activate(business);
        QCOMPARE(name->text(), QString("Hofer Anna"));
        QCOMPARE(Find<QLineEdit>(business, "edtParzelle")->text(), QString("Unterfeld"));
        QCOMPARE(year->text(), QString("2019"));
        QCOMPARE(record.NameSurname, std::string("Hofer Anna"));
        QVERIFY(log.Take().isEmpty());
    }

    void focusMovesDownTheFieldsThenButtonsThenVariant() {
        Application app(2026);
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        const QStringList expected = {"edtNameSurname", "edtAddress1", "edtAddress2",
                                      "edtParzelle",    "edtYear",     "edtEnteredBy",
                                      "edtEnteredOn",   "btnBack",     "btnNext",
                                      "btnClose",       "edtVariant",  "edtNameSurname"};
        QCOMPARE(TabWalk(Find<QLineEdit>(business, "edtNameSurname"), 11), expected);
    }

    void screenshotWithAFilledScreen() {
        Application app(2026);
        AssessmentRecord& record = app.Context().record;
        record.NameSurname = "Hofer-Bärtschi Anna und Thomas";
        record.Address1 = "Oberdorfstrasse 12";
        record.Address2 = "3054 Schüpfen";
        record.Parzelle = "Unterfeld, Parzelle 1127";
        record.Variant = "Variante B: Mais mit Untersaat";
        record.Year = 2026;
        record.EnteredBy = "M. Gerber, Beratung";
        record.EnteredOn = "09.12.2026";
        QWidget* business = app.Context().Screen(ScreenId::Business);
        Activate(business);
        QCOMPARE(Find<QLineEdit>(business, "edtVariant")->text(),
                 QString("Variante B: Mais mit Untersaat"));
    }
};

QTEST_MAIN(IntroBusinessTest)
#include "intro_business_test.moc"
