#include "gui/measures/measures_window.h"

#include <QAction>
#include <QDate>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

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
    context_.FollowTitle(this, Q(tm::kWindowTitle));
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
    // The rows keep their order: plans first, then the single measures grouped by kind.
    view_->setSortingEnabled(false);
    // Tab and Shift+Tab leave the table; the arrow keys move inside it.
    view_->setTabKeyNavigation(false);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(true);
    view_->verticalHeader()->setVisible(false);
    view_->horizontalHeader()->setStretchLastSection(false);

    QLabel* note = new QLabel(Q(tm::kNote), this);
    note->setObjectName("labNote");
    note->setWordWrap(true);
    labApproximate_ = new QLabel(Q(tm::kApproximateNote), this);
    labApproximate_->setObjectName("labApproximate");
    labApproximate_->setWordWrap(true);

    btnAdopt_ = new QPushButton(Q(tm::kAdopt), this);
    btnAdopt_->setObjectName("btnAdopt");
    btnUndo_ = new QPushButton(Q(texts::mainwindow::kUndo), this);
    btnUndo_->setObjectName("btnUndo");
    btnUndo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    btnRedo_ = new QPushButton(Q(texts::mainwindow::kRedo), this);
    btnRedo_->setObjectName("btnRedo");
    btnRedo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    btnPrint_ = new QPushButton(Q(tm::kPrint), this);
    btnPrint_->setObjectName("btnPrint");
    btnSheet_ = new QPushButton(Q(tm::kSheetButton), this);
    btnSheet_->setObjectName("btnSheet");
    QPushButton* help = new QPushButton(Q(texts::common::kHelp), this);
    help->setObjectName("btnHelp");
    help->setShortcut(QKeySequence(Qt::Key_F1));
    QPushButton* close = new QPushButton(Q(texts::common::kClose), this);
    close->setObjectName("btnClose");
    for (QPushButton* b : {btnAdopt_, btnUndo_, btnRedo_, btnPrint_, btnSheet_, help, close}) {
        b->setFixedSize(std::max(105, b->sizeHint().width()), 25);
    }
    // Ctrl+S saves from here too: after an adoption this is the window the user looks at.
    auto* save = new QAction(this);
    save->setObjectName("actSave");
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addAction(save);
    connect(save, &QAction::triggered, this,
            [this] { RunGuarded(this, [this] { context_.Save(this); }); });
    connect(btnAdopt_, &QPushButton::clicked, this, &TfrmMeasures::btnAdoptClick);
    connect(btnUndo_, &QPushButton::clicked, this, &TfrmMeasures::btnUndoClick);
    connect(btnRedo_, &QPushButton::clicked, this, &TfrmMeasures::btnRedoClick);
    connect(btnPrint_, &QPushButton::clicked, this, &TfrmMeasures::btnPrintClick);
    connect(btnSheet_, &QPushButton::clicked, this, &TfrmMeasures::btnSheetClick);
    connect(help, &QPushButton::clicked, this, &TfrmMeasures::btnHelpClick);
    connect(close, &QPushButton::clicked, this, &TfrmMeasures::btnCloseClick);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnAdopt_);
    buttons->addWidget(btnUndo_);
    buttons->addWidget(btnRedo_);
    buttons->addWidget(btnPrint_);
    buttons->addWidget(btnSheet_);
    buttons->addStretch();
    buttons->addWidget(help);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labTarget_);
    layout->addWidget(view_, 1);
    layout->addWidget(labApproximate_);
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
    btnUndo_->setEnabled(context_.CanUndo());
    btnRedo_->setEnabled(context_.CanRedo());
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
        if (!stopped && !exploration_.rillLine.empty()) {
            heading += "\n" + Q(exploration_.rillLine);
        }
        if (!stopped && exploration_.measures.empty()) {
            heading += "\n" + Q(tm::kNoMeasures);
        }
        labTarget_->setText(heading);
        lines_ = report::MeasureLines(exploration_);
        model_->SetTable(report::MeasuresTable(exploration_, lines_, DecimalSeparator()));
        sorted_->sort(-1);
        view_->resizeColumnsToContents();
        view_->setColumnWidth(0, std::min(view_->columnWidth(0), 170));
        if (model_->columnCount() > 1) {
            // The measures take the room there is: the table fills the window.
            view_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
        }
        view_->resizeRowsToContents();
        labApproximate_->setVisible(std::any_of(exploration_.rows.begin(), exploration_.rows.end(),
                                                [](const MeasureRow& r) { return r.approximate; }));
        btnAdopt_->setEnabled(!stopped);
        btnPrint_->setEnabled(!stopped);
        btnSheet_->setEnabled(!stopped);
    });
}

const MeasureRow* TfrmMeasures::RowAt(int viewRow) const {
    if (viewRow < 0) {
        return nullptr;
    }
    const QModelIndex source = sorted_->mapToSource(sorted_->index(viewRow, 0));
    if (!source.isValid() || source.row() >= static_cast<int>(lines_.size())) {
        return nullptr;
    }
    return lines_[static_cast<std::size_t>(source.row())].row;
}

void TfrmMeasures::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TfrmMeasures::btnAdoptClick() {
    RunGuarded(this, [this] {
        const QModelIndexList selected = view_->selectionModel()->selectedRows();
        const MeasureRow* row = selected.isEmpty() ? nullptr : RowAt(selected.front().row());
        if (row == nullptr || row->kind == MeasureRowKind::Current) {
            Messages::Show(this, Q(tm::kChooseARow));
            return;
        }
        // Unsaved work is never replaced without asking; "Rückgängig" brings it back.
        if (!context_.MayReplace(this)) {
            return;
        }
        AssessmentRecord adopted = AdoptRow(context_.record, exploration_, *row);
        // The results as the steps will show them, so every screen agrees at once.
        WalkForward(adopted);
        // A new variant: today's file is never its save target.
        context_.AdoptVariant(std::move(adopted), Q(VariantFileSuffix(*row)));
        Messages::Show(this, Q(tm::kAdopted(context_.record.Variant, row->descriptions)));
        FormActivate();
    });
}

void TfrmMeasures::btnUndoClick() {
    if (context_.Undo()) {
        FormActivate();
    }
}

void TfrmMeasures::btnRedoClick() {
    if (context_.Redo()) {
        FormActivate();
    }
}

void TfrmMeasures::btnPrintClick() {
    const MeasureExploration shown = exploration_;
    ShowReportPreview(
        this, [shown] { return report::BuildMeasuresComparison(shown, DecimalSeparator()); },
        Q(report::ProposedPdfName(context_.record, "Massnahmen")));
}

void TfrmMeasures::btnSheetClick() {
    // The chosen plan (or single measure); without a choice the plan for the lowest level.
    const QModelIndexList selected = view_->selectionModel()->selectedRows();
    const MeasureRow* chosen = selected.isEmpty() ? nullptr : RowAt(selected.front().row());
    const auto shown = std::make_shared<const MeasureExploration>(exploration_);
    const std::ptrdiff_t index =
        chosen != nullptr && chosen->kind != MeasureRowKind::Current
            ? chosen - exploration_.rows.data()
            : (report::SheetPlan(exploration_) != nullptr
                   ? report::SheetPlan(exploration_) - exploration_.rows.data()
                   : -1);
    ShowReportPreview(
        this,
        [shown, index] {
            return report::BuildMeasuresSheet(
                *shown, index < 0 ? nullptr : &shown->rows[static_cast<std::size_t>(index)],
                U(QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"))), DecimalSeparator());
        },
        Q(report::ProposedPdfName(context_.record, "Massnahmenblatt")));
}

void TfrmMeasures::btnHelpClick() {
    context_.OpenHelpPage(help::kMeasures);
}

void TfrmMeasures::btnCloseClick() {
    hide();
}

} // namespace brisolt::gui
