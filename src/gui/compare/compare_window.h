#pragma once
// "Varianten vergleichen": two to eight calculations side by side, each loaded into an
// assessment of its own; the current assessment can join as a walked copy.

#include <QStringList>
#include <QWidget>
#include <functional>
#include <optional>

#include "gui/shell/app_context.h"
#include "report/comparison.h"

class QCheckBox;
class QPushButton;
class QTableView;

namespace brisolt::gui {

class ReportTableModel;

class TfrmCompare : public QWidget {
    Q_OBJECT
public:
    static constexpr int kMaxVariants = 8;

    // Asks the user for calculation files; an empty list when cancelled.
    using FileChooser = std::function<QStringList(QWidget* parent)>;
    // Replaces the open dialog (tests); an empty function restores it.
    static void SetFileChooser(FileChooser chooser);

    explicit TfrmCompare(AppContext& context);

    // Adds files as further columns, as "Dateien hinzufügen …" and dropping do.
    void AddFiles(const QStringList& paths);
    const report::Comparison& Comparison() const { return comparison_; }
    QTableView* View() const { return view_; }
    // How often the columns were loaded and walked (tests).
    int Refreshes() const { return refreshes_; }
    QSize sizeHint() const override { return {1000, 660}; }

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private slots:
    void FormActivate();
    void btnAddFilesClick();
    void btnAddCurrentClick();
    void btnRemoveClick();
    void chkOnlyDifferencesClick();
    void btnPrintClick();
    void btnCloseClick();

private:
    // A column: a file, or the current assessment (empty path).
    struct Source {
        QString path;
    };
    bool Room(int more);
    void Refresh();
    // What the columns were made from: each file's size and times, the current assessment
    // and the check box. Unchanged, an activation keeps the table.
    std::vector<QString> Stamps() const;

    AppContext& context_;
    std::vector<Source> sources_;
    report::Comparison comparison_;
    std::vector<QString> shownStamps_;
    std::optional<AssessmentRecord> shownRecord_; // when a column shows the current one
    int refreshes_ = 0;
    ReportTableModel* model_;
    QTableView* view_;
    QCheckBox* chkOnlyDifferences_;
};

} // namespace brisolt::gui
