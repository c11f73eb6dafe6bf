#pragma once
// The main window: title, picture, "Weiter" into the wizard, loading, saving, "Beenden".

#include "gui/shell/wizard_screen.h"

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

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    void btnNextClick();
    void btnExitClick();
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
    bool quitting_ = false;
};

} // namespace brisolt::gui
