// Runs the built brisolt-cli on a few hundred generated assessments and compares every result
// with a separate reading of the key (support/oracle.h). The step 2 screen state is used only
// to produce valid list positions for the files, never to compute an expected value.

#include <cmath>
#include <random>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "key/files/calculation_file.h"
#include "key/rotation/step2_form.h"
#include "key/startup.h"
#include "support/json.h"
#include "support/oracle.h"
#include "support/run.h"
#include "support/temp_dir.h"

namespace brisolt {
namespace {

using oracle::Crops;
using oracle::Real;
using testing::Json;
using testing::TempDir;

struct Generated {
    std::string path;
    std::string summary; // what was entered, to find a failing case again
    oracle::Site site;
    oracle::Rills rills;
    int method = 0;
    int depth = 0;
    std::array<oracle::YearCodes, 10> years{};
};

class Generator {
public:
    explicit Generator(unsigned seed) : random_(seed) {}

    int Between(int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random_);
    }
    bool Chance(int percent) { return Between(0, 99) < percent; }

    // Crop codes of a rotation of n years: single crops and stands of the multi-year crops,
    // turned by a random number of years so that a rotation may begin inside a stand.
    std::vector<int> RotationCodes(int n) {
        static const std::vector<int> singles{1,  2,  4,  5,  6,  7,  8,  9,  10, 11,
                                              12, 13, 14, 15, 16, 17, 21, 22, 23, 24,
                                              25, 29, 30, 31, 32, 33, 34, 35, 36, 37};
        // Broad-leaved crops (classes BFS and BFW) make up half of the singles; some rotations
        // take only those, so that row crops after a meadow meet a share of 50 % or more.
        static const std::vector<int> broadLeaved{1,  2,  7,  8,  15, 16, 21, 22,
                                                  23, 24, 29, 30, 31, 32, 33};
        const bool rowCrops = Chance(20);
        std::vector<int> codes;
        if (Chance(3)) {
            const int follower =
                std::array<int, 3>{20, 28, 38}[static_cast<std::size_t>(Between(0, 2))];
            return std::vector<int>(static_cast<std::size_t>(n), follower);
        }
        while (static_cast<int>(codes.size()) < n) {
            const int kind = Between(0, 9);
            if (kind <= 5) {
                codes.push_back(rowCrops ? broadLeaved[static_cast<std::size_t>(Between(0, 14))]
                                         : singles[static_cast<std::size_t>(Between(0, 29))]);
            } else if (kind <= 7) {
                codes.push_back(Chance(50) ? 18 : 19);
                for (int i = Between(0, 3); i > 0; --i)
                    codes.push_back(20);
            } else if (kind == 8) {
                codes.push_back(Chance(50) ? 26 : 27);
                for (int i = Between(0, 2); i > 0; --i)
                    codes.push_back(28);
            } else {
                codes.push_back(3);
                for (int i = Between(0, 3); i > 0; --i)
                    codes.push_back(38);
            }
        }
        codes.resize(static_cast<std::size_t>(n));
        std::rotate(codes.begin(), codes.begin() + Between(0, n - 1), codes.end());
        return codes;
    }

    Generated Make(const TempDir& dir, int number, Int currentYear) {
        Generated g;
        AssessmentRecord record = FreshRecord(currentYear);
        std::ostringstream summary;

        g.site.region = Between(0, 7);
        g.site.soilType = Between(0, oracle::SoilTypeCount(g.site.region) - 1);
        g.site.gradient = Chance(10) ? Between(2, 3) : Between(2, 60);
        // A flow length of 0 makes EF 0, so EFL is the rill surcharge alone: whole numbers
        // whose soil loss in mm is an exact half now and then (3, 15, 75).
        const bool bare = Chance(8);
        g.site.length = bare ? 0 : Chance(20) ? Between(1, 30) : Between(0, 400);
        g.site.stones = Chance(30) ? 0 : Chance(10) ? Between(95, 100) : Between(0, 100);
        g.site.direction = Between(0, 1);
        record.Region = g.site.region;
        record.SoilType = g.site.soilType;
        record.Gradient = g.site.gradient;
        record.FloatDistance = g.site.length;
        record.Stones = g.site.stones;
        record.Entertainment = g.site.direction;
        summary << "site " << g.site.region << "/" << g.site.soilType << " s=" << g.site.gradient
                << " L=" << g.site.length << " stones=" << g.site.stones
                << " dir=" << g.site.direction << "; rotation";

        // The rotation, entered on the step 2 screen state.
        Step2Form form;
        form.Activate(record);
        if (!Chance(2)) {
            const int n = Between(1, 10);
            const int first = Between(1, 11 - n);
            const std::vector<int> codes = RotationCodes(n);
            for (int i = 0; i < n; ++i) {
                EnterYear(form, record, first + i,
                          oracle::CropIndexOfCode(codes[static_cast<std::size_t>(i)]), g);
            }
            MaybeSpoil(form, record, first, n, g);
        }
        for (int k = 1; k <= 10; ++k) {
            const auto& y = g.years[static_cast<std::size_t>(k - 1)];
            if (y.crop > 0) {
                summary << " " << k << ":" << Crops()[static_cast<std::size_t>(y.crop)].code << "/T"
                        << y.T << "/P" << y.P << "/D" << y.D << "/E" << y.E;
            }
        }

        oracle::Rills r;
        r.channels = bare ? 0 : Between(0, 1);
        r.number = Between(0, 1);
        r.depthSeveral = Between(0, 1);
        r.depthSingle = Between(0, 2);
        r.width = Between(0, 1);
        r.frequency = Between(0, 4);
        g.rills = r;
        record.Channels = r.channels;
        record.NumChannels = r.number;
        record.DepthChannels = r.depthSeveral;
        record.DepthChannel = r.depthSingle;
        record.WidthChannel = r.width;
        record.FrequencyChannels = r.frequency;

        g.method = Between(0, 2);
        g.depth = Chance(5) ? Between(500, 1500) : Chance(10) ? 0 : Between(1, 130);
        record.Method = g.method;
        record.DepthSoil = g.depth;
        summary << "; rills " << r.channels << r.number << r.depthSeveral << r.depthSingle
                << r.width << r.frequency << "; depth " << g.method << "/" << g.depth;
        g.summary = summary.str();

        g.path = dir.File("a" + std::to_string(number) + ".txt");
        SaveCalculation(record, g.path);
        return g;
    }

private:
    int ChooseAny(const OptionList& list) { return Between(1, list.Count() - 1); }

    // Chooses the crop, then its period type and tillage, then the period's tillage and
    // start, each a random entry of what the screen offers; notes the codes of the texts.
    void EnterYear(Step2Form& form, AssessmentRecord& record, int k, int crop, Generated& g) {
        auto& codes = g.years[static_cast<std::size_t>(k - 1)];
        const oracle::Crop& facts = Crops()[static_cast<std::size_t>(crop)];
        Step2Year& row = form.Row(k);
        const std::vector<std::string> crops = row.List(Choice::Crop).Texts();
        form.ChoiceChange(k, Choice::Crop, oracle::PositionIn(crops, facts.name), record);
        codes.crop = crop;

        const OptionList& types = form.Row(k).List(Choice::PeriodType);
        // Weighted towards real periods, but every offered type comes up.
        int typePosition = ChooseAny(types);
        if (Chance(15)) {
            typePosition = 1;
        }
        const std::string typeText = types.Texts().at(static_cast<std::size_t>(typePosition));
        form.ChoiceChange(k, Choice::PeriodType, typePosition, record);
        codes.P = oracle::PositionIn(oracle::PeriodTypeTexts(), typeText);

        const OptionList& tillage = form.Row(k).List(Choice::CropTillage);
        const int tillagePosition = ChooseAny(tillage);
        codes.T = oracle::TillageCodeOfText(
            tillage.Texts().at(static_cast<std::size_t>(tillagePosition)));
        form.ChoiceChange(k, Choice::CropTillage, tillagePosition, record);

        const OptionList& periodTillage = form.Row(k).List(Choice::PeriodTillage);
        const OptionList& starts = form.Row(k).List(Choice::PeriodStart);
        if (codes.P == 1) {
            EXPECT_EQ(periodTillage.Count(), 0);
            EXPECT_EQ(starts.Count(), 0);
            codes.D = -1;
            codes.E = -1;
            return;
        }
        if (codes.P <= 4) {
            // Chosen for the user: ploughing before a bare fallow, none on stubble.
            codes.D = codes.P == 2 ? 1 : 99;
            EXPECT_EQ(oracle::TillageCodeOfText(periodTillage.ChosenText()), codes.D)
                << facts.name << " / " << typeText;
        } else {
            const int position = ChooseAny(periodTillage);
            codes.D = oracle::TillageCodeOfText(
                periodTillage.Texts().at(static_cast<std::size_t>(position)));
            form.ChoiceChange(k, Choice::PeriodTillage, position, record);
        }
        std::vector<std::string> offered = starts.Texts();
        std::vector<std::string> expected{""};
        for (const int code : oracle::OfferedStarts(codes.P, facts.group)) {
            expected.push_back(oracle::PeriodStartTexts()[static_cast<std::size_t>(code)]);
        }
        EXPECT_EQ(offered, expected) << facts.name << " / " << typeText;
        const int startPosition = ChooseAny(starts);
        codes.E = oracle::PositionIn(oracle::PeriodStartTexts(),
                                     offered.at(static_cast<std::size_t>(startPosition)));
        form.ChoiceChange(k, Choice::PeriodStart, startPosition, record);
    }

    // Now and then an entry the checks should refuse (or, for a stand's follow-on year,
    // mend): a blank choice, a crop out of sequence, a gap.
    void MaybeSpoil(Step2Form& form, AssessmentRecord& record, int first, int n, Generated& g) {
        if (!Chance(15)) {
            return;
        }
        const int k = first + Between(0, n - 1);
        auto& codes = g.years[static_cast<std::size_t>(k - 1)];
        switch (Between(0, 5)) {
        case 0:
            form.ChoiceChange(k, Choice::CropTillage, 0, record);
            codes.T = 0;
            break;
        case 1:
            form.ChoiceChange(k, Choice::PeriodType, 0, record);
            codes.P = 0;
            codes.D = -1;
            codes.E = -1;
            break;
        case 2:
            if (codes.P >= 2) {
                form.ChoiceChange(k, Choice::PeriodStart, 0, record);
                codes.E = 0;
            }
            break;
        case 3:
            if (codes.P >= 5) {
                form.ChoiceChange(k, Choice::PeriodTillage, 0, record);
                codes.D = 0;
            }
            break;
        case 4: {
            const int follower =
                std::array<int, 3>{20, 28, 38}[static_cast<std::size_t>(Between(0, 2))];
            EnterYear(form, record, k, oracle::CropIndexOfCode(follower), g);
            break;
        }
        default:
            if (first >= 3) {
                EnterYear(form, record, Between(1, first - 2), Between(1, 38), g);
            } else if (n >= 3) {
                const int inner = first + Between(1, n - 2);
                form.ChoiceChange(inner, Choice::Crop, 0, record);
                g.years[static_cast<std::size_t>(inner - 1)] = oracle::YearCodes{};
            }
        }
    }

    std::mt19937 random_;
};

class Mismatches {
public:
    void Add(const std::string& file, const std::string& field, const std::string& expected,
             const std::string& actual) {
        ++count_;
        if (lines_.size() < 60) {
            lines_.push_back(file + ": " + field + " expected " + expected + ", got " + actual);
        }
    }
    void Real(const std::string& file, const std::string& field, oracle::Real expected,
              const Json& actual, oracle::Real relative = 1e-15L) {
        const oracle::Real a = actual.number;
        const oracle::Real scale = std::max(std::fabs(expected), std::fabs(a));
        if (actual.kind != Json::Kind::Number || std::fabs(a - expected) > relative * scale) {
            std::ostringstream e;
            e.precision(21);
            e << expected;
            Add(file, field, e.str(), actual.kind == Json::Kind::Number ? actual.text : "(none)");
        }
    }
    void Text(const std::string& file, const std::string& field, const std::string& expected,
              const std::string& actual) {
        if (expected != actual) {
            Add(file, field, "\"" + expected + "\"", "\"" + actual + "\"");
        }
    }
    int Count() const { return count_; }
    std::string Report() const {
        std::string out;
        for (const auto& l : lines_) {
            out += l + "\n";
        }
        return out;
    }

private:
    int count_ = 0;
    std::vector<std::string> lines_;
};

TEST(IndependentResults, GeneratedAssessmentsMatchASeparateReadingOfTheKey) {
    BuildKeyTables();
    TempDir dir;
    const Int year = CurrentCalendarYear();
    Generator generator(4711);
    std::vector<Generated> files;
    constexpr int kFiles = 400;
    for (int i = 0; i < kFiles; ++i) {
        files.push_back(generator.Make(dir, i, year));
    }

    std::string command = std::string(BRISOLT_CLI) + " evaluate";
    for (const auto& f : files) {
        command += " " + testing::ShellQuote(f.path);
    }
    const auto run = testing::RunCommand(command + " 2>/dev/null");
    ASSERT_EQ(run.status, 0);
    const std::vector<Json> out = testing::ParseJsonLines(run.out);
    ASSERT_EQ(out.size(), files.size());

    Mismatches m;
    int halves = 0;
    int accepted = 0, refused = 0, years = 0;
    std::set<std::string> tablesReached, messagesSeen;
    for (std::size_t i = 0; i < files.size(); ++i) {
        const Generated& g = files[i];
        const Json& o = out[i];
        const std::string file = g.path.substr(g.path.rfind('/') + 1) + " [" + g.summary + "]";
        m.Text(file, "file", g.path, o["file"].text);
        if (!o["loaded"].boolean) {
            m.Add(file, "loaded", "true", "false");
            continue;
        }
        const oracle::RotationResult rotation = oracle::RotationOracle(g.years).Run();
        if (!rotation.message.empty()) {
            ++refused;
            messagesSeen.insert(rotation.message);
            m.Text(file, "stopped_at", "2",
                   o["stopped_at"].IsNull() ? "null" : o["stopped_at"].text);
            m.Text(file, "stop_message", rotation.message,
                   o["stop_message"].IsNull() ? "null" : o["stop_message"].text);
            continue;
        }
        ++accepted;
        years += rotation.years;
        // Missing inputs give no result: no crop in any year, no depth by map or boring.
        const bool noCrop = rotation.last == 0;
        if (noCrop || (g.method != 2 && g.depth <= 0)) {
            m.Text(file, "stopped_at", noCrop ? "2" : "6",
                   o["stopped_at"].IsNull() ? "null" : o["stopped_at"].text);
            m.Text(file, "stop_message",
                   noCrop ? "Bitte zuerst die Fruchtfolge eingeben."
                          : "Bitte die Gründigkeit des Bodens in cm eingeben.",
                   o["stop_message"].IsNull() ? "null" : o["stop_message"].text);
            continue;
        }
        if (!o["stopped_at"].IsNull()) {
            m.Add(file, "stopped_at", "null", o["stopped_at"].text + " " + o["stop_message"].text);
            continue;
        }

        const oracle::SiteValues site = oracle::SiteInfluence(g.site);
        m.Real(file, "ST", site.st, o["ST"]);
        m.Real(file, "STReduced", site.stReduced, o["STReduced"]);

        m.Real(file, "C", rotation.C, o["C"]);
        m.Real(file, "CABAG", rotation.CABAG, o["CABAG"]);
        if (rotation.last > 0) {
            m.Text(file, "Years", std::to_string(rotation.years), o["Years"].text);
        }
        m.Text(file, "KWBCount", std::to_string(rotation.KWBCount), o["KWBCount"].text);
        m.Real(file, "BFPercentage", rotation.BFPercentage, o["BFPercentage"]);
        for (std::size_t s = 0; s < 24; ++s) {
            m.Real(file, oracle::kShareNames[s], rotation.shares[s], o[oracle::kShareNames[s]]);
        }
        const auto& perYear = o["rotation"].items;
        if (perYear.size() != rotation.perYear.size()) {
            m.Add(file, "rotation", std::to_string(rotation.perYear.size()) + " years",
                  std::to_string(perYear.size()));
        } else {
            for (std::size_t k = 0; k < perYear.size(); ++k) {
                const std::string at =
                    "rotation[" + std::to_string(rotation.first + static_cast<int>(k)) + "].";
                const oracle::YearValues& v = rotation.perYear[k];
                tablesReached.insert(v.mainRef.substr(0, 5));
                tablesReached.insert(v.periodRef.substr(0, 5));
                m.Text(file, at + "main", v.main, perYear[k]["main"].text);
                m.Text(file, at + "main_ref", v.mainRef, perYear[k]["main_ref"].text);
                m.Text(file, at + "period", v.period, perYear[k]["period"].text);
                m.Text(file, at + "period_ref", v.periodRef, perYear[k]["period_ref"].text);
            }
        }

        const Real ef = site.stReduced * rotation.C;
        const oracle::Rills rills = oracle::Normalised(g.rills);
        const Real el = oracle::RillSurcharge(rills);
        const Real efl = ef + el;
        const int depth = g.method == 2 ? oracle::RegionalDepth(g.site.region) : g.depth;
        halves += efl == 3 || efl == 15 || efl == 75;
        m.Real(file, "EF", ef, o["EF"]);
        m.Real(file, "EL", el, o["EL"]);
        m.Real(file, "EFL", efl, o["EFL"]);
        m.Real(file, "SoilLossMM", efl / 120, o["SoilLossMM"]);
        m.Real(file, "SoilLossTHA", efl / 10, o["SoilLossTHA"]);
        m.Text(file, "Channels", std::to_string(rills.channels), o["Channels"].text);
        m.Text(file, "NumChannels", std::to_string(rills.number), o["NumChannels"].text);
        m.Text(file, "DepthChannels", std::to_string(rills.depthSeveral), o["DepthChannels"].text);
        m.Text(file, "DepthChannel", std::to_string(rills.depthSingle), o["DepthChannel"].text);
        m.Text(file, "WidthChannel", std::to_string(rills.width), o["WidthChannel"].text);
        m.Text(file, "FrequencyChannels", std::to_string(rills.frequency),
               o["FrequencyChannels"].text);
        m.Text(file, "DepthSoil", std::to_string(depth), o["DepthSoil"].text);
        const std::string gbf = oracle::FertilityRisk(efl, depth);
        m.Text(file, "GBF", gbf, o["GBF"].text);

        const Json& shown = o["display"];
        m.Text(file, "display.EF", oracle::WholeText(ef), shown["EF"].text);
        m.Text(file, "display.EFL", oracle::WholeText(efl), shown["EFL"].text);
        m.Text(file, "display.SoilLossMM", oracle::FixedText(efl / 120, 2),
               shown["SoilLossMM"].text);
        m.Text(file, "display.SoilLossTHA", oracle::FixedText(efl / 10, 3),
               shown["SoilLossTHA"].text);
        m.Text(file, "display.C", oracle::CText(rotation.C), shown["C"].text);
        m.Text(file, "display.GBF", gbf, shown["GBF"].text);
    }
    // The generated mix must reach every key table and every refusal of the checks.
    EXPECT_GT(accepted, kFiles * 3 / 4);
    EXPECT_GT(years, kFiles * 3);
    tablesReached.erase("");
    EXPECT_EQ(tablesReached.size(), 40u);
    EXPECT_EQ(messagesSeen.size(), 3u);
    EXPECT_GT(halves, 0);
    EXPECT_EQ(m.Count(), 0) << m.Count() << " differences, the first ones:\n" << m.Report();
}

} // namespace
} // namespace brisolt
