#pragma once
// Pictures drawn from the model at run time, so they cannot disagree with it.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QString>
#include <string>

namespace brisolt::gui {

// Names: "risk_chart" (657 x 377), "protractor" (417 x 337), "flow_ridge", "flow_slope",
// "flow_hollow" (417 x 337 each), "region_map" (1783 x 1608), "legend_step7" (560 x 270).
// A null image for any other name.
QImage DrawDiagram(const QString& name);

// Risk chart: the pixel of a model point (EFL 0 ... 140 across, soil depth 0 ... 120 cm
// upwards), and the shade of each level's area (an invalid colour for an unknown label).
QPointF RiskChartPoint(double efl, double depthCm);
QColor RiskLevelColor(const std::string& label);
// The background the step 7 legend gives a level: light orange for "1B", dark orange for
// "2" and "3", none (an invalid colour) for "0" and "1A".
QColor LegendLevelColor(const std::string& label);

// Protractor: the centre of its quarter circle and the radius of the graduated arc.
QPointF ProtractorCentre();
double ProtractorRadius();
// The colour of the three slope rays.
QColor ProtractorRayColour();

} // namespace brisolt::gui
