#pragma once
// For the start-up benchmark only: ends the program once a window has been painted for the
// first time. Active only when BRISOLT_EXIT_AFTER_FIRST_PAINT is set in the environment.

#include <QApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

namespace brisolt::gui {

class QuitAfterFirstPaint : public QObject {
public:
    static void InstallIfRequested(QWidget* window) {
        if (qEnvironmentVariableIsSet("BRISOLT_EXIT_AFTER_FIRST_PAINT")) {
            window->installEventFilter(new QuitAfterFirstPaint(window));
        }
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && !done_) {
            done_ = true;
            // Quit once this paint has been delivered.
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    using QObject::QObject;
    bool done_ = false;
};

} // namespace brisolt::gui
