#include "gui/reports/report_preview.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include "gui/reports/page_painter.h"
#include "gui/shell/messages.h"

namespace brisolt::gui {

void ShowReportPreview(QWidget* parent, const std::function<report::Page()>& build,
                       const QString& proposedPdfName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setFullPage(true); // the page description measures from the sheet's corner
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName("previewReport");
    preview.setWindowTitle(QString::fromUtf8("Druckvorschau"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&build](QPrinter* target) {
                         QPainter painter(target);
                         PaintPage(painter, build());
                     });
    if (QToolBar* toolbar = preview.findChild<QToolBar*>()) {
        toolbar->addSeparator();
        QAction* pdf = toolbar->addAction(QString::fromUtf8("Als PDF speichern…"));
        pdf->setObjectName("actSavePdf");
        QObject::connect(pdf, &QAction::triggered, &preview, [&] {
            const QString path = QFileDialog::getSaveFileName(
                &preview, QString::fromUtf8("Als PDF speichern"),
                QDir::home().filePath(proposedPdfName), QStringLiteral("PDF-Dateien (*.pdf)"));
            if (path.isEmpty()) {
                return;
            }
            const QString error = WritePdf(build(), path);
            if (!error.isEmpty()) {
                Messages::ShowError(&preview, error);
            }
        });
    }
    preview.resize(900, 1000);
    preview.exec();
}

} // namespace brisolt::gui
