// Step 1's "Gefälle und Fliessstrecke aus Höhenmodell …": a plane of known slope and a parcel
// layer written here, the parcel chosen in the window, and "Übernehmen" reaching step 1's
// fields and the assessment as typed figures would.

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_srs_api.h>
#include <vector>

#include "gui/shell/application.h"
#include "gui/site/step1_screen.h"
#include "gui/site/terrain_dialog.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/core/texts_terrain.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

// LV95: 400 x 300 m of 2 m cells, falling 8 % towards the east.
constexpr double kWest = 2600000;
constexpr double kNorth = 1200300;
constexpr int kColumns = 200;
constexpr int kRows = 150;
constexpr double kCell = 2;

void WritePlane(const QString& path) {
    GDALAllRegister();
    GDALDatasetH ds = GDALCreate(GDALGetDriverByName("GTiff"), QFile::encodeName(path).constData(),
                                 kColumns, kRows, 1, GDT_Float32, nullptr);
    QVERIFY(ds != nullptr);
    double transform[6] = {kWest, kCell, 0, kNorth, 0, -kCell};
    GDALSetGeoTransform(ds, transform);
    OGRSpatialReferenceH srs = OSRNewSpatialReference(nullptr);
    OSRImportFromEPSG(srs, 2056);
    char* wkt = nullptr;
    OSRExportToWkt(srs, &wkt);
    GDALSetProjection(ds, wkt);
    CPLFree(wkt);
    OSRDestroySpatialReference(srs);
    std::vector<float> z(static_cast<std::size_t>(kColumns) * kRows);
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < kColumns; ++c) {
            z[static_cast<std::size_t>(r) * kColumns + c] =
                static_cast<float>(500 - 0.08 * (c + 0.5) * kCell);
        }
    }
    QCOMPARE(GDALRasterIO(GDALGetRasterBand(ds, 1), GF_Write, 0, 0, kColumns, kRows, z.data(),
                          kColumns, kRows, GDT_Float32, 0, 0),
             CE_None);
    GDALClose(ds);
}

QString Rectangle(double west, double south, double east, double north) {
    return QString("[[[%1,%2],[%3,%2],[%3,%4],[%1,%4],[%1,%2]]]")
        .arg(west, 0, 'f', 1)
        .arg(south, 0, 'f', 1)
        .arg(east, 0, 'f', 1)
        .arg(north, 0, 'f', 1);
}

// Feature 1: 120 m along the fall line, 60 m across, well inside the raster. Feature 2: east
// of the raster, so nothing of it can be measured.
void WriteParcels(const QString& path) {
    const QString feature = R"({"type":"Feature","id":%1,"properties":{"name":"%2"},)"
                            R"("geometry":{"type":"Polygon","coordinates":%3}})";
    const QString json =
        R"({"type":"FeatureCollection","crs":{"type":"name","properties":)"
        R"({"name":"urn:ogc:def:crs:EPSG::2056"}},"features":[)" +
        feature.arg(1).arg("Hangacker").arg(Rectangle(kWest + 140, kNorth - 180, kWest + 260,
                                                      kNorth - 120)) +
        "," +
        feature.arg(2).arg("Ausserhalb").arg(Rectangle(kWest + 500, kNorth - 180, kWest + 600,
                                                       kNorth - 120)) +
        "]}";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(json.toUtf8());
}

} // namespace

class TerrainDialogTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        ConfigureApplication();
        // The window remembers its files: keep that away from the user's settings.
        QVERIFY(settings_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
        QSettings().clear();
        QVERIFY(dir_.isValid());
        WritePlane(Raster());
        WriteParcels(Layer());
    }

    void theEntryStandsBeforeSchliessen() {
        Application app(2026);
        QStringList entries;
        for (const QAction* a : Find<QMenu>(app.Context().Screen(ScreenId::Step1), "mnhFile")
                                    ->actions()) {
            entries << (a->isSeparator() ? QString("-") : a->objectName());
        }
        QCOMPARE(entries, (QStringList{"mniNext", "mniBack", "-", "mniTerrain", "-", "mniClose"}));
    }

    void aParcelOnThePlaneGoesIntoStep1AsTyped() {
        MessageLog log;
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        TypeAndLeave(Find<QLineEdit>(step1, "edtStones"), "5");
        Trigger(step1, "mniTerrain");
        auto* dialog = step1->findChild<TfrmTerrain*>();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QVERIFY(dialog->OpenRaster(Raster()));
        QVERIFY(dialog->OpenParcels(Layer()));
        QCOMPARE(Find<QTableView>(dialog, "tblParcels")->model()->rowCount(), 2);
        auto* apply = Find<QPushButton>(dialog, "btnApply");

        // Nothing of the second parcel lies on the raster: nothing to take, and a reason.
        QVERIFY(dialog->SelectParcel("2"));
        QVERIFY(!apply->isEnabled());
        QVERIFY(!Find<QLabel>(dialog, "labMessages")->text().isEmpty());

        QVERIFY(dialog->SelectParcel("1"));
        QVERIFY(apply->isEnabled());
        QCOMPARE(dialog->Gradient(), 8);
        const int flow = dialog->FlowLength();
        QVERIFY2(flow >= 118 && flow <= 122, qPrintable(QString::number(flow)));
        QCOMPARE(Find<QLabel>(dialog, "labGradientMean")->text(),
                 QString::fromStdString(FormatFixed(8, 1, DecimalSeparator())) + " %");
        QCOMPARE(Find<QLabel>(dialog, "labForStep1")->text(),
                 QString::fromStdString(texts::terrain::kStep1Values(8, flow)));

        QTest::mouseClick(apply, Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(app.Context().record.Gradient, 8);
        QCOMPARE(app.Context().record.FloatDistance, flow);
        QCOMPARE(app.Context().record.Stones, 5); // read with the rest, unchanged
        QCOMPARE(Find<QLineEdit>(step1, "edtGradient")->text(), QString("8"));
        QCOMPARE(Find<QLineEdit>(step1, "edtFloatDistance")->text(), QString::number(flow));
        Activate(step1);
        QCOMPARE(Find<QLineEdit>(step1, "edtFloatDistance")->text(), QString::number(flow));
        QVERIFY(log.entries.empty());

        // "Abbrechen" changes nothing.
        TypeAndLeave(Find<QLineEdit>(step1, "edtGradient"), "3");
        Trigger(step1, "mniTerrain");
        QVERIFY(dialog->isVisible());
        Click(dialog, "btnCancel");
        QVERIFY(!dialog->isVisible());
        QCOMPARE(app.Context().record.Gradient, 3);
        QCOMPARE(Find<QLineEdit>(step1, "edtGradient")->text(), QString("3"));
    }

    // Files chosen once are opened again in the next run; a layer without a coordinate
    // system is refused with the error box and the layer before stays.
    void filesAreRememberedAndABadLayerIsRefused() {
        MessageLog log;
        QWidget parent;
        TfrmTerrain dialog(&parent);
        dialog.OpenRemembered();
        QCOMPARE(Find<QLineEdit>(&dialog, "edtRaster")->text(),
                 QDir::toNativeSeparators(Raster()));
        QCOMPARE(Find<QTableView>(&dialog, "tblParcels")->model()->rowCount(), 2);

        const QString csv = dir_.filePath("ohne_koordinatensystem.csv");
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("id,WKT\n7,\"POLYGON ((2600140 1200120,2600260 1200120,2600260 1200180,"
                   "2600140 1200180,2600140 1200120))\"\n");
        file.close();
        QVERIFY(!dialog.OpenParcels(csv));
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries.front().first, Messages::Kind::Error);
        QCOMPARE(Find<QTableView>(&dialog, "tblParcels")->model()->rowCount(), 2);
        QCOMPARE(QSettings().value("terrain/parcels").toString(), Layer());
    }

    void cleanupTestCase() { QSettings().clear(); }

private:
    QString Raster() const { return dir_.filePath("plane.tif"); }
    QString Layer() const { return dir_.filePath("parcels.geojson"); }

    QTemporaryDir dir_;
    QTemporaryDir settings_;
};

QTEST_MAIN(TerrainDialogTest)
#include "terrain_dialog_test.moc"
