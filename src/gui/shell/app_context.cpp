#include "gui/shell/app_context.h"

#include <QApplication>
#include <QScreen>

#include "gui/shell/wizard_screen.h"
#include "key/startup.h"

namespace brisolt::gui {

AppContext::AppContext(Int year) : startYear(year) {
    InitialiseRecord(record, year);
}

void AppContext::Register(ScreenId id, QWidget* window) {
    screens_[static_cast<std::size_t>(id)] = window;
}

QWidget* AppContext::Screen(ScreenId id) const {
    return screens_[static_cast<std::size_t>(id)];
}

namespace {

// What the window system's frame adds to a window: known once a window has been shown, so
// a window shown for the first time borrows it from one already on the screen.
QSize FrameExtra(const QWidget* window) {
    const auto extra = [](const QWidget* w) { return w->frameGeometry().size() - w->size(); };
    if (!extra(window).isNull()) {
        return extra(window);
    }
    for (const QWidget* other : QApplication::topLevelWidgets()) {
        if (other->isVisible() && !extra(other).isNull()) {
            return extra(other);
        }
    }
    return {};
}

} // namespace

void AppContext::ShowOnTop(QWidget* window) {
    if (window == nullptr) {
        return;
    }
    // Every window opens centred on the screen the first time it is shown, and fits on it.
    if (!window->property("brisoltPlaced").toBool()) {
        window->setProperty("brisoltPlaced", true);
        window->adjustSize();
        if (const QScreen* screen = QGuiApplication::primaryScreen()) {
            const QRect available = screen->availableGeometry();
            const QSize extra = FrameExtra(window);
            if (auto* wizard = qobject_cast<WizardScreen*>(window)) {
                wizard->FitInto(available.size() - extra);
            }
            QRect frame(window->pos(), window->size() + extra);
            frame.moveCenter(available.center());
            window->move(frame.topLeft());
        }
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void AppContext::ShowOnTop(ScreenId target) {
    ShowOnTop(Screen(target));
}

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

void AppContext::OpenComparison() const {
    if (openComparison) {
        openComparison();
    }
}

void AppContext::OpenMeasures() const {
    if (openMeasures) {
        openMeasures();
    }
}

void AppContext::OpenRotationSheet() const {
    if (openRotationSheet) {
        openRotationSheet();
    }
}

} // namespace brisolt::gui
