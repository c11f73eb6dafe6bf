#include "gui/reports/page_painter.h"

#include <QFont>
#include <algorithm>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QTextLayout>
#include <QTextOption>

namespace brisolt::gui {

namespace {

// The light grey of cells (the face colour of three-dimensional controls).
const QColor kGrey(0xF0, 0xF0, 0xF0);
constexpr double kPaddingMm = 0.5;
constexpr double kFrameMm = 0.15;

class Scale {
public:
    explicit Scale(const QPaintDevice& device)
        : x_(device.logicalDpiX() / 25.4), y_(device.logicalDpiY() / 25.4) {}
    QRectF Rect(const report::RectMm& r) const {
        return QRectF(r.x * x_, r.y * y_, r.width * x_, r.height * y_);
    }
    double X(double mm) const { return mm * x_; }
    double Y(double mm) const { return mm * y_; }

private:
    double x_;
    double y_;
};

QFont FontOf(const report::Element& e) {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(e.fontPoints);
    font.setBold(e.bold);
    return font;
}

void DrawFill(QPainter& painter, const QRectF& rect, report::Fill fill) {
    if (fill == report::Fill::Grey) {
        painter.fillRect(rect, kGrey);
    } else if (fill == report::Fill::White) {
        painter.fillRect(rect, Qt::white);
    }
}

void DrawFrame(QPainter& painter, const Scale& scale, const QRectF& r, report::Frame frame) {
    if (!frame.Any()) {
        return;
    }
    QPen pen(Qt::black);
    pen.setWidthF(scale.X(kFrameMm));
    painter.setPen(pen);
    if (frame.left) {
        painter.drawLine(r.topLeft(), r.bottomLeft());
    }
    if (frame.top) {
        painter.drawLine(r.topLeft(), r.topRight());
    }
    if (frame.right) {
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    if (frame.bottom) {
        painter.drawLine(r.bottomLeft(), r.bottomRight());
    }
}

// Text inside a fixed box: wrapped at word boundaries, and only the lines that fit the
// box's height are drawn (at least the first, clipped to the box).
void DrawText(QPainter& painter, const Scale& scale, const QRectF& box, const report::Element& e) {
    if (e.text.empty()) {
        return;
    }
    const QFont font = FontOf(e);
    const QRectF inner = box.adjusted(scale.X(kPaddingMm), 0, -scale.X(kPaddingMm), 0);
    QTextLayout layout(QString::fromUtf8(e.text.data(), static_cast<qsizetype>(e.text.size())),
                       font, painter.device());
    QTextOption option;
    option.setWrapMode(e.wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
    option.setAlignment(e.align == report::Align::Right    ? Qt::AlignRight
                        : e.align == report::Align::Center ? Qt::AlignHCenter
                                                           : Qt::AlignLeft);
    layout.setTextOption(option);
    layout.beginLayout();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(inner.width());
        line.setPosition(QPointF(0, y));
        y += line.height();
    }
    layout.endLayout();
    const int total = layout.lineCount();
    if (total == 0) {
        return;
    }
    const double lineHeight = layout.lineAt(0).height();
    const int fitting = std::max(1, std::min(total, static_cast<int>(box.height() / lineHeight)));
    // A box of one line's height centres its text; taller boxes start at the top.
    const bool singleLineBox = box.height() < 2 * lineHeight;
    const double top = singleLineBox ? (box.height() - lineHeight) / 2 : scale.Y(0.2);
    painter.save();
    painter.setClipRect(box);
    painter.setPen(Qt::black);
    for (int i = 0; i < fitting; ++i) {
        layout.lineAt(i).draw(&painter, QPointF(inner.left(), inner.top() + std::max(0.0, top)));
    }
    painter.restore();
}

} // namespace

void PaintPage(QPainter& painter, const report::Page& page) {
    const Scale scale(*painter.device());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const report::Element& e : page.elements) {
        const QRectF rect = scale.Rect(e.box);
        switch (e.kind) {
        case report::ElementKind::Line: {
            QPen pen(Qt::black);
            pen.setWidthF(scale.Y(0.3));
            painter.setPen(pen);
            const double y = rect.center().y();
            painter.drawLine(QPointF(rect.left(), y), QPointF(rect.right(), y));
            break;
        }
        case report::ElementKind::Box:
            DrawFill(painter, rect, e.fill);
            DrawFrame(painter, scale, rect, e.frame);
            break;
        case report::ElementKind::Text:
            DrawFill(painter, rect, e.fill);
            DrawText(painter, scale, rect, e);
            DrawFrame(painter, scale, rect, e.frame);
            break;
        }
    }
    painter.restore();
}

QString WritePdf(const report::Page& page, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return QStringLiteral("Die Datei kann nicht geschrieben werden: ") + file.errorString();
    }
    {
        QPdfWriter writer(&file);
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                         QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter));
        writer.setTitle(QString::fromStdString(page.name));
        writer.setCreator(QStringLiteral("Brisolt"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            file.cancelWriting();
            return QStringLiteral("Die PDF-Datei kann nicht erzeugt werden.");
        }
        PaintPage(painter, page);
        painter.end();
    }
    if (!file.commit()) {
        return QStringLiteral("Die Datei kann nicht geschrieben werden: ") + file.errorString();
    }
    return {};
}

} // namespace brisolt::gui
