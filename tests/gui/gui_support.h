#pragma once
// Helpers for driving the real windows in tests.

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWidget>
#include <utility>
#include <vector>

#include "gui/shell/messages.h"

namespace brisolt::gui::testing {

// Collects every message and error box instead of showing it.
class MessageLog {
public:
    MessageLog() {
        Messages::SetSink(
            [this](Messages::Kind kind, const QString& text) { entries.emplace_back(kind, text); });
    }
    ~MessageLog() { Messages::SetSink({}); }
    MessageLog(const MessageLog&) = delete;
    MessageLog& operator=(const MessageLog&) = delete;

    // The texts shown since the last call, oldest first.
    QStringList Take() {
        QStringList texts;
        for (const auto& entry : entries) {
            texts << entry.second;
        }
        entries.clear();
        return texts;
    }

    std::vector<std::pair<Messages::Kind, QString>> entries;
};

template <typename T> T* Find(const QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    if (child == nullptr) {
        qFatal("no %s named %s in %s", T::staticMetaObject.className(), name,
               qPrintable(window->windowTitle()));
    }
    return child;
}

inline void Click(const QWidget* window, const char* buttonName) {
    QTest::mouseClick(Find<QAbstractButton>(window, buttonName), Qt::LeftButton);
}

inline void Trigger(const QWidget* window, const char* actionName) {
    Find<QAction>(window, actionName)->trigger();
}

// Makes the window the active one, as a user clicking into it would.
inline void Activate(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QApplication::processEvents();
}

// Types into a line edit as a user does, then leaves the field (which runs its exit rule).
inline void TypeAndLeave(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    edit->insert(text);
    edit->clearFocus();
    QApplication::processEvents();
}

// Chooses an entry of a drop-down list as a user does.
inline void Choose(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    QApplication::processEvents();
}

inline void Choose(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    if (index < 0) {
        qFatal("%s does not offer %s", qPrintable(combo->objectName()), qPrintable(text));
    }
    Choose(combo, index);
}

// Buttons under `root` whose caption does not fit into them with this platform's font and style,
// as "object: needs N px, has M px".
inline QStringList CutButtonTexts(const QWidget* root) {
    QStringList cut;
    for (const QPushButton* button : root->findChildren<QPushButton*>()) {
        if (button->text().isEmpty()) {
            continue;
        }
        QStyleOptionButton option;
        option.initFrom(button);
        option.rect = button->rect();
        option.text = button->text();
        option.icon = button->icon();
        option.iconSize = button->iconSize();
        const QRect contents =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        const QString shown = QString(button->text()).remove(QLatin1Char('&'));
        int needed = button->fontMetrics().horizontalAdvance(shown);
        if (!button->icon().isNull()) {
            needed += button->iconSize().width() + 4;
        }
        if (needed > contents.width()) {
            cut << QStringLiteral("%1/%2 \"%3\": needs %4 px, has %5 px")
                       .arg(root->objectName(), button->objectName(), shown)
                       .arg(needed)
                       .arg(contents.width());
        }
    }
    return cut;
}

} // namespace brisolt::gui::testing
