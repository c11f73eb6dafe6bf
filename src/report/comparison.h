#pragma once
// Several calculations of a parcel side by side. Each file is loaded into an assessment of
// its own and walked forward as `brisolt-cli evaluate` does; the current assessment can
// join as a walked copy. The rows come from the record's field table with its German
// captions, the values in the formats of the evaluation protocol.

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "key/core/record.h"
#include "report/page.h"
#include "report/table_page.h"

namespace brisolt::report {

struct ComparedVariant {
    std::string file; // path as given; empty for the current assessment
    std::string name; // what the heading names: the file's name, or "aktuelle Berechnung"
    bool loaded = true;
    std::string loadMessage;
    int stoppedAt = 0; // the step whose "Weiter" refused, 0 for none
    std::string stopMessage;
    AssessmentRecord record; // loaded and walked

    // A walk that stopped before the results (or a file that did not load) shows its
    // message in place of them.
    bool HasResults() const { return loaded && stoppedAt == 0; }
    std::string Message() const { return !loaded ? loadMessage : stopMessage; }
};

ComparedVariant LoadVariant(const std::string& path, Int currentYear);
ComparedVariant CurrentVariant(const AssessmentRecord& record);

struct ComparisonRow {
    std::string group; // "Betriebsdaten", "Schritt 1: Standort", ..., "Ergebnisse"
    std::string label;
    std::vector<std::string> values; // one per variant
    bool differ = false;             // the values are not all the same text
};

struct Comparison {
    std::vector<ComparedVariant> variants;
    std::vector<ComparisonRow> rows;
};

// The rows for these variants. `separator` is the decimal separator of C. The rotation's
// rows go by calendar year ("2017 Hauptkultur") while every rotation starts in the same year;
// otherwise by the year of the rotation ("1. Jahr Hauptkultur"), each cell beginning with its
// own calendar year ("2017: Weizen (Winter), …").
Comparison CompareVariants(std::vector<ComparedVariant> variants, char separator);
// The same rows one after the other, as they are made: a caller that only writes them keeps
// none, so many variants with rows of their own need no table of all rows by all variants.
void ForEachComparisonRow(const std::vector<ComparedVariant>& variants, char separator,
                          const std::function<void(ComparisonRow&&)>& sink);
Comparison CompareCalculations(const std::vector<std::string>& files, Int currentYear,
                               char separator);

// A variant's column heading: "Parzelle / Variante", then the file's name.
std::string VariantHeading(const ComparedVariant& variant);

// The table for screen and paper: the caption column, then the variants first ...
// first + count - 1; each group starts with a bold heading row. Differing rows stand out,
// the lowest EFL and the lowest GBF are marked, GBF cells carry their level.
Table ComparisonTable(const Comparison& comparison, bool onlyDifferences, std::size_t first,
                      std::size_t count);

// Variants per printed page, across, at most; more variants continue on further pages,
// shared out evenly (six are printed three and three).
inline constexpr std::size_t kMaxVariantsPerPage = 5;

// A4 landscape pages of the comparison.
std::vector<Page> BuildComparisonPages(const Comparison& comparison, bool onlyDifferences);

// At least how many pages BuildComparisonPages makes for this many variants and rows shown
// (every row one line high), without building them.
std::size_t MinimumComparisonPages(std::size_t variants, std::size_t rows);
// More pages than this are not printed: the document would outgrow the memory of the
// machine long before anyone could read it.
inline constexpr std::size_t kMaxComparisonPages = 1000;

} // namespace brisolt::report
