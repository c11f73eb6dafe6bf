#include "report/measures_page.h"

#include <algorithm>

#include "key/core/texts_measures.h"
#include "report/report_formats.h"
#include "report/table_page.h"

namespace brisolt::report {

namespace {

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "; ") + p;
    }
    return out;
}

std::string SignedRounded(Real x) {
    const std::string text = RoundedText(x);
    return x > 0 && text != "0" ? "+" + text : text;
}

} // namespace

std::vector<const MeasureRow*> PrintedMeasureRows(const MeasureExploration& exploration) {
    std::vector<const MeasureRow*> out;
    std::vector<const MeasureRow*> singles;
    for (const MeasureRow& row : exploration.rows) {
        if (row.kind == MeasureRowKind::Current) {
            out.insert(out.begin(), &row);
        } else if (row.kind == MeasureRowKind::Plan) {
            out.push_back(&row);
        } else {
            singles.push_back(&row);
        }
    }
    std::stable_sort(singles.begin(), singles.end(), [](const MeasureRow* a, const MeasureRow* b) {
        return a->record.EFL < b->record.EFL;
    });
    const std::size_t limit = kMeasureRowsOnPage + (out.empty() ? 0 : 1);
    if (out.size() > limit) {
        out.resize(limit);
    }
    for (const MeasureRow* row : singles) {
        if (out.size() >= limit) {
            break;
        }
        out.push_back(row);
    }
    return out;
}

std::vector<MeasureLine> MeasureLines(const MeasureExploration& exploration) {
    std::vector<MeasureLine> lines;
    for (const MeasureRow& row : exploration.rows) {
        if (row.kind != MeasureRowKind::Single) {
            lines.push_back({&row, {}});
        }
    }
    // The single measures come numbered by kind, a change of several years as one run.
    const std::string* heading = nullptr;
    for (std::size_t i = 0; i < exploration.rows.size(); ++i) {
        const MeasureRow& row = exploration.rows[i];
        if (row.kind != MeasureRowKind::Single || row.measures.empty()) {
            continue;
        }
        const Measure& m = exploration.measures.at(static_cast<std::size_t>(row.measures[0] - 1));
        const bool sameAsBefore = heading != nullptr && *heading == m.heading;
        const bool sameAsNext =
            i + 1 < exploration.rows.size() &&
            exploration.rows[i + 1].kind == MeasureRowKind::Single &&
            exploration.measures
                    .at(static_cast<std::size_t>(exploration.rows[i + 1].measures[0] - 1))
                    .heading == m.heading;
        if (!sameAsBefore && sameAsNext && !m.heading.empty()) {
            lines.push_back({nullptr, m.heading});
        }
        heading = &m.heading;
        lines.push_back({&row, {}});
    }
    return lines;
}

Table MeasuresTable(const MeasureExploration& exploration, const std::vector<MeasureLine>& lines,
                    char separator) {
    std::vector<const MeasureRow*> rows;
    for (const MeasureLine& line : lines) {
        rows.push_back(line.row);
    }
    Table table = MeasuresTable(rows, separator);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        TableRow& cells = table.rows[i];
        if (lines[i].row == nullptr) {
            cells[1].text = lines[i].heading;
            cells[1].bold = true;
            continue;
        }
        const MeasureRow& row = *lines[i].row;
        if (row.kind == MeasureRowKind::Plan) {
            cells[1].text.clear();
            for (const std::string& d : row.descriptions) {
                cells[1].text += (cells[1].text.empty() ? "" : "\n") + d;
            }
        } else if (row.kind == MeasureRowKind::Single && i > 0 && !row.measures.empty()) {
            // Under a heading the line names only its year.
            const Measure& m =
                exploration.measures.at(static_cast<std::size_t>(row.measures[0] - 1));
            const bool underHeading = std::any_of(
                lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(i),
                [&](const MeasureLine& l) { return l.row == nullptr && l.heading == m.heading; });
            if (underHeading && !m.yearLabel.empty()) {
                cells[1].text = m.yearLabel;
            }
        }
    }
    return table;
}

Table MeasuresTable(const std::vector<const MeasureRow*>& rows, char separator) {
    Table table;
    table.columns = {
        {"Zeile", 22, Align::Left},      {"Massnahmen", 66, Align::Left},
        {"C", 12, Align::Right},         {"EF", 10, Align::Right},
        {"EL", 9, Align::Right},         {"EFL", 10, Align::Right},
        {"mm/Jahr", 12.5, Align::Right}, {"t/ha/Jahr", 13.5, Align::Right},
        {"GBF", 9, Align::Center},       {"EFL ±", 10, Align::Right},
    };
    const auto number = [](std::string text, Real value, bool bold = false) {
        TableCell cell;
        cell.text = std::move(text);
        cell.bold = bold;
        cell.sortKey = static_cast<double>(value);
        cell.numeric = true;
        return cell;
    };
    for (const MeasureRow* row : rows) {
        if (row == nullptr) {
            table.rows.push_back(TableRow(table.columns.size()));
            continue;
        }
        const AssessmentRecord& r = row->record;
        const bool isCurrent = row->kind == MeasureRowKind::Current;
        TableCell title;
        title.text = RowTitle(*row);
        title.bold = row->kind != MeasureRowKind::Single;
        TableCell measures;
        measures.text = Joined(row->descriptions);
        TableCell level;
        level.text = r.GBF;
        level.bold = true;
        level.level = r.GBF;
        TableRow cells = {
            title,
            measures,
            number(GeneralNumberText(r.C, separator), r.C),
            number(RoundedText(r.EF), r.EF),
            number(RoundedText(r.EL), r.EL),
            number(RoundedText(r.EFL), r.EFL, true),
            number(TwoDecimalText(r.SoilLossMM), r.SoilLossMM),
            number(ThreeDecimalText(r.SoilLossTHA), r.SoilLossTHA),
            level,
            number(isCurrent ? std::string() : SignedRounded(row->deltaEFL), row->deltaEFL),
        };
        if (isCurrent) {
            for (TableCell& c : cells) {
                c.fill = Fill::Grey;
            }
        }
        table.rows.push_back(std::move(cells));
    }
    return table;
}

Page BuildMeasuresComparison(const MeasureExploration& exploration, char separator) {
    Page page;
    page.name = "Massnahmenvergleich";
    AddPageBackground(page, page.name);
    if (exploration.rows.empty()) {
        return page;
    }
    const AssessmentRecord& current = exploration.rows.front().record;
    AddFarmData(page, current, 4.2);

    page.elements.push_back(
        ValueLabel({0, 26.0, 178.6, 2 * kLineHeight}, exploration.targetLine, true));

    const Table table = MeasuresTable(PrintedMeasureRows(exploration), separator);
    TableStyle style;
    style.x = kLeftMargin + 0.6;
    style.y = kBodyTop + 36.0;
    style.maxRowHeight = 20;
    const double end = AddTable(page, style, table);

    // Below the table, but never off the page.
    const double noteTop = std::min(end + 3.0, page.heightMm - 10.0 - 2 * kLineHeight) - kBodyTop;
    page.elements.push_back(
        Label({0, noteTop, 178.6, 2 * kLineHeight}, std::string(texts::measures::kNote)));
    return page;
}

} // namespace brisolt::report
