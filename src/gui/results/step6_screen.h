#pragma once

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmStep6 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep6(AppContext& context);

protected:
    void Activated() override;
};

} // namespace brisolt::gui
