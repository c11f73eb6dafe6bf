#include "report/table_page.h"

#include <algorithm>
#include <cmath>

#include "report/report_formats.h"

namespace brisolt::report {

namespace {

// Characters of UTF-8 text (continuation bytes do not count).
std::size_t Characters(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

constexpr double kPadding = 1.2; // mm inside a cell, left and right together
constexpr double kMmPerPoint = 25.4 / 72;
// Average width of a character of the report font, as a share of its size.
constexpr double kAverageCharWidth = 0.47;

// A cell's text cut after twice as many characters as could ever fit its box at the
// smallest size the painter uses (lines one em apart, no character narrower than a tenth of
// an em): the painter cuts there again and ends the last line with "…", so what is printed
// stays the same, but a name of millions of characters is neither copied onto every page nor
// measured.
std::string CappedCellText(const std::string& text, const RectMm& box, double points) {
    const double em = points * kMmPerPoint;
    const double lines = std::floor(box.height / em) + 1;
    const double perLine = std::ceil(std::max(0.0, box.width - 1.0) / (em / 10)) + 1;
    const auto limit = static_cast<std::size_t>(2 * lines * perLine);
    if (text.size() <= limit) {
        return text; // fewer bytes than the limit: fewer characters too
    }
    std::size_t bytes = 0;
    for (std::size_t chars = 0; bytes < text.size() && chars < limit; ++chars) {
        ++bytes;
        while (bytes < text.size() && (static_cast<unsigned char>(text[bytes]) & 0xC0) == 0x80) {
            ++bytes;
        }
    }
    return text.substr(0, bytes);
}

Element CellElement(const RectMm& box, const TableCell& cell, const TableColumn& column,
                    double points, bool heading) {
    Element e;
    e.box = box;
    e.text = CappedCellText(cell.text, box, heading ? points : std::min(points, kMinValuePoints));
    e.fontPoints = points;
    e.bold = cell.bold || cell.marked || heading;
    e.align = column.align;
    e.frame = Frame::All();
    e.fill = cell.fill != Fill::None     ? cell.fill
             : heading || cell.highlight ? Fill::Grey
                                         : Fill::White;
    e.minFontPoints = heading ? 0 : kMinValuePoints;
    e.hangingIndentMm = heading ? 0 : column.hangingIndentMm;
    return e;
}

} // namespace

double RowHeight(const TableStyle& style, const std::vector<TableColumn>& columns,
                 const TableRow& row) {
    const double charWidth = style.points * kMmPerPoint * kAverageCharWidth;
    double lines = 1;
    for (std::size_t i = 0; i < row.size() && i < columns.size(); ++i) {
        const double perLine = std::max(1.0, (columns[i].width - kPadding) / charWidth);
        const double perContinuedLine =
            std::max(1.0, (columns[i].width - kPadding - columns[i].hangingIndentMm) / charWidth);
        // A text of several lines (a plan's measures) wraps line by line.
        double cellLines = 0;
        std::size_t from = 0;
        while (from <= row[i].text.size()) {
            const std::size_t end = std::min(row[i].text.find('\n', from), row[i].text.size());
            const auto characters =
                static_cast<double>(Characters(row[i].text.substr(from, end - from)));
            cellLines += 1 + std::ceil(std::max(0.0, characters - perLine) / perContinuedLine);
            from = end + 1;
        }
        lines = std::max(lines, cellLines);
    }
    const double further =
        style.continuedLineHeight > 0 ? style.continuedLineHeight : style.lineHeight;
    return std::min(style.maxRowHeight, style.lineHeight + (lines - 1) * further + 0.6);
}

double AddTable(Page& page, const TableStyle& style, const Table& table) {
    const std::vector<TableColumn>& columns = table.columns;
    double y = style.y;
    const auto addRow = [&](const TableRow& row, bool heading) {
        const double height = RowHeight(style, columns, row);
        double x = style.x;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            static const TableCell kEmpty;
            const TableCell& cell = i < row.size() ? row[i] : kEmpty;
            page.elements.push_back(CellElement({x, y, columns[i].width, height}, cell, columns[i],
                                                style.points, heading));
            x += columns[i].width;
        }
        y += height;
    };
    TableRow head;
    for (const TableColumn& c : columns) {
        TableCell cell;
        cell.text = c.heading;
        cell.bold = true;
        cell.fill = Fill::Grey;
        head.push_back(std::move(cell));
    }
    addRow(head, true);
    for (const TableRow& row : table.rows) {
        addRow(row, false);
    }
    return y;
}

} // namespace brisolt::report
