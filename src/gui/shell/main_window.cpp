#include "gui/shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "gui/files/file_dialogs.h"
#include "gui/files/file_window.h"
#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_compare.h"
#include "key/files/calculation_file.h"
#include "key/startup.h"

namespace brisolt::gui {

TfrmMain::TfrmMain(AppContext& context)
    : WizardScreen(context, ScreenId::Main, Q(texts::mainwindow::kCaption), kStandardCanvas) {
    AddTitle(Q(texts::mainwindow::kTitle), QRect(16, 8, 656, 36));
    QLabel* subtitle =
        AddLabel(Q(texts::mainwindow::kSubtitle), QRect(16, 46, 632, 20), "labSubtitle");
    subtitle->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    picture_ = AddLabel(QString(), QRect(100, 72, 489, 305), "imgMain");
    picture_->setFrameShape(QFrame::StyledPanel);
    picture_->setAlignment(Qt::AlignCenter);
    QLabel* region =
        AddLabel(Q(texts::mainwindow::kRegionLine), QRect(16, 384, 632, 20), "labRegion");
    region->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    next_ = AddRowButton(Q(texts::common::kNext), "btnNext", 0, &TfrmMain::btnNextClick);
    AddRowButton(Q(texts::common::kExit), "btnExit", -1, &TfrmMain::btnExitClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", &TfrmMain::btnNextClick);
    AddMenuEntry(FileMenu(), Q(texts::mainwindow::kNew), "mniNew", &TfrmMain::mniNewClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    AddMenuEntry(FileMenu(), Q(texts::common::kLoad), "mniLoadCalculation",
                 &TfrmMain::mniLoadCalculationClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    recent_ = FileMenu()->addMenu(Q(texts::mainwindow::kRecent));
    recent_->setObjectName("mnuRecent");
    connect(recent_, &QMenu::aboutToShow, this, &TfrmMain::mnuRecentShow);
    // "Speichern" writes to the assessment's file at once; "Berechnung speichern" opens the
    // save window, to save under another name.
    AddMenuEntry(FileMenu(), Q(texts::mainwindow::kSave), "mniSave", &TfrmMain::mniSaveClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    AddMenuEntry(FileMenu(), Q(texts::common::kSave), "mniSaveCalculation",
                 &TfrmMain::mniSaveCalculationClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    undo_ =
        AddMenuEntry(FileMenu(), Q(texts::mainwindow::kUndo), "mniUndo", &TfrmMain::mniUndoClick);
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    redo_ =
        AddMenuEntry(FileMenu(), Q(texts::mainwindow::kRedo), "mniRedo", &TfrmMain::mniRedoClick);
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
    AddMenuEntry(FileMenu(), Q(texts::compare::kMenu), "mniCompare", &TfrmMain::mniCompareClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kExit), "mniExit", &TfrmMain::btnExitClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmMain::mniVersioninfoClick);
    next_->setFocus();
    next_->setDefault(true);
    mnuRecentShow();
    context.fileChanged = [this] {
        UpdateTitle();
        mnuRecentShow();
    };
    // Any input anywhere may change the assessment: the "*" follows at the next key or click.
    qApp->installEventFilter(this);
    UpdateTitle();
}

void TfrmMain::UpdateTitle() {
    const QString name = Context().TitleName();
    const QString title = name.isEmpty() ? Q(texts::mainwindow::kCaption)
                                         : Q(texts::mainwindow::kFileTitleStart) + name;
    const QString shown = title + (HasUnsavedChanges(Context().record) ? "*" : "");
    if (windowTitle() != shown) {
        setWindowTitle(shown);
    }
    // The screen in front shows the same, since it hides this one.
    Context().UpdateTitles();
    undo_->setEnabled(Context().CanUndo());
    redo_->setEnabled(Context().CanRedo());
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyRelease:
    case QEvent::MouseButtonRelease:
    case QEvent::WindowActivate:
    case QEvent::FocusOut:
        UpdateTitle();
        break;
    default:
        break;
    }
    return WizardScreen::eventFilter(watched, event);
}

void TfrmMain::mniNewClick() {
    if (!Context().MayReplace(this)) {
        return;
    }
    // Open screens show the fresh assessment when they are next activated, as after a load.
    Context().ReplaceRecord(FreshRecord(Context().startYear), {});
}

void TfrmMain::mniUndoClick() {
    Context().Undo();
}

void TfrmMain::mniRedoClick() {
    Context().Redo();
}

void TfrmMain::mniSaveClick() {
    Context().Save(this);
}

void TfrmMain::mnuRecentShow() {
    recent_->clear();
    const QStringList files = AppContext::RecentFiles();
    for (const QString& file : files) {
        QAction* action = recent_->addAction(file);
        connect(action, &QAction::triggered, this, [this, file] {
            if (!IsExistingFile(file)) {
                // A file moved or deleted since: offered for removal from the list.
                if (Messages::Ask(this, Q(texts::mainwindow::kRecentGone(U(file))))) {
                    AppContext::ForgetRecentFile(file);
                    mnuRecentShow();
                }
                return;
            }
            if (auto* open = qobject_cast<TfrmOpen*>(Context().Screen(ScreenId::Open))) {
                open->LoadFile(file);
            }
        });
    }
    recent_->setEnabled(!files.isEmpty());
}

void TfrmMain::btnNextClick() {
    Context().Navigate(nullptr, ScreenId::Intro);
}

void TfrmMain::btnExitClick() {
    if (MayQuit()) {
        EndProgram();
    }
}

void TfrmMain::mniLoadCalculationClick() {
    Context().ShowOnTop(ScreenId::Open);
}

void TfrmMain::mniSaveCalculationClick() {
    Context().ShowOnTop(ScreenId::Save);
}

void TfrmMain::mniCompareClick() {
    Context().OpenComparison();
}

bool TfrmMain::MayQuit() {
    // Once agreed, the closing of the windows that follows asks nothing more.
    quitting_ = quitting_ || Context().MayReplace(this, texts::mainwindow::kQuitAskSave);
    return quitting_;
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    // Closing the main window ends the program, as "Beenden" does.
    if (!MayQuit()) {
        event->ignore();
        return;
    }
    event->accept();
    EndProgram();
}

void TfrmMain::EndProgram() {
    // Leaves the event loop whatever the other windows say: quit() would first close every
    // window, and a wizard screen only hides when closed, which refuses the quit.
    QApplication::exit(0);
}

} // namespace brisolt::gui
