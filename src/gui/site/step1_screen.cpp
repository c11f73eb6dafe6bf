#include "gui/site/step1_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmStep1::TfrmStep1(AppContext& context)
    : WizardScreen(context, ScreenId::Step1, Q(texts::step1::kCaption), kStandardCanvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Business); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Context().Navigate(this, ScreenId::Step2); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Context().Navigate(this, ScreenId::Step2); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Business); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmStep1::Activated() {}

} // namespace brisolt::gui
