// The measures window opened from step 7: its rows, "Übernehmen" and "Drucken".

#include <QBrush>
#include <QLabel>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableView>
#include <QTimer>

#include "gui/measures/measures_window.h"
#include "gui/shell/application.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "key/walk.h"

namespace brisolt::gui {
namespace {

using testing::Activate;
using testing::Click;
using testing::Find;
using testing::MessageLog;
using testing::Trigger;

TfrmMeasures* MeasuresWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* m = qobject_cast<TfrmMeasures*>(w); m != nullptr && m->isVisible()) {
            return m;
        }
    }
    return nullptr;
}

// Selects the view's line whose first cell reads `title`.
bool SelectRow(TfrmMeasures* window, const QString& title) {
    QTableView* view = window->View();
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        if (view->model()->index(row, 0).data().toString() == title) {
            view->selectRow(row);
            return true;
        }
    }
    return false;
}

class MeasuresWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ConfigureApplication();
        SetDecimalSeparator('.');
    }

    void openSelectAdoptAndPrint() {
        MessageLog log;
        Application app(2024);
        AppContext& context = app.Context();
        LoadCalculation(context.record, BRISOLT_TEST_DATA "/worked_example.txt", 2024);
        WalkForward(context.record);
        QWidget* step7 = context.Screen(ScreenId::Step7);
        Activate(step7);

        // The button beside the result and the menu entry open the same window.
        Click(step7, "btnMeasures");
        TfrmMeasures* window = MeasuresWindow();
        QVERIFY(window != nullptr);
        QCOMPARE(window->windowTitle(), QString("Massnahmen zur Verminderung der Bodenerosion"));
        window->hide();
        Trigger(step7, "mniMeasures");
        QCOMPARE(MeasuresWindow(), window);
        QVERIFY(Find<QLabel>(window, "labTarget")->text().startsWith("Bei 80 cm Gründigkeit:"));

        // The current assessment first, then the plans, then the singles; GBF cells coloured.
        QTableView* view = window->View();
        QCOMPARE(view->model()->index(0, 0).data().toString(), QString("Aktuelle Berechnung"));
        QCOMPARE(view->model()->index(0, 5).data().toString(), QString("70"));
        QCOMPARE(view->model()->index(1, 0).data().toString(), QString("Ziel Stufe 1B"));
        // Level "2" on the dark orange of the step 7 legend.
        QCOMPARE(view->model()->index(0, 8).data(Qt::BackgroundRole).value<QBrush>().color(),
                 QColor(236, 128, 40));
        // A plan lists its measures one per line.
        QVERIFY(SelectRow(window, "Ziel Stufe 0"));
        const int planLine = view->selectionModel()->selectedRows().front().row();
        QCOMPARE(view->model()->index(planLine, 1).data().toString().count('\n'), 2);
        // Every measure of the largest plan is shown, however long the list.
        QVERIFY(SelectRow(window, "Alle Massnahmen zusammen"));
        const QString all = view->model()
                                ->index(view->selectionModel()->selectedRows().front().row(), 1)
                                .data()
                                .toString();
        QVERIFY2(all.count('\n') >= 7 && !all.contains(QChar(0x2026)), qPrintable(all));
        // No rills, nothing said about them; every plan here is exact.
        QVERIFY(!Find<QLabel>(window, "labTarget")->text().contains("Rinnen"));
        QVERIFY(!Find<QLabel>(window, "labApproximate")->isVisible());

        // Nothing chosen: a hint, no change.
        view->clearSelection();
        Click(window, "btnAdopt");
        QCOMPARE(log.Take(), QStringList{"Bitte zuerst eine Zeile mit Massnahmen wählen."});
        QCOMPARE(context.record.FloatDistance, 100);

        // Saved work is adopted without a question.
        QVERIFY(SelectRow(window, "Ziel Stufe 1A"));
        MarkAsSaved(context.record);
        context.record.Variant = "A Ist-Zustand";
        MarkAsSaved(context.record);
        Click(window, "btnAdopt");
        QVERIFY(HasUnsavedChanges(context.record)); // adopted measures are unsaved work
        QStringList shown = log.Take();
        QCOMPARE(shown.size(), 1);
        QVERIFY(shown.front().contains("Fliessstrecke 33 m statt 100 m"));
        QCOMPARE(context.record.FloatDistance, 33);
        // What the user typed stays; the plan is appended in words.
        QCOMPARE(QString::fromStdString(context.record.Variant),
                 QString("A Ist-Zustand + Ziel Stufe 1A"));
        QCOMPARE(QString::fromStdString(context.record.GBF), QString("1A"));
        // The window now explores the adopted assessment.
        QCOMPARE(view->model()->index(0, 5).data().toString(), QString("39"));

        // Unsaved work: asked first; "Abbrechen" changes nothing.
        QVERIFY(SelectRow(window, "Alle Massnahmen zusammen"));
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        Click(window, "btnAdopt");
        QCOMPARE(log.Take(), QStringList{"Die Eingaben wurden seit dem letzten Speichern "
                                         "geändert. Vorher speichern?"});
        QCOMPARE(context.record.FloatDistance, 33);
        Messages::SetSaveAnswer(Messages::SaveAnswer::Discard);
        const AssessmentRecord before = context.record;
        Click(window, "btnAdopt");
        QCOMPARE(log.Take().size(), 2);
        QVERIFY(CalculationFileBytes(context.record) != CalculationFileBytes(before));
        // "Rückgängig" (Ctrl+Z) brings back the assessment as it was before.
        QCOMPARE(Find<QPushButton>(window, "btnUndo")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Z));
        Click(window, "btnUndo");
        QCOMPARE(CalculationFileBytes(context.record), CalculationFileBytes(before));
        QCOMPARE(view->model()->index(0, 5).data().toString(), QString("39"));
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);

        // "Drucken" opens the print preview of the comparison.
        bool sawPreview = false;
        QTimer::singleShot(300, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* p = qobject_cast<QPrintPreviewDialog*>(w); p && p->isVisible()) {
                    sawPreview = true;
                    p->reject();
                }
            }
        });
        Click(window, "btnPrint");
        QVERIFY(sawPreview);

        // "Hilfe" opens the page about the measures.
        int page = 0;
        context.openHelpPage = [&](int n) { page = n; };
        Click(window, "btnHelp");
        QCOMPARE(page, 137);
        Click(window, "btnClose");
        QVERIFY(!window->isVisible());

        // Observed rills: one line says the measures leave their surcharge; Esc closes.
        context.record.Channels = 0;
        context.record.NumChannels = 1;
        context.record.DepthChannels = 1;
        context.record.FrequencyChannels = 0;
        Trigger(step7, "mniMeasures");
        QVERIFY(Find<QLabel>(window, "labTarget")
                    ->text()
                    .contains("Der Zuschlag für beobachtete Rinnen (EL "));
        QVERIFY(!window->View()->tabKeyNavigation()); // Tab leaves the table
        window->View()->setFocus();
        QTest::keyClick(window->View(), Qt::Key_Escape);
        QVERIFY(!window->isVisible());
    }
    // Free texts change no result: a huge remark costs the search nothing, and showing the
    // window again with the same assessment does not search again.
    void anActivationWithoutChangesKeepsTheRows() {
        Application app(2024);
        AppContext& context = app.Context();
        LoadCalculation(context.record, BRISOLT_TEST_DATA "/worked_example.txt", 2024);
        WalkForward(context.record);
        context.record.Remark = std::string(std::size_t{4} << 20, 'x');
        TfrmMeasures window(context);
        window.show();
        QCOMPARE(window.Searches(), 1);
        const int rows = window.View()->model()->rowCount();
        QVERIFY(rows > 5);
        QMetaObject::invokeMethod(&window, "FormActivate");
        QMetaObject::invokeMethod(&window, "FormActivate");
        QCOMPARE(window.Searches(), 1);
        context.record.FloatDistance = 50;
        QMetaObject::invokeMethod(&window, "FormActivate");
        QCOMPARE(window.Searches(), 2);
    }
};

} // namespace
} // namespace brisolt::gui

QTEST_MAIN(brisolt::gui::MeasuresWindowTest)
#include "measures_window_test.moc"
