#pragma once
// Refilling controls from a form state without echoing into the handlers, and telling the
// user's coming to a window from the activation a window's own box hands back.

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QStringList>
#include <QWidget>
#include <string>
#include <vector>

#include "gui/shell/qt_text.h"

namespace brisolt::gui {

// Sets the field's text under a signal blocker, and only when it differs, so an unchanged
// field keeps its cursor, selection and undo history.
inline void SetTextIfChanged(QLineEdit* edit, const std::string& text) {
    const QString shown = Q(text);
    if (edit->text() != shown) {
        const QSignalBlocker blocker(edit);
        edit->setText(shown);
    }
}

// Fills a choice list with `items` and chooses `index` (-1 for none), under a signal
// blocker. The entries are only replaced when they differ, so an unchanged list keeps its
// state.
inline void SetItemsIfChanged(QComboBox* combo, const std::vector<std::string>& items, int index) {
    const QSignalBlocker blocker(combo);
    QStringList texts;
    for (const std::string& item : items) {
        texts << Q(item);
    }
    bool same = combo->count() == texts.size();
    for (int i = 0; same && i < combo->count(); ++i) {
        same = combo->itemText(i) == texts[i];
    }
    if (!same) {
        combo->clear();
        combo->addItems(texts);
    }
    combo->setCurrentIndex(index);
}

// Whether `event` (of a window's changeEvent) is the window becoming the active one by the
// user's doing. While one of the window's own commands runs, a box or dialog it opened hands
// the activation back when it closes: that is not the user coming to the window.
inline bool UserActivated(const QWidget* window, const QEvent* event, bool ownCommandRunning) {
    return event->type() == QEvent::ActivationChange && window->isActiveWindow() &&
           !ownCommandRunning;
}

} // namespace brisolt::gui
