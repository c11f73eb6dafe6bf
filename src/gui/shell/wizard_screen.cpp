#include "gui/shell/wizard_screen.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShowEvent>
#include <QStyle>
#include <algorithm>

#include "gui/shell/messages.h"
#include "gui/shell/qt_text.h"
#include "gui/shell/widget_refill.h"
#include "key/core/texts.h"

namespace brisolt::gui {

namespace {
// Whether the last button of a wizard screen was pressed by the keyboard (Enter, Space), so
// that the screen it leads to shows its focus.
bool arrivedByKeyboard = false;
} // namespace

WizardScreen::WizardScreen(AppContext& context, ScreenId id, const QString& caption, QSize canvas)
    : context_(context), id_(id), caption_(caption), canvas_(new QWidget(this)) {
    setWindowTitle(caption);
    canvas_->setObjectName("canvas");
    canvas_->setFixedSize(canvas);
    setCentralWidget(canvas_);
    // Alt+D and Alt+H open the menus, as Windows users expect and as Linux offers no other
    // way to reach them by keyboard.
    fileMenu_ = menuBar()->addMenu('&' + Q(texts::common::kMenuFile));
    fileMenu_->setObjectName("mnhFile");
    helpMenu_ = menuBar()->addMenu('&' + Q(texts::common::kMenuHelp));
    helpMenu_->setObjectName("mnhHelp");
    // Fixed layouts: the window keeps the size of its canvas.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    // "Neu" (Ctrl+N) and "Laden" (Ctrl+O) work from every screen, not only from the main
    // window behind the wizard (which has them in its menu).
    if (id != ScreenId::Main) {
        const std::pair<QKeySequence, const char*> keys[] = {
            {QKeySequence(Qt::CTRL | Qt::Key_N), "mniNew"},
            {QKeySequence(Qt::CTRL | Qt::Key_O), "mniLoadCalculation"}};
        for (const auto& [key, entry] : keys) {
            auto* action = new QAction(this);
            action->setObjectName(QString("act") + (entry + 3));
            action->setShortcut(key);
            addAction(action);
            connect(action, &QAction::triggered, this, [this, entry = entry] {
                if (QWidget* main = context_.Screen(ScreenId::Main)) {
                    if (auto* command = main->findChild<QAction*>(entry)) {
                        command->trigger();
                    }
                }
            });
        }
    }
}

void WizardScreen::SetTitleSuffix(const QString& suffix) {
    if (windowTitle() != caption_ + suffix) {
        setWindowTitle(caption_ + suffix);
    }
}

void WizardScreen::AddSaveEntries() {
    if (fileMenu_->actions().isEmpty() || !fileMenu_->actions().constLast()->isSeparator()) {
        fileMenu_->addSeparator();
    }
    QAction* save = fileMenu_->addAction(Q(texts::mainwindow::kSave));
    save->setObjectName("mniSave");
    save->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    connect(save, &QAction::triggered, this, [this] { Guarded([this] { context_.Save(this); }); });
    // Step 7 opens the save window by its own entry, "Berechnung speichern".
    if (auto* saveWindow = findChild<QAction*>("mniSaveCalculations")) {
        saveWindow->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    } else {
        QAction* saveAs = fileMenu_->addAction(Q(texts::mainwindow::kSaveAs));
        saveAs->setObjectName("mniSaveAs");
        saveAs->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
        connect(saveAs, &QAction::triggered, this, [this] { context_.ShowOnTop(ScreenId::Save); });
    }
    fileMenu_->addSeparator();
}

void WizardScreen::FitInto(QSize room) {
    if (qobject_cast<QScrollArea*>(centralWidget()) != nullptr) {
        return; // already fitted once
    }
    const QSize full = sizeHint();
    if (full.width() <= room.width() && full.height() <= room.height()) {
        return;
    }
    auto* scroll = new QScrollArea(this);
    scroll->setObjectName("scrCanvas");
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(false);
    scroll->setFocusPolicy(Qt::NoFocus); // the tab order stays that of the controls
    scroll->setWidget(takeCentralWidget());
    setCentralWidget(scroll);
    layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    // A scroll bar along one side takes room from the other.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scroll);
    QSize fitted = full;
    const bool vertical = full.height() > room.height();
    const bool horizontal = full.width() + (vertical ? bar : 0) > room.width();
    fitted.rwidth() = std::min(full.width() + (vertical ? bar : 0), room.width());
    fitted.rheight() = std::min(full.height() + (horizontal ? bar : 0), room.height());
    setMinimumSize(QSize(std::min(fitted.width(), 200), std::min(fitted.height(), 150)));
    setMaximumSize(full + QSize(vertical ? bar : 0, horizontal ? bar : 0));
    resize(fitted);
}

void WizardScreen::Guarded(const std::function<void()>& handler) {
    const bool outer = !inHandler_;
    inHandler_ = true;
    RunGuarded(this, handler);
    if (outer) {
        inHandler_ = false;
    }
}

QPushButton* WizardScreen::NewButton(const QString& text, const QString& objectName,
                                     QPoint position) {
    auto* button = new QPushButton(text, canvas_);
    button->setObjectName(objectName);
    // A caption the platform's font and style make wider than the button (Windows draws
    // "Auswertung drucken" wider than Linux) widens the button about its centre instead of
    // being cut; the row leaves room for that.
    const int width = std::max(kButtonWidth, button->sizeHint().width());
    position.rx() -= (width - kButtonWidth) / 2;
    button->setGeometry(QRect(position, QSize(width, kButtonHeight)));
    button->setAutoDefault(true); // Enter on a focused button presses it
    button->installEventFilter(this);
    if (objectName == QLatin1String("btnNext")) {
        SetDefaultButton(button);
    }
    return button;
}

void WizardScreen::SetDefaultButton(QPushButton* button) {
    if (button == defaultButton_) {
        return;
    }
    // The focus on the old default button (left there by Enter) moves with it, so the next
    // Enter presses the new one.
    const bool focused = defaultButton_ != nullptr && defaultButton_->hasFocus();
    if (defaultButton_ != nullptr) {
        defaultButton_->setDefault(false);
    }
    defaultButton_ = button;
    defaultButton_->setDefault(true);
    if (focused && button->isEnabled()) {
        button->setFocus(Qt::OtherFocusReason);
    }
}

QPoint WizardScreen::RowButtonPosition(int place) const {
    const int width = canvas_->width();
    const int y = canvas_->height() - kButtonHeight - 14;
    const int x = place >= 0 ? 24 + place * 136 : width - 24 - kButtonWidth + (place + 1) * 136;
    return QPoint(x, y);
}

QAction* WizardScreen::NewMenuEntry(QMenu* menu, const QString& text, const QString& objectName) {
    if (menu == fileMenu_ && objectName == QLatin1String("mniClose")) {
        AddSaveEntries();
    }
    QAction* action = menu->addAction(text);
    action->setObjectName(objectName);
    if (objectName == QLatin1String("mniAssistance")) {
        action->setShortcut(QKeySequence(Qt::Key_F1));
    }
    return action;
}

void WizardScreen::btnCloseClick() {
    context_.Navigate(this, ScreenId::Main);
}

void WizardScreen::mniVersioninfoClick() {
    context_.OpenHelpPage(help::kImprint);
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
    if (UserActivated(this, event, inHandler_)) {
        Guarded([this] { FormActivate(); });
    }
}

void WizardScreen::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window that is shown is about to become the active one; refresh it now, so it never
    // shows stale values even where the window system hands the activation over late (or,
    // without a window manager, not at all).
    if (!event->spontaneous() && !inHandler_) {
        Guarded([this] { FormActivate(); });
    }
    if (!event->spontaneous()) {
        PlaceFocus();
    }
}

void WizardScreen::PlaceFocus() {
    // A screen reached by the keyboard shows where the focus is at once, as it would after
    // Tab (Qt draws the focus frame only once the keyboard moved the focus in that window).
    if (arrivedByKeyboard) {
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    QWidget* focus = focusWidget();
    if (focus != nullptr &&
        (focus == defaultButton_ || qobject_cast<QPushButton*>(focus) == nullptr)) {
        return; // an input keeps the focus it had
    }
    // A button left focused by the last visit (say "Zurück") would take Enter; the focus
    // goes to the first input in the tab order, or to the default button on screens
    // without inputs.
    if (focus == nullptr) {
        for (QWidget* w = nextInFocusChain(); w != this; w = w->nextInFocusChain()) {
            if (isAncestorOf(w) && w->isVisible() && w->isEnabled() &&
                (w->focusPolicy() & Qt::TabFocus) != 0 &&
                qobject_cast<QPushButton*>(w) == nullptr) {
                // In a group of answers, the chosen one, as Tab would reach it.
                if (auto* radio = qobject_cast<QRadioButton*>(w); radio && !radio->isChecked()) {
                    for (QRadioButton* other : w->parentWidget()->findChildren<QRadioButton*>()) {
                        if (other->isChecked() && other->isVisible()) {
                            w = other;
                            break;
                        }
                    }
                }
                w->setFocus(Qt::TabFocusReason);
                return;
            }
        }
    }
    if (defaultButton_ != nullptr) {
        defaultButton_->setFocus(Qt::OtherFocusReason);
    }
}

void WizardScreen::keyPressEvent(QKeyEvent* event) {
    // Enter that no control used (in a field, a choice list, on a radio button) presses
    // the default button as a click does: the focus moves there first, so the exit rule
    // of the field being left runs before the command.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (enter && modifiers == Qt::NoModifier && defaultButton_ != nullptr &&
        defaultButton_->isVisible() && defaultButton_->isEnabled()) {
        event->accept();
        defaultButton_->setFocus(Qt::OtherFocusReason);
        arrivedByKeyboard = true;
        defaultButton_->click();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

bool WizardScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && qobject_cast<QPushButton*>(watched) != nullptr) {
        arrivedByKeyboard = true;
    } else if (event->type() == QEvent::MouseButtonPress) {
        arrivedByKeyboard = false;
    }
    return QMainWindow::eventFilter(watched, event);
}

void WizardScreen::closeEvent(QCloseEvent* event) {
    // Closing a window by its title bar only hides it; the main window ends the program.
    event->ignore();
    hide();
}

} // namespace brisolt::gui
