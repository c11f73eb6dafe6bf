#pragma once
// Step 4: the rill questions. Which groups are shown and which answers are checked is the
// business of Step4Form; this window mirrors it after every click and activation.

#include <array>

#include "gui/shell/wizard_screen.h"
#include "key/results/step4_form.h"

namespace brisolt::gui {

class RadioGroup;

class TfrmStep4 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep4(AppContext& context);

    RadioGroup* Group(RillQuestion question) const {
        return groups_[static_cast<std::size_t>(question)];
    }

protected:
    void FormActivate() override;

private slots:
    void ragChannelsClick(int position);
    void ragNumChannelsClick(int position);
    void ragDepthChannelsClick(int position);
    void ragDepthChannelClick(int position);
    void ragWidthChannelClick(int position);
    void ragFrequencyChannelsClick(int position);
    void btnBackClick();
    void btnNextClick();
    void btnAssistanceClick();

private:
    void ShowForm();

    Step4Form form_;
    std::array<RadioGroup*, kRillQuestionCount> groups_{};
};

} // namespace brisolt::gui
