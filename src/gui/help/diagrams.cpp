#include "gui/help/diagrams.h"

namespace brisolt::gui {

QImage DrawDiagram(const QString&) { return {}; }

} // namespace brisolt::gui
