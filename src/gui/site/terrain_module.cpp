#include <QCoreApplication>
#include <QDir>
#include <QLibrary>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/site/terrain_window.h"
#include "key/core/number_text.h"
#include "key/core/texts_terrain.h"

namespace brisolt::gui {

TerrainWindow* CreateTerrainWindow(QWidget* parent, QString& error) {
    static CreateTerrainWindowFunction create = nullptr;
    if (create == nullptr) {
        // Beside the program (Windows, the build folder), in the program's own library folder
        // (an installed Linux program), or one folder up (tests and tools of the build).
        const QString here = QCoreApplication::applicationDirPath();
        const QString folders[] = {here, here + QStringLiteral("/" BRISOLT_MODULE_DIR),
                                   here + QStringLiteral("/..")};
        QString why;
        for (const QString& folder : folders) {
            QLibrary module(QDir(folder).filePath(QString::fromLatin1(kTerrainModuleName)));
            if (!module.load()) {
                why = why.isEmpty() ? module.errorString() : why;
                continue;
            }
            create =
                reinterpret_cast<CreateTerrainWindowFunction>(module.resolve(kCreateTerrainWindow));
            if (create != nullptr) {
                break;
            }
            why = module.errorString();
        }
        if (create == nullptr) {
            error = Q(texts::terrain::kModuleMissing(U(why)));
            return nullptr;
        }
    }
    TerrainHost host;
    host.showError = [](QWidget* p, const QString& text) { Messages::ShowError(p, text); };
    host.showMessage = [](QWidget* p, const QString& text) { Messages::Show(p, text); };
    host.askForFiles = [](QWidget* p, const FileDialogRequest& request) {
        return AskForFiles(p, request);
    };
    host.decimalSeparator = DecimalSeparator();
    return create(parent, host);
}

} // namespace brisolt::gui
