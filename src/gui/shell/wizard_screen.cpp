#include "gui/shell/wizard_screen.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QShowEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "key/core/texts.h"

namespace brisolt::gui {

WizardScreen::WizardScreen(AppContext& context, ScreenId id, const QString& caption,
                           QSize canvas)
    : context_(context), id_(id), canvas_(new QWidget(this)) {
    setWindowTitle(caption);
    canvas_->setObjectName("canvas");
    canvas_->setFixedSize(canvas);
    setCentralWidget(canvas_);
    fileMenu_ = menuBar()->addMenu(Q(texts::common::kMenuFile));
    fileMenu_->setObjectName("mnhFile");
    helpMenu_ = menuBar()->addMenu(Q(texts::common::kMenuHelp));
    helpMenu_->setObjectName("mnhHelp");
    // Fixed layouts: the window keeps the size of its canvas.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void WizardScreen::Guarded(const std::function<void()>& handler) {
    const bool outer = !inHandler_;
    inHandler_ = true;
    RunGuarded(this, handler);
    if (outer) {
        inHandler_ = false;
    }
}

QPushButton* WizardScreen::AddButton(const QString& text, const QString& objectName,
                                     QPoint position, std::function<void()> handler) {
    auto* button = new QPushButton(text, canvas_);
    button->setObjectName(objectName);
    button->setGeometry(QRect(position, QSize(kButtonWidth, kButtonHeight)));
    button->setAutoDefault(true); // Enter on a focused button presses it
    connect(button, &QPushButton::clicked, this,
            [this, handler = std::move(handler)] { Guarded(handler); });
    return button;
}

QPushButton* WizardScreen::AddRowButton(const QString& text, const QString& objectName, int slot,
                                        std::function<void()> handler) {
    const int width = canvas_->width();
    const int y = canvas_->height() - kButtonHeight - 14;
    const int x = slot >= 0 ? 24 + slot * 136 : width - 24 - kButtonWidth + (slot + 1) * 136;
    return AddButton(text, objectName, QPoint(x, y), std::move(handler));
}

QAction* WizardScreen::AddMenuEntry(QMenu* menu, const QString& text, const QString& objectName,
                                    std::function<void()> handler) {
    QAction* action = menu->addAction(text);
    action->setObjectName(objectName);
    connect(action, &QAction::triggered, this,
            [this, handler = std::move(handler)] { Guarded(handler); });
    return action;
}

QLabel* WizardScreen::AddLabel(const QString& text, const QRect& rect, const QString& objectName) {
    auto* label = new QLabel(text, canvas_);
    label->setGeometry(rect);
    if (!objectName.isEmpty()) {
        label->setObjectName(objectName);
    }
    return label;
}

QLabel* WizardScreen::AddTitle(const QString& text, const QRect& rect) {
    QLabel* title = AddLabel(text, rect, "labTitle");
    QFont font = title->font();
    font.setPixelSize(25);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    title->setWordWrap(true);
    return title;
}

void WizardScreen::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // A box shown by one of our own handlers hands the activation back when it closes;
    // that is not the user coming back to the window.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && !inHandler_) {
        Guarded([this] { Activated(); });
    }
}

void WizardScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window that is shown is about to become the active one; refresh it now, so it never
    // shows stale values even where the window system hands the activation over late (or,
    // without a window manager, not at all).
    if (!event->spontaneous() && !inHandler_) {
        Guarded([this] { Activated(); });
    }
}

void WizardScreen::closeEvent(QCloseEvent* event) {
    // Closing a window by its title bar only hides it; the main window ends the program.
    event->ignore();
    hide();
}

} // namespace brisolt::gui
