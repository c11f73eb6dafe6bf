#include "gui/results/step3_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmStep3::TfrmStep3(AppContext& context)
    : WizardScreen(context, ScreenId::Step3, Q(texts::results::step3::kCaption), kStandardCanvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Step2); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Context().Navigate(this, ScreenId::Step4); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Context().Navigate(this, ScreenId::Step4); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Step2); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep3::Activated() {}

} // namespace brisolt::gui
