#include "gui/compare/compare_window.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMimeData>
#include <QPushButton>
#include <QTableView>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "gui/files/file_window.h"
#include "gui/reports/report_preview.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/report_table_model.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/core/texts_compare.h"

namespace brisolt::gui {

namespace tc = texts::compare;

namespace {

TfrmCompare::FileChooser& CurrentChooser() {
    static TfrmCompare::FileChooser chooser;
    return chooser;
}

QStringList RealChooser(QWidget* parent) {
    FileDialogRequest request;
    request.many = true;
    request.caption = Q(tc::kAddFiles);
    request.nameFilters = FileWindow::CalculationFileFilters();
    request.selectedFilter = request.nameFilters.constLast();
    return AskForFiles(parent, request);
}

QPushButton* Button(QWidget* parent, std::string_view text, const char* name) {
    auto* b = new QPushButton(Q(text), parent);
    b->setObjectName(name);
    b->setMinimumWidth(105);
    b->setFixedHeight(25);
    return b;
}

} // namespace

void TfrmCompare::SetFileChooser(FileChooser chooser) {
    CurrentChooser() = std::move(chooser);
}

TfrmCompare::TfrmCompare(AppContext& context) : QWidget(nullptr), context_(context) {
    setObjectName("frmCompare");
    setWindowTitle(Q(tc::kWindowTitle));
    setMinimumSize(720, 420);
    setAcceptDrops(true);

    model_ = new ReportTableModel(this);
    view_ = new QTableView(this);
    view_->setObjectName("tblCompare");
    view_->setModel(model_);
    view_->setSelectionBehavior(QAbstractItemView::SelectColumns);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setWordWrap(true);
    // Tab and Shift+Tab leave the table; the arrow keys move inside it.
    view_->setTabKeyNavigation(false);
    // The captions stand in the row header, which stays in place when the variants scroll
    // sideways; their own column is hidden.
    view_->verticalHeader()->setVisible(true);
    view_->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QPushButton* add = Button(this, tc::kAddFiles, "btnAddFiles");
    QPushButton* current = Button(this, tc::kAddCurrent, "btnAddCurrent");
    QPushButton* remove = Button(this, tc::kRemove, "btnRemove");
    chkOnlyDifferences_ = new QCheckBox(Q(tc::kOnlyDifferences), this);
    chkOnlyDifferences_->setObjectName("chkOnlyDifferences");
    QPushButton* print = Button(this, tc::kPrint, "btnPrint");
    QPushButton* close = Button(this, texts::common::kClose, "btnClose");
    connect(add, &QPushButton::clicked, this, &TfrmCompare::btnAddFilesClick);
    connect(current, &QPushButton::clicked, this, &TfrmCompare::btnAddCurrentClick);
    connect(remove, &QPushButton::clicked, this, &TfrmCompare::btnRemoveClick);
    connect(chkOnlyDifferences_, &QCheckBox::clicked, this, &TfrmCompare::chkOnlyDifferencesClick);
    connect(print, &QPushButton::clicked, this, &TfrmCompare::btnPrintClick);
    connect(close, &QPushButton::clicked, this, &TfrmCompare::btnCloseClick);

    auto* top = new QHBoxLayout;
    top->addWidget(add);
    top->addWidget(current);
    top->addWidget(remove);
    top->addStretch();
    top->addWidget(chkOnlyDifferences_);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(print);
    bottom->addStretch();
    bottom->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view_, 1);
    layout->addLayout(bottom);
}

void TfrmCompare::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        FormActivate();
    }
}

void TfrmCompare::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    FormActivate();
}

void TfrmCompare::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) {
        event->acceptProposedAction();
    }
}

void TfrmCompare::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) {
            paths << url.toLocalFile();
        }
    }
    AddFiles(paths);
    event->acceptProposedAction();
}

// Files and the current assessment may change while the window is open; a showing loads
// and walks them anew when one of them did.
void TfrmCompare::FormActivate() {
    const bool current = std::any_of(sources_.begin(), sources_.end(),
                                     [](const Source& s) { return s.path.isEmpty(); });
    if (refreshes_ > 0 && Stamps() == shownStamps_ &&
        (!current || (shownRecord_ && *shownRecord_ == context_.record))) {
        return;
    }
    Refresh();
}

std::vector<QString> TfrmCompare::Stamps() const {
    std::vector<QString> stamps;
    for (const Source& s : sources_) {
        if (s.path.isEmpty()) {
            stamps.push_back({});
            continue;
        }
        const QFileInfo info(s.path);
        stamps.push_back(s.path + '|' + QString::number(info.exists() ? info.size() : -1) + '|' +
                         QString::number(info.lastModified().toMSecsSinceEpoch()) + '|' +
                         QString::number(info.metadataChangeTime().toMSecsSinceEpoch()));
    }
    stamps.push_back(chkOnlyDifferences_->isChecked() ? "1" : "0");
    return stamps;
}

bool TfrmCompare::Room(int more) {
    if (static_cast<int>(sources_.size()) + more > kMaxVariants) {
        Messages::Show(this, Q(tc::kTooMany));
        return false;
    }
    return true;
}

void TfrmCompare::AddFiles(const QStringList& paths) {
    if (paths.isEmpty() || !Room(static_cast<int>(paths.size()))) {
        return;
    }
    for (const QString& path : paths) {
        sources_.push_back({path});
    }
    Refresh();
}

void TfrmCompare::btnAddFilesClick() {
    const FileChooser& chooser = CurrentChooser();
    AddFiles(chooser ? chooser(this) : RealChooser(this));
}

void TfrmCompare::btnAddCurrentClick() {
    if (Room(1)) {
        sources_.push_back({});
        Refresh();
    }
}

void TfrmCompare::btnRemoveClick() {
    const QModelIndexList columns = view_->selectionModel()->selectedColumns();
    const int column =
        columns.isEmpty() ? view_->currentIndex().column() : columns.front().column();
    // Column 0 holds the captions.
    if (column < 1 || column > static_cast<int>(sources_.size())) {
        Messages::Show(this, Q(tc::kChooseAColumn));
        return;
    }
    sources_.erase(sources_.begin() + (column - 1));
    Refresh();
}

void TfrmCompare::chkOnlyDifferencesClick() {
    Refresh();
}

void TfrmCompare::btnPrintClick() {
    if (sources_.size() < 2) {
        Messages::Show(this, Q(tc::kTooFew));
        return;
    }
    const report::Comparison shown = comparison_;
    const bool only = chkOnlyDifferences_->isChecked();
    ShowReportPreview(
        this, [shown, only] { return report::BuildComparisonPages(shown, only); },
        QStringLiteral("Variantenvergleich.pdf"));
}

void TfrmCompare::btnCloseClick() {
    hide();
}

void TfrmCompare::Refresh() {
    ++refreshes_;
    shownStamps_ = Stamps();
    shownRecord_.reset();
    if (std::any_of(sources_.begin(), sources_.end(),
                    [](const Source& s) { return s.path.isEmpty(); })) {
        shownRecord_ = context_.record;
    }
    RunGuarded(this, [this] {
        std::vector<report::ComparedVariant> variants;
        for (const Source& s : sources_) {
            variants.push_back(s.path.isEmpty()
                                   ? report::CurrentVariant(context_.record)
                                   : report::LoadVariant(LocalPath(s.path), context_.startYear));
        }
        comparison_ = report::CompareVariants(std::move(variants), DecimalSeparator());
        model_->SetTable(report::ComparisonTable(comparison_, chkOnlyDifferences_->isChecked(), 0,
                                                 kMaxVariants));
        view_->resizeColumnsToContents();
        for (int c = 0; c < model_->columnCount(); ++c) {
            view_->setColumnWidth(c, std::min(view_->columnWidth(c), c == 0 ? 260 : 230));
        }
        view_->setColumnHidden(0, model_->columnCount() > 0);
        view_->resizeRowsToContents();
    });
}

void TfrmCompare::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace brisolt::gui
