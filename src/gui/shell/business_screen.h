#pragma once

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmBusiness : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmBusiness(AppContext& context);

protected:
    void Activated() override;
};

} // namespace brisolt::gui
