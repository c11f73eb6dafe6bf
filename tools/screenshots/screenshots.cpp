// Writes a PNG of every window and help page of the program into a folder, for looking at
// them as a user sees them: the wizard with the worked example loaded and walked, the load
// and save windows, the measures and the comparison windows, and all help pages.
// Usage: screenshots FOLDER   (run under xvfb-run for real X11, or QT_QPA_PLATFORM=offscreen)
// Buttons whose caption this platform's font and style cut are listed in FOLDER/cut-buttons.txt.

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "gui/compare/compare_window.h"
#include "gui/gui_support.h"
#include "gui/help/help_catalogue.h"
#include "gui/help/help_pages.h"
#include "gui/help/help_window.h"
#include "gui/rotation/step2_screen.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "key/walk.h"
#ifdef BRISOLT_HAVE_TERRAIN
#include <cmath>

#include "gui/site/step1_screen.h"
#include "gui/site/terrain_window.h"
#include "support/rasters.h"
#endif

namespace {

using namespace brisolt;
using namespace brisolt::gui;

QWidget* Visible(const char* objectName) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->objectName() == QLatin1String(objectName)) {
            return w;
        }
    }
    return nullptr;
}

bool Save(QWidget* window, const QString& folder, const QString& name) {
    if (window == nullptr) {
        std::fprintf(stderr, "screenshots: no window for %s\n", qPrintable(name));
        return false;
    }
    QTest::qWait(150); // let the window paint what it computes on showing
    const QStringList cut = brisolt::gui::testing::CutButtonTexts(window);
    if (!cut.isEmpty()) {
        QFile list(folder + "/cut-buttons.txt");
        if (list.open(QIODevice::Append | QIODevice::Text)) {
            list.write((name + ": " + cut.join("; ") + '\n').toUtf8());
        }
    }
    const QString path = folder + '/' + name + ".png";
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

#ifdef BRISOLT_HAVE_TERRAIN
// Step 1's elevation-model window: a few hills of 2 m cells, a hollow running down the first
// hill's flank, and four parcels on them, written into `data`: a parcel on a slope and the
// one in the hollow.
bool SaveTerrainWindow(AppContext& context, const QString& folder, const QString& data) {
    QDir().mkpath(data);
    const std::string raster = (data + "/dhm.tif").toStdString();
    const std::string layer = (data + "/schlaege.gpkg").toStdString();
    constexpr double west = 2600000;
    constexpr double north = 1200600;
    const auto hills = [](double x, double y) {
        const struct {
            double x, y, height, spread;
        } hill[] = {{west + 250, north - 200, 40, 110},
                    {west + 470, north - 430, 30, 90},
                    {west + 120, north - 480, 20, 70}};
        double z = 480 + 0.015 * (x - west);
        for (const auto& h : hill) {
            z += h.height * std::exp(-((x - h.x) * (x - h.x) + (y - h.y) * (y - h.y)) /
                                     (2 * h.spread * h.spread));
        }
        // The hollow: 5 m deep and 100 m wide with straight sides, from 40 m south-west of the
        // first hill's top 300 m on down the flank, fading in and out over 60 m.
        const double along = (-(x - west - 222) - (y - north + 228)) / std::sqrt(2.0);
        const double across = std::fabs((x - west - 222) - (y - north + 228)) / std::sqrt(2.0);
        if (along > 0 && along < 300 && across < 50) {
            z -= 5 * std::min({1.0, along / 60, (300 - along) / 60}) * (1 - across / 50);
        }
        return z;
    };
    using brisolt::testing::Rectangle;
    std::vector<brisolt::testing::LayerParcel> parcels(4);
    parcels[0] = {"Hangacker", Rectangle(west + 280, north - 260, 140, 90, -0.6), ""};
    parcels[1] = {"Bachmatt", Rectangle(west + 330, north - 80, 120, 70, 0.3), ""};
    parcels[2] = {"Rüti", Rectangle(west + 100, north - 380, 110, 80, -1.2), ""};
    parcels[3] = {"Muldenacker", Rectangle(west + 180, north - 270, 120, 90, -3 * M_PI / 4), ""};
    if (!brisolt::testing::WriteRaster(raster, 300, 300, 2, west, north, 2056, hills) ||
        !brisolt::testing::WriteLayer(layer, 2056, parcels)) {
        std::fprintf(stderr, "screenshots: cannot write the terrain files\n");
        return false;
    }
    context.Navigate(nullptr, ScreenId::Step1);
    QWidget* step1 = context.Screen(ScreenId::Step1);
    bool ok = false;
    if (auto* entry = step1->findChild<QAction*>("mniTerrain")) {
        entry->trigger();
        TerrainWindow* terrain = static_cast<TfrmStep1*>(step1)->Terrain();
        if (terrain && terrain->OpenRaster({QString::fromStdString(raster)}) &&
            terrain->OpenParcels(QString::fromStdString(layer))) {
            ok = terrain->SelectParcel("Hangacker") && Save(terrain, folder, "step1-terrain");
            ok = terrain->SelectParcel("Muldenacker") &&
                 Save(terrain, folder, "step1-terrain-hollow") && ok;
        } else {
            std::fprintf(stderr, "screenshots: the terrain window did not open its files\n");
        }
        if (terrain) {
            terrain->reject();
        }
    }
    step1->hide();
    return ok;
}
#endif

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: screenshots ORDNER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    QFile::remove(folder + "/cut-buttons.txt");
    ConfigureApplication();
    // The windows that remember things (recent files, the terrain files) remember them here,
    // not in the user's settings, so every run draws the same.
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    Application app(2024);
    AppContext& context = app.Context();
    LoadCalculation(context.record, BRISOLT_TEST_DATA "/worked_example.txt", 2024);
    WalkForward(context.record);
    app.Start();
    bool ok = Save(app.MainWindow(), folder, "main");

    const std::pair<ScreenId, const char*> screens[] = {
        {ScreenId::Intro, "intro"}, {ScreenId::Business, "business"}, {ScreenId::Step1, "step1"},
        {ScreenId::Step2, "step2"}, {ScreenId::Step3, "step3"},       {ScreenId::Step4, "step4"},
        {ScreenId::Step5, "step5"}, {ScreenId::Step6, "step6"},       {ScreenId::Step7, "step7"},
        {ScreenId::Open, "load"},   {ScreenId::Save, "save"},
    };
    for (const auto& [id, name] : screens) {
        context.Navigate(nullptr, id);
        ok = Save(context.Screen(id), folder, name) && ok;
        context.Screen(id)->hide();
    }

    context.OpenMeasures();
    ok = Save(Visible("frmMeasures"), folder, "measures") && ok;
    Visible("frmMeasures")->hide();

    // Observed rills: the line saying that no measure changes their surcharge.
    {
        const AssessmentRecord before = context.record;
        context.record.Channels = 0;
        context.record.NumChannels = 1;
        context.record.DepthChannels = 1;
        context.record.FrequencyChannels = 0;
        WalkForward(context.record);
        context.OpenMeasures();
        ok = Save(Visible("frmMeasures"), folder, "measures-rills") && ok;
        Visible("frmMeasures")->hide();
        context.record = before;
    }

    // Step 2: the "Datei" menu with "Fruchtfolge wiederholen", and the rotation repeated.
    {
        const AssessmentRecord before = context.record;
        context.Navigate(nullptr, ScreenId::Step2);
        QWidget* step2 = context.Screen(ScreenId::Step2);
        if (auto* menu = step2->findChild<QMenu*>("mnhFile")) {
            menu->popup(step2->mapToGlobal(QPoint(0, 0)));
            ok = Save(menu, folder, "step2-menu") && ok;
            menu->hide();
        }
        TfrmStep2::SetRepeatAsker([](QWidget*, int) { return 6; }); // two cycles
        if (auto* repeat = step2->findChild<QAction*>("mniRepeatRotation")) {
            repeat->trigger();
        }
        TfrmStep2::SetRepeatAsker({});
        ok = Save(step2, folder, "step2-repeated") && ok;
        step2->hide();
        context.record = before;
    }

#ifdef BRISOLT_HAVE_TERRAIN
    ok = SaveTerrainWindow(context, folder, settings.filePath("terrain")) && ok;
#endif

    context.OpenComparison();
    if (auto* compare = qobject_cast<TfrmCompare*>(Visible("frmCompare"))) {
        compare->AddFiles({BRISOLT_TEST_DATA "/worked_example.txt"});
        QMetaObject::invokeMethod(compare, "btnAddCurrentClick");
        ok = Save(compare, folder, "compare") && ok;
        compare->hide();
    }

    for (const auto& [number, description] : HelpCatalogue()) {
        app.Help().Show(number);
        ok = Save(app.Help().Page(number), folder, QString("help-%1").arg(number)) && ok;
        app.Help().Hide(number);
    }
    return ok ? 0 : 1;
}
