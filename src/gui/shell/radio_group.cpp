#include "gui/shell/radio_group.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "gui/shell/qt_text.h"

namespace brisolt::gui {

RadioGroup::RadioGroup(const QString& title, const std::vector<std::string>& answers,
                       const QString& objectName, QWidget* parent)
    : QGroupBox(title, parent), buttons_(new QButtonGroup(this)) {
    setObjectName(objectName);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 6, 8, 6);
    layout->setSpacing(4);
    int position = 0;
    for (const std::string& answer : answers) {
        auto* button = new QRadioButton(Q(answer), this);
        button->setObjectName(objectName + QString::number(position));
        layout->addWidget(button);
        buttons_->addButton(button, position);
        ++position;
    }
    layout->addStretch(1);
    connect(buttons_, &QButtonGroup::idClicked, this, &RadioGroup::answerClicked);
}

void RadioGroup::SetChecked(int position) {
    const QSignalBlocker blocker(buttons_);
    QAbstractButton* target = buttons_->button(position);
    if (target != nullptr) {
        target->setChecked(true);
        return;
    }
    // An exclusive group cannot uncheck its last checked button.
    buttons_->setExclusive(false);
    for (QAbstractButton* button : buttons_->buttons()) {
        const QSignalBlocker buttonBlocker(button);
        button->setChecked(false);
    }
    buttons_->setExclusive(true);
}

QRadioButton* RadioGroup::Button(int position) const {
    return qobject_cast<QRadioButton*>(buttons_->button(position));
}

int RadioGroup::Count() const {
    return static_cast<int>(buttons_->buttons().size());
}

} // namespace brisolt::gui
