#pragma once

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmIntro : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmIntro(AppContext& context);

protected:
    void Activated() override;
};

} // namespace brisolt::gui
