#pragma once
// "Massnahmen zur Verminderung der Bodenerosion": the measures the key finds for the current
// assessment, single and combined, with the target line; a row can be adopted as the
// current assessment or the comparison printed.

#include <QWidget>
#include <optional>

#include "gui/shell/app_context.h"
#include "key/measures/measures.h"
#include "report/measures_page.h"

class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace brisolt::gui {

class ReportTableModel;

class TfrmMeasures : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMeasures(AppContext& context);

    // The exploration the window shows (tests read it).
    const MeasureExploration& Exploration() const { return exploration_; }
    QTableView* View() const { return view_; }
    // How often the window searched (tests).
    int Searches() const { return searches_; }
    // About twenty rows of the table on a 1920 x 1080 screen.
    QSize sizeHint() const override { return {1280, 880}; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void FormActivate();
    void btnAdoptClick();
    void btnUndoClick();
    void btnRedoClick();
    void btnPrintClick();
    void btnSheetClick();
    void btnHelpClick();
    void btnCloseClick();

private:
    // The exploration's row shown in a line of the view; nullptr for none and for headings.
    const MeasureRow* RowAt(int viewRow) const;
    void keyPressEvent(QKeyEvent* event) override;

    AppContext& context_;
    MeasureExploration exploration_;
    // The record the exploration was made from: an activation with the same record shows
    // what is there instead of searching again.
    std::optional<AssessmentRecord> exploredFrom_;
    int searches_ = 0;
    std::vector<report::MeasureLine> lines_;
    QLabel* labTarget_;
    QLabel* labApproximate_;
    QTableView* view_;
    ReportTableModel* model_;
    QSortFilterProxyModel* sorted_;
    QPushButton* btnAdopt_;
    QPushButton* btnPrint_;
    QPushButton* btnSheet_;
    QPushButton* btnUndo_;
    QPushButton* btnRedo_;
};

} // namespace brisolt::gui
