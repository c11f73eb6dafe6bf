#pragma once
// Step 1: the site of the parcel (region, gradient, flow length, soil type, stone cover,
// management direction). Everything it decides is in Step1Form; this window shows the
// form and forwards the user's actions to it.

#include "gui/shell/wizard_screen.h"
#include "key/site/step1_form.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace brisolt::gui {

class RadioGroup;

class TfrmStep1 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep1(AppContext& context);

protected:
    void Activated() override;

private:
    // Which number field was left.
    enum class NumberField { Gradient, FloatDistance, Stones };

    QLineEdit* AddNumberField(const QString& objectName, const QRect& rect, const QString& unit,
                              std::string Step1Form::*text, NumberField field);
    QPushButton* AddHelpButton(const QString& objectName, int y, int page);
    void NumberFieldExit(NumberField field);
    void Next();
    // Copies the form state into every widget, without echoing into the handlers.
    void ShowForm();

    Step1Form form_;
    QComboBox* cmbRegion_ = nullptr;
    QLabel* labRegionDescription_ = nullptr;
    QLineEdit* edtGradient_ = nullptr;
    QLineEdit* edtFloatDistance_ = nullptr;
    QComboBox* cmbSoilType_ = nullptr;
    QLabel* labSoilTypeDescription_ = nullptr;
    QLineEdit* edtStones_ = nullptr;
    RadioGroup* rgrEntertainment_ = nullptr;
};

} // namespace brisolt::gui
