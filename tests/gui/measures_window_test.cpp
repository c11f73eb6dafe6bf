// The measures window opened from step 7: its rows, "Übernehmen" and "Drucken".

#include <QBrush>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewDialog>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "gui/files/file_dialogs.h"
#include "gui/files/file_window.h"
#include "gui/measures/measures_window.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
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

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
        // The title names the file, like the screen the window stands for.
        QCOMPARE(window->windowTitle(),
                 QString("Massnahmen zur Verminderung der Bodenerosion") + context.TitleSuffix());
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
    // An adopted plan is a new variant: today's file is never written over, the first save of
    // the variant asks for a name of its own, and every adoption can be undone and redone.
    void anAdoptedPlanNeverOverwritesTodaysFile() {
        QTemporaryDir dir;
        const QString today = QDir::toNativeSeparators(dir.filePath("Oberfeld_Ist.TXT"));
        MessageLog log;
        Application app(2024);
        app.Start();
        AppContext& context = app.Context();
        LoadCalculation(context.record, BRISOLT_TEST_DATA "/worked_example.txt", 2024);
        WalkForward(context.record);
        std::optional<FileDialogRequest> asked;
        SetFileDialog([&](QWidget*, const FileDialogRequest& request) {
            asked = request;
            return QStringList{request.proposedName.isEmpty() ? today : request.proposedName};
        });
        Click(context.Screen(ScreenId::Save), "bbtFolder");
        const QByteArray saved = ReadAll(today);
        QVERIFY(!saved.isEmpty());
        log.Take();

        Trigger(context.Screen(ScreenId::Step7), "mniMeasures");
        TfrmMeasures* window = MeasuresWindow();
        QVERIFY(SelectRow(window, "Ziel Stufe 1A"));
        asked.reset();
        Click(window, "btnAdopt"); // saved: no question
        QCOMPARE(log.Take().size(), 1);
        QVERIFY(context.currentFile.isEmpty());
        QCOMPARE(app.MainWindow()->windowTitle(),
                 QString("Brisolt – Oberfeld_Ist.TXT (Variante, nicht gespeichert)*"));
        QVERIFY(window->windowTitle().endsWith("(Variante, nicht gespeichert)*"));

        // "Speichern" in the question saves the variant under a name of its own, then adopts.
        QVERIFY(SelectRow(window, "Alle Massnahmen zusammen"));
        Messages::SetSaveAnswer(Messages::SaveAnswer::Save);
        Click(window, "btnAdopt");
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        QVERIFY(asked.has_value());
        const QString variant = QDir::toNativeSeparators(dir.filePath("Oberfeld_Ist_ziel_1A.txt"));
        QCOMPARE(asked->proposedName, variant);
        QCOMPARE(ReadAll(today), saved);
        AssessmentRecord plan1A;
        QVERIFY(LoadCalculation(plan1A, LocalPath(variant), 2024).loaded);
        QCOMPARE(plan1A.FloatDistance, 33);
        QCOMPARE(context.variantOf, variant);
        QCOMPARE(context.proposedName,
                 QDir::toNativeSeparators(dir.filePath("Oberfeld_Ist_ziel_1A_ziel_alle.txt")));

        // Ctrl+S without a file opens the save window with the proposed name; nothing is
        // written over.
        Trigger(window, "actSave");
        auto* saveWindow = app.Window<TfrmSave>(ScreenId::Save);
        QVERIFY(saveWindow->isVisible());
        QCOMPARE(saveWindow->FileName()->text(), context.proposedName);
        saveWindow->hide();
        QCOMPARE(ReadAll(today), saved);
        QCOMPARE(plan1A, [&] {
            AssessmentRecord again;
            LoadCalculation(again, LocalPath(variant), 2024);
            return again;
        }());

        // Undo goes back to today's file, saved as it was (no "*").
        Click(window, "btnUndo");
        Click(window, "btnUndo");
        QCOMPARE(context.currentFile, today);
        QCOMPARE(QByteArray::fromStdString(CalculationFileBytes(context.record)), saved);
        QCOMPARE(app.MainWindow()->windowTitle(), QString("Brisolt – Oberfeld_Ist.TXT"));
        SetFileDialog({});
        QCOMPARE(ReadAll(today), saved);
    }

    // Every adoption of the session can be undone, one after the other, and redone.
    void undoAndRedoWalkThroughEveryAdoption() {
        MessageLog log;
        Application app(2024);
        AppContext& context = app.Context();
        LoadCalculation(context.record, BRISOLT_TEST_DATA "/worked_example.txt", 2024);
        WalkForward(context.record);
        Trigger(context.Screen(ScreenId::Step7), "mniMeasures");
        TfrmMeasures* window = MeasuresWindow();
        Messages::SetSaveAnswer(Messages::SaveAnswer::Discard);
        std::vector<std::string> states{CalculationFileBytes(context.record)};
        for (const char* row : {"Massnahme 1", "Ziel Stufe 1A", "Alle Massnahmen zusammen"}) {
            QVERIFY2(SelectRow(window, row), row);
            Click(window, "btnAdopt");
            states.push_back(CalculationFileBytes(context.record));
            QVERIFY(states.back() != states[states.size() - 2]);
        }
        Messages::SetSaveAnswer(Messages::SaveAnswer::Cancel);
        for (int i = 3; i > 0; --i) {
            QVERIFY(Find<QPushButton>(window, "btnUndo")->isEnabled());
            Click(window, "btnUndo");
            QCOMPARE(CalculationFileBytes(context.record), states[static_cast<std::size_t>(i - 1)]);
        }
        QVERIFY(!Find<QPushButton>(window, "btnUndo")->isEnabled());
        for (int i = 1; i <= 3; ++i) {
            Click(window, "btnRedo");
            QCOMPARE(CalculationFileBytes(context.record), states[static_cast<std::size_t>(i)]);
        }
        QVERIFY(!Find<QPushButton>(window, "btnRedo")->isEnabled());
        QCOMPARE(Find<QPushButton>(window, "btnRedo")->shortcut(),
                 QKeySequence(Qt::CTRL | Qt::Key_Y));
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
