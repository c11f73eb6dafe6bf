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

    // Asks how many years the repeated rotation should reach (proposing `proposed`); 0 when
    // cancelled.
    using RepeatAsker = std::function<int(QWidget* parent, int proposed)>;
    // Replaces the question (tests); an empty function restores it.
    static void SetRepeatAsker(RepeatAsker asker);

protected:
    void FormActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    // Any of the fifty choices cmbYear1a ... cmbYear10e.
    void cmbYearChange(int position);
    void edtYear1Change(const QString& text);
    void edtRemarkChange(const QString& text);
    void btnPrintStep2Click();
    void btnBackClick();
    void btnNextClick();
    void btnCalculateClick();
    void btnClearFieldsClick();
    void btnAssistanceClick();
    // The menu entry prints the record as it stands, without the checks.
    void mniPrintStep2Click();
    // "Fruchtfolge wiederholen": the first years copied into the empty years after them.
    void mniRepeatRotationClick();

private:
    struct YearWidgets {
        QLineEdit* year = nullptr;
        std::array<QComboBox*, kChoicesPerYear> choices{}; // a ... e
    };

    void BuildYearBlock(int n);
    void BuildTabOrder();

    // Runs a command: the widgets show the form state afterwards, also when it failed.
    void Command(const std::function<void()>& body);
    void Refresh();

    // Leaving the year-1 field or the remark (see eventFilter).
    void edtYear1Exit();
    void edtRemarkExit();

    Step2Form form_;
    std::array<YearWidgets, kRotationYears> years_{};
    QLineEdit* yearsField_ = nullptr;
    QLineEdit* cField_ = nullptr;
    QLineEdit* remark_ = nullptr;
    QPushButton* nextButton_ = nullptr;
    QPushButton* calculateButton_ = nullptr;
    bool commandRunning_ = false;
};

} // namespace brisolt::gui
