#include "gui/files/file_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"

namespace brisolt::gui {

FileWindow::FileWindow(AppContext& context, ScreenId id, const QString& caption)
    : context_(context), fileName_(new QLineEdit(this)), folder_(new QPushButton(this)) {
    (void)id;
    setWindowTitle(caption);
    setFixedSize(528, 96);
    auto* label = new QLabel(Q(texts::filewindows::kFileLabel), this);
    label->setGeometry(16, 12, 60, 20);
    fileName_->setObjectName("edtFileName");
    fileName_->setGeometry(16, 32, 457, 23);
    folder_->setObjectName("bbtFolder");
    folder_->setGeometry(480, 31, 25, 25);
    folder_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    connect(folder_, &QPushButton::clicked, this, [this] { RunGuarded(this, [this] { FolderClick(); }); });
    auto* close = new QPushButton(Q(texts::common::kClose), this);
    close->setObjectName("btnClose");
    close->setGeometry(400, 64, 105, 25);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void FileWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
}

TfrmOpen::TfrmOpen(AppContext& context)
    : FileWindow(context, ScreenId::Open, Q(texts::filewindows::kLoadCaption)) {}

void TfrmOpen::FolderClick() {}

TfrmSave::TfrmSave(AppContext& context)
    : FileWindow(context, ScreenId::Save, Q(texts::filewindows::kSaveCaption)) {}

void TfrmSave::FolderClick() {}

void TfrmSave::changeEvent(QEvent* event) { FileWindow::changeEvent(event); }

} // namespace brisolt::gui
