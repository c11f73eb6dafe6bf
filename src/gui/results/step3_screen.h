#pragma once
// Step 3: the basic risk from sheet erosion EF = ST' x C, recomputed each time the window
// becomes active.

#include "gui/shell/wizard_screen.h"

class QLineEdit;

namespace brisolt::gui {

class TfrmStep3 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep3(AppContext& context);

protected:
    void FormActivate() override;

private slots:
    void btnBackClick();
    void btnNextClick();

private:
    QLineEdit* edtEF_ = nullptr;
};

} // namespace brisolt::gui
