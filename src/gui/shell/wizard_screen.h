#pragma once
// Base of every window of the wizard: a fixed-size canvas on which the controls stand at
// their pixel positions, the menu bar "Datei" / "Hilfe", the shared button row, and the
// activation refresh.

#include <QMainWindow>
#include <QSize>
#include <functional>
#include <type_traits>

#include "gui/shell/app_context.h"

#include <QAction>
#include <QPushButton>

class QLabel;
class QMenu;

namespace brisolt::gui {

class WizardScreen : public QMainWindow {
    Q_OBJECT
public:
    // Client area of a 696 x 515 window and of the 842 x 701 step 2 window, without the
    // frame and the menu bar.
    static constexpr QSize kStandardCanvas{688, 468};
    static constexpr QSize kStep2Canvas{834, 654};
    static constexpr int kButtonWidth = 105;
    static constexpr int kButtonHeight = 25;

    WizardScreen(AppContext& context, ScreenId id, const QString& caption, QSize canvas);

    AppContext& Context() { return context_; }
    ScreenId Id() const { return id_; }

    // The title: the screen's caption, then the assessment's file and "*" (AppContext::
    // TitleSuffix).
    void SetTitleSuffix(const QString& suffix);

    // Makes the window fit into `room` (the screen area it may use, without its frame).
    // A window larger than that shows its canvas, unchanged, in a scroll area and takes
    // the room there is; it may still be enlarged up to its full size.
    void FitInto(QSize room);

protected:
    QWidget* Canvas() const { return canvas_; }
    QMenu* FileMenu() const { return fileMenu_; }
    QMenu* HelpMenu() const { return helpMenu_; }

    // Runs a handler; errors end it and show the error box.
    void Guarded(const std::function<void()>& handler);

    // Connects `signal` of `sender` to the screen's own `slot`, which runs guarded; the
    // signal's arguments go to the slot.
    template <class Sender, class Signal, class Screen, class... Args>
    void ConnectGuarded(Sender* sender, Signal signal, void (Screen::*slot)(Args...)) {
        static_assert(std::is_base_of_v<WizardScreen, Screen>);
        auto* screen = static_cast<Screen*>(this);
        connect(sender, signal, this,
                [this, screen, slot](Args... args) { Guarded([&] { (screen->*slot)(args...); }); });
    }

    // A button at a pixel position of the canvas; a click runs `slot` guarded. "btnNext"
    // becomes the window's default button.
    template <class Screen>
    QPushButton* AddButton(const QString& text, const QString& objectName, QPoint position,
                           void (Screen::*slot)()) {
        QPushButton* button = NewButton(text, objectName, position);
        ConnectGuarded(button, &QPushButton::clicked, slot);
        return button;
    }
    // A button of the bottom row; place 0 is the left edge, place -1 the right edge.
    template <class Screen>
    QPushButton* AddRowButton(const QString& text, const QString& objectName, int place,
                              void (Screen::*slot)()) {
        return AddButton(text, objectName, RowButtonPosition(place), slot);
    }
    // A menu entry running `slot` guarded. The screen's "Hilfe" ("mniAssistance") also
    // answers F1.
    template <class Screen>
    QAction* AddMenuEntry(QMenu* menu, const QString& text, const QString& objectName,
                          void (Screen::*slot)()) {
        QAction* action = NewMenuEntry(menu, text, objectName);
        ConnectGuarded(action, &QAction::triggered, slot);
        return action;
    }
    // A label at a pixel rectangle of the canvas.
    QLabel* AddLabel(const QString& text, const QRect& rect, const QString& objectName = {});
    // The large bold title (25 pixels) of a screen.
    QLabel* AddTitle(const QString& text, const QRect& rect);

    // What Enter presses when no other button has the focus ("Weiter" unless set here).
    void SetDefaultButton(QPushButton* button);

    // Runs every time the window becomes the active one, also when the user merely clicks
    // back into it: input screens refill their controls, result screens recompute.
    virtual void FormActivate() {}

    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // Notes whether the screen's buttons are pressed by the keyboard or the mouse.
    bool eventFilter(QObject* watched, QEvent* event) override;

protected slots:
    // "Schliessen" of the step screens: back to the main window.
    void btnCloseClick();
    // "Hilfe" > "Impressum" of every screen.
    void mniVersioninfoClick();

private:
    QPushButton* NewButton(const QString& text, const QString& objectName, QPoint position);
    QPoint RowButtonPosition(int place) const;
    QAction* NewMenuEntry(QMenu* menu, const QString& text, const QString& objectName);
    // Where the keyboard focus goes when the window is shown.
    void PlaceFocus();

    // "Datei" of a wizard screen: "Speichern" and "Speichern unter …" stand before
    // "Schliessen".
    void AddSaveEntries();

    AppContext& context_;
    ScreenId id_;
    QString caption_;
    QWidget* canvas_;
    QMenu* fileMenu_;
    QMenu* helpMenu_;
    QPushButton* defaultButton_ = nullptr;
    bool inHandler_ = false;
};

} // namespace brisolt::gui
