// Writes a PNG of every window and help page of the program into a folder, for looking at
// them as a user sees them: the wizard with the worked example loaded and walked, the load
// and save windows, the measures and the comparison windows, and all help pages.
// Usage: screenshots FOLDER   (run under xvfb-run for real X11, or QT_QPA_PLATFORM=offscreen)

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <cstdio>

#include "gui/compare/compare_window.h"
#include "gui/help/help_catalogue.h"
#include "gui/help/help_pages.h"
#include "gui/help/help_window.h"
#include "gui/rotation/step2_screen.h"
#include "gui/shell/application.h"
#include "gui/shell/main_window.h"
#include "key/core/number_text.h"
#include "key/files/calculation_file.h"
#include "key/walk.h"

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
    const QString path = folder + '/' + name + ".png";
    if (!window->grab().save(path)) {
        std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: screenshots ORDNER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(folder);
    ConfigureApplication();
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
        TfrmStep2::SetRepeatAsker([](QWidget*, int) { return 3; });
        if (auto* repeat = step2->findChild<QAction*>("mniRepeatRotation")) {
            repeat->trigger();
        }
        TfrmStep2::SetRepeatAsker({});
        ok = Save(step2, folder, "step2-repeated") && ok;
        step2->hide();
        context.record = before;
    }

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
