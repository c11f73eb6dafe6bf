#pragma once
// Pictures drawn from the model at run time, so they cannot disagree with it.

#include <QImage>
#include <QString>

namespace brisolt::gui {

// Names: "risk_chart" (657 x 377), "protractor" (417 x 337), "flow_ridge", "flow_slope",
// "flow_hollow" (417 x 337 each), "region_map" (1783 x 1608), "legend_step7" (560 x 270).
// A null image for any other name.
QImage DrawDiagram(const QString& name);

} // namespace brisolt::gui
