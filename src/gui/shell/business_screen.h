#pragma once
// The farm data screen: the eight fields that identify the assessment.

#include <string>
#include <utility>
#include <vector>

#include "gui/shell/wizard_screen.h"
#include "key/farm/farm_data_form.h"

class QLineEdit;

namespace brisolt::gui {

class TfrmBusiness : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmBusiness(AppContext& context);

protected:
    void FormActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Any change of one of the seven text fields.
    void edtTextChange(const QString& text);
    void edtYearChange(const QString& text);
    void btnBackClick();
    void btnNextClick();

private:
    // A text field whose every change is copied into the record.
    QLineEdit* AddTextField(const QString& objectName, int y, int width,
                            std::string FarmDataForm::*field);
    void ShowForm();
    // Leaving a field (see eventFilter).
    void edtYearExit();
    void edtTextExit(QLineEdit* edit, std::string FarmDataForm::*field);

    FarmDataForm form_;
    QLineEdit* nameSurname_ = nullptr;
    QLineEdit* address1_ = nullptr;
    QLineEdit* address2_ = nullptr;
    QLineEdit* parzelle_ = nullptr;
    QLineEdit* variant_ = nullptr;
    QLineEdit* year_ = nullptr;
    QLineEdit* enteredBy_ = nullptr;
    QLineEdit* enteredOn_ = nullptr;
    std::vector<std::pair<QLineEdit*, std::string FarmDataForm::*>> textFields_;
};

} // namespace brisolt::gui
