#pragma once
// Gradient and flow length of one parcel, measured on an elevation model instead of paced in
// the field: the user chooses the raster (one file, several tiles or a folder of them) and the
// parcel layer, picks the parcel, sees it on a hillshade with its longest flow path and the
// concentrated flow in and around it, and takes the figures into step 1. The window only
// measures; step 1 puts the figures into the assessment as if they had been typed.

#include <QDialog>
#include <QStringList>
#include <memory>
#include <optional>

#include "terrain/terrain.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace brisolt::gui {

class ParcelTableModel;
class TerrainView;

class TfrmTerrain : public QDialog {
    Q_OBJECT
public:
    explicit TfrmTerrain(QWidget* parent);
    ~TfrmTerrain() override;

    // Open a raster or a parcel layer as the "Wählen …" buttons do, without the file dialog.
    // A file that does not open shows the error box and leaves the window as it was; with
    // `quiet` nothing is shown (files remembered from an earlier run). Several files or a
    // folder make one raster of tiles.
    bool OpenRaster(const QString& path, bool quiet = false);
    bool OpenRaster(const QStringList& paths, bool quiet = false);
    // `layer` empty: the remembered layer if the file has it, otherwise the first.
    bool OpenParcels(const QString& path, const QString& layer = {}, bool quiet = false);
    // Opens the raster and the layer chosen last time, when they are still there.
    void OpenRemembered();
    // Chooses the parcel with this id in the list; false when the list has none.
    bool SelectParcel(const QString& id);

    // The figures of the chosen parcel, as step 1's fields hold them. Meaningful only when
    // Usable().
    bool Usable() const;
    int Gradient() const;
    int FlowLength() const;

protected:
    // Enter in the search field chooses the first parcel found instead of "Übernehmen".
    bool eventFilter(QObject* watched, QEvent* event) override;

private slots:
    void btnRasterClick();
    void btnRasterFolderClick();
    void btnParcelsClick();
    void cmbLayerChange(int index);
    void edtSearchChange(const QString& text);
    void ParcelChosen();

private:
    QString RasterStart() const;
    // Reads a layer of the parcel file; on failure keeps what was there.
    bool ReadLayer(const QString& path, const QString& layer, bool quiet);
    void ClearParcels();
    void ShowParcel(int row);
    void ShowFigures();
    void ShowMessages();

    std::unique_ptr<terrain::ElevationModel> model_;
    std::optional<terrain::ParcelLayer> layer_;
    QString parcelsPath_;
    QStringList layerMessages_;
    int parcel_ = -1; // row of the chosen parcel in the layer
    std::optional<terrain::ParcelTerrain> result_;

    QLineEdit* edtRaster_ = nullptr;
    QLabel* labRasterInfo_ = nullptr;
    QLineEdit* edtParcels_ = nullptr;
    QPushButton* btnParcels_ = nullptr;
    QComboBox* cmbLayer_ = nullptr;
    QLabel* labParcelCount_ = nullptr;
    QLineEdit* edtSearch_ = nullptr;
    QTableView* tblParcels_ = nullptr;
    ParcelTableModel* parcelModel_ = nullptr;
    QSortFilterProxyModel* parcelFilter_ = nullptr;
    TerrainView* view_ = nullptr;
    QLabel* labGradientMean_ = nullptr;
    QLabel* labGradientPercentiles_ = nullptr;
    QLabel* labFlowLength_ = nullptr;
    QLabel* labFlowLengthSpread_ = nullptr;
    QLabel* labCellsUsed_ = nullptr;
    QLabel* labCovered_ = nullptr;
    QLabel* labForStep1_ = nullptr;
    QLabel* labConcentratedFlow_ = nullptr;
    QLabel* labMessages_ = nullptr;
    QPushButton* btnApply_ = nullptr;
};

} // namespace brisolt::gui
