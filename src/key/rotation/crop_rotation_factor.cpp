#include "key/rotation/crop_rotation_factor.h"

#include "key/rotation/codes.h"

#include <cstring>
#include <limits>

#include "key/core/number_text.h"
#include "key/rotation/codes.h"
#include "key/rotation/key_tables.h"
#include "key/rotation/rotation_checks.h"
#include "key/rotation/step2_form.h"

namespace brisolt {

namespace {

// Row and column keys are short whole numbers: their texts are made once.
const std::string& KeyText(Int n) {
    static const std::array<std::string, 100> texts = [] {
        std::array<std::string, 100> t;
        for (Int i = 0; i < 100; ++i) {
            t[static_cast<std::size_t>(i)] = FormatPositiveInt(i);
        }
        return t;
    }();
    static const std::string none;
    return n >= 0 && n < 100 ? texts[static_cast<std::size_t>(n)] : none;
}

const std::string& TableName(int table) {
    return KeyTables()[table].at(0, 0);
}

Contribution FromCell(const KeyCell& cell, std::string reference) {
    Contribution result;
    if (cell.Text != nullptr) {
        result.Value = *cell.Text;
        result.HasNumber = cell.HasNumber;
        result.Number = cell.Number;
    }
    result.Reference = std::move(reference);
    return result;
}

std::string Reference(int table, Int row) {
    std::string reference = TableName(table);
    reference += '/';
    reference += KeyText(row);
    return reference;
}

// Tables with one value column, read by the row key alone.
Contribution OneColumn(int table, Int row) {
    return FromCell(FindNumberedText(table, row), Reference(table, row));
}

// Tables whose columns are start codes.
Contribution Cell(int table, Int row, Int column) {
    std::string reference = Reference(table, row);
    reference += '/';
    reference += KeyText(column);
    return FromCell(FindNumberedCell(table, row, column), std::move(reference));
}

// Tables whose columns are the crops' letters.
Contribution LetterCell(int table, Int row, char column) {
    std::string reference = Reference(table, row);
    reference += '/';
    reference += column;
    return FromCell(FindLetteredCell(table, row, column), std::move(reference));
}

// Winter wheat tables have one column per kind of previous crop: "11" anything else, "12"
// potatoes, "13" grain maize, "14" beets. The reference names them 1 to 4.
Contribution ByPreviousCrop(int table, Int row, Int prevCode) {
    Int kind = 1;
    if (crop_code::IsPotato(prevCode)) {
        kind = 2;
    } else if (prevCode == crop_code::kGrainMaize) {
        kind = 3;
    } else if (crop_code::IsBeet(prevCode)) {
        kind = 4;
    }
    std::string reference = Reference(table, row);
    reference += '/';
    reference += KeyText(kind);
    return FromCell(FindNumberedCell(table, row, 10 + kind), std::move(reference));
}

// Row crops: a meadow in one of the two years before counts only in rotations with at least
// two meadow years; rotations of at least half broad-leaved crops have their own tables.
int RowCropTable(bool mostlyRowCrops, bool fewMeadows, CropGroup prev, CropGroup prev2) {
    if (fewMeadows) {
        return mostlyRowCrops ? 6 : 5;
    }
    if (prev == CropGroup::KW) {
        return mostlyRowCrops ? 2 : 1;
    }
    if (prev2 == CropGroup::KW) {
        return mostlyRowCrops ? 4 : 3;
    }
    return mostlyRowCrops ? 6 : 5;
}

// Other cereals, legumes, rape and hemp; after potatoes or beets they have their own tables.
int CerealTable(bool afterRootCrop, bool fewMeadows, CropGroup prev, CropGroup prev2) {
    if (afterRootCrop) {
        return !fewMeadows && prev2 == CropGroup::KW ? 10 : 11;
    }
    if (fewMeadows) {
        return 9;
    }
    if (prev == CropGroup::KW) {
        return 7;
    }
    return prev2 == CropGroup::KW ? 8 : 9;
}

// count / years x 100 to one decimal, for every count and number of years a rotation can
// have, worked out once.
Real Share(Int count, Int years) {
    static const auto shares = [] {
        std::array<std::array<Real, kRotationYears + 1>, kRotationYears + 1> s{};
        for (Int n = 1; n <= kRotationYears; ++n) {
            for (Int c = 0; c <= kRotationYears; ++c) {
                s[static_cast<std::size_t>(n)][static_cast<std::size_t>(c)] =
                    RoundHalfEven(static_cast<Real>(c) / static_cast<Real>(n) * 100, 1);
            }
        }
        return s;
    }();
    if (years >= 1 && years <= kRotationYears && count >= 0 && count <= kRotationYears) {
        return shares[static_cast<std::size_t>(years)][static_cast<std::size_t>(count)];
    }
    return RoundHalfEven(static_cast<Real>(count) / static_cast<Real>(years) * 100, 1);
}

// RoundHalfEven and FormatPositiveReal go through the decimal expansion of their argument,
// which costs far more than the rest of the calculation; the commands compute the same
// values twice and a batch of assessments meets the same means again and again. Both are
// pure functions, so their last results are remembered per thread.
template <typename Result> struct Memo {
    // The bytes that hold the value: 80 bits for x87 extended precision, whose storage is
    // padded.
    static constexpr std::size_t kValueBytes =
        std::numeric_limits<Real>::digits == 64 ? 10 : sizeof(Real);

    struct Entry {
        Real in = 0;
        int extra = -1; // decimals or separator; -1 marks an empty entry
        Result out{};
    };
    std::array<Entry, 64> entries;

    template <typename Compute> const Result& Get(Real x, int extra, Compute compute) {
        unsigned char bytes[sizeof(Real)] = {};
        std::memcpy(bytes, &x, kValueBytes);
        std::size_t hash = static_cast<std::size_t>(extra);
        for (std::size_t i = 0; i < kValueBytes; ++i) {
            hash = hash * 31 + bytes[i];
        }
        Entry& e = entries[hash % entries.size()];
        if (e.extra != extra || std::memcmp(&e.in, &x, kValueBytes) != 0) {
            e.in = x;
            e.extra = extra;
            e.out = compute();
        }
        return e.out;
    }
};

Real Rounded(Real x, int decimals) {
    thread_local Memo<Real> memo;
    return memo.Get(x, decimals, [&] { return RoundHalfEven(x, decimals); });
}

std::string PositiveRealText(Real x) {
    thread_local Memo<std::string> memo;
    const char separator = DecimalSeparator();
    return memo.Get(x, static_cast<unsigned char>(separator),
                    [&] { return FormatPositiveReal(x, separator); });
}

// Adds a contribution text to the sum as the regional number reader reads it. Table cells
// were read once; with a separator other than '.' or ',' the text goes through the reader,
// which then refuses it as it would any text.
void AddContribution(Real& sum, const std::string& text, const Contribution& c) {
    if (text.empty()) {
        return;
    }
    const char separator = DecimalSeparator();
    if (c.HasNumber && (separator == '.' || separator == ',')) {
        sum += c.Number;
    } else {
        sum += ParseRealTolerant(text);
    }
}

} // namespace

Contribution MainCropValue(const CropNeighbours& crops, Int T, Int kwbCount, Real bfPercentage) {
    if (!IsCropPosition(crops.Crop)) {
        return {};
    }
    const CropFacts& crop = FactsOfCrop(crops.Crop);
    const CropFacts& prevCrop = FactsOfCrop(crops.Prev);
    const CropFacts& nextCrop = FactsOfCrop(crops.Next);
    const Int code = crop.Code;
    const Int prevCode = prevCrop.Code;
    const Int nextCode = nextCrop.Code;
    const CropGroup prev = prevCrop.Group;
    const CropGroup next = nextCrop.Group;
    const CropGroup prev2 = GroupOfCrop(crops.Prev2);
    const bool nextSpring = nextCrop.SpringSown;
    const Int row = T;
    const bool fewMeadows = kwbCount <= 1;

    switch (crop.Group) {
    case CropGroup::KW:
        if (prev == CropGroup::KW) {
            return OneColumn(next == CropGroup::KW ? 21 : nextSpring ? 23 : 22, row);
        }
        if (code == crop_code::kMeadowSpringSown) {
            return OneColumn(next == CropGroup::KW ? 15 : !nextSpring ? 16 : 17, row);
        }
        return OneColumn(next == CropGroup::KW ? 18 : !nextSpring ? 19 : 20, row);

    case CropGroup::RB:
        if (prev == CropGroup::RB) {
            const bool fallowFollows =
                next == CropGroup::RB || nextSpring || nextCode == crop_code::kMeadowSpringSown ||
                nextCode == crop_code::kChinaschilfFirstYear;
            return OneColumn(fallowFollows ? 26 : 27, row);
        }
        return OneColumn(code == crop_code::kFallowSpringSown ? 24 : 25, row);

    case CropGroup::CH:
        if (code == crop_code::kChinaschilfFirstYear) {
            return OneColumn(28, row);
        }
        if (next != CropGroup::CH || nextCode == crop_code::kChinaschilfFirstYear) {
            return OneColumn(31, row);
        }
        return OneColumn(prevCode == crop_code::kChinaschilfFirstYear ? 29 : 30, row);

    case CropGroup::WW:
        if (fewMeadows) {
            return ByPreviousCrop(14, row, prevCode);
        }
        if (prev == CropGroup::KW) {
            return OneColumn(12, row);
        }
        return ByPreviousCrop(prev2 == CropGroup::KW ? 13 : 14, row, prevCode);

    case CropGroup::BF:
        return LetterCell(RowCropTable(bfPercentage >= 50, fewMeadows, prev, prev2), row,
                          crop.Column);

    case CropGroup::HF:
        return LetterCell(CerealTable(crop_code::IsRootCrop(prevCode), fewMeadows, prev, prev2), row,
                          crop.Column);

    case CropGroup::None:
        break;
    }
    return {};
}

Contribution PeriodValue(Int P, Int D, Int E, Int T, CropGroup group) {
    if (P <= 0) {
        return {"0", {}, true, 0};
    }
    const bool rowCrop = group == CropGroup::BF;
    using namespace period_type;
    switch (P) {
    case kCatchCropBeforeFallow:
    case kCatchCropBeforeWinterCrop:
    case kCatchCropFrostKilled:
    case kCatchCropOverwintering:
        // Catch crops: "Tab35" before bare fallow ... "Tab32" over winter.
        return Cell(40 - P, D, E);
    case kBareFallow:
        return Cell(40, 1, E);
    case kStubbleBeforeWinterCrop:
        return Cell(T == tillage_code::kPlough ? 38 : 39, rowCrop ? 2 : 1, E);
    default:
        // Stubble over winter; "Keine Zwischenperiode" has no start and finds no cell.
        return Cell(rowCrop ? 37 : 36, T, E);
    }
}

void CountRotationYear(RotationCounters& counters, CropClass cropClass, Int T, Int P, Int D) {
    switch (cropClass) {
    case CropClass::KWB:
        ++counters.CropClass[0];
        break;
    case CropClass::HFW:
        ++counters.CropClass[1];
        break;
    case CropClass::HFS:
        ++counters.CropClass[2];
        break;
    case CropClass::BFW:
        ++counters.CropClass[3];
        break;
    case CropClass::BFS:
        ++counters.CropClass[4];
        break;
    case CropClass::SOK:
        ++counters.CropClass[5];
        break;
    case CropClass::None:
        break;
    }
    using namespace tillage_code;
    if (T >= kPlough && T <= kDirectSeeding) {
        ++counters.CropTillage[static_cast<std::size_t>(T - kPlough)];
    } else if (T == kNoTillage) {
        ++counters.CropTillage[4];
    }
    if (P >= period_type::kNone && P <= period_type::kCatchCropOverwintering) {
        ++counters.PeriodType[static_cast<std::size_t>(period_type::kCatchCropOverwintering - P)];
    }
    if (D >= kPlough && D <= kDirectSeeding) {
        ++counters.PeriodTillage[static_cast<std::size_t>(D - kPlough)];
    } else if (D == kNoTillage || D == kNone) {
        ++counters.PeriodTillage[4];
    }
}

void ComputeCropRotationFactor(AssessmentRecord& record, Step2Form& form) {
    const RotationExtent extent = FindRotationExtent(record);
    if (!extent.Empty()) {
        record.Years = extent.Last - extent.First + 1;
        form.YearsText = FormatPositiveInt(record.Years);
    }
    RotationCounters counters;
    Int years = 0;
    Real sum = 0;
    for (int k = kRotationYears; k >= 1; --k) {
        Step2Year& row = form.Row(k);
        if (!extent.Contains(k)) {
            row.w.clear();
            row.x.clear();
            row.y.clear();
            row.z.clear();
            continue;
        }
        RotationYear& year = record.RotationYearAt(k);
        // Codes at the stored positions; a position the list does not have is nothing chosen.
        const Int T = row.List(Choice::CropTillage).Number(year.c);
        const Int P = row.List(Choice::PeriodType).Number(year.b);
        const Int D = row.List(Choice::PeriodTillage).Number(year.d);
        const Int E = row.List(Choice::PeriodStart).Number(year.e);
        const int prev = extent.Prev(k);
        const CropNeighbours crops{year.a, record.RotationYearAt(prev).a,
                                   record.RotationYearAt(extent.Next(k)).a,
                                   record.RotationYearAt(extent.Prev(prev)).a};
        Contribution main = MainCropValue(crops, T, record.KWBCount, record.BFPercentage);
        Contribution period = PeriodValue(P, D, E, T, GroupOfCrop(year.a));
        row.y = main.Value;
        row.z = main.Reference;
        row.w = period.Value;
        row.x = period.Reference;
        year.y = std::move(main.Value);
        year.z = std::move(main.Reference);
        year.w = std::move(period.Value);
        year.x = std::move(period.Reference);

        ++years;
        AddContribution(sum, year.w, period);
        AddContribution(sum, year.y, main);
        CountRotationYear(counters, ClassOfCrop(year.a), T, P, D);
    }

    Real mean = 0;
    Real broadLeaved = 0;
    if (years >= 1) {
        mean = sum / static_cast<Real>(years);
        broadLeaved = static_cast<Real>(counters.CropClass[3] + counters.CropClass[4]) /
                      static_cast<Real>(years) * 100;
    }
    // Both roundings start from the unrounded mean.
    record.CABAG = Rounded(mean, 4);
    record.C = Rounded(mean * 10, 3);
    form.CText = PositiveRealText(record.C);
    form.CABAGText = PositiveRealText(record.CABAG);
    record.KWBCount = counters.CropClass[0];
    form.KWBCountText = FormatPositiveInt(record.KWBCount);
    record.BFPercentage = broadLeaved;
    form.BFPercentageText = PositiveRealText(record.BFPercentage);

    const auto shares = [years](auto& target, const auto& counts) {
        for (std::size_t i = 0; i < target.size(); ++i) {
            target[i] = years >= 1 ? Share(counts[i], years) : Real{0};
        }
    };
    shares(record.Total2A, counters.CropClass);
    shares(record.Total2B, counters.CropTillage);
    shares(record.Total2C, counters.PeriodType);
    shares(record.Total2D, counters.PeriodTillage);

    form.ReadStep2Inputs(record);
}

} // namespace brisolt
