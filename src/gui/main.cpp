#include <QApplication>

#include "gui/shell/application.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    brisolt::gui::ConfigureApplication();
    brisolt::gui::Application brisoltApp(brisolt::CurrentCalendarYear());
    brisoltApp.Start();
    return QApplication::exec();
}
