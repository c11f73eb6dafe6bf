// The yardstick for start-up: a Qt program that shows one empty 696 x 515 window.

#include <QApplication>
#include <QWidget>

#include "gui/shell/first_paint.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(696, 515);
    brisolt::gui::QuitAfterFirstPaint::InstallIfRequested(&window);
    window.show();
    return QApplication::exec();
}
