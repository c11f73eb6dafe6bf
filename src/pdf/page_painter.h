#pragma once
// Draws a report page description with QPainter: one drawing code for the preview, the
// printer and PDF files. Needs only QtGui.

#include <QPageLayout>
#include <QString>
#include <string>
#include <vector>

#include "report/page.h"

class QPainter;

namespace brisolt::pdf {

// Paints the page onto the painter's device, whose origin must be the sheet's top left
// corner (full-page printing) and whose resolution gives the millimetre scale.
void PaintPage(QPainter& painter, const report::Page& page);

// Writes the page as a one-page A4 PDF. The old file is replaced only once the new one is
// complete. The path is the file layer's (UTF-8, or on Linux whatever bytes the system's names
// hold). Returns an empty text on success, otherwise a German error message.
QString WritePdf(const report::Page& page, const std::string& path);
// The same with several pages, each A4 in the orientation its size gives.
QString WritePdf(const std::vector<report::Page>& pages, const std::string& path);
// A4 without margins, landscape when the page is wider than high.
QPageLayout PageLayoutOf(const report::Page& page);

} // namespace brisolt::pdf
