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

private:
    QLabel* picture_;
    QPushButton* next_;
};

} // namespace brisolt::gui
