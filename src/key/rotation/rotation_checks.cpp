#include "key/rotation/rotation_checks.h"

#include <initializer_list>

#include "key/rotation/catalogues.h"
#include "key/rotation/rotation_texts.h"
#include "key/rotation/step2_form.h"

namespace brisolt {

namespace {

bool IsOneOf(std::string_view code, std::initializer_list<std::string_view> codes) {
    for (std::string_view c : codes) {
        if (code == c) {
            return true;
        }
    }
    return false;
}

// A multi-year stand: the codes it is sown with and the code of its follow-on years.
struct Stand {
    std::initializer_list<std::string_view> starters;
    std::string_view follower;
};

// Chinaschilf, Kunstwiese, Rotations-/Buntbrache.
const Stand kStands[] = {
    {{"3"}, "38"},
    {{"18", "19"}, "20"},
    {{"26", "27"}, "28"},
};

const std::string& CropCodeOfYear(const AssessmentRecord& record, int n) {
    return CodeOfCrop(record.RotationYearAt(n).a);
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

std::optional<std::string> CheckCropSequence(std::string_view previous, std::string_view current) {
    const bool wrong = (current == "20" && !IsOneOf(previous, {"20", "19", "18"})) ||
                       (current == "28" && !IsOneOf(previous, {"28", "27", "26"})) ||
                       (current == "38" && !IsOneOf(previous, {"38", "3"}));
    if (wrong) {
        return std::string(texts::step2::kWrongCropSequence);
    }
    return std::nullopt;
}

bool ContinuesStand(std::string_view current, std::string_view next) {
    return (IsOneOf(current, {"3", "38"}) && next == "38") ||
           (IsOneOf(current, {"18", "19", "20"}) && next == "20") ||
           (IsOneOf(current, {"26", "27", "28"}) && next == "28");
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
        if (extent.HasGap) {
            message = std::string(texts::step2::kGapInRotation);
        }
        for (int k = first; k <= last && !message; ++k) {
            message = CheckCropSequence(CropCodeOfYear(record, extent.Prev(k)),
                                        CropCodeOfYear(record, k));
        }
        if (!message) {
            // Follow-on years of a stand are tilled as its sowing year was; a rotation that
            // begins inside a stand takes the tillage of its first year.
            for (const Stand& stand : kStands) {
                Index sown = 0;
                for (int k = first; k <= last; ++k) {
                    const std::string& code = CropCodeOfYear(record, k);
                    RotationYear& year = record.RotationYearAt(k);
                    if (k == first) {
                        if (IsOneOf(code, stand.starters) || code == stand.follower) {
                            sown = year.c;
                        }
                        continue;
                    }
                    if (code == stand.follower) {
                        OptionList& tillage = form.Row(k).List(Choice::CropTillage);
                        tillage.Choose(sown);
                        year.c = tillage.Chosen();
                    }
                    if (IsOneOf(code, stand.starters)) {
                        sown = year.c;
                    }
                }
            }
            // A year followed by the next year of its own stand has no intermediate period.
            for (int k = first; k <= last; ++k) {
                if (!ContinuesStand(CropCodeOfYear(record, k),
                                    CropCodeOfYear(record, extent.Next(k)))) {
                    continue;
                }
                Step2Year& row = form.Row(k);
                row.List(Choice::PeriodType).Choose(1);
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
