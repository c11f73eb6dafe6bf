#include "gui/results/result_field.h"

namespace brisolt::gui {

void MakeLarge(QWidget* widget) {
    QFont font = widget->font();
    font.setPixelSize(25);
    font.setBold(true);
    widget->setFont(font);
}

QLineEdit* MakeResultField(QWidget* parent, const QString& objectName, const QRect& rect,
                           bool large) {
    auto* field = new QLineEdit(parent);
    field->setObjectName(objectName);
    field->setGeometry(rect);
    field->setReadOnly(true);
    field->setFrame(false);
    field->setFocusPolicy(Qt::NoFocus);
    // Shown on the window's background: a result, not an input.
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    field->setPalette(palette);
    if (large) {
        MakeLarge(field);
    }
    return field;
}

} // namespace brisolt::gui
