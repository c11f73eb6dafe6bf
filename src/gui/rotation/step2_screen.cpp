#include "gui/rotation/step2_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmStep2::TfrmStep2(AppContext& context)
    : WizardScreen(context, ScreenId::Step2, Q(texts::step2::kCaption), kStep2Canvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Step1); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Context().Navigate(this, ScreenId::Step3); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Context().Navigate(this, ScreenId::Step3); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Step1); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kHelp), "mniAssistance", [this] { Context().OpenHelpPage(help::kRotation); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep2::Activated() {}

} // namespace brisolt::gui
