#pragma once

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmStep7 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep7(AppContext& context);

protected:
    void Activated() override;
};

} // namespace brisolt::gui
