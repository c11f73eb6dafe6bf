#pragma once

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmStep2 : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmStep2(AppContext& context);

protected:
    void Activated() override;
};

} // namespace brisolt::gui
