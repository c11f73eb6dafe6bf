#include "key/results/fertility_risk.h"

#include <array>
#include <cmath>
#include <string>

#include "key/core/number_text.h"

namespace brisolt {

namespace {

constexpr int kDepthBands = 8;
constexpr int kEflBands = 13;

// Lower and upper key of each band.
constexpr std::array<std::array<int, 2>, kDepthBands> kDepthBandKeys = {{
    {0, 29},
    {30, 40},
    {41, 50},
    {51, 60},
    {61, 70},
    {71, 80},
    {81, 90},
    {91, 999},
}};
constexpr std::array<std::array<int, 2>, kEflBands> kEflBandKeys = {{
    {0, 10},
    {11, 20},
    {21, 30},
    {31, 40},
    {41, 50},
    {51, 60},
    {61, 70},
    {71, 80},
    {81, 90},
    {91, 100},
    {101, 110},
    {111, 120},
    {121, 999},
}};

// Class codes by depth band (rows) and EFL band (columns): 0 = "0", 11 = "1A",
// 12 = "1B", 20 = "2", 30 = "3".
constexpr std::array<std::array<int, kEflBands>, kDepthBands> kBandCodes = {{
    {11, 11, 20, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30}, // 0-29 cm
    {11, 11, 20, 20, 30, 30, 30, 30, 30, 30, 30, 30, 30}, // 30-40 cm
    {11, 11, 20, 20, 20, 20, 30, 30, 30, 30, 30, 30, 30}, // 41-50 cm
    {0, 11, 12, 20, 20, 20, 20, 20, 30, 30, 30, 30, 30},  // 51-60 cm
    {0, 11, 12, 12, 20, 20, 20, 20, 20, 30, 30, 30, 30},  // 61-70 cm
    {0, 0, 11, 11, 12, 20, 20, 20, 20, 20, 30, 30, 30},   // 71-80 cm
    {0, 0, 0, 11, 12, 12, 20, 20, 20, 20, 20, 30, 30},    // 81-90 cm
    {0, 0, 0, 0, 12, 12, 12, 20, 20, 20, 20, 20, 30},     // 91-999 cm
}};

TmtxExtendedArray BuildFertilityRiskTable() {
    std::vector<std::vector<Real>> rows;
    std::vector<Real> header{-1};
    for (const auto& band : kEflBandKeys) {
        header.push_back(band[0]);
        header.push_back(band[1]);
    }
    rows.push_back(header);
    for (int d = 0; d < kDepthBands; ++d) {
        for (const int key : kDepthBandKeys[static_cast<std::size_t>(d)]) {
            std::vector<Real> row{static_cast<Real>(key)};
            for (const int code : kBandCodes[static_cast<std::size_t>(d)]) {
                row.push_back(code);
                row.push_back(code);
            }
            rows.push_back(std::move(row));
        }
    }
    return TmtxExtendedArray(std::move(rows));
}

// EFL to the nearest whole number, halves to the even neighbour on its 15-digit decimal
// expansion. Away from a half (and for moderate values) plain rounding gives the same
// whole number without the cost of the decimal expansion; this runs once per assessment.
Real RoundEfl(Real efl) {
    if (std::isfinite(efl) && std::fabs(efl) < 1e6L) {
        const Real distanceToHalf = std::fabs(efl - std::floor(efl) - 0.5L);
        if (distanceToHalf > 1e-6L) {
            return std::round(efl);
        }
    }
    return RoundHalfEven(efl, 0);
}

// The class code as the label table spells it. With whole-number keys and equal cells in
// each band the lookup gives an exact code, written without the decimal expansion.
std::string CodeText(Real g) {
    if (std::fabs(g) < 1e9L && g == std::floor(g)) {
        return std::to_string(static_cast<long long>(g));
    }
    return FormatFixed(g, 0, '.');
}

} // namespace

const TmtxExtendedArray& FertilityRiskTable() {
    static const TmtxExtendedArray table = BuildFertilityRiskTable();
    return table;
}

const TmtxStringArray& FertilityRiskLabels() {
    static const TmtxStringArray labels{
        {"0", "0"}, {"11", "1A"}, {"12", "1B"}, {"20", "2"}, {"30", "3"},
    };
    return labels;
}

std::string ComputeFertilityRisk(AssessmentRecord& record) {
    const Real e = RoundEfl(record.EFL);
    const Real g = LookupBilinear(FertilityRiskTable(), static_cast<Real>(record.DepthSoil), e);
    const TmtxStringArray& labels = FertilityRiskLabels();
    record.GBF = LookupText(labels, labels.RowCount - 1, CodeText(g));
    return record.GBF;
}

} // namespace brisolt
