#include "key/rotation/rotation_checks.h"

#include <array>

#include "key/core/texts_rotation.h"
#include "key/rotation/catalogues.h"
#include "key/rotation/codes.h"
#include "key/rotation/step2_form.h"

namespace brisolt {

namespace {

// A multi-year stand: the codes it is sown with and the code of its follow-on years.
struct Stand {
    int starters[2];
    int follower;

    bool Starts(int code) const { return code == starters[0] || code == starters[1]; }
    bool Belongs(int code) const { return Starts(code) || code == follower; }
};

// Chinaschilf, Kunstwiese, Rotations-/Buntbrache.
constexpr Stand kStands[] = {
    {{3, 3}, 38},
    {{18, 19}, 20},
    {{26, 27}, 28},
};

bool WrongSequence(int previous, int current) {
    for (const Stand& stand : kStands) {
        if (current == stand.follower) {
            return !stand.Belongs(previous);
        }
    }
    return false;
}

bool Continues(int current, int next) {
    for (const Stand& stand : kStands) {
        if (next == stand.follower) {
            return stand.Belongs(current);
        }
    }
    return false;
}

int CropCodeOfYear(const AssessmentRecord& record, int n) {
    const Index a = record.RotationYearAt(n).a;
    return IsCropPosition(a) ? FactsOfCrop(a).Code : -1;
}

bool IsMissing(Index position, const Step2Year* row, Choice choice) {
    return position <= 0 || (row != nullptr && !row->List(choice).Contains(position));
}

} // namespace

RotationExtent FindRotationExtent(const AssessmentRecord& record) {
    RotationExtent extent;
    for (int k = kRotationYears; k >= 1; --k) {
        if (IsCropPosition(record.RotationYearAt(k).a)) {
            extent.Last = k;
            break;
        }
    }
    if (extent.Empty()) {
        return extent;
    }
    // A start is a year with a crop after a year without one. Searching down from the last
    // year, the first start found is the first year; any further start means a gap.
    for (int k = extent.Last; k >= 1; --k) {
        const bool start = IsCropPosition(record.RotationYearAt(k).a) &&
                           (k == 1 || !IsCropPosition(record.RotationYearAt(k - 1).a));
        if (!start) {
            continue;
        }
        if (extent.First == 0) {
            extent.First = k;
        } else {
            extent.HasGap = true;
            break;
        }
    }
    return extent;
}

std::optional<std::string> CheckCropSequence(Int previous, Int current) {
    if (WrongSequence(previous, current)) {
        return std::string(texts::step2::kWrongCropSequence);
    }
    return std::nullopt;
}

bool ContinuesStand(Int current, Int next) {
    return Continues(current, next);
}

std::optional<std::string> CheckYearComplete(const RotationYear& year, const Step2Year* row) {
    const bool missing = [&] {
        if (!IsCropPosition(year.a) || IsMissing(year.c, row, Choice::CropTillage) ||
            IsMissing(year.b, row, Choice::PeriodType)) {
            return true;
        }
        if (year.b == 1) { // "Keine Zwischenperiode" needs nothing more
            return false;
        }
        return IsMissing(year.d, row, Choice::PeriodTillage) ||
               IsMissing(year.e, row, Choice::PeriodStart);
    }();
    if (missing) {
        return std::string(texts::step2::kMissingInput);
    }
    return std::nullopt;
}

std::optional<std::string> CheckRotation(AssessmentRecord& record, Step2Form& form) {
    std::optional<std::string> message;
    const RotationExtent extent = FindRotationExtent(record);
    if (!extent.Empty()) {
        const int first = extent.First;
        const int last = extent.Last;
        // The checks and corrections change no main crop: each year's code is read once.
        std::array<int, kRotationYears + 1> codes{};
        for (int k = 1; k <= kRotationYears; ++k) {
            codes[static_cast<std::size_t>(k)] = CropCodeOfYear(record, k);
        }
        const auto code = [&](int k) { return codes[static_cast<std::size_t>(k)]; };
        if (extent.HasGap) {
            message = std::string(texts::step2::kGapInRotation);
        }
        for (int k = first; k <= last && !message; ++k) {
            message = CheckCropSequence(code(extent.Prev(k)), code(k));
        }
        if (!message) {
            // Follow-on years of a stand are tilled as its sowing year was; a rotation that
            // begins inside a stand takes the tillage of its first year.
            for (const Stand& stand : kStands) {
                Index sown = 0;
                for (int k = first; k <= last; ++k) {
                    RotationYear& year = record.RotationYearAt(k);
                    if (k == first) {
                        if (stand.Belongs(code(k))) {
                            sown = year.c;
                        }
                        continue;
                    }
                    if (code(k) == stand.follower) {
                        OptionList& tillage = form.Row(k).List(Choice::CropTillage);
                        tillage.Choose(sown);
                        year.c = tillage.Chosen();
                    }
                    if (stand.Starts(code(k))) {
                        sown = year.c;
                    }
                }
            }
            // A year followed by the next year of its own stand has no intermediate period.
            for (int k = first; k <= last; ++k) {
                if (!ContinuesStand(code(k), code(extent.Next(k)))) {
                    continue;
                }
                Step2Year& row = form.Row(k);
                // "Keine Zwischenperiode", the first entry after the blank one.
                row.List(Choice::PeriodType).Choose(period_type::kNone);
                row.List(Choice::PeriodTillage).Clear();
                row.List(Choice::PeriodStart).Clear();
                RotationYear& year = record.RotationYearAt(k);
                year.b = row.List(Choice::PeriodType).Chosen();
                year.d = kNone;
                year.e = kNone;
            }
        }
        for (int k = first; k <= last && !message; ++k) {
            message = CheckYearComplete(record.RotationYearAt(k), &form.Row(k));
        }
    }
    form.ReadStep2Inputs(record);
    return message;
}

} // namespace brisolt
