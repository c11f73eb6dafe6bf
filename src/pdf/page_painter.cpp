#include "pdf/page_painter.h"

#include <QBuffer>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "key/core/errors.h"
#include "key/core/texts.h"
#include "key/files/file_system.h"
#include "pdf/bundled_fonts.h"

namespace brisolt::pdf {

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
    QFont font(ReportFontFamily());
    font.setStyleHint(QFont::SansSerif);
    // Hinted only vertically, as the desktop's font set-up on Linux does: the advances stay
    // the font's own, so a line is as wide on every system.
    font.setHintingPreference(QFont::PreferVerticalHinting);
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

constexpr double kShrinkStepPoints = 0.5;
const QString kEllipsis = QStringLiteral("\u2026");

QFont FontAt(const report::Element& e, double points) {
    QFont font = FontOf(e);
    font.setPointSizeF(points);
    return font;
}

Qt::Alignment AlignmentOf(const report::Element& e) {
    return e.align == report::Align::Right    ? Qt::AlignRight
           : e.align == report::Align::Center ? Qt::AlignHCenter
                                              : Qt::AlignLeft;
}

// Lays the whole text out in lines of `width`, one below the other; a line that continues a
// paragraph starts `indent` further right, so where a paragraph begins stays visible.
void LayOut(QTextLayout& layout, const report::Element& e, double width, bool anywhere,
            double indent) {
    QTextOption option;
    option.setWrapMode(!e.wrap    ? QTextOption::NoWrap
                       : anywhere ? QTextOption::WrapAtWordBoundaryOrAnywhere
                                  : QTextOption::WordWrap);
    option.setAlignment(AlignmentOf(e));
    layout.setTextOption(option);
    layout.beginLayout();
    const QString text = layout.text();
    double y = 0;
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        const int start = line.textStart();
        const bool continues = start > 0 && text.at(start - 1) != QChar::LineSeparator;
        const double shift = continues ? std::min(indent, width / 2) : 0.0;
        line.setLineWidth(width - shift);
        line.setPosition(QPointF(shift, y));
        y += line.height();
    }
    layout.endLayout();
}

// Where the first line starts below the box's top: a box of one line's height centres its
// text; taller boxes start near the top, or centre the first line in the element's band.
double TopOf(const Scale& scale, const QRectF& box, const report::Element& e, double lineHeight) {
    double top = scale.Y(0.2);
    if (box.height() < 2 * lineHeight) {
        top = (box.height() - lineHeight) / 2;
    } else if (e.firstLineBandMm > 0) {
        top = (scale.Y(e.firstLineBandMm) - lineHeight) / 2;
    }
    return std::max(0.0, top);
}

// A fixed caption: wrapped at word boundaries (or anywhere in a word too long for a line),
// and only the lines that fit the box's height are drawn (at least the first, clipped).
void DrawCaption(QPainter& painter, const Scale& scale, const QRectF& box, const QRectF& inner,
                 const report::Element& e, const QString& text) {
    QTextLayout layout(text, FontOf(e), painter.device());
    LayOut(layout, e, inner.width(), true, scale.X(e.hangingIndentMm));
    const int total = layout.lineCount();
    if (total == 0) {
        return;
    }
    const double lineHeight = layout.lineAt(0).height();
    const int fitting = std::max(1, std::min(total, static_cast<int>(box.height() / lineHeight)));
    const double top = TopOf(scale, box, e, lineHeight);
    painter.save();
    painter.setClipRect(box);
    painter.setPen(Qt::black);
    for (int i = 0; i < fitting; ++i) {
        layout.lineAt(i).draw(&painter, QPointF(inner.left(), inner.top() + top));
    }
    painter.restore();
}

// How many lines of the layout fit the box's height below `top`, at least one.
int FittingLines(const QTextLayout& layout, double top, double height) {
    int n = 0;
    while (n < layout.lineCount()) {
        const QTextLine line = layout.lineAt(n);
        if (n > 0 && top + line.y() + line.height() > height + 0.01) {
            break;
        }
        ++n;
    }
    return n;
}

// True when every line of the layout fits the box: all lines within its height, and no
// word wider than its line.
bool FitsWhole(const QTextLayout& layout, double top, double height) {
    const int total = layout.lineCount();
    if (total == 0) {
        return true;
    }
    const QTextLine last = layout.lineAt(total - 1);
    if (top + last.y() + last.height() > height + 0.01) {
        return false;
    }
    for (int i = 0; i < total; ++i) {
        if (layout.lineAt(i).naturalTextWidth() > layout.lineAt(i).width() + 0.01) {
            return false;
        }
    }
    return true;
}

// The text of one laid-out line without the blanks it ends with.
QString LineText(const QString& text, const QTextLine& line) {
    QString part = text.mid(line.textStart(), line.textLength());
    qsizetype end = part.size();
    while (end > 0 && part.at(end - 1).isSpace()) {
        --end;
    }
    part.truncate(end);
    return part;
}

// A line cut so that it ends with "…" within `width`: whole words where at least one fits,
// otherwise the first word cut inside.
QString EndWithEllipsis(const QFontMetricsF& metrics, QString part, double width) {
    while (true) {
        if (metrics.horizontalAdvance(part + kEllipsis) <= width) {
            return part + kEllipsis;
        }
        qsizetype blank = part.size();
        while (blank > 0 && !part.at(blank - 1).isSpace()) {
            --blank;
        }
        while (blank > 0 && part.at(blank - 1).isSpace()) {
            --blank;
        }
        if (blank == 0) {
            break;
        }
        part.truncate(blank);
    }
    // Not even one word fits: it is cut inside, the "…" kept whole.
    const QString cut = metrics.elidedText(part + kEllipsis, Qt::ElideRight, width);
    return cut.endsWith(kEllipsis) ? cut : cut + kEllipsis;
}

// The text of a value, cut after more characters than could ever fit the box at the
// smallest size (lines at least one em apart, no character narrower than a tenth of an em):
// a huge text is never laid out whole. `cut` tells whether anything was left off. A caption
// has one size only and is cut the same way at it.
QString MeasurableText(const report::Element& e, const Scale& scale, const QRectF& inner,
                       const QRectF& box, bool& cut) {
    const double emMm = (e.minFontPoints > 0 ? e.minFontPoints : e.fontPoints) * 25.4 / 72;
    const double lines = std::floor(box.height() / scale.Y(emMm)) + 1;
    const double perLine = std::ceil(inner.width() / scale.X(emMm / 10)) + 1;
    const auto limit = static_cast<std::size_t>(lines * perLine);

    // Find the byte after `limit` characters of UTF-8 without decoding the rest.
    const std::string& s = e.text;
    std::size_t bytes = 0;
    std::size_t chars = 0;
    while (bytes < s.size() && chars < limit) {
        ++bytes;
        while (bytes < s.size() && (static_cast<unsigned char>(s[bytes]) & 0xC0) == 0x80) {
            ++bytes;
        }
        ++chars;
    }
    cut = bytes < s.size();
    // A line break in a value (a plan's measures, one per line) is a hard break.
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(bytes))
        .replace(QLatin1Char('\n'), QChar::LineSeparator);
}

// A value: drawn whole at the largest size, in steps down to the element's smallest size,
// at which it fits its box without breaking a word; if none does, the lines that fit at the
// smallest size are drawn, words too wide for a line and the last line ending with "…".
void DrawValue(QPainter& painter, const Scale& scale, const QRectF& box, const QRectF& inner,
               const report::Element& e) {
    bool cut = false;
    const QString text = MeasurableText(e, scale, inner, box, cut);
    const double smallest = std::min(e.minFontPoints, e.fontPoints);
    painter.save();
    painter.setClipRect(box);
    painter.setPen(Qt::black);
    if (!cut) {
        for (double points = e.fontPoints; points >= smallest - 1e-9; points -= kShrinkStepPoints) {
            QTextLayout layout(text, FontAt(e, points), painter.device());
            LayOut(layout, e, inner.width(), false, scale.X(e.hangingIndentMm));
            if (layout.lineCount() == 0) {
                painter.restore();
                return;
            }
            const double top = TopOf(scale, box, e, layout.lineAt(0).height());
            if (FitsWhole(layout, top, box.height())) {
                for (int i = 0; i < layout.lineCount(); ++i) {
                    layout.lineAt(i).draw(&painter, QPointF(inner.left(), inner.top() + top));
                }
                painter.restore();
                return;
            }
        }
    }

    const QFont font = FontAt(e, smallest);
    QTextLayout layout(text, font, painter.device());
    LayOut(layout, e, inner.width(), false, scale.X(e.hangingIndentMm));
    const int total = layout.lineCount();
    if (total == 0) {
        painter.restore();
        return;
    }
    const QFontMetricsF metrics(font, painter.device());
    const double top = TopOf(scale, box, e, layout.lineAt(0).height());
    const int fitting = FittingLines(layout, top, box.height());
    painter.setFont(font);
    for (int i = 0; i < fitting; ++i) {
        const QTextLine line = layout.lineAt(i);
        QString part = LineText(text, line);
        const bool last = i == fitting - 1 && (fitting < total || cut);
        if (last || metrics.horizontalAdvance(part) > line.width() + 0.01) {
            part = EndWithEllipsis(metrics, part, line.width());
        }
        const QRectF row(inner.left() + line.x(), inner.top() + top + line.y(), line.width(),
                         line.height());
        painter.drawText(row, static_cast<int>(AlignmentOf(e) | Qt::AlignTop) | Qt::TextSingleLine,
                         part);
    }
    painter.restore();
}

void DrawText(QPainter& painter, const Scale& scale, const QRectF& box, const report::Element& e) {
    if (e.text.empty()) {
        return;
    }
    const QRectF inner = box.adjusted(scale.X(kPaddingMm), 0, -scale.X(kPaddingMm), 0);
    if (e.minFontPoints > 0) {
        DrawValue(painter, scale, box, inner, e);
    } else {
        bool cut = false;
        DrawCaption(painter, scale, box, inner, e, MeasurableText(e, scale, inner, box, cut));
    }
}

QColor ColourOf(report::Rgba c) {
    return QColor(c.red, c.green, c.blue, c.alpha);
}

void DrawShape(QPainter& painter, const Scale& scale, const report::Element& e) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const std::vector<report::PointMm>& points : e.paths) {
        if (points.empty()) {
            continue;
        }
        path.moveTo(scale.X(points.front().x), scale.Y(points.front().y));
        for (std::size_t i = 1; i < points.size(); ++i) {
            path.lineTo(scale.X(points[i].x), scale.Y(points[i].y));
        }
        if (e.closed) {
            path.closeSubpath();
        }
    }
    painter.save();
    if (e.strokeMm > 0 && e.stroke.alpha > 0) {
        QPen pen(ColourOf(e.stroke));
        pen.setWidthF(scale.X(e.strokeMm));
        pen.setJoinStyle(Qt::RoundJoin);
        pen.setCapStyle(Qt::RoundCap);
        painter.setPen(pen);
    } else {
        painter.setPen(Qt::NoPen);
    }
    painter.setBrush(e.closed && e.shapeFill.alpha > 0 ? QBrush(ColourOf(e.shapeFill))
                                                       : QBrush(Qt::NoBrush));
    painter.drawPath(path);
    painter.restore();
}

void DrawImage(QPainter& painter, const QRectF& rect, const report::Element& e) {
    const auto expected =
        static_cast<std::size_t>(std::max(0, e.imageColumns)) * std::max(0, e.imageRows);
    if (expected == 0 || e.grey.size() != expected) {
        return;
    }
    // The image refers to the element's pixels; it is drawn before they could go away.
    const QImage image(e.grey.data(), e.imageColumns, e.imageRows, e.imageColumns,
                       QImage::Format_Grayscale8);
    painter.drawImage(rect, image);
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
        case report::ElementKind::Shape:
            DrawShape(painter, scale, e);
            break;
        case report::ElementKind::Image:
            DrawImage(painter, rect, e);
            break;
        }
    }
    painter.restore();
}

QString WritePdf(const report::Page& page, const std::string& path) {
    return WritePdf(std::vector<report::Page>{page}, path);
}

QPageLayout PageLayoutOf(const report::Page& page) {
    return QPageLayout(QPageSize(QPageSize::A4),
                       page.widthMm > page.heightMm ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait,
                       QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

QString WritePdf(const std::vector<report::Page>& pages, const std::string& path) {
    if (pages.empty()) {
        return QStringLiteral("Die PDF-Datei kann nicht erzeugt werden.");
    }
    // The document is made in memory (a few hundred kilobytes) and then saved like a
    // calculation file, with the same atomic replace and the same German messages.
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(1200);
        writer.setPageLayout(PageLayoutOf(pages.front()));
        writer.setTitle(QString::fromStdString(pages.front().name));
        writer.setCreator(QStringLiteral("Brisolt"));
        QPainter painter;
        if (!painter.begin(&writer)) {
            return QStringLiteral("Die PDF-Datei kann nicht erzeugt werden.");
        }
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (i > 0) {
                writer.setPageLayout(PageLayoutOf(pages[i]));
                writer.newPage();
            }
            PaintPage(painter, pages[i]);
        }
        painter.end();
    }
    try {
        ReplaceFileAtomically(
            path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    } catch (const FileError& error) {
        return QString::fromUtf8(texts::files::kCannotWrite.data(),
                                 static_cast<qsizetype>(texts::files::kCannotWrite.size())) +
               QStringLiteral(": ") + QString::fromUtf8(error.what());
    }
    return {};
}

} // namespace brisolt::pdf
