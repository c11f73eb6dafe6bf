#pragma once
// The result display of steps 3, 5 and 7: a read-only field without a frame that the tab
// key passes over.

#include <QLineEdit>

namespace brisolt::gui {

// `large` gives the big bold type of the main result (EF, EFL, GBF).
QLineEdit* MakeResultField(QWidget* parent, const QString& objectName, const QRect& rect,
                           bool large);

// Large bold type for the label beside a main result ("E F =").
void MakeLarge(QWidget* widget);

} // namespace brisolt::gui
