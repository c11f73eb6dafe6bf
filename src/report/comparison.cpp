#include "report/comparison.h"

#include <algorithm>
#include <filesystem>
#include <map>

#include "key/core/number_text.h"
#include "key/core/record_fields.h"
#include "key/core/texts.h"
#include "key/core/texts_compare.h"
#include "key/core/texts_rotation.h"
#include "key/results/rill_erosion.h"
#include "key/results/soil_depth.h"
#include "key/rotation/rotation_checks.h"
#include "key/rotation/step2_form.h"
#include "key/site/site_influence.h"
#include "key/walk.h"
#include "report/report_formats.h"

namespace brisolt::report {

namespace {

constexpr const char* kFarm = "Betriebsdaten";
constexpr const char* kSite = "Schritt 1: Standort";
constexpr const char* kRotation = "Schritt 2: Fruchtfolge";
constexpr const char* kRills = "Schritt 4: Rinnenerosion";
constexpr const char* kDepth = "Schritt 6: Gründigkeit";
constexpr const char* kResults = "Ergebnisse";
constexpr const char* kMessage = "Meldung";
constexpr const char* kCurrentName = "aktuelle Berechnung";

// The caption of a field of the record's table.
std::string Caption(std::string_view name) {
    for (const RecordField& field : RecordFields()) {
        if (field.name == name) {
            return std::string(field.label);
        }
    }
    return std::string(name);
}

std::string Joined(std::initializer_list<std::string> parts) {
    std::string out;
    for (const std::string& p : parts) {
        if (!p.empty()) {
            out += (out.empty() ? "" : ", ") + p;
        }
    }
    return out;
}

// What the step 2 screen shows for each year of the rotation, in order: the calendar year,
// the main crop with its tillage, and the intermediate period with its tillage and start.
struct YearTexts {
    Int calendar = 0;
    std::string main;
    std::string period;
};

std::vector<YearTexts> RotationTexts(const AssessmentRecord& record) {
    std::vector<YearTexts> out;
    Step2Form form;
    form.Activate(record);
    const RotationExtent extent = FindRotationExtent(record);
    for (int k = extent.First; !extent.Empty() && k <= extent.Last; ++k) {
        const Step2Year& row = form.Row(k);
        const auto text = [&](Choice c) { return row.List(c).ChosenText(); };
        out.push_back({record.RotationYearAt(k).Year,
                       Joined({text(Choice::Crop), text(Choice::CropTillage)}),
                       Joined({text(Choice::PeriodType), text(Choice::PeriodTillage),
                               text(Choice::PeriodStart)})});
    }
    return out;
}

// The calendar year every rotation starts in, when all start in the same one and count
// their years on from it; 0 otherwise (or when a year has none).
Int CommonStart(const std::vector<std::vector<YearTexts>>& rotations) {
    Int start = 0;
    for (const std::vector<YearTexts>& years : rotations) {
        if (years.empty()) {
            continue;
        }
        if (years.front().calendar <= 0 || (start != 0 && years.front().calendar != start)) {
            return 0;
        }
        start = years.front().calendar;
        for (std::size_t i = 0; i < years.size(); ++i) {
            if (years[i].calendar != start + static_cast<Int>(i)) {
                return 0;
            }
        }
    }
    return start;
}

// A rotation year's text where the rows count the years of the rotation: its calendar year
// first, "2017: Weizen (Winter), …".
std::string WithCalendarYear(Int calendar, const std::string& text) {
    if (calendar <= 0) {
        return text;
    }
    return text.empty() ? std::to_string(calendar) : std::to_string(calendar) + ": " + text;
}

// The answers by question, as the protocol's observation lines give them.
std::map<std::string, std::string> RillAnswers(const AssessmentRecord& record) {
    std::map<std::string, std::string> out;
    // Whether rills arise is answered in every file, with rills too, where the protocol's
    // lines begin with their number.
    const RillQuestionList& channels = RillQuestionListOf(RillQuestion::Channels);
    if (record.Channels >= 0 && record.Channels < static_cast<Index>(channels.Answers.size())) {
        out[channels.Title] = channels.Answers[static_cast<std::size_t>(record.Channels)];
    }
    for (const auto& [question, answer] : RillObservationLines(record)) {
        if (!question.empty()) {
            out[question] = answer;
        }
    }
    return out;
}

int LevelRank(const std::string& gbf) {
    static const std::vector<std::string> levels{"0", "1A", "1B", "2", "3"};
    const auto it = std::find(levels.begin(), levels.end(), gbf);
    return it == levels.end() ? -1 : static_cast<int>(it - levels.begin());
}

} // namespace

ComparedVariant LoadVariant(const std::string& path, Int currentYear) {
    ComparedVariant v;
    v.file = path;
#ifdef _WIN32
    // The name is UTF-8; std::filesystem would read it in the ANSI code page there.
    v.name = path.substr(path.find_last_of("/\\:") + 1);
#else
    v.name = std::filesystem::path(path).filename().string();
#endif
    const Evaluation e = EvaluateCalculationFile(path, currentYear);
    v.loaded = e.outcome.loaded;
    v.loadMessage = e.outcome.loadMessage;
    v.stoppedAt = e.outcome.stoppedAt;
    v.stopMessage = e.outcome.stopMessage;
    v.record = e.record;
    return v;
}

ComparedVariant CurrentVariant(const AssessmentRecord& record) {
    ComparedVariant v;
    v.name = kCurrentName;
    v.record = record;
    const WalkOutcome o = WalkForward(v.record);
    v.stoppedAt = o.stoppedAt;
    v.stopMessage = o.stopMessage;
    return v;
}

std::string VariantHeading(const ComparedVariant& variant) {
    const AssessmentRecord& r = variant.record;
    std::string parcel = variant.loaded ? Joined({r.Parzelle, r.Variant}) : std::string();
    if (variant.loaded && !r.Parzelle.empty() && !r.Variant.empty()) {
        parcel = r.Parzelle + " / " + r.Variant;
    }
    return parcel.empty() ? variant.name : parcel + " (" + variant.name + ")";
}

void ForEachComparisonRow(const std::vector<ComparedVariant>& variants, char separator,
                          const std::function<void(ComparisonRow&&)>& sink) {
    const auto add = [&](const char* group, std::string label, auto value) {
        ComparisonRow row;
        row.group = group;
        row.label = std::move(label);
        for (const ComparedVariant& v : variants) {
            row.values.push_back(v.loaded ? value(v) : std::string());
        }
        row.differ = std::adjacent_find(row.values.begin(), row.values.end(),
                                        std::not_equal_to<>()) != row.values.end();
        sink(std::move(row));
    };
    const auto results = [](auto value) {
        return [value](const ComparedVariant& v) { return v.HasResults() ? value(v.record) : ""; };
    };

    // What the adviser compares first: the results above the inputs.
    if (std::any_of(variants.begin(), variants.end(),
                    [](const ComparedVariant& v) { return !v.HasResults(); })) {
        ComparisonRow row;
        row.group = kResults;
        row.label = kMessage;
        for (const ComparedVariant& v : variants) {
            row.values.push_back(v.HasResults() ? std::string() : v.Message());
        }
        row.differ = true;
        sink(std::move(row));
    }
    add(kResults, Caption("ST") + " (ST)",
        results([](const AssessmentRecord& r) { return RoundedText(r.ST); }));
    add(kResults, Caption("STReduced") + " (ST')",
        results([](const AssessmentRecord& r) { return RoundedText(r.STReduced); }));
    add(kResults, Caption("C") + " (C)", results([separator](const AssessmentRecord& r) {
            return GeneralNumberText(r.C, separator);
        }));
    add(kResults, Caption("EF") + " (EF)",
        results([](const AssessmentRecord& r) { return RoundedText(r.EF); }));
    add(kResults, Caption("EL") + " (EL)",
        results([](const AssessmentRecord& r) { return RoundedText(r.EL); }));
    add(kResults, Caption("EFL") + " (EFL)",
        results([](const AssessmentRecord& r) { return RoundedText(r.EFL); }));
    add(kResults, Caption("SoilLossMM"),
        results([](const AssessmentRecord& r) { return TwoDecimalText(r.SoilLossMM); }));
    add(kResults, Caption("SoilLossTHA"),
        results([](const AssessmentRecord& r) { return ThreeDecimalText(r.SoilLossTHA); }));
    add(kResults, Caption("GBF") + " (GBF)",
        results([](const AssessmentRecord& r) { return r.GBF; }));

    add(kFarm, Caption("Parzelle"), [](const ComparedVariant& v) { return v.record.Parzelle; });
    add(kFarm, Caption("Variant"), [](const ComparedVariant& v) { return v.record.Variant; });
    add(kFarm, Caption("Year"),
        [](const ComparedVariant& v) { return IntegerText(v.record.Year); });
    add(kFarm, Caption("EnteredBy"), [](const ComparedVariant& v) { return v.record.EnteredBy; });
    add(kFarm, Caption("EnteredOn"), [](const ComparedVariant& v) { return v.record.EnteredOn; });

    add(kSite, Caption("Region"),
        [](const ComparedVariant& v) { return ListEntry(RegionLetters(), v.record.Region); });
    add(kSite, Caption("SoilType"), [](const ComparedVariant& v) {
        return ListEntry(SoilTypeNames(v.record.Region), v.record.SoilType);
    });
    add(kSite, Caption("Gradient"),
        [](const ComparedVariant& v) { return IntegerText(v.record.Gradient) + " %"; });
    add(kSite, Caption("FloatDistance"),
        [](const ComparedVariant& v) { return IntegerText(v.record.FloatDistance) + " m"; });
    add(kSite, Caption("Stones"),
        [](const ComparedVariant& v) { return IntegerText(v.record.Stones) + " %"; });
    add(kSite, Caption("Entertainment"), [](const ComparedVariant& v) {
        return ListEntry(ManagementDirections(), v.record.Entertainment);
    });

    // The rotations year by year. Rotations of the same calendar years keep them in the
    // captions; rotations that start in different years line up by the year of the rotation,
    // each cell with its own calendar year, instead of each filling rows the others leave empty.
    std::vector<std::vector<YearTexts>> years;
    std::size_t longest = 0;
    for (const ComparedVariant& v : variants) {
        years.push_back(v.loaded ? RotationTexts(v.record) : std::vector<YearTexts>{});
        longest = std::max(longest, years.back().size());
    }
    const Int start = CommonStart(years);
    for (std::size_t i = 0; i < longest; ++i) {
        const auto yearText = [&](bool main) {
            return [&years, &variants, i, main, start](const ComparedVariant& v) {
                const auto& texts = years[static_cast<std::size_t>(&v - variants.data())];
                if (i >= texts.size()) {
                    return std::string();
                }
                const std::string& text = main ? texts[i].main : texts[i].period;
                return start > 0 ? text : WithCalendarYear(texts[i].calendar, text);
            };
        };
        const std::string year = start > 0 ? std::to_string(start + static_cast<Int>(i))
                                           : texts::compare::kRotationYear(i + 1);
        add(kRotation, year + " " + std::string(texts::step2::kMainCrop), yearText(true));
        add(kRotation, year + " " + std::string(texts::step2::kIntermediatePeriod),
            yearText(false));
    }
    add(kRotation, Caption("Remark"), [](const ComparedVariant& v) { return v.record.Remark; });

    std::vector<std::string> questions;
    for (int q = 0; q < kRillQuestionCount; ++q) {
        const std::string& title = RillQuestionListOf(static_cast<RillQuestion>(q)).Title;
        const bool asked = std::any_of(variants.begin(), variants.end(), [&](const auto& v) {
            return v.loaded && RillAnswers(v.record).count(title) != 0;
        });
        if (asked) {
            add(kRills, title, [title](const ComparedVariant& v) {
                const auto answers = RillAnswers(v.record);
                const auto it = answers.find(title);
                return it == answers.end() ? std::string() : it->second;
            });
        }
    }

    add(kDepth, Caption("Method"),
        [](const ComparedVariant& v) { return ListEntry(DepthMethods(), v.record.Method); });
    add(kDepth, Caption("DepthSoil"),
        [](const ComparedVariant& v) { return IntegerText(v.record.DepthSoil) + " cm"; });
}

Comparison CompareVariants(std::vector<ComparedVariant> variants, char separator) {
    Comparison c;
    c.variants = std::move(variants);
    ForEachComparisonRow(c.variants, separator,
                         [&c](ComparisonRow&& row) { c.rows.push_back(std::move(row)); });
    return c;
}

Comparison CompareCalculations(const std::vector<std::string>& files, Int currentYear,
                               char separator) {
    std::vector<ComparedVariant> variants;
    for (const std::string& file : files) {
        variants.push_back(LoadVariant(file, currentYear));
    }
    return CompareVariants(std::move(variants), separator);
}

Table ComparisonTable(const Comparison& comparison, bool onlyDifferences, std::size_t first,
                      std::size_t count) {
    Table table;
    const std::size_t end = std::min(comparison.variants.size(), first + count);
    table.columns.push_back({"", 75, Align::Left});
    for (std::size_t v = first; v < end; ++v) {
        table.columns.push_back({VariantHeading(comparison.variants[v]), 48, Align::Left});
    }

    // The lowest EFL and the lowest GBF among the variants with results.
    std::vector<Real> efl;
    std::vector<int> level;
    for (const ComparedVariant& v : comparison.variants) {
        efl.push_back(v.HasResults() ? RoundHalfEven(v.record.EFL) : Real(1e300));
        level.push_back(v.HasResults() && LevelRank(v.record.GBF) >= 0 ? LevelRank(v.record.GBF)
                                                                       : 99);
    }
    const Real lowestEfl = efl.empty() ? 0 : *std::min_element(efl.begin(), efl.end());
    const int lowestLevel = level.empty() ? 0 : *std::min_element(level.begin(), level.end());

    std::string group;
    for (const ComparisonRow& row : comparison.rows) {
        if (onlyDifferences && !row.differ) {
            continue;
        }
        if (row.group != group) {
            group = row.group;
            TableCell heading;
            heading.text = group;
            heading.bold = true;
            table.rows.push_back({heading});
            table.rows.back().resize(table.columns.size());
        }
        TableRow cells;
        TableCell caption;
        caption.text = row.label;
        cells.push_back(caption);
        const bool isEfl = row.label.size() >= 6 && row.label.ends_with("(EFL)");
        const bool isGbf = row.label.ends_with("(GBF)");
        for (std::size_t v = first; v < end; ++v) {
            TableCell cell;
            cell.text = row.values[v];
            cell.highlight = row.differ;
            if (isGbf) {
                cell.level = cell.text;
                cell.marked = !cell.text.empty() && level[v] == lowestLevel;
            }
            if (isEfl) {
                cell.marked = !cell.text.empty() && efl[v] == lowestEfl;
            }
            cells.push_back(std::move(cell));
        }
        cells.front().highlight = row.differ;
        table.rows.push_back(std::move(cells));
    }
    return table;
}

namespace {

// How many variants stand across a page: at most kMaxVariantsPerPage, shared out evenly, so
// that a fifth variant joins the other four and never stands alone on pages of its own.
std::size_t VariantsAcross(std::size_t variants) {
    const std::size_t groups = (variants + kMaxVariantsPerPage - 1) / kMaxVariantsPerPage;
    return std::max<std::size_t>(1, (variants + groups - 1) / std::max<std::size_t>(groups, 1));
}

// Column widths of the landscape page: four variants at their usual width; a fifth narrows
// the captions and the variants to share the line.
void FitColumns(Table& table, double lineWidth) {
    const std::size_t across = table.columns.size() - 1;
    if (across <= 4) {
        return;
    }
    constexpr double kNarrowCaption = 62;
    table.columns.front().width = kNarrowCaption;
    for (std::size_t i = 1; i < table.columns.size(); ++i) {
        table.columns[i].width = (lineWidth - kNarrowCaption) / static_cast<double>(across);
    }
}

} // namespace

std::size_t MinimumComparisonPages(std::size_t variants, std::size_t rows) {
    // The page and table of BuildComparisonPages: rows from 20 mm down to 10 mm above the
    // foot of the landscape sheet, below the heading row; every row at least one line high.
    TableStyle style;
    const double line = RowHeight(style, {}, {});
    const double room = 210 - 10 - 20 - line;
    const auto perPage = std::max<std::size_t>(1, static_cast<std::size_t>(room / line));
    const std::size_t count = std::max<std::size_t>(variants, 1);
    const std::size_t across = VariantsAcross(count);
    const std::size_t groups = (count + across - 1) / across;
    return groups * std::max<std::size_t>(1, (rows + perPage - 1) / perPage);
}

std::vector<Page> BuildComparisonPages(const Comparison& comparison, bool onlyDifferences) {
    constexpr double kWidth = 297, kHeight = 210, kLeft = 10, kTop = 10, kBottom = 10;
    const auto newPage = [&](std::size_t number, std::size_t total) {
        Page page;
        page.widthMm = kWidth;
        page.heightMm = kHeight;
        page.name = "Varianten vergleichen";
        Element title;
        title.box = {kLeft, kTop, 180, 6};
        title.text = page.name;
        title.fontPoints = kTitlePoints;
        title.bold = true;
        page.elements.push_back(title);
        Element product = title;
        product.box = {kWidth - kLeft - 90, kTop, 90, 6};
        product.text =
            std::string(texts::kProgramName) + " " + std::string(texts::kVersion) +
            (total > 1 ? "  –  Seite " + std::to_string(number) + "/" + std::to_string(total)
                       : std::string());
        product.align = Align::Right;
        page.elements.push_back(product);
        Element rule;
        rule.kind = ElementKind::Line;
        rule.box = {kLeft, kTop + 5.5, kWidth - 2 * kLeft, 1.5};
        page.elements.push_back(rule);
        return page;
    };

    // Pages across (groups of variants) and down (rows that do not fit).
    std::vector<std::vector<Page>> groups;
    const std::size_t variants = std::max<std::size_t>(comparison.variants.size(), 1);
    const std::size_t across = VariantsAcross(variants);
    for (std::size_t first = 0; first < variants; first += across) {
        Table table = ComparisonTable(comparison, onlyDifferences, first, across);
        FitColumns(table, kWidth - 2 * kLeft);
        TableStyle style;
        style.x = kLeft;
        style.y = kTop + 10;
        style.maxRowHeight = 14;
        std::vector<Page> pages;
        Table part{table.columns, {}};
        double height = RowHeight(style, table.columns, {});
        const auto flush = [&] {
            pages.push_back(newPage(0, 0));
            AddTable(pages.back(), style, part);
            part.rows.clear();
            height = RowHeight(style, table.columns, {});
        };
        for (const TableRow& row : table.rows) {
            const double h = RowHeight(style, table.columns, row);
            if (!part.rows.empty() && style.y + height + h > kHeight - kBottom) {
                flush();
            }
            part.rows.push_back(row);
            height += h;
        }
        flush();
        groups.push_back(std::move(pages));
    }
    std::vector<Page> out;
    for (auto& pages : groups) {
        for (Page& page : pages) {
            out.push_back(std::move(page));
        }
    }
    // Number the pages now that their count is known.
    for (std::size_t i = 0; i < out.size(); ++i) {
        Page numbered = newPage(i + 1, out.size());
        out[i].elements[1] = numbered.elements[1];
    }
    return out;
}

} // namespace brisolt::report
