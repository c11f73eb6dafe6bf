#include "key/rotation/step2_form.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/core/texts_rotation.h"
#include "key/core/windows1252.h"
#include "key/rotation/codes.h"
#include "key/rotation/crop_rotation_factor.h"
#include "key/rotation/key_tables.h"
#include "key/rotation/rotation_checks.h"

namespace brisolt {

namespace {

void RemoveAll(OptionList& list, std::initializer_list<Index> positions) {
    for (Index p : positions) {
        list.RemoveAt(p);
    }
}

// Restores the previous guard state however the filling ends.
class FillingGuard {
public:
    explicit FillingGuard(bool& flag) : flag_(flag), previous_(flag) { flag_ = true; }
    ~FillingGuard() { flag_ = previous_; }
    FillingGuard(const FillingGuard&) = delete;
    FillingGuard& operator=(const FillingGuard&) = delete;

private:
    bool& flag_;
    bool previous_;
};

// Cuts a UTF-8 text after `maxChars` characters.
std::string CutToChars(std::string text, std::size_t maxChars) {
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte & 0xC0) != 0x80) {
            if (chars == maxChars) {
                text.resize(i);
                break;
            }
            ++chars;
        }
    }
    return text;
}

// ParseIntOrZero, with a shortcut for the plain digits the year fields nearly always hold.
inline Int ParseYearText(const std::string& text) {
    const std::size_t size = text.size();
    if (size == 0 || size > 9) {
        return ParseIntOrZero(text);
    }
    Int n = 0;
    for (std::size_t i = 0; i < size; ++i) {
        const auto digit = static_cast<unsigned>(text[i] - '0');
        if (digit > 9) {
            return ParseIntOrZero(text);
        }
        n = n * 10 + static_cast<Int>(digit);
    }
    return n;
}

// What each choice offers depends on a few facts of its year only: the crop's group or
// table column, the period type. The filtered lists are made once for each of them.
namespace offered {

// Period types: fallows, Kunstwiese and Chinaschilf have no stubble after them.
void FilterPeriodTypes(OptionList& list, CropGroup group) {
    list.FillAll(PeriodTypes());
    if (group != CropGroup::BF && group != CropGroup::HF && group != CropGroup::WW) {
        RemoveAll(list, {period_type::kStubbleBeforeWinterCrop, period_type::kStubbleWinter});
    }
}

// Main crop tillage: never "keine Bodenbearbeitung"; no direct seeding of potatoes and
// tobacco.
void FilterCropTillage(OptionList& list, char column) {
    list.FillAll(TillageOptions());
    if (column == 'A' || column == 'B' || column == 'I') {
        RemoveAll(list, {tillage_code::kPositionDirectSeeding, tillage_code::kPositionNoTillage});
    } else {
        list.RemoveAt(tillage_code::kPositionNoTillage);
    }
}

// Tillage in the period follows from its type: none on stubble, the plough on bare fallow,
// free choice under a catch crop.
void FilterPeriodTillage(OptionList& list, Int type) {
    using namespace tillage_code;
    list.FillAll(TillageOptions());
    if (period_type::IsStubble(type)) {
        RemoveAll(list,
                  {kPositionDirectSeeding, kPositionMulchHigh, kPositionMulchLow, kPositionPlough});
    } else if (type == period_type::kBareFallow) {
        RemoveAll(list, {kPositionDirectSeeding, kPositionMulchHigh, kPositionMulchLow,
                         kPositionNoTillage});
    } else {
        list.RemoveAt(kPositionNoTillage);
    }
}

// The starts a period can have, by its type and the crop's group.
void FilterPeriodStarts(OptionList& list, Int t, CropGroup g) {
    using namespace period_start;
    list.FillAll(PeriodStarts());
    const bool cereal = g == CropGroup::HF || g == CropGroup::WW;
    if (t == period_type::kBareFallow) {
        RemoveAll(list, {k2007To3107, kBefore2007});
    } else if (period_type::IsStubble(t) && cereal) {
        RemoveAll(list, {k0112To1512, k1611To3011, k0111To1511, k1610To3110, k0110To1510,
                         k1609To3009, kBefore3107});
    } else if (t == period_type::kStubbleWinter && g == CropGroup::BF) {
        RemoveAll(list, {k0112To1512, k1611To3011, k2007To3107, kBefore2007});
    } else if (t == period_type::kStubbleBeforeWinterCrop && g == CropGroup::BF) {
        // Up to "01.11. bis 15.11.", the columns of the tables for this period type.
        RemoveAll(list, {k0112To1512, k1611To3011, kBefore3107, kBefore2007});
    } else if (t >= period_type::kCatchCropBeforeFallow &&
               t <= period_type::kCatchCropFrostKilled) {
        RemoveAll(list, {k0112To1512, k1611To3011, k0111To1511, k1610To3110, k0110To1510,
                         k1609To3009, kBefore3107});
    } else if (t == period_type::kCatchCropOverwintering) {
        RemoveAll(list, {k0112To1512, k1611To3011, k0111To1511, k1610To3110, kBefore3107});
    }
}

constexpr std::size_t kGroups = static_cast<std::size_t>(CropGroup::CH) + 1;
constexpr Int kPeriodTypes = 9;

template <std::size_t N, typename Fill> std::array<OptionList, N> MakeLists(Fill fill) {
    std::array<OptionList, N> lists;
    for (std::size_t i = 0; i < N; ++i) {
        fill(lists[i], i);
    }
    return lists;
}

const OptionList& PeriodTypesFor(CropGroup group) {
    static const auto lists = MakeLists<kGroups>(
        [](OptionList& l, std::size_t g) { FilterPeriodTypes(l, static_cast<CropGroup>(g)); });
    return lists[static_cast<std::size_t>(group)];
}

const OptionList& CropTillageFor(char column) {
    static const auto lists = MakeLists<2>(
        [](OptionList& l, std::size_t rootCrop) { FilterCropTillage(l, rootCrop ? 'A' : '-'); });
    return lists[column == 'A' || column == 'B' || column == 'I' ? 1 : 0];
}

void OfferPeriodTillage(OptionList& list, Int type) {
    static const auto lists = MakeLists<kPeriodTypes>(
        [](OptionList& l, std::size_t t) { FilterPeriodTillage(l, static_cast<Int>(t)); });
    if (type >= 0 && type < kPeriodTypes) {
        list.OfferAs(lists[static_cast<std::size_t>(type)]);
    } else {
        FilterPeriodTillage(list, type);
    }
}

void OfferPeriodStarts(OptionList& list, Int type, CropGroup group) {
    static const auto lists = MakeLists<kPeriodTypes * kGroups>([](OptionList& l, std::size_t i) {
        FilterPeriodStarts(l, static_cast<Int>(i / kGroups), static_cast<CropGroup>(i % kGroups));
    });
    if (type >= 0 && type < kPeriodTypes) {
        list.OfferAs(
            lists[static_cast<std::size_t>(type) * kGroups + static_cast<std::size_t>(group)]);
    } else {
        FilterPeriodStarts(list, type, group);
    }
}

const OptionList& AllCrops() {
    static const OptionList list = [] {
        OptionList l;
        l.FillAll(CropCatalogue());
        return l;
    }();
    return list;
}

} // namespace offered

} // namespace

Step2Form::Step2Form() {
    for (Step2Year& row : rows_) {
        row.List(Choice::Crop).OfferAs(offered::AllCrops());
    }
}

void Step2Form::UpdateCropChoices(int n) {
    Step2Year& row = Row(n);
    const Index crop = row.List(Choice::Crop).Chosen();
    if (crop <= 0) {
        for (Choice c : {Choice::PeriodType, Choice::CropTillage, Choice::PeriodTillage,
                         Choice::PeriodStart}) {
            row.List(c).Clear();
        }
        return;
    }
    const CropFacts& facts = FactsOfCrop(crop);

    OptionList& period = row.List(Choice::PeriodType);
    Index remembered = period.Chosen();
    const Index rememberedType = period.EntryAt(remembered);
    period.OfferAs(offered::PeriodTypesFor(facts.Group));
    if (!Filling && rememberedType >= 0) {
        // A new crop keeps the period type the user chose, found by its code in the new
        // list; a type the new crop does not offer becomes blank. (Keeping the bare position
        // would silently turn it into another type when the list got shorter.)
        const Index kept = period.PositionOfEntry(rememberedType);
        remembered = kept >= 0 ? kept : 0;
    }
    period.Choose(remembered);

    OptionList& tillage = row.List(Choice::CropTillage);
    remembered = tillage.Chosen();
    tillage.OfferAs(offered::CropTillageFor(facts.Column));
    if (!Filling) {
        remembered = 0;
    }
    tillage.Choose(remembered);
}

void Step2Form::UpdatePeriodChoices(int n) {
    Step2Year& row = Row(n);
    OptionList& period = row.List(Choice::PeriodType);
    OptionList& tillage = row.List(Choice::PeriodTillage);
    OptionList& start = row.List(Choice::PeriodStart);
    const Index q = period.Chosen();
    if (q <= 1) {
        tillage.Clear();
        start.Clear();
        return;
    }
    const Index t = period.EntryAt(q); // period type codes equal their catalogue positions
    const CropGroup g = GroupOfCrop(row.List(Choice::Crop).Chosen());

    // On stubble and bare fallow one tillage is left; under a catch crop nothing is chosen.
    offered::OfferPeriodTillage(tillage, t);
    tillage.Choose(period_type::IsStubble(t) || t == period_type::kBareFallow ? 1 : 0);

    Index remembered = start.Chosen();
    offered::OfferPeriodStarts(start, t, g);
    if (!Filling) {
        remembered = 0;
    }
    start.Choose(remembered);
}

void Step2Form::UpdateRotationYears(AssessmentRecord& record) {
    std::string& first = Row(1).YearText;
    first = WholeNumberText(first);
    if (first.empty()) {
        for (int k = 2; k <= kRotationYears; ++k) {
            Row(k).YearText.clear();
        }
    } else {
        const std::int64_t year1 = ParseIntOrZero(first);
        // Check every year before writing any, so a failure leaves them all as they were.
        const std::int64_t last = year1 + kRotationYears - 1;
        if (last > std::numeric_limits<Int>::max()) {
            throw ConversionError(texts::kNotAnInteger(std::to_string(last)));
        }
        for (int k = 2; k <= kRotationYears; ++k) {
            Row(k).YearText = std::to_string(year1 + k - 1);
        }
    }
    ReadStep2Inputs(record);
}

void Step2Form::ReadStep2Inputs(AssessmentRecord& record) const {
    if (Filling) {
        return;
    }
    record.Years = ParseYearText(YearsText);
    for (int k = 1; k <= kRotationYears; ++k) {
        const Step2Year& row = Row(k);
        RotationYear& year = record.RotationYearAt(k);
        year.Year = ParseYearText(row.YearText);
        Index* positions[kChoicesPerYear] = {&year.a, &year.b, &year.c, &year.d, &year.e};
        for (int i = 0; i < kChoicesPerYear; ++i) {
            const OptionList& list = row.Lists[static_cast<std::size_t>(i)];
            *positions[i] = list.Chosen();
            // Most texts are already there; comparing is cheaper than copying them again.
            std::string& text = year.text[static_cast<std::size_t>(i)];
            if (const std::string& chosen = list.ChosenText(); text != chosen) {
                text = chosen;
            }
        }
    }
    // The remark as the file keeps it; most of the time it is there already.
    if (std::string safe = MakeWindows1252Safe(RemarkText); record.Remark != safe) {
        record.Remark = std::move(safe);
    }
}

void Step2Form::ShowStep2Inputs(const AssessmentRecord& record) {
    FillingGuard guard(Filling);
    YearsText = FormatPositiveInt(record.Years);
    for (int k = 1; k <= kRotationYears; ++k) {
        const RotationYear& year = record.RotationYearAt(k);
        Step2Year& row = Row(k);
        row.YearText = FormatPositiveInt(year.Year);
        // Lists are rebuilt in the order crop, then period type, before the positions are
        // chosen, so stored positions point at the entries they were chosen from.
        row.List(Choice::Crop).Choose(year.a);
        UpdateCropChoices(k);
        UpdatePeriodChoices(k);
        row.List(Choice::PeriodType).Choose(year.b);
        UpdatePeriodChoices(k);
        row.List(Choice::CropTillage).Choose(year.c);
        row.List(Choice::PeriodTillage).Choose(year.d);
        row.List(Choice::PeriodStart).Choose(year.e);
    }
    RemarkText = record.Remark;
}

void Step2Form::ClearRotation(AssessmentRecord& record) {
    YearsText.clear();
    for (Step2Year& row : rows_) {
        row.List(Choice::Crop).Choose(0);
        for (Choice c : {Choice::PeriodType, Choice::CropTillage, Choice::PeriodTillage,
                         Choice::PeriodStart}) {
            row.List(c).Clear();
        }
        row.w.clear();
        row.x.clear();
        row.y.clear();
        row.z.clear();
    }
    ReadStep2Inputs(record);
}

void Step2Form::Activate(const AssessmentRecord& record) {
    ShowStep2Inputs(record);
    CText = FormatPositiveReal(record.C);
    CABAGText = FormatPositiveReal(record.CABAG);
    KWBCountText = FormatPositiveInt(record.KWBCount);
    BFPercentageText = FormatPositiveReal(record.BFPercentage);
    NextEnabled = true;
}

void Step2Form::MainCropChange(int n, Index position, AssessmentRecord& record) {
    Select(n, Choice::Crop, position);
    ReadStep2Inputs(record);
}

void Step2Form::PeriodTypeChange(int n, Index position, AssessmentRecord& record) {
    Select(n, Choice::PeriodType, position);
    ReadStep2Inputs(record);
}

void Step2Form::OtherChoiceChange(int n, Choice choice, Index position, AssessmentRecord& record) {
    NextEnabled = false;
    Row(n).List(choice).Choose(position);
    ReadStep2Inputs(record);
}

void Step2Form::ChoiceChange(int n, Choice choice, Index position, AssessmentRecord& record) {
    Select(n, choice, position);
    ReadStep2Inputs(record);
}

void Step2Form::Select(int n, Choice choice, Index position) {
    NextEnabled = false;
    Row(n).List(choice).Choose(position);
    switch (choice) {
    case Choice::Crop:
        UpdateCropChoices(n);
        UpdatePeriodChoices(n);
        break;
    case Choice::PeriodType:
        UpdatePeriodChoices(n);
        break;
    default:
        break;
    }
}

int Step2Form::EnteredYears() const {
    int entered = 0;
    while (entered < kRotationYears && Row(entered + 1).List(Choice::Crop).Chosen() > 0) {
        ++entered;
    }
    return entered;
}

int Step2Form::ProposedRotationLength(int cycle) {
    return cycle < 1 ? 0 : std::max(cycle, kRotationYears / cycle * cycle);
}

int Step2Form::RepeatRotation(int cycle, int length, AssessmentRecord& record) {
    if (cycle < 1 || cycle >= kRotationYears) {
        return 0;
    }
    length = std::min(length, kRotationYears);
    int filled = 0;
    for (int n = cycle + 1; n <= length && Row(n).List(Choice::Crop).Chosen() <= 0; ++n) {
        const Step2Year& from = Row((n - 1) % cycle + 1);
        // In the order a user chooses: the crop rebuilds the lists, the period type those of
        // the period, so every position lands on the same entry as in the year copied.
        for (const Choice c : {Choice::Crop, Choice::PeriodType, Choice::CropTillage,
                               Choice::PeriodTillage, Choice::PeriodStart}) {
            Select(n, c, from.List(c).Chosen());
        }
        ++filled;
    }
    ReadStep2Inputs(record);
    return filled;
}

void Step2Form::SetRemarkText(std::string text) {
    RemarkText = CutToChars(std::move(text), kRemarkMaxChars);
}

void Step2Form::RemarkExit(AssessmentRecord& record) {
    // The field shows the remark as stored; folding may lengthen it ("ǆ" -> "dž").
    RemarkText = CutToChars(MakeWindows1252Safe(RemarkText), kRemarkMaxChars);
    NextEnabled = false;
    ReadStep2Inputs(record);
}

std::optional<std::string> Step2Form::Calculate(AssessmentRecord& record) {
    if (auto message = CheckRotation(record, *this)) {
        return message;
    }
    ComputeCropRotationFactorTwice(record, *this);
    NextEnabled = true;
    return std::nullopt;
}

void Step2Form::ClearFields(AssessmentRecord& record) {
    ClearRotation(record);
    ComputeCropRotationFactorTwice(record, *this);
    NextEnabled = true;
}

std::optional<std::string> Step2Form::Next(AssessmentRecord& record) {
    if (auto message = CheckRotation(record, *this)) {
        return message;
    }
    if (FindRotationExtent(record).Empty()) {
        return std::string(texts::step2::kNoRotation);
    }
    // The calculation ends by copying the screen into the record.
    ComputeCropRotationFactorTwice(record, *this);
    return std::nullopt;
}

std::optional<std::string> Step2Form::PrintStep2(AssessmentRecord& record) {
    if (auto message = CheckRotation(record, *this)) {
        return message;
    }
    ComputeCropRotationFactorTwice(record, *this);
    return std::nullopt;
}

void BuildRotationTables() {
    BuildCatalogues();
    (void)KeyTables();
}

} // namespace brisolt
