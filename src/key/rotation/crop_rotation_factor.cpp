#include "key/rotation/crop_rotation_factor.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string_view>

#include "key/core/number_text.h"
#include "key/rotation/codes.h"
#include "key/rotation/key_tables.h"
#include "key/rotation/rotation_checks.h"
#include "key/rotation/step2_form.h"

namespace brisolt {

namespace {

// Row and column keys are short whole numbers, written as FormatPositiveInt writes them:
// no text for 0 and below, nor for keys the tables do not have (100 and above).
struct KeyDigits {
    char text[2];
    std::uint8_t size;
};

constexpr std::array<KeyDigits, 100> kKeyDigits = [] {
    std::array<KeyDigits, 100> digits{};
    for (int i = 1; i < 100; ++i) {
        KeyDigits& d = digits[static_cast<std::size_t>(i)];
        if (i < 10) {
            d = {{static_cast<char>('0' + i), 0}, 1};
        } else {
            d = {{static_cast<char>('0' + i / 10), static_cast<char>('0' + i % 10)}, 2};
        }
    }
    return digits;
}();

std::string_view KeyText(Int n) {
    if (n < 0 || n >= 100) {
        return {};
    }
    const KeyDigits& d = kKeyDigits[static_cast<std::size_t>(n)];
    return std::string_view(d.text, d.size);
}

std::string_view TableName(int table) {
    static const auto names = [] {
        std::array<std::string_view, kKeyTableCount + 1> n{};
        for (int t = 1; t <= kKeyTableCount; ++t) {
            n[static_cast<std::size_t>(t)] = KeyTables()[t].at(0, 0);
        }
        return n;
    }();
    return table >= 1 && table <= kKeyTableCount ? names[static_cast<std::size_t>(table)]
                                                 : KeyTables()[table].at(0, 0);
}

// Which cell of which table gives a contribution, and how its reference is written:
// "Tab21/1" for tables with one value column, "Tab05/2/C" for a column key.
struct CellKey {
    enum class Kind : std::uint8_t {
        Nothing,    // no contribution, no reference
        Zero,       // "0" without a reference: no intermediate period chosen
        OneColumn,  // read by the row key alone
        Numbered,   // columns are start codes
        Lettered,   // columns are the crops' letters
        ByPrevious, // winter wheat: columns "11" ... "14", named 1 ... 4
    };
    Kind kind = Kind::Nothing;
    int table = 0;
    Int row = 0;
    Int column = 0; // start code, or previous crop kind 1 ... 4
    char letter = '-';

    static CellKey One(int table, Int row) { return {Kind::OneColumn, table, row, 0, '-'}; }
    static CellKey Numbered(int table, Int row, Int column) {
        return {Kind::Numbered, table, row, column, '-'};
    }
    static CellKey Lettered(int table, Int row, char letter) {
        return {Kind::Lettered, table, row, 0, letter};
    }
};

KeyCell FindCell(const CellKey& key) {
    switch (key.kind) {
    case CellKey::Kind::OneColumn:
        return FindNumberedText(key.table, key.row);
    case CellKey::Kind::Numbered:
        return FindNumberedCell(key.table, key.row, key.column);
    case CellKey::Kind::Lettered:
        return FindLetteredCell(key.table, key.row, key.letter);
    case CellKey::Kind::ByPrevious:
        return FindNumberedCell(key.table, key.row, 10 + key.column);
    case CellKey::Kind::Nothing:
    case CellKey::Kind::Zero:
        break;
    }
    return {};
}

// The contribution's text: the cell's, "0" for no period, empty when no cell was found.
const std::string& ValueText(const CellKey& key, const KeyCell& cell) {
    static const std::string zero = "0";
    static const std::string none;
    if (key.kind == CellKey::Kind::Zero) {
        return zero;
    }
    return cell.Text != nullptr ? *cell.Text : none;
}

bool HasNumber(const CellKey& key, const KeyCell& cell) {
    return key.kind == CellKey::Kind::Zero || (cell.Text != nullptr && cell.HasNumber);
}

Real NumberOf(const CellKey& key, const KeyCell& cell) {
    return key.kind == CellKey::Kind::Zero || cell.Text == nullptr ? Real{0} : cell.Number;
}

// Writes the cell's reference into `out`, reusing its storage.
void WriteReference(const CellKey& key, std::string& out) {
    if (key.kind == CellKey::Kind::Nothing || key.kind == CellKey::Kind::Zero) {
        out.clear();
        return;
    }
    const std::string_view name = TableName(key.table);
    const std::string_view row = KeyText(key.row);
    const char letter[1] = {key.letter};
    std::string_view columnText;
    switch (key.kind) {
    case CellKey::Kind::Numbered:
    case CellKey::Kind::ByPrevious:
        columnText = KeyText(key.column);
        break;
    case CellKey::Kind::Lettered:
        columnText = std::string_view(letter, 1);
        break;
    default:
        break;
    }
    const bool hasColumn = key.kind != CellKey::Kind::OneColumn;
    char buffer[64];
    const std::size_t size = name.size() + 1 + row.size() + (hasColumn ? 1 + columnText.size() : 0);
    if (size > sizeof buffer) {
        out = name;
        out += '/';
        out += row;
        if (hasColumn) {
            out += '/';
            out += columnText;
        }
        return;
    }
    char* p = buffer;
    p = std::copy(name.begin(), name.end(), p);
    *p++ = '/';
    p = std::copy(row.begin(), row.end(), p);
    if (hasColumn) {
        *p++ = '/';
        p = std::copy(columnText.begin(), columnText.end(), p);
    }
    out.assign(buffer, size);
}

Contribution ContributionOf(const CellKey& key) {
    const KeyCell cell = FindCell(key);
    Contribution result;
    result.Value = ValueText(key, cell);
    result.HasNumber = HasNumber(key, cell);
    result.Number = NumberOf(key, cell);
    WriteReference(key, result.Reference);
    return result;
}

// Winter wheat tables have one column per kind of previous crop: "11" anything else, "12"
// potatoes, "13" grain maize, "14" beets. The reference names them 1 to 4.
CellKey ByPreviousCrop(int table, Int row, Int prevCode) {
    Int kind = 1;
    if (crop_code::IsPotato(prevCode)) {
        kind = 2;
    } else if (prevCode == crop_code::kGrainMaize) {
        kind = 3;
    } else if (crop_code::IsBeet(prevCode)) {
        kind = 4;
    }
    return {CellKey::Kind::ByPrevious, table, row, kind, '-'};
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
bool ReadsAsCellNumber(bool hasNumber) {
    const char separator = DecimalSeparator();
    return hasNumber && (separator == '.' || separator == ',');
}

void AddContribution(Real& sum, const std::string& text, bool hasNumber, Real number) {
    if (text.empty()) {
        return;
    }
    if (ReadsAsCellNumber(hasNumber)) {
        sum += number;
    } else {
        sum += ParseRealTolerant(text);
    }
}

// For every table and row key 1 ... 99, whether each value cell of the row the key finds is a
// number (true as well when no row has the key): whatever such a row's cells are read for
// adds up.
bool RowOnlyNumbers(int table, Int rowKey) {
    using Rows = std::array<bool, 100>;
    static const auto flags = [] {
        std::array<Rows, kKeyTableCount + 1> all{};
        const KeyTableSet& set = KeyTables();
        for (int n = 1; n <= kKeyTableCount; ++n) {
            const auto i = static_cast<std::size_t>(n - 1);
            const TmtxStringArray& t = set[n];
            for (Int key = 1; key < 100; ++key) {
                const int r = set.index[i].rowOfNumber[static_cast<std::size_t>(key)];
                bool every = true;
                for (Int c = 1; r >= 0 && c < t.ColCount; ++c) {
                    every = every && set.isNumber[i][static_cast<std::size_t>(r * t.ColCount + c)];
                }
                all[static_cast<std::size_t>(n)][static_cast<std::size_t>(key)] = every;
            }
        }
        return all;
    }();
    if (table < 1 || table > kKeyTableCount) {
        return false;
    }
    // Keys outside 1 ... 99 find no row.
    return rowKey < 1 || rowKey > 99 ||
           flags[static_cast<std::size_t>(table)][static_cast<std::size_t>(rowKey)];
}

// True when adding the contribution cannot fail.
bool AddsSafely(const CellKey& key) {
    const char separator = DecimalSeparator();
    const bool cellNumbersRead = separator == '.' || separator == ',';
    if (key.kind == CellKey::Kind::Nothing ||
        (cellNumbersRead &&
         (key.kind == CellKey::Kind::Zero || RowOnlyNumbers(key.table, key.row)))) {
        return true;
    }
    const KeyCell cell = FindCell(key);
    return ValueText(key, cell).empty() || ReadsAsCellNumber(HasNumber(key, cell));
}

CellKey MainCropKey(const CropNeighbours& crops, Int T, Int kwbCount, Real bfPercentage) {
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
            return CellKey::One(next == CropGroup::KW ? 21 : nextSpring ? 23 : 22, row);
        }
        if (code == crop_code::kMeadowSpringSown) {
            return CellKey::One(next == CropGroup::KW ? 15 : !nextSpring ? 16 : 17, row);
        }
        return CellKey::One(next == CropGroup::KW ? 18 : !nextSpring ? 19 : 20, row);

    case CropGroup::RB:
        if (prev == CropGroup::RB) {
            const bool fallowFollows = next == CropGroup::RB || nextSpring ||
                                       nextCode == crop_code::kMeadowSpringSown ||
                                       nextCode == crop_code::kChinaschilfFirstYear;
            return CellKey::One(fallowFollows ? 26 : 27, row);
        }
        return CellKey::One(code == crop_code::kFallowSpringSown ? 24 : 25, row);

    case CropGroup::CH:
        if (code == crop_code::kChinaschilfFirstYear) {
            return CellKey::One(28, row);
        }
        if (next != CropGroup::CH || nextCode == crop_code::kChinaschilfFirstYear) {
            return CellKey::One(31, row);
        }
        return CellKey::One(prevCode == crop_code::kChinaschilfFirstYear ? 29 : 30, row);

    case CropGroup::WW:
        if (fewMeadows) {
            return ByPreviousCrop(14, row, prevCode);
        }
        if (prev == CropGroup::KW) {
            return CellKey::One(12, row);
        }
        return ByPreviousCrop(prev2 == CropGroup::KW ? 13 : 14, row, prevCode);

    case CropGroup::BF:
        return CellKey::Lettered(RowCropTable(bfPercentage >= 50, fewMeadows, prev, prev2), row,
                                 crop.Column);

    case CropGroup::HF:
        return CellKey::Lettered(
            CerealTable(crop_code::IsRootCrop(prevCode), fewMeadows, prev, prev2), row,
            crop.Column);

    case CropGroup::None:
        break;
    }
    return {};
}

CellKey PeriodKey(Int P, Int D, Int E, Int T, CropGroup group) {
    if (P <= 0) {
        return {CellKey::Kind::Zero, 0, 0, 0, '-'};
    }
    const bool rowCrop = group == CropGroup::BF;
    using namespace period_type;
    switch (P) {
    case kCatchCropBeforeFallow:
    case kCatchCropBeforeWinterCrop:
    case kCatchCropFrostKilled:
    case kCatchCropOverwintering:
        // Catch crops: "Tab35" before bare fallow ... "Tab32" over winter.
        return CellKey::Numbered(40 - P, D, E);
    case kBareFallow:
        return CellKey::Numbered(40, 1, E);
    case kStubbleBeforeWinterCrop:
        return CellKey::Numbered(T == tillage_code::kPlough ? 38 : 39, rowCrop ? 2 : 1, E);
    default:
        // Stubble over winter; "Keine Zwischenperiode" has no start and finds no cell.
        return CellKey::Numbered(rowCrop ? 37 : 36, T, E);
    }
}

} // namespace

Contribution MainCropValue(const CropNeighbours& crops, Int T, Int kwbCount, Real bfPercentage) {
    return ContributionOf(MainCropKey(crops, T, kwbCount, bfPercentage));
}

Contribution PeriodValue(Int P, Int D, Int E, Int T, CropGroup group) {
    return ContributionOf(PeriodKey(P, D, E, T, group));
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

namespace {

// The keys of a year's two cells as a pass over the rotation finds them.
struct YearKeys {
    Int T = kNone;
    Int P = kNone;
    Int D = kNone;
    CellKey main;
    CellKey period;
};

CropNeighbours NeighboursOf(const AssessmentRecord& record, const RotationExtent& extent, int k) {
    const int prev = extent.Prev(k);
    return {record.RotationYearAt(k).a, record.RotationYearAt(prev).a,
            record.RotationYearAt(extent.Next(k)).a, record.RotationYearAt(extent.Prev(prev)).a};
}

YearKeys KeysOfYear(const AssessmentRecord& record, const Step2Form& form,
                    const RotationExtent& extent, int k, Int kwbCount, Real bfPercentage) {
    const Step2Year& row = form.Row(k);
    const RotationYear& year = record.RotationYearAt(k);
    YearKeys keys;
    // Codes at the stored positions; a position the list does not have is nothing chosen.
    keys.T = row.List(Choice::CropTillage).Number(year.c);
    keys.P = row.List(Choice::PeriodType).Number(year.b);
    keys.D = row.List(Choice::PeriodTillage).Number(year.d);
    const Int E = row.List(Choice::PeriodStart).Number(year.e);
    keys.main = MainCropKey(NeighboursOf(record, extent, k), keys.T, kwbCount, bfPercentage);
    keys.period = PeriodKey(keys.P, keys.D, E, keys.T, GroupOfCrop(year.a));
    return keys;
}

void SetText(std::string& target, const std::string& text) {
    if (target != text) {
        target = text;
    }
}

using RotationKeys = std::array<YearKeys, kRotationYears + 1>; // by year 1 ... 10

// One pass. With `known` given, the keys of every year of the rotation as this pass would
// find them.
void ComputeOnce(AssessmentRecord& record, Step2Form& form, const RotationKeys* known) {
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
        const YearKeys keys = known != nullptr ? (*known)[static_cast<std::size_t>(k)]
                                               : KeysOfYear(record, form, extent, k,
                                                            record.KWBCount, record.BFPercentage);
        const KeyCell main = FindCell(keys.main);
        const KeyCell period = FindCell(keys.period);
        SetText(row.y, ValueText(keys.main, main));
        WriteReference(keys.main, row.z);
        SetText(row.w, ValueText(keys.period, period));
        WriteReference(keys.period, row.x);
        SetText(year.y, row.y);
        SetText(year.z, row.z);
        SetText(year.w, row.w);
        SetText(year.x, row.x);

        ++years;
        AddContribution(sum, year.w, HasNumber(keys.period, period), NumberOf(keys.period, period));
        AddContribution(sum, year.y, HasNumber(keys.main, main), NumberOf(keys.main, main));
        CountRotationYear(counters, ClassOfCrop(year.a), keys.T, keys.P, keys.D);
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

// A year text the copy into the record reads without fail.
bool PlainYearText(const std::string& text) {
    return text.size() <= 9 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The rotation figures a pass leaves for the next: the number of meadow years and the share
// of broad-leaved crops.
struct Figures {
    Int kwbCount = 0;
    Real bfPercentage = 0;
};

Figures FiguresOf(const AssessmentRecord& record, const RotationExtent& extent) {
    Figures figures;
    if (extent.Empty()) {
        return figures;
    }
    Int broadLeaved = 0;
    for (int k = extent.First; k <= extent.Last; ++k) {
        const CropClass c = ClassOfCrop(record.RotationYearAt(k).a);
        figures.kwbCount += c == CropClass::KWB ? 1 : 0;
        broadLeaved += c == CropClass::BFW || c == CropClass::BFS ? 1 : 0;
    }
    const Int years = extent.Last - extent.First + 1;
    figures.bfPercentage = static_cast<Real>(broadLeaved) / static_cast<Real>(years) * 100;
    return figures;
}

// True when the record holds the positions the screen shows, so a pass's copy of the screen
// into the record changes none of them; always while the screen is being filled, when no
// pass copies it.
bool PositionsShown(const AssessmentRecord& record, const Step2Form& form) {
    if (form.Filling) {
        return true;
    }
    for (int k = 1; k <= kRotationYears; ++k) {
        const Step2Year& row = form.Row(k);
        const RotationYear& year = record.RotationYearAt(k);
        const Index positions[kChoicesPerYear] = {year.a, year.b, year.c, year.d, year.e};
        for (int i = 0; i < kChoicesPerYear; ++i) {
            if (row.Lists[static_cast<std::size_t>(i)].Chosen() != positions[i]) {
                return false;
            }
        }
    }
    return true;
}

// True when neither of two passes, the first with the record's figures and the second with
// `figures`, can fail: no cell either reads fails to add up and no year text fails to be
// read. The keys of the second pass are left in `secondPass`.
bool PassesCannotFail(const AssessmentRecord& record, const Step2Form& form,
                      const RotationExtent& extent, const Figures& figures,
                      RotationKeys& secondPass) {
    if (!form.Filling) {
        for (int k = 1; k <= kRotationYears; ++k) {
            if (!PlainYearText(form.Row(k).YearText)) {
                return false;
            }
        }
        if (extent.Empty() && !PlainYearText(form.YearsText)) {
            return false;
        }
    }
    for (int k = extent.First; !extent.Empty() && k <= extent.Last; ++k) {
        YearKeys& keys = secondPass[static_cast<std::size_t>(k)];
        keys = KeysOfYear(record, form, extent, k, record.KWBCount, record.BFPercentage);
        if (!AddsSafely(keys.main) || !AddsSafely(keys.period)) {
            return false;
        }
        keys.main = MainCropKey(NeighboursOf(record, extent, k), keys.T, figures.kwbCount,
                                figures.bfPercentage);
        if (!AddsSafely(keys.main)) {
            return false;
        }
    }
    return true;
}

} // namespace

void ComputeCropRotationFactor(AssessmentRecord& record, Step2Form& form) {
    ComputeOnce(record, form, nullptr);
}

void ComputeCropRotationFactorTwice(AssessmentRecord& record, Step2Form& form) {
    if (PositionsShown(record, form)) {
        // The first pass reads the positions the second reads; what differs between the two
        // is the figures, which the first pass sets.
        const RotationExtent extent = FindRotationExtent(record);
        const Figures figures = FiguresOf(record, extent);
        if (figures.kwbCount == record.KWBCount && figures.bfPercentage == record.BFPercentage) {
            // The second pass would repeat the first exactly, a failure included.
            ComputeOnce(record, form, nullptr);
            return;
        }
        // Otherwise the second pass overwrites all the first leaves, unless the first fails
        // on the way.
        RotationKeys keys;
        if (PassesCannotFail(record, form, extent, figures, keys)) {
            record.KWBCount = figures.kwbCount;
            record.BFPercentage = figures.bfPercentage;
            ComputeOnce(record, form, &keys);
            return;
        }
    }
    ComputeOnce(record, form, nullptr);
    ComputeOnce(record, form, nullptr);
}

} // namespace brisolt
