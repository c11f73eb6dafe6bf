#include "gui/shell/report_table_model.h"

#include <QBrush>
#include <QColor>
#include <QFont>

#include "gui/help/diagrams.h"
#include "gui/shell/capped_text.h"
#include "gui/shell/qt_text.h"

namespace brisolt::gui {

ReportTableModel::ReportTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ReportTableModel::SetTable(report::Table table) {
    beginResetModel();
    table_ = std::move(table);
    endResetModel();
}

int ReportTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int ReportTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant ReportTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) {
        return {};
    }
    const report::TableRow& row = table_.rows[static_cast<std::size_t>(index.row())];
    if (static_cast<std::size_t>(index.column()) >= row.size()) {
        return {};
    }
    const report::TableCell& cell = row[static_cast<std::size_t>(index.column())];
    switch (role) {
    case Qt::DisplayRole:
        return CappedLines(cell.text, kCellChars);
    case Qt::ToolTipRole:
        return CappedText(cell.text, kTooltipChars);
    case kSortRole:
        return cell.numeric ? QVariant(cell.sortKey) : QVariant(CappedText(cell.text, kCellChars));
    case Qt::FontRole: {
        if (!cell.bold && !cell.marked) {
            return {};
        }
        QFont font;
        font.setBold(true);
        font.setUnderline(cell.marked);
        return font;
    }
    case Qt::BackgroundRole:
        if (!cell.level.empty()) {
            const QColor colour = LegendLevelColor(cell.level);
            if (colour.isValid()) {
                return QBrush(colour);
            }
        }
        if (cell.marked) {
            return QBrush(QColor(255, 244, 170));
        }
        if (cell.highlight) {
            return QBrush(QColor(222, 234, 250));
        }
        if (cell.fill == report::Fill::Grey) {
            return QBrush(QColor(225, 225, 225));
        }
        return {};
    case Qt::TextAlignmentRole: {
        const report::Align align = table_.columns[static_cast<std::size_t>(index.column())].align;
        const Qt::Alignment horizontal = align == report::Align::Right    ? Qt::AlignRight
                                         : align == report::Align::Center ? Qt::AlignHCenter
                                                                          : Qt::AlignLeft;
        return QVariant::fromValue(horizontal | Qt::AlignVCenter);
    }
    default:
        return {};
    }
}

QVariant ReportTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Vertical) {
        // The row's caption (its first cell), for a view that keeps it in place while the
        // columns scroll sideways.
        if (section < 0 || section >= rowCount() ||
            table_.rows[static_cast<std::size_t>(section)].empty()) {
            return {};
        }
        const report::TableCell& caption = table_.rows[static_cast<std::size_t>(section)].front();
        if (role == Qt::DisplayRole) {
            return CappedText(caption.text, kCellChars);
        }
        if (role == Qt::FontRole && caption.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        return {};
    }
    if (role != Qt::DisplayRole || section < 0 || section >= columnCount()) {
        return {};
    }
    // A heading "Langacker / A (datei.txt)" takes two lines: the name of the file below.
    // A long parcel name is cut; the name of the file stays whole.
    const std::string_view raw = table_.columns[static_cast<std::size_t>(section)].heading;
    const std::size_t open = raw.rfind(" (");
    const QString heading =
        open == std::string_view::npos || open == 0 || !raw.ends_with(')')
            ? CappedText(raw, kCellChars)
            : CappedText(raw.substr(0, open), kCellChars) + '\n' + Q(raw.substr(open + 1));
    // Long headings wrap at blanks instead of being cut.
    constexpr qsizetype kLine = 28;
    QString wrapped;
    for (const QString& line : heading.split('\n')) {
        QString current;
        for (const QString& word : line.split(' ', Qt::SkipEmptyParts)) {
            if (!current.isEmpty() && current.size() + 1 + word.size() > kLine) {
                wrapped += current + '\n';
                current.clear();
            }
            current += (current.isEmpty() ? "" : " ") + word;
        }
        wrapped += current + '\n';
    }
    wrapped.chop(1);
    return wrapped;
}

} // namespace brisolt::gui
