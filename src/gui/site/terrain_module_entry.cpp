// The terrain module's side of terrain_window.h: its entry point, and the program's message
// boxes and file dialogs taken over from the host that loaded it.

#include <QtGlobal>

#include "gui/shell/messages.h"
#include "gui/site/terrain_dialog.h"
#include "key/core/number_text.h"

namespace brisolt::gui {

namespace {
TerrainHost& Host() {
    static TerrainHost host;
    return host;
}
} // namespace

// The module has no boxes of its own: the program shows them, as it shows its own.
void Messages::Show(QWidget* parent, const QString& text) {
    if (Host().showMessage) {
        Host().showMessage(parent, text);
    }
}

void Messages::ShowError(QWidget* parent, const QString& text) {
    if (Host().showError) {
        Host().showError(parent, text);
    }
}

} // namespace brisolt::gui

extern "C" Q_DECL_EXPORT brisolt::gui::TerrainWindow*
BrisoltCreateTerrainWindow(QWidget* parent, const brisolt::gui::TerrainHost& host) {
    using namespace brisolt::gui;
    Host() = host;
    brisolt::SetDecimalSeparator(host.decimalSeparator);
    // The module's dialogs are the program's: its folder, its tests' answers.
    SetFileDialog(host.askForFiles);
    return new TfrmTerrain(parent);
}
