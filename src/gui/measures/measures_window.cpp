#include "gui/measures/measures_window.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/reports/report_preview.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/report_table_model.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/core/texts_measures.h"
#include "key/walk.h"
#include "report/measures_page.h"
#include "report/reports.h"

namespace brisolt::gui {

namespace tm = texts::measures;

TfrmMeasures::TfrmMeasures(AppContext& context) : QWidget(nullptr), context_(context) {
    setObjectName("frmMeasures");
    setWindowTitle(Q(tm::kWindowTitle));
    setMinimumSize(720, 420);

    labTarget_ = new QLabel(this);
    labTarget_->setObjectName("labTarget");
    labTarget_->setWordWrap(true);
    QFont bold = labTarget_->font();
    bold.setBold(true);
    labTarget_->setFont(bold);

    model_ = new ReportTableModel(this);
    sorted_ = new QSortFilterProxyModel(this);
    sorted_->setSourceModel(model_);
    sorted_->setSortRole(ReportTableModel::kSortRole);
    view_ = new QTableView(this);
    view_->setObjectName("tblMeasures");
    view_->setModel(sorted_);
    view_->setSortingEnabled(true);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(true);
    view_->verticalHeader()->setVisible(false);
    view_->horizontalHeader()->setStretchLastSection(false);

    QLabel* note = new QLabel(Q(tm::kNote), this);
    note->setObjectName("labNote");
    note->setWordWrap(true);

    btnAdopt_ = new QPushButton(Q(tm::kAdopt), this);
    btnAdopt_->setObjectName("btnAdopt");
    btnPrint_ = new QPushButton(Q(tm::kPrint), this);
    btnPrint_->setObjectName("btnPrint");
    QPushButton* help = new QPushButton(Q(texts::common::kHelp), this);
    help->setObjectName("btnHelp");
    QPushButton* close = new QPushButton(Q(texts::common::kClose), this);
    close->setObjectName("btnClose");
    for (QPushButton* b : {btnAdopt_, btnPrint_, help, close}) {
        b->setFixedSize(105, 25);
    }
    connect(btnAdopt_, &QPushButton::clicked, this, &TfrmMeasures::btnAdoptClick);
    connect(btnPrint_, &QPushButton::clicked, this, &TfrmMeasures::btnPrintClick);
    connect(help, &QPushButton::clicked, this, &TfrmMeasures::btnHelpClick);
    connect(close, &QPushButton::clicked, this, &TfrmMeasures::btnCloseClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAdopt_);
    buttons->addWidget(btnPrint_);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labTarget_);
    layout->addWidget(view_, 1);
    layout->addWidget(note);
    layout->addLayout(buttons);
}

void TfrmMeasures::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    }
}

void TfrmMeasures::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormActivate();
}

void TfrmMeasures::FormActivate() {
    if (exploredFrom_ && *exploredFrom_ == context_.record) {
        return; // nothing changed since the last search
    }
    RunGuarded(this, [this] {
        exploredFrom_.reset();
        ++searches_;
        exploration_ = ExploreMeasures(context_.record);
        exploredFrom_ = context_.record;
        const bool stopped = exploration_.outcome.stoppedAt != 0;
        QString heading = stopped ? Q(tm::kStoppedAt(exploration_.outcome.stoppedAt,
                                                     exploration_.outcome.stopMessage))
                                  : Q(exploration_.targetLine);
        if (!stopped && exploration_.measures.empty()) {
            heading += "\n" + Q(tm::kNoMeasures);
        }
        labTarget_->setText(heading);
        std::vector<const MeasureRow*> rows;
        for (const MeasureRow& row : exploration_.rows) {
            rows.push_back(&row);
        }
        model_->SetTable(report::MeasuresTable(rows, DecimalSeparator()));
        sorted_->sort(-1); // the key's order until the user sorts by a column
        view_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
        view_->resizeColumnsToContents();
        view_->setColumnWidth(0, std::min(view_->columnWidth(0), 170));
        view_->setColumnWidth(1, std::min(view_->columnWidth(1), 430));
        view_->resizeRowsToContents();
        btnAdopt_->setEnabled(!stopped);
        btnPrint_->setEnabled(!stopped);
    });
}

const MeasureRow* TfrmMeasures::RowAt(int viewRow) const {
    if (viewRow < 0) {
        return nullptr;
    }
    const QModelIndex source = sorted_->mapToSource(sorted_->index(viewRow, 0));
    if (!source.isValid() || source.row() >= static_cast<int>(exploration_.rows.size())) {
        return nullptr;
    }
    return &exploration_.rows[static_cast<std::size_t>(source.row())];
}

void TfrmMeasures::btnAdoptClick() {
    RunGuarded(this, [this] {
        const QModelIndexList selected = view_->selectionModel()->selectedRows();
        const MeasureRow* row = selected.isEmpty() ? nullptr : RowAt(selected.front().row());
        if (row == nullptr || row->kind == MeasureRowKind::Current) {
            Messages::Show(this, Q(tm::kChooseARow));
            return;
        }
        AssessmentRecord adopted = AdoptRow(context_.record, exploration_, *row);
        // The results as the steps will show them, so every screen agrees at once.
        WalkForward(adopted);
        context_.record = std::move(adopted);
        Messages::Show(this, Q(tm::kAdopted(context_.record.Variant, row->descriptions)));
        FormActivate();
    });
}

void TfrmMeasures::btnPrintClick() {
    const MeasureExploration shown = exploration_;
    ShowReportPreview(
        this, [shown] { return report::BuildMeasuresComparison(shown, DecimalSeparator()); },
        Q(report::ProposedPdfName(context_.record, "Massnahmen")));
}

void TfrmMeasures::btnHelpClick() {
    context_.OpenHelpPage(help::kMeasures);
}

void TfrmMeasures::btnCloseClick() {
    hide();
}

} // namespace brisolt::gui
