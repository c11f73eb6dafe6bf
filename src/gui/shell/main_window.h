#pragma once
// The main window: title, picture, "Weiter" into the wizard, loading, saving, "Beenden".

#include "gui/shell/wizard_screen.h"

class QAction;
class QMenu;
class QPushButton;
class QLabel;

namespace brisolt::gui {

class TfrmMain : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmMain(AppContext& context);

    // The picture area of the window (the eroded field photograph goes here).
    QLabel* Picture() const { return picture_; }
    QPushButton* NextButton() const { return next_; }

    // The title: the current file's name, "*" while the assessment has unsaved changes.
    void UpdateTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void btnNextClick();
    void btnExitClick();
    void mniNewClick();
    void mniUndoClick();
    void mniRedoClick();
    void mniSaveClick();
    void mnuRecentShow();
    void mniLoadCalculationClick();
    void mniSaveCalculationClick();
    void mniCompareClick();

private:
    // Whether the program may end: at once when nothing is unsaved, otherwise as the user
    // answers.
    bool MayQuit();
    static void EndProgram();

    QLabel* picture_;
    QPushButton* next_;
    QMenu* recent_ = nullptr;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    bool quitting_ = false;
};

} // namespace brisolt::gui
