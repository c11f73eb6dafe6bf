#include "gui/shell/intro_screen.h"

#include "gui/shell/qt_text.h"
#include "key/core/texts.h"
#include "key/core/texts_results.h"
#include "key/core/texts_rotation.h"

namespace brisolt::gui {

TfrmIntro::TfrmIntro(AppContext& context)
    : WizardScreen(context, ScreenId::Intro, Q(texts::intro::kCaption), kStandardCanvas) {
    AddRowButton(Q(texts::common::kBack), "btnBack", 0, [this] { Context().Navigate(this, ScreenId::Main); });
    AddRowButton(Q(texts::common::kNext), "btnNext", 1, [this] { Context().Navigate(this, ScreenId::Business); });
    AddRowButton(Q(texts::common::kClose), "btnClose", -1, [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kNext), "mniNext", [this] { Context().Navigate(this, ScreenId::Business); });
    AddMenuEntry(FileMenu(), Q(texts::common::kBack), "mniBack", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(FileMenu(), Q(texts::common::kClose), "mniClose", [this] { Context().Navigate(this, ScreenId::Main); });
    AddMenuEntry(HelpMenu(), Q(texts::common::kImprint), "mniVersioninfo", [this] { Context().OpenHelpPage(help::kImprint); });
}

void TfrmIntro::Activated() {}

} // namespace brisolt::gui
