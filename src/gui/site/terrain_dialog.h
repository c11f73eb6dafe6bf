#pragma once
// Gradient and flow length of one parcel, measured on an elevation model instead of paced in
// the field: the user chooses the raster (one file, several tiles or a folder of them) and the
// parcel layer, picks the parcel, sees it on a hillshade with its longest flow path and the
// concentrated flow in and around it, and takes the figures into step 1. The window only
// measures; step 1 puts the figures into the assessment as if they had been typed.

#include <QStringList>
#include <memory>
#include <optional>

#include "gui/site/terrain_window.h"
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

// Built into the terrain module only (see terrain_window.h); the program knows it by its
// interface.
class TfrmTerrain : public TerrainWindow {
    Q_OBJECT
public:
    explicit TfrmTerrain(QWidget* parent);
    ~TfrmTerrain() override;

    bool OpenRaster(const QStringList& paths, bool quiet = false) override;
    bool OpenParcels(const QString& path, const QString& layer = {}, bool quiet = false) override;
    void OpenRemembered() override;
    bool SelectParcel(const QString& id) override;
    bool Usable() const override;
    int Gradient() const override;
    int FlowLength() const override;

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
