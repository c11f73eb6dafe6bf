#include "gui/files/file_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/widget_refill.h"
#include "key/core/errors.h"
#include "key/core/texts.h"
#include "key/files/calculation_file.h"

namespace brisolt::gui {

namespace {

// The file types of both dialogs. The shown description carries its pattern inside angle
// brackets, which the dialog would not read as a pattern, so the pattern follows once more
// and the dialog hides that part.
QString Filter(std::string_view description, const char* pattern) {
    return Q(description) + " (" + QString::fromLatin1(pattern) + ')';
}

} // namespace

QStringList FileWindow::CalculationFileFilters() {
    return {Filter(texts::filewindows::kFilterDat, "*.dat"),
            Filter(texts::filewindows::kFilterLis, "*.lis"),
            Filter(texts::filewindows::kFilterTxt, "*.txt")};
}

void FileWindow::SetFileDialog(FileDialog dialog) {
    if (!dialog) {
        gui::SetFileDialog({});
        return;
    }
    gui::SetFileDialog([dialog](QWidget* parent, const FileDialogRequest& request) {
        return QStringList{dialog(parent, request)};
    });
}

FileWindow::FileWindow(AppContext& context, const QString& caption)
    : context_(context), fileName_(new QLineEdit(this)), folder_(new QPushButton(this)) {
    setWindowTitle(caption);
    setFixedSize(528, 96);
    auto* label = new QLabel(Q(texts::filewindows::kFileLabel), this);
    label->setObjectName("labFile");
    label->setGeometry(16, 10, 100, 20);
    fileName_->setObjectName("edtFileName");
    fileName_->setGeometry(16, 32, 457, 23);
    label->setBuddy(fileName_);
    folder_->setObjectName("bbtFolder");
    folder_->setGeometry(480, 31, 25, 25);
    folder_->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
    folder_->setAutoDefault(true);
    // Enter in the name field runs the command as the folder button does.
    connect(fileName_, &QLineEdit::returnPressed, folder_, &QPushButton::click);
    connect(fileName_, &QLineEdit::textEdited, this, [this] { typed_ = true; });
    connect(folder_, &QPushButton::clicked, this, &FileWindow::bbtFolderClick);
    auto* close = new QPushButton(Q(texts::common::kClose), this);
    close->setObjectName("btnClose");
    close->setGeometry(400, 64, 105, 25);
    close->setAutoDefault(true);
    connect(close, &QPushButton::clicked, this, &QWidget::hide);
}

void FileWindow::bbtFolderClick() {
    // The flag also covers the error box, which opens after the command has ended.
    inCommand_ = true;
    RunGuarded(this, [this] { FolderClick(); });
    inCommand_ = false;
}

QString FileWindow::AskForFile(bool save) {
    FileDialogRequest request;
    request.save = save;
    request.caption = windowTitle();
    request.proposedName = fileName_->text();
    request.nameFilters = CalculationFileFilters();
    request.selectedFilter = request.nameFilters.constLast();
    request.defaultSuffix = Q(texts::filewindows::kDefaultExtension);
    // The load window takes no write-protected file from the dialog; a typed name may be one.
    request.refuseReadOnly = !save;
    return gui::AskForFile(this, request);
}

void FileWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // However the window was opened (menu, shortcut, another window), the name comes first.
    fileName_->setFocus(Qt::OtherFocusReason);
}

void FileWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        hide();
        return;
    }
    QWidget::keyPressEvent(event);
}

void FileWindow::closeEvent(QCloseEvent* event) {
    // Closing by the title bar only hides the window; it lives until the program ends.
    event->ignore();
    hide();
}

TfrmOpen::TfrmOpen(AppContext& context)
    : FileWindow(context, Q(texts::filewindows::kLoadCaption)) {}

void TfrmOpen::FolderClick() {
    // Unsaved work is never thrown away without asking.
    if (!Context().MayReplace(this)) {
        return;
    }
    // A name that already points at a file is loaded without asking.
    QString path = FileName()->text();
    if (!IsExistingFile(path)) {
        path = AskForFile(false);
        if (path.isEmpty()) {
            return;
        }
    }
    LoadFile(path, false);
}

void TfrmOpen::LoadFile(const QString& path, bool ask) {
    // Started from the recent files or the command line, the load window is hidden: its boxes
    // stand over the main window then, not in a corner of the screen.
    QWidget* parent = isVisible() ? static_cast<QWidget*>(this) : Context().Screen(ScreenId::Main);
    if (ask && !Context().MayReplace(parent)) {
        return;
    }
    // The field keeps the path for the next load.
    FileName()->setText(path);
    SetTyped(false);
    RunGuarded(parent, [&] {
        // The whole assessment is replaced, or, on a failure, left as it was: the error ends
        // the command here and the window stays open for another try.
        AssessmentRecord loaded = Context().record;
        LoadOutcome outcome;
        try {
            outcome = LoadCalculation(loaded, LocalPath(path), Context().startYear);
        } catch (const FileError& error) {
            // Which file could not be read, whichever way it was chosen.
            std::string text = MessageOf(error);
            if (!text.empty() && text.back() == '.') {
                text.pop_back();
            }
            throw FileError(text + ": " + U(QDir::toNativeSeparators(path)));
        }
        if (outcome.loaded) {
            Context().ReplaceByLoad(std::move(loaded), path);
        }
        Messages::Show(parent, Q(outcome.message));
        hide();
    });
}

TfrmSave::TfrmSave(AppContext& context)
    : FileWindow(context, Q(texts::filewindows::kSaveCaption)) {}

void TfrmSave::FolderClick() {
    const QString path = AskForFile(true);
    if (path.isEmpty()) {
        FileName()->clear();
        return;
    }
    FileName()->setText(path);
    SetTyped(false);
    // A failed save leaves the old file as it was and shows the error; the window stays.
    const std::string message = SaveCalculation(Context().record, LocalPath(path));
    Context().SetFile(path);
    Messages::Show(this, Q(message));
    hide();
}

void TfrmSave::Propose(const QString& name) {
    if (name.isEmpty()) {
        return;
    }
    FileName()->setText(name);
    SetTyped(true);
}

void TfrmSave::showEvent(QShowEvent* event) {
    lostToOwnDialog_ = false;
    FileWindow::showEvent(event);
}

void TfrmSave::changeEvent(QEvent* event) {
    FileWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange) {
        return;
    }
    if (!isActiveWindow()) {
        lostToOwnDialog_ = InCommand();
        return;
    }
    // Each time the user comes to the window the name starts empty, so a save never goes
    // to a file chosen earlier without asking.
    // A name the user typed and has not used yet stays.
    if (UserActivated(this, event, InCommand() || lostToOwnDialog_) && !Typed()) {
        FileName()->clear();
    }
    lostToOwnDialog_ = false;
}

} // namespace brisolt::gui
