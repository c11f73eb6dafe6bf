#include "cli/record_fields.h"

namespace brisolt::cli {

std::vector<NamedValue> RecordFields(const AssessmentRecord& r) {
    std::vector<NamedValue> f{
        {"NameSurname", r.NameSurname},
        {"Address1", r.Address1},
        {"Address2", r.Address2},
        {"Parzelle", r.Parzelle},
        {"Variant", r.Variant},
        {"Year", r.Year},
        {"EnteredBy", r.EnteredBy},
        {"EnteredOn", r.EnteredOn},
        {"Entertainment", r.Entertainment},
        {"FloatDistance", r.FloatDistance},
        {"Gradient", r.Gradient},
        {"Region", r.Region},
        {"SoilType", r.SoilType},
        {"Stones", r.Stones},
    };
    for (int n = 1; n <= kRotationYears; ++n) {
        const RotationYear& y = r.RotationYearAt(n);
        const std::string base = "Year" + std::to_string(n);
        f.push_back({base, y.Year});
        f.push_back({base + "a", y.a});
        f.push_back({base + "b", y.b});
        f.push_back({base + "c", y.c});
        f.push_back({base + "d", y.d});
        f.push_back({base + "e", y.e});
    }
    const std::vector<NamedValue> rest{
        {"Years", r.Years},
        {"Remark", r.Remark},
        {"Channels", r.Channels},
        {"NumChannels", r.NumChannels},
        {"DepthChannels", r.DepthChannels},
        {"DepthChannel", r.DepthChannel},
        {"WidthChannel", r.WidthChannel},
        {"FrequencyChannels", r.FrequencyChannels},
        {"Method", r.Method},
        {"DepthSoil", r.DepthSoil},
        {"ST", r.ST},
        {"STReduced", r.STReduced},
        {"C", r.C},
        {"CABAG", r.CABAG},
        {"KWBCount", r.KWBCount},
        {"BFPercentage", r.BFPercentage},
    };
    f.insert(f.end(), rest.begin(), rest.end());
    const auto shares = [&f](const char* group, const auto& values, bool last99) {
        for (std::size_t i = 0; i < values.size(); ++i) {
            const bool is99 = last99 && i + 1 == values.size();
            f.push_back({std::string("Total2") + group + (is99 ? "99" : std::to_string(i + 1)),
                         values[i]});
        }
    };
    shares("A", r.Total2A, false);
    shares("B", r.Total2B, true);
    shares("C", r.Total2C, false);
    shares("D", r.Total2D, true);
    const std::vector<NamedValue> results{
        {"EF", r.EF},     {"EL", r.EL},
        {"EFL", r.EFL},   {"SoilLossMM", r.SoilLossMM},
        {"SoilLossTHA", r.SoilLossTHA}, {"GBF", r.GBF},
    };
    f.insert(f.end(), results.begin(), results.end());
    return f;
}

} // namespace brisolt::cli
