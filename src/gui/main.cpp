#include <QApplication>

#include "gui/shell/application.h"
#include "gui/shell/first_paint.h"
#include "gui/shell/main_window.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brisolt::gui::ConfigureApplication();
    brisolt::gui::Application brisoltApp(brisolt::CurrentCalendarYear());
    brisolt::gui::QuitAfterFirstPaint::InstallIfRequested(brisoltApp.MainWindow());
    brisoltApp.Start();
    return QApplication::exec();
}
