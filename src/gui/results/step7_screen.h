#pragma once
// Step 7: the risk level of soil fertility GBF, recomputed each time the window becomes
// active, and the end-of-assessment commands (print the evaluation, print the rotation,
// save the calculation).

#include "gui/shell/wizard_screen.h"

class QLabel;
class QLineEdit;

namespace brisolt::gui {

class TfrmStep7 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep7(AppContext& context);

    // The framed area for the legend of the five levels, centred below the title. It is
    // empty here; the legend picture is set into it with QLabel::setPixmap.
    QLabel* Legend() const { return imgLegend_; }

protected:
    void FormActivate() override;

private slots:
    void btnMeasuresClick();
    // "Massnahmenblatt drucken" (menu only: the button row has no room).
    void mniMeasuresSheetClick();
    void btnBackClick();
    void btnPrintStep2Click();
    void btnPrintClick();
    void btnAssistanceClick();
    void mniSaveCalculationsClick();

private:
    QLabel* imgLegend_ = nullptr;
    QLineEdit* edtGBF_ = nullptr;
};

} // namespace brisolt::gui
