#include "key/measures/measures.h"

#include <algorithm>
#include <array>
#include <limits>
#include <map>

#include "key/core/number_text.h"
#include "key/core/texts_measures.h"
#include "key/core/windows1252.h"
#include "key/results/fertility_risk.h"
#include "key/results/total_risk.h"
#include "key/rotation/catalogues.h"
#include "key/rotation/codes.h"
#include "key/rotation/rotation_checks.h"
#include "key/rotation/step2_form.h"
#include "key/site/step1_form.h"

// How the plans are found
// -----------------------
// Every single measure is walked on its own. A plan changes several choices at once; the
// search over plans uses what the key's structure guarantees: the crop rotation factor C
// is the mean of per-year contributions, and a year's contribution depends on that year's
// own tillage and intermediate period (and on the crops around it, which measures never
// change). Measures of different years therefore add up in C, and the site measures
// (direction, flow length) change ST' only, which multiplies C. So for a given number of
// measures the lowest EFL comes from choosing, for every year, none, its best single
// measure or its best pair (tillage with period, walked together), and the best site
// combination; a small dynamic programme over the years finds that choice exactly. The plan
// it proposes is then walked, and only the walk's results are reported. The tests check the
// plans of up to four measures against every set of measures walked one by one; a plan of
// more measures comes from the same search but is not checked that way and is marked
// "(Näherung)". Should the walk of a proposed plan ever miss the level the model promised,
// the plan is completed greedily: the measure that lowers EFL most is added until the level
// is met (also marked).

namespace brisolt {

namespace tm = texts::measures;

namespace {

constexpr std::array<std::string_view, 5> kLevels = {"0", "1A", "1B", "2", "3"};
constexpr int kExactPlanSize = 4;
constexpr Int kNarrowestStrip = 30; // m of flow length a strip pattern can still be farmed at

int LevelRank(std::string_view gbf) {
    for (std::size_t i = 0; i < kLevels.size(); ++i) {
        if (kLevels[i] == gbf) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::string YearLabel(const AssessmentRecord& record, int n) {
    const Int year = record.RotationYearAt(n).Year;
    return year > 0 ? std::to_string(year) : std::to_string(n) + ". Jahr";
}

// Soil tillage codes 1 ... 4 run from the most to the least intensive.
bool LessIntensive(Int code, Int than) {
    return code > than && code >= tillage_code::kPlough && code <= tillage_code::kDirectSeeding &&
           than >= tillage_code::kPlough;
}

// A tillage option in a few words; the list's own text where there is no short one.
std::string ShortTillage(const OptionList& tillage, Index position) {
    const std::string_view shorter = tm::kTillageShort(tillage.Number(position));
    return shorter.empty() ? tillage.Text(position) : std::string(shorter);
}

// The EFL as the screens show it, a whole number.
Int ShownEFL(const AssessmentRecord& record) {
    return static_cast<Int>(ParseIntOrZero(TotalRiskText(record)));
}

struct Evaluated {
    AssessmentRecord record;
    bool passed = false;
};

// The inputs with the measures applied, walked forward.
Evaluated Evaluate(const AssessmentRecord& inputs, const std::vector<const Measure*>& measures) {
    Evaluated e{inputs, false};
    try {
        ApplyMeasures(e.record, measures);
        e.passed = WalkForward(e.record).stoppedAt == 0;
    } catch (const std::exception&) {
        e.passed = false;
    }
    return e;
}

// Every measure the catalogue offers for the walked assessment, before any is tried.
std::vector<Measure> CandidateMeasures(const AssessmentRecord& walked) {
    std::vector<Measure> out;
    if (walked.Entertainment == 0) {
        Measure m;
        m.kind = MeasureKind::Direction;
        m.position = 1; // "Quer zum Hang"
        m.description = std::string(tm::kAcrossSlope);
        m.heading = m.description;
        m.label = m.description;
        out.push_back(std::move(m));
    }

    Step2Form form;
    form.Activate(walked);
    const RotationExtent extent = FindRotationExtent(walked);
    const auto years = [&](auto add) {
        for (int k = extent.First; !extent.Empty() && k <= extent.Last; ++k) {
            add(k, form.Row(k));
        }
    };

    // Less intensive tillage of a main crop, in the order of the list.
    years([&](int k, const Step2Year& row) {
        const OptionList& tillage = row.List(Choice::CropTillage);
        const Int current = tillage.Number(tillage.Chosen());
        for (Index p = 0; p < tillage.Count(); ++p) {
            if (LessIntensive(tillage.Number(p), current)) {
                Measure m;
                m.kind = MeasureKind::CropTillage;
                m.year = k;
                m.yearLabel = YearLabel(walked, k);
                m.position = p;
                m.heading = row.List(Choice::Crop).ChosenText() + ": " + tillage.Text(p) +
                            std::string(tm::kInsteadOf) + tillage.ChosenText();
                m.description = YearLabel(walked, k) + " " + m.heading;
                m.label = YearLabel(walked, k) + " " + ShortTillage(tillage, p);
                out.push_back(std::move(m));
            }
        }
    });

    // A catch crop instead of a bare or stubble period, with the period tillage and start
    // that give the lowest C ("Berechnen" on the screen).
    // Only what can be done in the field: a type that fits the following main crop (the
    // year after the last is the first, as for the key), beginning no earlier than the
    // user's period, which says when the field is free.
    years([&](int k, const Step2Year& row) {
        const OptionList& period = row.List(Choice::PeriodType);
        const Int type = period.EntryAt(period.Chosen());
        if (type != period_type::kBareFallow && !period_type::IsStubble(type)) {
            return;
        }
        const OptionList& userStarts = row.List(Choice::PeriodStart);
        const Index userStart = userStarts.EntryAt(userStarts.Chosen());
        if (userStart <= 0) {
            return;
        }
        const bool followingSpringSown =
            FactsOfCrop(walked.RotationYearAt(extent.Next(k)).a).SpringSown;
        for (Index p = 0; p < period.Count(); ++p) {
            const Int catchType = period.EntryAt(p);
            if (!period_type::IsCatchCrop(catchType) ||
                !period_type::FitsFollowingCrop(catchType, followingSpringSown)) {
                continue;
            }
            Step2Form trial = form;
            AssessmentRecord record = walked;
            trial.ChoiceChange(k, Choice::PeriodType, p, record);
            const Step2Year& trialRow = trial.Row(k);
            const Int tillages = trialRow.List(Choice::PeriodTillage).Count();
            const Int starts = trialRow.List(Choice::PeriodStart).Count();
            Real bestC = std::numeric_limits<Real>::infinity();
            Index bestTillage = kNone;
            Index bestStart = kNone;
            for (Index t = 1; t < tillages; ++t) {
                for (Index s = 1; s < starts; ++s) {
                    if (period_start::LatestDayRank(trialRow.List(Choice::PeriodStart).EntryAt(s)) <
                        period_start::LatestDayRank(userStart)) {
                        continue;
                    }
                    trial.ChoiceChange(k, Choice::PeriodTillage, t, record);
                    trial.ChoiceChange(k, Choice::PeriodStart, s, record);
                    try {
                        if (!trial.Calculate(record) && record.C < bestC) {
                            bestC = record.C;
                            bestTillage = t;
                            bestStart = s;
                        }
                    } catch (const std::exception&) {
                        // a combination the key cannot compute is no measure
                    }
                }
            }
            if (bestTillage == kNone) {
                continue;
            }
            Measure m;
            m.kind = MeasureKind::CatchCrop;
            m.year = k;
            m.yearLabel = YearLabel(walked, k);
            m.position = p;
            m.tillage = bestTillage;
            m.start = bestStart;
            const std::string change = row.List(Choice::Crop).ChosenText() + ": " + period.Text(p) +
                                       " (Beginn " +
                                       trialRow.List(Choice::PeriodStart).Text(bestStart) + ", " +
                                       trialRow.List(Choice::PeriodTillage).Text(bestTillage) +
                                       ")" + std::string(tm::kInsteadOf) + period.ChosenText();
            m.heading = std::string(tm::kAfterHeading) + change;
            m.description = YearLabel(walked, k) + std::string(tm::kAfter) + change;
            m.label = YearLabel(walked, k) + " " + std::string(tm::kCatchCropShort(catchType));
            out.push_back(std::move(m));
        }
    });

    // Less intensive tillage in a catch crop period.
    years([&](int k, const Step2Year& row) {
        const OptionList& period = row.List(Choice::PeriodType);
        if (!period_type::IsCatchCrop(period.EntryAt(period.Chosen()))) {
            return;
        }
        const OptionList& tillage = row.List(Choice::PeriodTillage);
        const Int current = tillage.Number(tillage.Chosen());
        for (Index p = 0; p < tillage.Count(); ++p) {
            if (LessIntensive(tillage.Number(p), current)) {
                Measure m;
                m.kind = MeasureKind::PeriodTillage;
                m.year = k;
                m.yearLabel = YearLabel(walked, k);
                m.position = p;
                const std::string change = row.List(Choice::Crop).ChosenText() + ", " +
                                           period.ChosenText() + ": " + tillage.Text(p) +
                                           std::string(tm::kInsteadOf) + tillage.ChosenText();
                m.heading = std::string(tm::kAfterHeading) + change;
                m.description = YearLabel(walked, k) + std::string(tm::kAfter) + change;
                m.label =
                    YearLabel(walked, k) + " " + tm::kPeriodTillageLabel(ShortTillage(tillage, p));
                out.push_back(std::move(m));
            }
        }
    });

    // A shorter flow length: the slope halved or divided in three by strips across it, as
    // long as a strip stays wide enough for the machines. The strip itself is measured, not
    // its rounded length: 89 m in three would be strips of 29.7 m.
    const Int length = walked.FloatDistance;
    std::vector<Int> offered;
    for (const Int parts : {2, 3}) {
        if (length < kNarrowestStrip * parts) {
            break;
        }
        const Int shorter = static_cast<Int>(RoundHalfEven(static_cast<Real>(length) / parts));
        if (std::find(offered.begin(), offered.end(), shorter) != offered.end()) {
            continue;
        }
        offered.push_back(shorter);
        Measure m;
        m.kind = MeasureKind::FlowLength;
        m.flowLength = shorter;
        m.description = tm::kShorterFlow(shorter, length);
        m.heading = m.description;
        m.label = tm::kFlowLabel(shorter, length);
        out.push_back(std::move(m));
    }
    return out;
}

// The same change in several years is numbered as one run, under one heading.
std::vector<Measure> GroupedByHeading(std::vector<Measure> measures) {
    std::vector<Measure> out;
    std::vector<bool> taken(measures.size(), false);
    for (std::size_t i = 0; i < measures.size(); ++i) {
        if (taken[i]) {
            continue;
        }
        const MeasureKind kind = measures[i].kind;
        const std::string heading = measures[i].heading;
        for (std::size_t j = i; j < measures.size(); ++j) {
            if (!taken[j] && measures[j].kind == kind && measures[j].heading == heading) {
                taken[j] = true;
                out.push_back(std::move(measures[j]));
            }
        }
    }
    return out;
}

// A plan under construction: which single measures it applies.
using Plan = std::vector<int>; // indexes into the single measures

struct PlanSearch {
    const AssessmentRecord& inputs;
    const std::vector<Measure>& measures;
    const std::vector<MeasureRow>& singles; // walked, parallel to `measures`
    Real c0;

    std::vector<const Measure*> Pointers(const Plan& plan) const {
        std::vector<const Measure*> out;
        for (const int i : plan) {
            out.push_back(&measures[static_cast<std::size_t>(i)]);
        }
        return out;
    }

    bool Compatible(const Plan& plan, int candidate) const {
        const int choice = measures[static_cast<std::size_t>(candidate)].Choice();
        return std::none_of(plan.begin(), plan.end(), [&](int i) {
            return measures[static_cast<std::size_t>(i)].Choice() == choice;
        });
    }
};

// For one rotation year: the change of C by its best single measure and its best pair.
struct YearOptions {
    Real single = 0;
    Plan singlePlan;
    Real pair = std::numeric_limits<Real>::infinity();
    Plan pairPlan;
};

struct SiteOption {
    Plan plan;
    Real stReduced = 0;
};

struct ModelPlans {
    std::vector<YearOptions> years;
    std::vector<SiteOption> sites; // the site combinations, the empty one first
    Real el = 0;
};

ModelPlans BuildModel(const PlanSearch& search, const AssessmentRecord& current) {
    ModelPlans model;
    model.el = current.EL;
    std::map<int, std::vector<int>> byYear; // year -> measures
    std::vector<int> direction, flow;
    for (std::size_t i = 0; i < search.measures.size(); ++i) {
        const Measure& m = search.measures[i];
        const int index = static_cast<int>(i);
        if (m.kind == MeasureKind::Direction) {
            direction.push_back(index);
        } else if (m.kind == MeasureKind::FlowLength) {
            flow.push_back(index);
        } else {
            byYear[m.year].push_back(index);
        }
    }
    for (const auto& [year, indexes] : byYear) {
        YearOptions options;
        for (const int i : indexes) {
            const Real delta = search.singles[static_cast<std::size_t>(i)].record.C - search.c0;
            if (options.singlePlan.empty() || delta < options.single) {
                options.single = delta;
                options.singlePlan = {i};
            }
        }
        // Tillage and period of the same year together: walked, since the period's
        // contribution can depend on the main crop's tillage.
        for (const int a : indexes) {
            for (const int b : indexes) {
                if (a >= b || search.measures[static_cast<std::size_t>(a)].Choice() ==
                                  search.measures[static_cast<std::size_t>(b)].Choice()) {
                    continue;
                }
                const Plan plan{a, b};
                const Evaluated e = Evaluate(search.inputs, search.Pointers(plan));
                if (e.passed && e.record.C - search.c0 < options.pair) {
                    options.pair = e.record.C - search.c0;
                    options.pairPlan = plan;
                }
            }
        }
        model.years.push_back(std::move(options));
    }
    model.sites.push_back({{}, current.STReduced});
    std::vector<int> directionOptions{-1};
    directionOptions.insert(directionOptions.end(), direction.begin(), direction.end());
    std::vector<int> flowOptions{-1};
    flowOptions.insert(flowOptions.end(), flow.begin(), flow.end());
    for (const int d : directionOptions) {
        for (const int f : flowOptions) {
            Plan plan;
            if (d >= 0) {
                plan.push_back(d);
            }
            if (f >= 0) {
                plan.push_back(f);
            }
            if (plan.empty()) {
                continue;
            }
            if (plan.size() == 1) {
                model.sites.push_back(
                    {plan, search.singles[static_cast<std::size_t>(plan[0])].record.STReduced});
                continue;
            }
            const Evaluated e = Evaluate(search.inputs, search.Pointers(plan));
            if (e.passed) {
                model.sites.push_back({plan, e.record.STReduced});
            }
        }
    }
    return model;
}

// The plan of exactly `count` measures with the lowest EFL by the model; empty when there
// are not enough measures. `count` < 0 asks for the best plan of any size.
Plan BestModelPlan(const ModelPlans& model, Real c0, int count) {
    const Real inf = std::numeric_limits<Real>::infinity();
    const int maxMeasures = 2 * static_cast<int>(model.years.size());
    // best[j]: lowest sum of C changes with j measures over the years seen so far.
    std::vector<Real> best(static_cast<std::size_t>(maxMeasures) + 1, inf);
    std::vector<Plan> plans(best.size());
    best[0] = 0;
    for (const YearOptions& y : model.years) {
        std::vector<Real> next = best;
        std::vector<Plan> nextPlans = plans;
        for (std::size_t j = 0; j < best.size(); ++j) {
            if (best[j] == inf) {
                continue;
            }
            const auto offer = [&](std::size_t size, Real delta, const Plan& add) {
                if (add.empty() || j + size >= best.size() || !(best[j] + delta < next[j + size])) {
                    return;
                }
                next[j + size] = best[j] + delta;
                nextPlans[j + size] = plans[j];
                nextPlans[j + size].insert(nextPlans[j + size].end(), add.begin(), add.end());
            };
            offer(1, y.single, y.singlePlan);
            offer(2, y.pair, y.pairPlan);
        }
        best = std::move(next);
        plans = std::move(nextPlans);
    }
    Real bestEfl = inf;
    Plan bestPlan;
    for (const SiteOption& site : model.sites) {
        const int siteSize = static_cast<int>(site.plan.size());
        for (int j = 0; j <= maxMeasures; ++j) {
            if (count >= 0 && j + siteSize != count) {
                continue;
            }
            if (best[static_cast<std::size_t>(j)] == inf || j + siteSize == 0) {
                continue;
            }
            const Real efl = site.stReduced * (c0 + best[static_cast<std::size_t>(j)]) + model.el;
            if (efl < bestEfl) {
                bestEfl = efl;
                bestPlan = site.plan;
                const Plan& years = plans[static_cast<std::size_t>(j)];
                bestPlan.insert(bestPlan.end(), years.begin(), years.end());
            }
        }
    }
    std::sort(bestPlan.begin(), bestPlan.end());
    return bestPlan;
}

MeasureRow PlanRow(const PlanSearch& search, const MeasureRow& current, const Plan& plan,
                   std::string target, bool approximate) {
    MeasureRow row;
    row.kind = MeasureRowKind::Plan;
    row.target = std::move(target);
    row.approximate = approximate;
    for (const int i : plan) {
        row.measures.push_back(i + 1);
        row.descriptions.push_back(search.measures[static_cast<std::size_t>(i)].description);
    }
    row.record = Evaluate(search.inputs, search.Pointers(plan)).record;
    row.deltaEFL = row.record.EFL - current.record.EFL;
    row.shownDeltaEFL = ShownEFL(row.record) - ShownEFL(current.record);
    return row;
}

AssessmentRecord WithoutFreeTexts(AssessmentRecord record) {
    for (std::string* text :
         {&record.NameSurname, &record.Address1, &record.Address2, &record.Parzelle,
          &record.Variant, &record.EnteredBy, &record.EnteredOn, &record.Remark}) {
        text->clear();
    }
    record.savedFile.clear();
    return record;
}

} // namespace

int Measure::Choice() const {
    switch (kind) {
    case MeasureKind::Direction:
        return 0;
    case MeasureKind::FlowLength:
        return 1;
    case MeasureKind::CropTillage:
        return 10 + year;
    case MeasureKind::CatchCrop:
    case MeasureKind::PeriodTillage:
        // Both change the intermediate period of the year.
        return 30 + year;
    }
    return -1;
}

void ApplyMeasures(AssessmentRecord& record, const std::vector<const Measure*>& measures) {
    const auto any = [&](auto test) { return std::any_of(measures.begin(), measures.end(), test); };
    if (any([](const Measure* m) {
            return m->kind == MeasureKind::Direction || m->kind == MeasureKind::FlowLength;
        })) {
        Step1Form step1;
        step1.Activate(record);
        for (const Measure* m : measures) {
            if (m->kind == MeasureKind::Direction) {
                step1.EntertainmentClick(record, m->position);
            } else if (m->kind == MeasureKind::FlowLength) {
                step1.FloatDistanceText = std::to_string(m->flowLength);
                step1.FloatDistanceExit(record);
            }
        }
    }
    if (any([](const Measure* m) {
            return m->kind != MeasureKind::Direction && m->kind != MeasureKind::FlowLength;
        })) {
        Step2Form step2;
        step2.Activate(record);
        // The choices are made one after the other and the screen copied into the record
        // once, which leaves it as copying after every choice would.
        for (const Measure* m : measures) {
            switch (m->kind) {
            case MeasureKind::CropTillage:
                step2.Select(m->year, Choice::CropTillage, m->position);
                break;
            case MeasureKind::PeriodTillage:
                step2.Select(m->year, Choice::PeriodTillage, m->position);
                break;
            case MeasureKind::CatchCrop:
                step2.Select(m->year, Choice::PeriodType, m->position);
                step2.Select(m->year, Choice::PeriodTillage, m->tillage);
                step2.Select(m->year, Choice::PeriodStart, m->start);
                break;
            case MeasureKind::Direction:
            case MeasureKind::FlowLength:
                break;
            }
        }
        step2.ReadStep2Inputs(record);
    }
}

std::string TargetLine(Int depthSoil) {
    AssessmentRecord scratch;
    scratch.DepthSoil = depthSoil;
    std::vector<std::pair<std::string, int>> highest; // level, largest EFL, in order met
    for (int efl = 0; efl <= 999; ++efl) {
        scratch.EFL = efl;
        const std::string level = ComputeFertilityRisk(scratch);
        if (highest.empty() || highest.back().first != level) {
            highest.emplace_back(level, efl);
        } else {
            highest.back().second = efl;
        }
    }
    std::string line = tm::kTargetLineStart(depthSoil);
    for (std::size_t i = 0; i < highest.size(); ++i) {
        if (i > 0) {
            line += ", ";
        }
        line += i + 1 < highest.size()
                    ? tm::kLevelUpTo(highest[i].first, highest[i].second)
                    : tm::kLevelFrom(highest[i].first, i == 0 ? 0 : highest[i - 1].second + 1);
    }
    return line;
}

std::string RowTitle(const MeasureRow& row) {
    switch (row.kind) {
    case MeasureRowKind::Current:
        return std::string(tm::kCurrent);
    case MeasureRowKind::Single:
        return tm::kSingle(row.measures.empty() ? 0 : row.measures.front());
    case MeasureRowKind::Plan:
        break;
    }
    if (row.target == tm::kAllTarget) {
        return std::string(tm::kAllMeasures);
    }
    std::string title = tm::kPlanFor(row.target);
    if (row.approximate) {
        title += " ";
        title += tm::kApproximate;
    }
    return title;
}

AssessmentRecord AdoptRow(const AssessmentRecord& current, const MeasureExploration& exploration,
                          const MeasureRow& row) {
    AssessmentRecord adopted = current;
    std::vector<const Measure*> measures;
    for (const int n : row.measures) {
        measures.push_back(&exploration.measures.at(static_cast<std::size_t>(n - 1)));
    }
    ApplyMeasures(adopted, measures);
    adopted.Variant = AdoptedVariant(current.Variant, exploration, row);
    return adopted;
}

std::string AdoptedVariant(const std::string& variant, const MeasureExploration& exploration,
                           const MeasureRow& row) {
    std::string adopted;
    switch (row.kind) {
    case MeasureRowKind::Current:
        return variant;
    case MeasureRowKind::Single:
        adopted = exploration.measures.at(static_cast<std::size_t>(row.measures.at(0) - 1)).label;
        break;
    case MeasureRowKind::Plan:
        // How the plan was found ("Näherung") is no part of what the field gets.
        adopted =
            row.target == tm::kAllTarget ? std::string(tm::kAllMeasures) : tm::kPlanFor(row.target);
        break;
    }
    // What the user typed stays in front; without it, a plan says what it starts from.
    std::string base = variant;
    if (base.empty() && row.kind == MeasureRowKind::Plan) {
        base = tm::kCurrentState;
    }
    return MakeWindows1252Safe(base.empty() ? adopted
                                            : base + std::string(tm::kVariantPlus) + adopted);
}

std::string VariantFileSuffix(const MeasureRow& row) {
    switch (row.kind) {
    case MeasureRowKind::Current:
        return "aktuell";
    case MeasureRowKind::Single:
        return "massnahme_" + std::to_string(row.measures.at(0));
    case MeasureRowKind::Plan:
        break;
    }
    return "ziel_" + row.target;
}

MeasureExploration ExploreMeasures(const AssessmentRecord& original) {
    MeasureExploration exploration;
    MeasureRow current;
    current.record = original;
    exploration.outcome = WalkForward(current.record);
    if (exploration.outcome.stoppedAt != 0) {
        return exploration;
    }
    exploration.targetLine = TargetLine(current.record.DepthSoil);
    const Real currentEfl = current.record.EFL;
    // The free texts play no part in any result; the search walks without them, so a file
    // with a huge name or remark is not copied (and converted) a thousand times.
    const AssessmentRecord record = WithoutFreeTexts(original);

    // The surcharge for observed rills is no management choice: no measure changes it.
    const Real el = RoundHalfEven(current.record.EL);
    if (el > 0) {
        exploration.rillLine = tm::kRillsStay(static_cast<int>(el));
    }

    // Single measures: tried one by one; only those that lower the EFL shown are kept.
    std::vector<MeasureRow> singles;
    for (Measure& m : GroupedByHeading(CandidateMeasures(WithoutFreeTexts(current.record)))) {
        Evaluated e = Evaluate(record, {&m});
        if (!e.passed || !(ShownEFL(e.record) < ShownEFL(current.record))) {
            continue;
        }
        MeasureRow row;
        row.kind = MeasureRowKind::Single;
        row.measures = {static_cast<int>(exploration.measures.size()) + 1};
        row.descriptions = {m.description};
        row.record = std::move(e.record);
        row.deltaEFL = row.record.EFL - currentEfl;
        row.shownDeltaEFL = ShownEFL(row.record) - ShownEFL(current.record);
        exploration.measures.push_back(std::move(m));
        singles.push_back(std::move(row));
    }
    exploration.rows.push_back(current);
    exploration.rows.insert(exploration.rows.end(), singles.begin(), singles.end());
    if (exploration.measures.empty()) {
        return exploration;
    }

    const PlanSearch search{record, exploration.measures, singles, current.record.C};
    const ModelPlans model = BuildModel(search, current.record);

    const Plan all = BestModelPlan(model, search.c0, -1);
    MeasureRow allRow = PlanRow(search, current, all, std::string(tm::kAllTarget), false);

    const int currentRank = LevelRank(current.record.GBF);
    const int reachable = LevelRank(allRow.record.GBF);
    std::vector<MeasureRow> plans;
    // The walked best plan of each size, as long as more measures lower EFL further.
    std::vector<MeasureRow> bySize;
    for (int size = 1; size <= static_cast<int>(exploration.measures.size()); ++size) {
        const Plan plan = BestModelPlan(model, search.c0, size);
        if (plan.empty()) {
            break;
        }
        bySize.push_back(PlanRow(search, current, plan, {}, size > kExactPlanSize));
        if (LevelRank(bySize.back().record.GBF) <= reachable) {
            break; // nothing lower to reach
        }
    }
    for (int level = currentRank - 1; level >= 0 && level >= reachable; --level) {
        const std::string target(kLevels[static_cast<std::size_t>(level)]);
        const auto reaches = [&](const AssessmentRecord& r) {
            const int rank = LevelRank(r.GBF);
            return rank >= 0 && rank <= level;
        };
        const auto found = std::find_if(bySize.begin(), bySize.end(),
                                        [&](const MeasureRow& row) { return reaches(row.record); });
        if (found != bySize.end()) {
            MeasureRow row = *found;
            row.target = target;
            plans.push_back(std::move(row));
            continue;
        }
        // The model promised more than the walk gave: add the measure that lowers EFL most
        // until the level is met.
        Plan plan;
        for (const int n : bySize.empty() ? std::vector<int>{} : bySize.back().measures) {
            plan.push_back(n - 1);
        }
        AssessmentRecord reached = bySize.empty() ? current.record : bySize.back().record;
        while (!reaches(reached)) {
            int bestAdd = -1;
            AssessmentRecord bestRecord;
            for (int i = 0; i < static_cast<int>(exploration.measures.size()); ++i) {
                if (!search.Compatible(plan, i)) {
                    continue;
                }
                Plan trial = plan;
                trial.push_back(i);
                Evaluated e = Evaluate(record, search.Pointers(trial));
                if (e.passed && (bestAdd < 0 || e.record.EFL < bestRecord.EFL)) {
                    bestAdd = i;
                    bestRecord = std::move(e.record);
                }
            }
            if (bestAdd < 0 || !(bestRecord.EFL < reached.EFL)) {
                break;
            }
            plan.push_back(bestAdd);
            reached = std::move(bestRecord);
        }
        if (reaches(reached)) {
            std::sort(plan.begin(), plan.end());
            plans.push_back(PlanRow(search, current, plan, target, true));
        } else if (reaches(allRow.record)) {
            MeasureRow row = allRow;
            row.target = target;
            plans.push_back(std::move(row));
        }
    }
    exploration.rows.insert(exploration.rows.end(), plans.begin(), plans.end());
    exploration.rows.push_back(std::move(allRow));
    return exploration;
}

} // namespace brisolt
