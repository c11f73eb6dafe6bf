#pragma once
// Step 2: the crop rotation of up to ten years, five choices a year, and the crop rotation
// factor C. The window only mirrors `Step2Form` and forwards every choice, field exit and
// command to it.

#include <array>
#include <functional>

#include "gui/shell/wizard_screen.h"
#include "key/rotation/step2_form.h"

class QComboBox;
class QLineEdit;

namespace brisolt::gui {

class TfrmStep2 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep2(AppContext& context);

protected:
    void Activated() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct YearWidgets {
        QLineEdit* year = nullptr;
        std::array<QComboBox*, kChoicesPerYear> choices{}; // a ... e
    };

    void BuildYearBlock(int n);
    void BuildTabOrder();

    // Wraps a command: the widgets show the form state afterwards, also when it failed.
    std::function<void()> Command(std::function<void()> body);
    void Refresh();

    void ChoiceActivated(int n, Choice choice, int position);
    void Year1Exit();
    void RemarkExit();

    void Calculate();
    void ClearFields();
    void Next();
    void PrintStep2();

    Step2Form form_;
    std::array<YearWidgets, kRotationYears> years_{};
    QLineEdit* yearsField_ = nullptr;
    QLineEdit* cField_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    bool commandRunning_ = false;
};

} // namespace brisolt::gui
