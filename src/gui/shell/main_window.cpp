#include "gui/shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_compare.h"
#include "key/files/calculation_file.h"

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
    AddMenuEntry(FileMenu(), Q(texts::common::kLoad), "mniLoadCalculation",
                 &TfrmMain::mniLoadCalculationClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    AddMenuEntry(FileMenu(), Q(texts::common::kSave), "mniSaveCalculation",
                 &TfrmMain::mniSaveCalculationClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    AddMenuEntry(FileMenu(), Q(texts::compare::kMenu), "mniCompare", &TfrmMain::mniCompareClick);
    AddMenuEntry(FileMenu(), Q(texts::common::kExit), "mniExit", &TfrmMain::btnExitClick)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo",
                 &TfrmMain::mniVersioninfoClick);
    next_->setFocus();
    next_->setDefault(true);
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
    quitting_ = quitting_ || !HasUnsavedChanges(Context().record) ||
                Messages::Ask(this, Q(texts::mainwindow::kQuitUnsaved));
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
