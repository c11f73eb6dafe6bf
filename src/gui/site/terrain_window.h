#pragma once
// The elevation-model window of step 1 lives in a module of its own, loaded the first time the
// user opens it: GDAL and everything it pulls in (well over half of the program's libraries)
// then costs nothing at start. This header is all the program and the module share.

#include <QDialog>
#include <QString>
#include <QStringList>
#include <functional>

#include "gui/files/file_dialogs.h"

namespace brisolt::gui {

// What the window offers step 1 (and the tests).
class TerrainWindow : public QDialog {
public:
    using QDialog::QDialog;

    // Open a raster or a parcel layer as the "Wählen …" buttons do, without the file dialog.
    // A file that does not open shows the error box and leaves the window as it was; with
    // `quiet` nothing is shown (files remembered from an earlier run). Several files or a
    // folder make one raster of tiles.
    virtual bool OpenRaster(const QStringList& paths, bool quiet = false) = 0;
    // `layer` empty: the remembered layer if the file has it, otherwise the first.
    virtual bool OpenParcels(const QString& path, const QString& layer = {},
                             bool quiet = false) = 0;
    // Opens the raster and the layer chosen last time, when they are still there.
    virtual void OpenRemembered() = 0;
    // Chooses the parcel with this id in the list; false when the list has none.
    virtual bool SelectParcel(const QString& id) = 0;

    // The figures of the chosen parcel, as step 1's fields hold them. Meaningful only when
    // Usable().
    virtual bool Usable() const = 0;
    virtual int Gradient() const = 0;
    virtual int FlowLength() const = 0;
};

// What the module takes from the program, so that its boxes and file dialogs are the
// program's (and answer the tests as the program's do) and its numbers use the program's
// decimal separator.
struct TerrainHost {
    std::function<void(QWidget* parent, const QString& text)> showError;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
    std::function<QStringList(QWidget* parent, const FileDialogRequest&)> askForFiles;
    char decimalSeparator = '.';
};

// The module's one entry point.
using CreateTerrainWindowFunction = TerrainWindow* (*)(QWidget* parent, const TerrainHost& host);
inline constexpr const char* kCreateTerrainWindow = "BrisoltCreateTerrainWindow";
inline constexpr const char* kTerrainModuleName = "brisolt_terrain_window";

// Loads the module (once) and makes its window; null when the module is missing or broken,
// with `error` saying why (German).
TerrainWindow* CreateTerrainWindow(QWidget* parent, QString& error);

} // namespace brisolt::gui
