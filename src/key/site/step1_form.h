#pragma once
// What the step 1 screen shows, and what each of its controls does.

#include <optional>
#include <string>
#include <vector>

#include "key/core/record.h"

namespace brisolt {

class Step1Form {
public:
    Step1Form();

    // Screen state. The Qt screen copies these into its widgets after every call.
    std::vector<std::string> RegionItems; // "A" ... "H"
    Index RegionIndex = kNone;
    std::string RegionDescription;
    std::string GradientText;
    std::string FloatDistanceText;
    std::vector<std::string> SoilTypeItems;
    Index SoilTypeIndex = kNone;
    std::string SoilTypeDescription;
    std::string StonesText;
    std::vector<std::string> ManagementItems;
    Index EntertainmentIndex = kNone;

    // True while the screen is being filled from the record; no handler writes back then.
    bool Filling = false;

    // The screen becomes the active window: fill every control from the record.
    void Activate(const AssessmentRecord& record);
    void ShowStep1Inputs(const AssessmentRecord& record);

    // Copies the six controls into the record in screen order. A number too large for an
    // integer throws ConversionError; the fields after it keep their values.
    void ReadStep1Inputs(AssessmentRecord& record) const;

    // Leaving a number field keeps only its digits (the field text must be set first).
    void GradientExit(AssessmentRecord& record);
    void FloatDistanceExit(AssessmentRecord& record);
    void StonesExit(AssessmentRecord& record);

    void RegionChange(AssessmentRecord& record, Index region);
    void SoilTypeChange(AssessmentRecord& record, Index soilType);
    void EntertainmentClick(AssessmentRecord& record, Index direction);

    // "Weiter": reads the inputs, then refuses a gradient below 2 % or a stone cover above
    // 100 % with the message to show. nullopt means step 2 may be shown.
    std::optional<std::string> Next(AssessmentRecord& record);

private:
    void FillSoilTypes(Index region, Index soilType);
    void ReadUnlessFilling(AssessmentRecord& record) const;
};

} // namespace brisolt
