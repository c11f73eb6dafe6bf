// Step 1's "Gefälle und Fliessstrecke aus Höhenmodell …": a plane of known slope and a parcel
// layer written here, the parcel chosen in the window, and "Übernehmen" reaching step 1's
// fields and the assessment as typed figures would.

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#ifndef Q_OS_WIN
#include <sys/stat.h>
#endif

#include "gui/shell/application.h"
#include "gui/site/step1_screen.h"
#include "gui/site/terrain_window.h"
#include "gui_support.h"
#include "key/core/number_text.h"
#include "key/core/texts_terrain.h"
#include "support/rasters.h"

using namespace brisolt;
using namespace brisolt::gui;
using namespace brisolt::gui::testing;

namespace {

// LV95: 400 x 300 m of 2 m cells, falling 8 % towards the east.
constexpr double kWest = 2600000;
constexpr double kNorth = 1200300;

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
        QVERIFY(brisolt::testing::WriteRaster(
            Raster().toStdString(), 200, 150, 2, kWest, kNorth, 2056,
            [](double x, double) { return 500 - 0.08 * (x - kWest); }));
        // Feature 0: 120 m along the fall line, 60 m across, well inside the raster.
        // Feature 1: east of the raster, so nothing of it can be measured.
        QVERIFY(brisolt::testing::WriteLayer(
            Layer().toStdString(), 2056,
            {{"Hangacker", brisolt::testing::Rectangle(kWest + 140, kNorth - 150, 120, 60), ""},
             {"Ausserhalb", brisolt::testing::Rectangle(kWest + 500, kNorth - 150, 100, 60), ""}}));
        QVERIFY(brisolt::testing::WriteLayer(
            NoSystem().toStdString(), 0,
            {{"7", brisolt::testing::Rectangle(kWest + 140, kNorth - 150, 120, 60), ""}}));
    }

    void theEntryStandsBeforeSchliessen() {
        Application app(2026);
        QStringList entries;
        for (const QAction* a :
             Find<QMenu>(app.Context().Screen(ScreenId::Step1), "mnhFile")->actions()) {
            entries << (a->isSeparator() ? QString("-") : a->objectName());
        }
        QCOMPARE(entries, (QStringList{"mniNext", "mniBack", "-", "mniTerrain", "-", "mniSave",
                                       "mniSaveAs", "-", "mniClose"}));
    }

    void aParcelOnThePlaneGoesIntoStep1AsTyped() {
        MessageLog log;
        Application app(2026);
        QWidget* step1 = app.Context().Screen(ScreenId::Step1);
        Activate(step1);
        TypeAndLeave(Find<QLineEdit>(step1, "edtStones"), "5");
        // The window comes from its module, loaded now.
        Trigger(step1, "mniTerrain");
        TerrainWindow* dialog = app.Window<TfrmStep1>(ScreenId::Step1)->Terrain();
        QVERIFY(dialog != nullptr && dialog->isVisible());
        QVERIFY(dialog->OpenRaster({Raster()}));
        QVERIFY(dialog->OpenParcels(Layer()));
        auto* table = Find<QTableView>(dialog, "tblParcels");
        QCOMPARE(table->model()->rowCount(), 2);
        auto* apply = Find<QPushButton>(dialog, "btnApply");
        // The layer's own ids, from its field "id".
        QVERIFY(dialog->SelectParcel("Hangacker"));
        QVERIFY(apply->isEnabled());

        // Enter in the search field chooses the first parcel found, not "Übernehmen".
        auto* search = Find<QLineEdit>(dialog, "edtSearch");
        search->setText("a"); // in both names
        QTest::keyClick(search, Qt::Key_Return);
        QVERIFY(dialog->isVisible());
        QCOMPARE(table->currentIndex().row(), 0);
        QCOMPARE(table->focusWidget(), static_cast<QWidget*>(table));

        // Nothing of the second parcel lies on the raster: nothing to take, and a reason.
        search->setText("ausser");
        QCOMPARE(table->model()->rowCount(), 1);
        QVERIFY(dialog->SelectParcel("Ausserhalb"));
        QVERIFY(!apply->isEnabled());
        QVERIFY(!Find<QLabel>(dialog, "labMessages")->text().isEmpty());

        QVERIFY(dialog->SelectParcel("Hangacker")); // clears the search that hides it
        QCOMPARE(table->model()->rowCount(), 2);
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
    // system is refused with the error box, and the layer before stays.
    void filesAreRememberedAndABadLayerIsRefused() {
        MessageLog log;
        QWidget parent;
        TerrainWindow& dialog = Window(parent);
        dialog.OpenRemembered();
        QCOMPARE(Find<QLineEdit>(&dialog, "edtRaster")->text(), QDir::toNativeSeparators(Raster()));
        QCOMPARE(Find<QTableView>(&dialog, "tblParcels")->model()->rowCount(), 2);

        QVERIFY(!dialog.OpenParcels(NoSystem()));
        QCOMPARE(log.entries.size(), std::size_t{1});
        QCOMPARE(log.entries.front().first, Messages::Kind::Error);
        QCOMPARE(Find<QTableView>(&dialog, "tblParcels")->model()->rowCount(), 2);
        QCOMPARE(QSettings().value("terrain/parcels").toString(), Layer());
    }

    // A field across a valley, on a raster cut into four tiles and opened as a folder: the
    // window says where water gathers; a field on the plain side says nothing of it.
    void aFieldAcrossAValleySaysWhereWaterGathers() {
        QTemporaryDir tiles;
        const double valley = kNorth - 151; // a row of cell centres
        auto height = [&](double x, double y) {
            return 500 - 0.02 * (x - kWest) + 0.10 * std::fabs(y - valley);
        };
        for (int i = 0; i < 4; ++i) {
            QVERIFY(brisolt::testing::WriteRaster(
                tiles.filePath(QString::number(i) + ".tif").toStdString(), 100, 75, 2,
                kWest + (i % 2) * 200, kNorth - (i / 2) * 150, 2056, height));
        }
        const QString layer = dir_.filePath("tal.geojson");
        QVERIFY(brisolt::testing::WriteLayer(
            layer.toStdString(), 2056,
            {{"Talacker", brisolt::testing::Rectangle(kWest + 150, valley, 100, 100), ""},
             {"Hang", brisolt::testing::Rectangle(kWest + 150, valley + 100, 40, 60, -M_PI / 2),
              ""}}));
        MessageLog log;
        QWidget parent;
        TerrainWindow& dialog = Window(parent);
        QVERIFY(dialog.OpenRaster(QStringList{tiles.path()}));
        QVERIFY(Find<QLabel>(&dialog, "labRasterInfo")->text().endsWith(" aus 4 Kacheln"));
        QVERIFY(dialog.OpenParcels(layer));
        QVERIFY(dialog.SelectParcel("Talacker"));
        QVERIFY(dialog.Usable());
        // Down the valley side, not along the valley.
        QVERIFY2(dialog.FlowLength() <= 55, qPrintable(QString::number(dialog.FlowLength())));
        const QString gathers = Find<QLabel>(&dialog, "labConcentratedFlow")->text();
        QVERIFY2(gathers.startsWith("Im Schlag bündelt sich Wasser auf ") &&
                     gathers.endsWith(" m Länge (Talweg): dort auf Rinnen achten."),
                 qPrintable(gathers));
        QVERIFY(dialog.SelectParcel("Hang"));
        QVERIFY(Find<QLabel>(&dialog, "labConcentratedFlow")->text().isEmpty());
        QVERIFY(log.entries.empty());
        QCOMPARE(QSettings().value("terrain/raster").toStringList(),
                 QStringList{QFileInfo(tiles.path()).absoluteFilePath()});
    }

#ifndef Q_OS_WIN
    // A named pipe as the remembered raster or layer: the window opens without them.
    void aRememberedPipeIsNotOpened() {
        const QString pipe = dir_.filePath("pipe");
        QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
        for (const char* key : {"terrain/raster", "terrain/parcels"}) {
            QSettings().setValue("terrain/raster", Raster());
            QSettings().setValue("terrain/parcels", Layer());
            QSettings().setValue(key, pipe);
            MessageLog log;
            QWidget parent;
            TerrainWindow& dialog = Window(parent);
            dialog.OpenRemembered();
            QVERIFY(!Find<QLineEdit>(&dialog, "edtParcels")->text().contains("pipe"));
            QVERIFY(log.entries.empty());
        }
    }
#endif

    void cleanupTestCase() {
        QSettings().clear();
    }

private:
    // A window from the module, as the program makes it; `parent` owns it.
    static TerrainWindow& Window(QWidget& parent) {
        QString error;
        TerrainWindow* window = CreateTerrainWindow(&parent, error);
        if (window == nullptr) {
            qFatal("%s", qPrintable(error));
        }
        return *window;
    }

    QString Raster() const {
        return dir_.filePath("plane.tif");
    }
    QString Layer() const {
        return dir_.filePath("parcels.geojson");
    }
    QString NoSystem() const {
        return dir_.filePath("ohne_koordinatensystem.shp");
    }

    QTemporaryDir dir_;
    QTemporaryDir settings_;
};

QTEST_MAIN(TerrainDialogTest)
#include "terrain_dialog_test.moc"
