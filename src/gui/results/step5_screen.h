#pragma once
// Step 5: the total erosion risk EFL = EF + EL and the average soil loss, recomputed each
// time the window becomes active.

#include "gui/shell/wizard_screen.h"

class QLineEdit;

namespace brisolt::gui {

class TfrmStep5 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep5(AppContext& context);

protected:
    void FormActivate() override;

private slots:
    void btnBackClick();
    void btnNextClick();
    void btnAssistanceClick();

private:
    QLineEdit* edtEFL_ = nullptr;
    QLineEdit* edtSoilLossMM_ = nullptr;
    QLineEdit* edtSoilLossTHA_ = nullptr;
};

} // namespace brisolt::gui
