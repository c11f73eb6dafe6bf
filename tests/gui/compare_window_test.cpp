// The comparison window: adding files by the dialog and by dropping, the current
// assessment, removing a column, "Nur Unterschiede zeigen" and "Drucken".

#include <QCheckBox>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPrintPreviewDialog>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QUrl>

#include "gui/compare/compare_window.h"
#include "gui/shell/application.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "support/rotation_entry.h"
#include "support/temp_dir.h"

namespace brisolt::gui {
namespace {

using testing::Click;
using testing::Find;
using testing::MessageLog;

QStringList Headings(const QTableView* view) {
    QStringList out;
    for (int c = 1; c < view->model()->columnCount(); ++c) {
        out << view->model()->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
    }
    return out;
}

// The cell of the row whose caption is `label`, in column `column`.
QString Cell(const QTableView* view, const QString& label, int column) {
    for (int r = 0; r < view->model()->rowCount(); ++r) {
        if (view->model()->index(r, 0).data().toString() == label) {
            return view->model()->index(r, column).data().toString();
        }
    }
    return QStringLiteral("<none>");
}

void Drop(QWidget* window, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths) {
        urls << QUrl::fromLocalFile(p);
    }
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window, &drop);
}

class CompareWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ConfigureApplication();
        SetDecimalSeparator('.');
    }

    void addDropRemoveAndPrint() {
        MessageLog log;
        brisolt::testing::TempDir dir;
        const QString worked = BRISOLT_TEST_DATA "/worked_example.txt";
        const QString ten = QString::fromStdString(dir.File("zehn.txt"));
        SaveCalculation(brisolt::testing::TenYearsPloughAndBareFallow(), ten.toStdString());
        const QString broken = QString::fromStdString(dir.Write("kaputt.txt", "V2.02\r\n"));

        Application app(2024);
        AppContext& context = app.Context();
        LoadCalculation(context.record, worked.toStdString(), 2024);
        context.record.FloatDistance = 50;
        TfrmCompare window(context);
        window.show();
        QTableView* view = window.View();

        // The open dialog with several files, then one dropped onto the window.
        TfrmCompare::SetFileChooser([&](QWidget*) { return QStringList{worked, broken}; });
        Click(&window, "btnAddFiles");
        Drop(&window, {ten});
        Click(&window, "btnAddCurrent");
        QCOMPARE(Headings(view), (QStringList{"Langacker / A\n(worked_example.txt)", "kaputt.txt",
                                              "zehn.txt", "Langacker / A\n(aktuelle Berechnung)"}));
        QCOMPARE(Cell(view, "Länge der Fliessstrecke des Wassers", 4), QString("50 m"));
        QCOMPARE(Cell(view, "Gesamtgefährdung (EFL)", 1), QString("70"));
        QCOMPARE(Cell(view, "Gesamtgefährdung (EFL)", 2), QString(""));
        QCOMPARE(Cell(view, "Meldung", 2),
                 QString("Die Datei ist unvollständig und kann nicht eingelesen werden."));
        // Group headings are rows of their own, the results first; the captions stand in the
        // row header, which stays while the variants scroll sideways. The lowest EFL is marked.
        QCOMPARE(view->model()->index(0, 0).data().toString(), QString("Ergebnisse"));
        QVERIFY(view->isColumnHidden(0));
        QVERIFY(view->verticalHeader()->isVisible());
        QCOMPARE(view->model()->headerData(0, Qt::Vertical).toString(), QString("Ergebnisse"));
        view->horizontalScrollBar()->setValue(view->horizontalScrollBar()->maximum());
        QVERIFY(view->verticalHeader()->isVisible());
        int eflRow = -1;
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            if (view->model()->index(r, 0).data().toString() == "Gesamtgefährdung (EFL)") {
                eflRow = r;
            }
        }
        QVERIFY(eflRow >= 0);
        QVERIFY(view->model()->index(eflRow, 4).data(Qt::FontRole).value<QFont>().underline());
        QVERIFY(!view->model()->index(eflRow, 1).data(Qt::FontRole).value<QFont>().underline());

        // Only the rows that differ: the region is the same in all loaded files but not in
        // the broken one, so it stays; "Erstellt durch" is empty everywhere and goes.
        const int allRows = view->model()->rowCount();
        Find<QCheckBox>(&window, "chkOnlyDifferences")->click();
        QVERIFY(view->model()->rowCount() < allRows);
        QCOMPARE(Cell(view, "Abschätzung erstellt durch", 1), QString("<none>"));
        Find<QCheckBox>(&window, "chkOnlyDifferences")->click();
        QCOMPARE(view->model()->rowCount(), allRows);

        // Removing the broken file's column.
        view->selectColumn(2);
        Click(&window, "btnRemove");
        QCOMPARE(Headings(view).size(), 3);
        QVERIFY(!Headings(view).contains("kaputt.txt"));

        // At most eight columns.
        TfrmCompare::SetFileChooser(
            [&](QWidget*) { return QStringList{worked, worked, worked, worked, worked, worked}; });
        log.Take();
        Click(&window, "btnAddFiles");
        QCOMPARE(log.Take(), QStringList{"Es können höchstens acht Varianten verglichen werden."});
        QCOMPARE(Headings(view).size(), 3);
        TfrmCompare::SetFileChooser({});

        bool sawPreview = false;
        QTimer::singleShot(300, [&] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                if (auto* p = qobject_cast<QPrintPreviewDialog*>(w); p && p->isVisible()) {
                    sawPreview = true;
                    p->reject();
                }
            }
        });
        Click(&window, "btnPrint");
        QVERIFY(sawPreview);

        // Tab leaves the table; Esc closes the window.
        QVERIFY(!view->tabKeyNavigation());
        view->setFocus();
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void theMainWindowsFileMenuOpensIt() {
        Application app(2024);
        testing::Trigger(app.Context().Screen(ScreenId::Main), "mniCompare");
        const auto windows = QApplication::topLevelWidgets();
        QVERIFY(std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
            return qobject_cast<TfrmCompare*>(w) != nullptr && w->isVisible() &&
                   w->windowTitle() == "Varianten vergleichen";
        }));
    }
    // A parcel name of millions of characters: cells and headings show its beginning with
    // "…" (the tooltip more of it), the file's name stays; showing the window again loads
    // nothing unless a file changed.
    void hugeTextsAreCutAndUnchangedFilesNotLoadedAgain() {
        brisolt::testing::TempDir dir;
        AssessmentRecord huge = brisolt::testing::TenYearsPloughAndBareFallow();
        huge.Parzelle = std::string(std::size_t{10} << 20, 'P');
        const QString big = QString::fromStdString(dir.File("gross.txt"));
        SaveCalculation(huge, big.toStdString());
        const QString worked = BRISOLT_TEST_DATA "/worked_example.txt";

        Application app(2024);
        TfrmCompare window(app.Context());
        window.show();
        window.AddFiles({big, worked});
        QTableView* view = window.View();
        const QString cell = Cell(view, "Flurname oder Parzelle", 1);
        QCOMPARE(cell.size(), 301);
        QVERIFY(cell.endsWith(QChar(0x2026)));
        QCOMPARE(Cell(view, "Flurname oder Parzelle", 2), QString("Langacker"));
        const QString heading = Headings(view).front();
        QVERIFY(heading.size() < 400);
        QVERIFY(heading.endsWith("…\n(gross.txt)"));
        for (int r = 0; r < view->model()->rowCount(); ++r) {
            const QModelIndex index = view->model()->index(r, 1);
            QVERIFY(index.data(Qt::ToolTipRole).toString().size() <= 2001);
        }

        const int refreshes = window.Refreshes();
        QMetaObject::invokeMethod(&window, "FormActivate");
        QMetaObject::invokeMethod(&window, "FormActivate");
        QCOMPARE(window.Refreshes(), refreshes);
        huge.Parzelle = "Neu";
        SaveCalculation(huge, big.toStdString());
        QMetaObject::invokeMethod(&window, "FormActivate");
        QCOMPARE(window.Refreshes(), refreshes + 1);
        QCOMPARE(Cell(view, "Flurname oder Parzelle", 1), QString("Neu"));
    }
};

} // namespace
} // namespace brisolt::gui

QTEST_MAIN(brisolt::gui::CompareWindowTest)
#include "compare_window_test.moc"
