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

    const std::vector<TableColumn> columns = {
        {"Zeile", 22, Align::Left},       {"Massnahmen", 66, Align::Left},
        {"C", 12, Align::Right},          {"EF", 10, Align::Right},
        {"EL", 9, Align::Right},          {"EFL", 10, Align::Right},
        {"mm/Jahr", 12.5, Align::Right},  {"t/ha/Jahr", 13.5, Align::Right},
        {"GBF", 9, Align::Center},        {"EFL ±", 10, Align::Right},
    };
    std::vector<TableRow> rows;
    for (const MeasureRow* row : PrintedMeasureRows(exploration)) {
        const AssessmentRecord& r = row->record;
        const bool isCurrent = row->kind == MeasureRowKind::Current;
        TableRow cells = {
            {RowTitle(*row), isCurrent || row->kind == MeasureRowKind::Plan},
            {Joined(row->descriptions)},
            {GeneralNumberText(r.C, separator)},
            {RoundedText(r.EF)},
            {RoundedText(r.EL)},
            {RoundedText(r.EFL), true},
            {TwoDecimalText(r.SoilLossMM)},
            {ThreeDecimalText(r.SoilLossTHA)},
            {r.GBF, true},
            {isCurrent ? std::string() : SignedRounded(row->deltaEFL)},
        };
        if (isCurrent) {
            for (TableCell& c : cells) {
                c.fill = Fill::Grey;
            }
        }
        rows.push_back(std::move(cells));
    }
    TableStyle style;
    style.x = kLeftMargin + 0.6;
    style.y = kBodyTop + 36.0;
    style.maxRowHeight = 20;
    const double end = AddTable(page, style, columns, rows);

    // Below the table, but never off the page.
    const double noteTop = std::min(end + 3.0, page.heightMm - 10.0 - 2 * kLineHeight) - kBodyTop;
    page.elements.push_back(
        Label({0, noteTop, 178.6, 2 * kLineHeight}, std::string(texts::measures::kNote)));
    return page;
}

} // namespace brisolt::report
