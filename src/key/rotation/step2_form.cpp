#include "key/rotation/step2_form.h"

#include <cstdint>
#include <limits>

#include "key/core/errors.h"
#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"
#include "key/rotation/crop_rotation_factor.h"
#include "key/rotation/key_tables.h"
#include "key/rotation/rotation_checks.h"

namespace brisolt {

namespace {

// Positions in the full catalogues, which the filters below remove.
constexpr Index kStubbleWinter = 3;       // "Stoppelbrache im Winter"
constexpr Index kStubbleBeforeWinter = 4; // "Stoppelbrache vor Winterkultur"
constexpr Index kNoTillage = 1;           // "keine Bodenbearbeitung"
constexpr Index kDirectSeeding = 5;       // "Direktsaat/Streifenfrässaat"

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
Int ParseYearText(const std::string& text) {
    if (text.empty() || text.size() > 9) {
        return ParseIntOrZero(text);
    }
    Int n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return ParseIntOrZero(text);
        }
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

Step2Form::Step2Form() {
    for (Step2Year& row : rows_) {
        row.List(Choice::Crop).FillAll(CropCatalogue());
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

    // Period type. Fallows, Kunstwiese and Chinaschilf have no stubble after them.
    OptionList& period = row.List(Choice::PeriodType);
    Index remembered = period.Chosen();
    const Index rememberedType = period.EntryAt(remembered);
    period.FillAll(PeriodTypes());
    period.Choose(remembered);
    const CropGroup group = facts.Group;
    if (group != CropGroup::BF && group != CropGroup::HF && group != CropGroup::WW) {
        RemoveAll(period, {kStubbleBeforeWinter, kStubbleWinter});
    }
    if (!Filling && rememberedType >= 0) {
        // A new crop keeps the period type the user chose, found by its code in the new
        // list; a type the new crop does not offer becomes blank. (Keeping the bare position
        // would silently turn it into another type when the list got shorter.)
        const Index kept = period.PositionOfEntry(rememberedType);
        remembered = kept >= 0 ? kept : 0;
    }
    period.Choose(remembered);

    // Main crop tillage: never "keine Bodenbearbeitung"; no direct seeding of potatoes and
    // tobacco.
    OptionList& tillage = row.List(Choice::CropTillage);
    remembered = tillage.Chosen();
    tillage.FillAll(TillageOptions());
    tillage.Choose(remembered);
    if (facts.Column == 'A' || facts.Column == 'B' || facts.Column == 'I') {
        RemoveAll(tillage, {kDirectSeeding, kNoTillage});
    } else {
        tillage.RemoveAt(kNoTillage);
    }
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
    Index remembered = tillage.Chosen();
    tillage.FillAll(TillageOptions());
    tillage.Choose(remembered);
    remembered = start.Chosen();
    start.FillAll(PeriodStarts());

    const Index t = period.EntryAt(q); // period type codes equal their catalogue positions
    const CropGroup g = GroupOfCrop(row.List(Choice::Crop).Chosen());

    // Tillage in the period follows from its type: none on stubble, the plough on bare
    // fallow, free choice under a catch crop.
    if (t == 3 || t == 4) {
        RemoveAll(tillage, {5, 4, 3, 2});
        tillage.Choose(1);
    } else if (t == 2) {
        RemoveAll(tillage, {5, 4, 3, 1});
        tillage.Choose(1);
    } else {
        tillage.RemoveAt(1);
        tillage.Choose(0);
    }

    // The starts a period can have, by its type and the crop's group.
    const bool cereal = g == CropGroup::HF || g == CropGroup::WW;
    if (t == 2) {
        RemoveAll(start, {3, 1});
    } else if ((t == 3 || t == 4) && cereal) {
        RemoveAll(start, {12, 11, 10, 9, 8, 7, 2});
    } else if (t == 3 && g == CropGroup::BF) {
        RemoveAll(start, {12, 11, 3, 1});
    } else if (t == 4 && g == CropGroup::BF) {
        // Up to "01.11. bis 15.11.", the columns of the tables for this period type.
        RemoveAll(start, {12, 11, 2, 1});
    } else if (t >= 5 && t <= 7) {
        RemoveAll(start, {12, 11, 10, 9, 8, 7, 2});
    } else if (t == 8) {
        RemoveAll(start, {12, 11, 10, 9, 2});
    }
    if (!Filling) {
        remembered = 0;
    }
    start.Choose(remembered);
}

void Step2Form::UpdateRotationYears(AssessmentRecord& record) {
    std::string& first = Row(1).YearText;
    first = KeepDigits(first);
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
            year.text[static_cast<std::size_t>(i)] = list.ChosenText();
        }
    }
    record.Remark = MakeWindows1252Safe(RemarkText);
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

void Step2Form::MainCropChanged(int n, Index position, AssessmentRecord& record) {
    NextEnabled = false;
    Row(n).List(Choice::Crop).Choose(position);
    UpdateCropChoices(n);
    UpdatePeriodChoices(n);
    ReadStep2Inputs(record);
}

void Step2Form::PeriodTypeChanged(int n, Index position, AssessmentRecord& record) {
    NextEnabled = false;
    Row(n).List(Choice::PeriodType).Choose(position);
    UpdatePeriodChoices(n);
    ReadStep2Inputs(record);
}

void Step2Form::OtherChoiceChanged(int n, Choice choice, Index position, AssessmentRecord& record) {
    NextEnabled = false;
    Row(n).List(choice).Choose(position);
    ReadStep2Inputs(record);
}

void Step2Form::ChoiceChanged(int n, Choice choice, Index position, AssessmentRecord& record) {
    switch (choice) {
    case Choice::Crop:
        MainCropChanged(n, position, record);
        break;
    case Choice::PeriodType:
        PeriodTypeChanged(n, position, record);
        break;
    default:
        OtherChoiceChanged(n, choice, position, record);
        break;
    }
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
    ComputeCropRotationFactor(record, *this);
    ComputeCropRotationFactor(record, *this);
    NextEnabled = true;
    return std::nullopt;
}

void Step2Form::ClearFields(AssessmentRecord& record) {
    ClearRotation(record);
    ComputeCropRotationFactor(record, *this);
    ComputeCropRotationFactor(record, *this);
    NextEnabled = true;
}

std::optional<std::string> Step2Form::Next(AssessmentRecord& record) {
    if (auto message = CheckRotation(record, *this)) {
        return message;
    }
    ComputeCropRotationFactor(record, *this);
    ComputeCropRotationFactor(record, *this);
    ReadStep2Inputs(record);
    return std::nullopt;
}

void BuildRotationTables() {
    BuildCatalogues();
    (void)KeyTables();
}

} // namespace brisolt
