#include "gui/reports/report_preview.h"

#include <QAction>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>

#include "gui/files/file_dialogs.h"
#include "gui/shell/messages.h"
#include "pdf/page_painter.h"

namespace brisolt::gui {

void ShowReportPreview(QWidget* parent, const std::function<report::Page()>& build,
                       const QString& proposedPdfName) {
    ShowReportPreview(
        parent, [&build] { return std::vector<report::Page>{build()}; }, proposedPdfName);
}

void ShowReportPreview(QWidget* parent, const std::function<std::vector<report::Page>()>& build,
                       const QString& proposedPdfName) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const std::vector<report::Page> first = build();
    printer.setPageOrientation(!first.empty() && first.front().widthMm > first.front().heightMm
                                   ? QPageLayout::Landscape
                                   : QPageLayout::Portrait);
    printer.setFullPage(true); // the page description measures from the sheet's corner
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName("previewReport");
    preview.setWindowTitle(QString::fromUtf8("Druckvorschau"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&build](QPrinter* target) {
                         const std::vector<report::Page> pages = build();
                         QPainter painter(target);
                         for (std::size_t i = 0; i < pages.size(); ++i) {
                             if (i > 0) {
                                 target->newPage();
                             }
                             pdf::PaintPage(painter, pages[i]);
                         }
                     });
    if (QToolBar* toolbar = preview.findChild<QToolBar*>()) {
        toolbar->addSeparator();
        QAction* pdf = toolbar->addAction(QString::fromUtf8("Als PDF speichern…"));
        pdf->setObjectName("actSavePdf");
        QObject::connect(pdf, &QAction::triggered, &preview, [&] {
            FileDialogRequest request;
            request.save = true;
            request.caption = QString::fromUtf8("Als PDF speichern");
            // In the folder used last (a bare name leaves the folder to the dialogs).
            request.proposedName = proposedPdfName;
            request.nameFilters = QStringList{QStringLiteral("PDF-Dateien (*.pdf)")};
            request.defaultSuffix = QStringLiteral("pdf");
            const QString path = AskForFile(&preview, request);
            if (path.isEmpty()) {
                return;
            }
            const QString error = pdf::WritePdf(build(), LocalPath(path));
            if (!error.isEmpty()) {
                Messages::ShowError(&preview, error);
            }
        });
    }
    preview.resize(900, 1000);
    preview.exec();
}

} // namespace brisolt::gui
