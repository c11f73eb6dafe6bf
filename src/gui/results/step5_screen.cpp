#include "gui/results/step5_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmStep5::TfrmStep5(AppContext& context)
    : WizardScreen(context, ScreenId::Step5, Q(texts::results::step5::kCaption), kStandardCanvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Step4); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Context().Navigate(this, ScreenId::Step6); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Context().Navigate(this, ScreenId::Step6); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Step4); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance", [this] { Context().OpenHelpPage(help::kSoilLoss); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep5::Activated() {}

} // namespace brisolt::gui
