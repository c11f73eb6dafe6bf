#include "key/results/soil_depth.h"

#include "key/core/texts_results.h"

namespace brisolt {

namespace t = texts::results::step6;

const std::vector<std::string>& DepthMethods() {
    static const std::vector<std::string> methods = {
        std::string(t::kSoilMap), std::string(t::kBoring), std::string(t::kRegionalStandard)};
    return methods;
}

const TmtxStringArray& RegionalDepthTable() {
    static const TmtxStringArray table{
        {std::string(t::kDepthTableRegion), std::string(t::kDepthTableHeading)},
        {"A", "80"},
        {"B", "80"},
        {"C", "80"},
        {"D", "80"},
        {"E", "80"},
        {"F", "60"},
        {"G", "80"},
        {"H", "90"},
    };
    return table;
}

std::string RegionalStandardDepthText(Index region) {
    const TmtxStringArray& table = RegionalDepthTable();
    // Compared before adding 1, so a loaded region of INT32_MAX cannot overflow.
    if (region < 0 || region >= table.RowCount - 1) {
        return {};
    }
    return table.at(region + 1, 1);
}

} // namespace brisolt
