#pragma once
// The print preview of a report: zoom, paging, printing, and "Als PDF speichern…".

#include <QString>
#include <functional>
#include <vector>

#include "report/page.h"

class QWidget;

namespace brisolt::gui {

// Opens the preview and returns when the user closes it. `build` runs each time the page is
// drawn (preview, printer, PDF), so the report always shows the record of that moment.
void ShowReportPreview(QWidget* parent, const std::function<report::Page()>& build,
                       const QString& proposedPdfName);
// The same for a report of several pages.
void ShowReportPreview(QWidget* parent, const std::function<std::vector<report::Page>()>& build,
                       const QString& proposedPdfName);

} // namespace brisolt::gui
