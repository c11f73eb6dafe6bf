#pragma once
// Step 6: how the soil depth was determined and the depth itself. The regional standard
// fills the depth in and locks the field; Step6Form decides, this window mirrors it.

#include "gui/shell/wizard_screen.h"
#include "key/results/step6_form.h"

class QLineEdit;

namespace brisolt::gui {

class RadioGroup;

class TfrmStep6 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep6(AppContext& context);

protected:
    void FormActivate() override;

private slots:
    void ragMethodClick(int position);
    void edtDepthSoilChange(const QString& text);
    void edtDepthSoilExit();
    void btnBackClick();
    void btnNextClick();
    void btnAssistanceClick();

private:
    void ShowForm();

    Step6Form form_;
    RadioGroup* ragMethod_ = nullptr;
    QLineEdit* edtDepthSoil_ = nullptr;
};

} // namespace brisolt::gui
