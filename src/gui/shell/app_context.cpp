#include "gui/shell/app_context.h"

#include <QGuiApplication>
#include <QScreen>

#include "key/startup.h"

namespace brisolt::gui {

AppContext::AppContext(Int year) : startYear(year) {
    InitialiseRecord(record, year);
}

void AppContext::Register(ScreenId id, QWidget* window) {
    screens_[static_cast<std::size_t>(id)] = window;
}

QWidget* AppContext::Screen(ScreenId id) const { return screens_[static_cast<std::size_t>(id)]; }

void AppContext::ShowOnTop(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    // Every window opens centred on the screen the first time it is shown.
    if (!window->property("brisoltPlaced").toBool()) {
        window->setProperty("brisoltPlaced", true);
        window->adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            QRect frame = window->frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            window->move(frame.topLeft());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void AppContext::ShowOnTop(ScreenId target) { ShowOnTop(Screen(target)); }

void AppContext::Navigate(QWidget* from, ScreenId target) {
    QWidget* to = Screen(target);
    ShowOnTop(to);
    if (from != nullptr && from != to) {
        from->hide();
    }
}

void AppContext::OpenHelpPage(int page) const {
    if (openHelpPage) {
        openHelpPage(page);
    }
}

void AppContext::OpenEvaluationProtocol() const {
    if (openEvaluationProtocol) {
        openEvaluationProtocol();
    }
}

void AppContext::OpenRotationSheet() const {
    if (openRotationSheet) {
        openRotationSheet();
    }
}

} // namespace brisolt::gui
