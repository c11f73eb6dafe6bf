#include "gui/results/step7_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmStep7::TfrmStep7(AppContext& context)
    : WizardScreen(context, ScreenId::Step7, Q(texts::results::step7::kCaption), kStandardCanvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Step6); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Step6); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance", [this] { Context().OpenHelpPage(help::kFertilityRisk); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep7::Activated() {}

} // namespace brisolt::gui
