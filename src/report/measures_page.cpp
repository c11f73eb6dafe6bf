#include "report/measures_page.h"

#include <algorithm>

#include "key/core/number_text.h"
#include "key/core/texts_measures.h"
#include "key/core/texts_results.h"
#include "report/report_formats.h"
#include "report/table_page.h"

namespace brisolt::report {

namespace {

constexpr double kMeasureIndentMm = 3;

std::string Joined(const std::vector<std::string>& parts) {
    std::string out;
    for (const std::string& p : parts) {
        out += (out.empty() ? "" : "; ") + p;
    }
    return out;
}

} // namespace

std::string DeltaText(const MeasureRow& row) {
    if (row.kind == MeasureRowKind::Current) {
        return {};
    }
    const std::string text = std::to_string(row.shownDeltaEFL);
    return row.shownDeltaEFL > 0 ? "+" + text : text;
}

std::string CText(Real c, char separator) {
    return FormatFixed(c, 3, separator);
}

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
    // Every plan is printed; the single measures with the lowest EFL fill up to the limit.
    const std::size_t limit = std::max(out.size(), kMeasureRowsOnPage + 1);
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
    // The numbers take only the room their headings need: the measures, which make a plan's
    // row tall, get the rest of the line. A measure that wraps hangs under its first line.
    table.columns = {
        {"Zeile", 22, Align::Left},      {"Massnahmen", 82.5, Align::Left, kMeasureIndentMm},
        {"C", 9, Align::Right},          {"EF", 7.5, Align::Right},
        {"EL", 7, Align::Right},         {"EFL", 8, Align::Right},
        {"mm/Jahr", 12.5, Align::Right}, {"t/ha/Jahr", 13.5, Align::Right},
        {"GBF", 7.5, Align::Center},     {"EFL ±", 8.5, Align::Right},
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
            number(CText(r.C, separator), r.C),
            number(RoundedText(r.EF), r.EF),
            number(RoundedText(r.EL), r.EL),
            number(RoundedText(r.EFL), r.EFL, true),
            number(TwoDecimalText(r.SoilLossMM), r.SoilLossMM),
            number(ThreeDecimalText(r.SoilLossTHA), r.SoilLossTHA),
            level,
            number(DeltaText(*row), static_cast<Real>(row->shownDeltaEFL)),
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

std::vector<Page> BuildMeasuresComparison(const MeasureExploration& exploration, char separator) {
    std::vector<Page> pages(1);
    pages.back().name = "Massnahmenvergleich";
    AddPageBackground(pages.back(), pages.back().name);
    if (exploration.rows.empty()) {
        return pages;
    }
    const AssessmentRecord& current = exploration.rows.front().record;
    AddFarmData(pages.back(), current, 4.2);
    std::string heading = exploration.targetLine;
    if (!exploration.rillLine.empty()) {
        heading += "\n" + exploration.rillLine;
    }
    pages.back().elements.push_back(ValueLabel({0, 26.0, 178.6, 2 * kLineHeight}, heading, true));

    const std::vector<const MeasureRow*> printed = PrintedMeasureRows(exploration);
    std::vector<MeasureLine> lines;
    for (const MeasureRow* row : printed) {
        lines.push_back({row, {}});
    }
    const Table table = MeasuresTable(exploration, lines, separator);
    TableStyle style;
    style.x = kLeftMargin + 0.6;
    style.y = kBodyTop + 36.0;
    // A plan is printed whole: rows grow with their measures, and what does not fit on a
    // page continues on the next one, under the column headings again.
    style.maxRowHeight = 200;
    // Close to the lines' own spacing: a plan of many measures keeps little white below them.
    style.continuedLineHeight = 3.0;
    const double bottom = pages.back().heightMm - 10.0 - 3 * kLineHeight;
    Table part{table.columns, {}};
    double y = style.y + RowHeight(style, table.columns, {});
    for (const TableRow& row : table.rows) {
        const double height = RowHeight(style, table.columns, row);
        if (!part.rows.empty() && y + height > bottom) {
            AddTable(pages.back(), style, part);
            part.rows.clear();
            pages.emplace_back();
            pages.back().name = pages.front().name;
            AddPageBackground(pages.back(), pages.back().name);
            style.y = kBodyTop + 4.2;
            y = style.y + RowHeight(style, table.columns, {});
        }
        part.rows.push_back(row);
        y += height;
    }
    const double end = AddTable(pages.back(), style, part);

    std::string note(texts::measures::kNote);
    if (std::any_of(printed.begin(), printed.end(),
                    [](const MeasureRow* r) { return r->approximate; })) {
        note = std::string(texts::measures::kApproximateNote) + "\n" + note;
    }
    const double noteTop =
        std::min(end + 3.0, pages.back().heightMm - 10.0 - 3 * kLineHeight) - kBodyTop;
    pages.back().elements.push_back(Label({0, noteTop, 178.6, 3 * kLineHeight}, note));
    return pages;
}

const MeasureRow* SheetPlan(const MeasureExploration& exploration) {
    const MeasureRow* plan = nullptr;
    for (const MeasureRow& row : exploration.rows) {
        if (row.kind == MeasureRowKind::Plan && (plan == nullptr || row.target != "alle")) {
            plan = &row;
        }
    }
    return plan;
}

namespace {

std::string LevelMeaning(const std::string& gbf) {
    namespace t7 = texts::results::step7;
    const auto join = [](std::initializer_list<std::string_view> parts) {
        std::string out;
        for (const std::string_view p : parts) {
            out += (out.empty() ? "" : "\n") + std::string(p);
        }
        return out;
    };
    if (gbf == t7::kLevel0) {
        return join({t7::kLevel0Meaning});
    }
    if (gbf == t7::kLevel1A) {
        return join({t7::kLevel1AMeaning, t7::kLevel1AAdvice});
    }
    if (gbf == t7::kLevel1B) {
        return join({t7::kLevel1BMeaning, t7::kLevel1BAdvice});
    }
    if (gbf == t7::kLevel2) {
        return join({t7::kLevel2Meaning, t7::kLevel2Advice, t7::kContactAdviser});
    }
    if (gbf == t7::kLevel3) {
        return join({t7::kLevel3Meaning, t7::kLevel3Advice, t7::kContactAdviser});
    }
    return {};
}

} // namespace

Page BuildMeasuresSheet(const MeasureExploration& exploration, const MeasureRow* plan,
                        const std::string& date, char separator) {
    namespace tm = texts::measures;
    Page page;
    page.name = std::string(tm::kSheetTitle);
    AddPageBackground(page, page.name);
    if (exploration.rows.empty()) {
        return page;
    }
    const AssessmentRecord& today = exploration.rows.front().record;
    AddFarmData(page, today, 4.2);

    // Today and with the plan, side by side.
    double y = 28.0;
    page.elements.push_back(
        Heading({0, y, 178.6, kHeadingHeight}, std::string(tm::kSheetComparison), kTitlePoints));
    y += kHeadingHeight + 2;
    Table table;
    table.columns = {
        {"", 70, Align::Left},
        {std::string(tm::kSheetToday), 54, Align::Right},
        {plan != nullptr ? RowTitle(*plan) : std::string(tm::kSheetWithPlan), 54, Align::Right}};
    const auto row = [&](std::string caption, auto value, bool bold = false) {
        TableRow cells;
        TableCell c;
        c.text = std::move(caption);
        c.bold = bold;
        cells.push_back(c);
        for (const AssessmentRecord* r : {&today, plan != nullptr ? &plan->record : nullptr}) {
            TableCell v;
            v.text = r != nullptr ? value(*r) : std::string();
            v.bold = bold;
            cells.push_back(v);
        }
        table.rows.push_back(std::move(cells));
    };
    row("Fruchtfolgefaktor (C)", [&](const AssessmentRecord& r) { return CText(r.C, separator); });
    row("Flächenhafte Erosionsgefährdung (EF)",
        [](const AssessmentRecord& r) { return RoundedText(r.EF); });
    row("Zuschlag für Rinnenerosion (EL)",
        [](const AssessmentRecord& r) { return RoundedText(r.EL); });
    row(
        "Gesamtgefährdung (EFL)", [](const AssessmentRecord& r) { return RoundedText(r.EFL); },
        true);
    row("Bodenverlust/Jahr", [](const AssessmentRecord& r) {
        return TwoDecimalText(r.SoilLossMM) + " mm oder " + ThreeDecimalText(r.SoilLossTHA) +
               " t/ha";
    });
    row(
        "Gefährdungsstufe der Bodenfruchtbarkeit (GBF)",
        [](const AssessmentRecord& r) { return r.GBF; }, true);
    row("Bedeutung", [](const AssessmentRecord& r) { return LevelMeaning(r.GBF); });
    TableStyle style;
    style.x = kLeftMargin + 0.6;
    style.y = kBodyTop + y;
    style.points = 8;
    style.lineHeight = 3.8;
    y = AddTable(page, style, table) - kBodyTop + 6;

    // The plan's measures in plain words, by year.
    page.elements.push_back(
        Heading({0, y, 178.6, kHeadingHeight}, std::string(tm::kSheetMeasures), kTitlePoints));
    y += kHeadingHeight + 1;
    if (plan == nullptr) {
        page.elements.push_back(
            ValueLabel({0, y, 178.6, kLineHeight}, std::string(tm::kNoMeasures)));
        y += kLineHeight;
    } else {
        std::vector<const Measure*> measures;
        for (const int n : plan->measures) {
            measures.push_back(&exploration.measures.at(static_cast<std::size_t>(n - 1)));
        }
        std::stable_sort(measures.begin(), measures.end(),
                         [](const Measure* a, const Measure* b) { return a->year < b->year; });
        for (const Measure* m : measures) {
            const double height = m->description.size() > 110 ? 2 * kLineHeight : kLineHeight;
            page.elements.push_back(ValueLabel({0, y, 178.6, height}, "– " + m->description));
            y += height;
        }
    }
    if (!exploration.rillLine.empty()) {
        y += 1;
        page.elements.push_back(ValueLabel({0, y, 178.6, 2 * kLineHeight}, exploration.rillLine));
        y += 2 * kLineHeight;
    }

    // The user's remark, then date and author.
    y += 4;
    page.elements.push_back(Label({0, y, 30, kLineHeight}, std::string(tm::kSheetRemark), true));
    page.elements.push_back(ValueLabel({30, y, 148.6, 3 * kLineHeight}, today.Remark));
    y += 3 * kLineHeight + 4;
    page.elements.push_back(Label({0, y, 30, kLineHeight}, std::string(tm::kSheetDate), true));
    page.elements.push_back(ValueLabel({30, y, 50, kLineHeight}, date));
    page.elements.push_back(Label({90, y, 30, kLineHeight}, "Erstellt durch :", true));
    page.elements.push_back(ValueLabel({120, y, 58.6, kLineHeight}, today.EnteredBy));
    y += kLineHeight + 4;
    page.elements.push_back(Label({0, y, 178.6, 2 * kLineHeight}, std::string(tm::kNote)));
    return page;
}

} // namespace brisolt::report
