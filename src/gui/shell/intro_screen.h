#pragma once
// The overview: the seven steps of the key, each with the place where it is done.

#include "gui/shell/wizard_screen.h"

namespace brisolt::gui {

class TfrmIntro : public WizardScreen {
    Q_OBJECT
public:
    explicit TfrmIntro(AppContext& context);

private slots:
    void btnBackClick();
    void btnNextClick();
};

} // namespace brisolt::gui
