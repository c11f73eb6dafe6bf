#include "key/results/step6_form.h"

#include "key/core/number_text.h"
#include "key/core/texts_results.h"
#include "key/results/soil_depth.h"

namespace brisolt {

namespace {

Index ValidMethod(Index position) {
    const auto count = static_cast<Index>(DepthMethods().size());
    return position >= 0 && position < count ? position : kNone;
}

// Clears the guard however the refill ends.
class FillingScope {
public:
    explicit FillingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FillingScope() { flag_ = false; }
    FillingScope(const FillingScope&) = delete;
    FillingScope& operator=(const FillingScope&) = delete;

private:
    bool& flag_;
};

} // namespace

void Step6Form::ShowStep6Inputs(AssessmentRecord& record) {
    MethodIndex = ValidMethod(record.Method);
    DepthText = FormatPositiveInt(record.DepthSoil);
    if (MethodIndex == kMethodRegionalStandard) {
        DepthText = RegionalStandardDepthText(record.Region);
        record.DepthSoil = ParseIntOrZero(DepthText);
        DepthReadOnly = true;
    } else {
        DepthReadOnly = false;
    }
}

void Step6Form::ReadStep6Inputs(AssessmentRecord& record) const {
    record.Method = MethodIndex;
    record.DepthSoil = ParseIntOrZero(DepthText);
}

void Step6Form::Activate(AssessmentRecord& record) {
    const FillingScope scope(Filling);
    ShowStep6Inputs(record);
}

void Step6Form::MethodClick(AssessmentRecord& record, Index position) {
    MethodIndex = ValidMethod(position);
    if (Filling) {
        return;
    }
    if (MethodIndex == kMethodRegionalStandard) {
        DepthText = RegionalStandardDepthText(record.Region);
        DepthReadOnly = true;
    } else {
        DepthReadOnly = false; // the field keeps its text, now editable
    }
    ReadStep6Inputs(record);
    ShowStep6Inputs(record);
}

void Step6Form::DepthSoilExit(AssessmentRecord& record) {
    DepthText = WholeNumberText(DepthText);
    if (!Filling) {
        ReadStep6Inputs(record);
    }
}

std::optional<std::string> Step6Form::Next(AssessmentRecord& record) const {
    ReadStep6Inputs(record);
    if (MethodIndex != kMethodRegionalStandard && record.DepthSoil <= 0) {
        return std::string(texts::results::step6::kDepthMissing);
    }
    return std::nullopt;
}

} // namespace brisolt
