#include <QApplication>
#include <QClipboard>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>

#include "gui/files/file_dialogs.h"
#include "gui/shell/application.h"
#include "gui/shell/first_paint.h"
#include "gui/shell/main_window.h"
#include "key/core/texts.h"

int main(int argc, char** argv) {
    // Answered before Qt starts, so it works without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::cout << brisolt::texts::kProgramName << ' ' << brisolt::texts::kVersion << '\n';
        return 0;
    }
    QApplication app(argc, argv);
    brisolt::gui::ConfigureApplication();
    brisolt::gui::Application brisoltApp(brisolt::CurrentCalendarYear());
    brisolt::gui::QuitAfterFirstPaint::InstallIfRequested(brisoltApp.MainWindow());
    brisoltApp.Start();
    // "brisolt FILE" (the desktop's "Open with"): the file is loaded as "Laden" would. Qt has
    // taken its own options out of argv by now. On Windows Qt reads the wide command line;
    // on Linux the name's bytes are taken as they are, so a name that is not UTF-8 opens too.
#ifdef _WIN32
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 2) {
        brisoltApp.OpenAtStart(arguments.at(1));
    }
#else
    if (argc >= 2) {
        brisoltApp.OpenAtStart(brisolt::gui::PathFromLocal(argv[1]));
    }
#endif
    const int status = QApplication::exec();
    // Nothing is kept beyond the run (every file is closed when its command ends), so the
    // program ends here instead of taking down its windows one by one, which keeps the
    // process alive after the windows have gone. Only text the program put on the
    // clipboard needs Qt's orderly end, which hands it to the desktop's clipboard keeper.
    if (!QGuiApplication::clipboard()->ownsClipboard()) {
        std::fflush(nullptr);
        std::_Exit(status);
    }
    return status;
}
