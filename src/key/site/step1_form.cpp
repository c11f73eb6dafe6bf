#include "key/site/step1_form.h"

#include "key/core/number_text.h"
#include "key/core/texts.h"
#include "key/site/site_influence.h"

namespace brisolt {

namespace {

// Position as a choice list shows it: out of range means nothing chosen.
Index ValidIndex(Index index, std::size_t count) {
    return index >= 0 && static_cast<std::size_t>(index) < count ? index : kNone;
}

const std::string& ItemAt(const std::vector<std::string>& items, Index index) {
    static const std::string empty;
    return ValidIndex(index, items.size()) == kNone ? empty
                                                    : items[static_cast<std::size_t>(index)];
}

} // namespace

Step1Form::Step1Form() : RegionItems(RegionLetters()), ManagementItems(ManagementDirections()) {}

void Step1Form::Activate(const AssessmentRecord& record) {
    Filling = true;
    ShowStep1Inputs(record);
    Filling = false;
}

void Step1Form::FillSoilTypes(Index region, Index soilType) {
    SoilTypeItems = SoilTypeNames(region);
    SoilTypeIndex = ValidIndex(soilType, SoilTypeItems.size());
    SoilTypeDescription = ItemAt(SoilTypeDescriptions(region), SoilTypeIndex);
}

void Step1Form::ShowStep1Inputs(const AssessmentRecord& record) {
    GradientText = FormatPositiveInt(record.Gradient);
    FloatDistanceText = FormatPositiveInt(record.FloatDistance);
    StonesText = FormatPositiveInt(record.Stones);
    RegionIndex = ValidIndex(record.Region, RegionItems.size());
    RegionDescription = ItemAt(RegionDescriptions(), RegionIndex);
    FillSoilTypes(RegionIndex, record.SoilType);
    EntertainmentIndex = ValidIndex(record.Entertainment, ManagementItems.size());
}

void Step1Form::ReadStep1Inputs(AssessmentRecord& record) const {
    record.Region = RegionIndex;
    record.Gradient = ParseIntOrZero(GradientText);
    record.FloatDistance = ParseIntOrZero(FloatDistanceText);
    record.SoilType = SoilTypeIndex;
    record.Stones = ParseIntOrZero(StonesText);
    record.Entertainment = EntertainmentIndex;
}

void Step1Form::ReadUnlessFilling(AssessmentRecord& record) const {
    if (!Filling) {
        ReadStep1Inputs(record);
    }
}

void Step1Form::GradientExit(AssessmentRecord& record) {
    GradientText = WholeNumberText(GradientText);
    ReadUnlessFilling(record);
}

void Step1Form::FloatDistanceExit(AssessmentRecord& record) {
    FloatDistanceText = WholeNumberText(FloatDistanceText);
    ReadUnlessFilling(record);
}

void Step1Form::StonesExit(AssessmentRecord& record) {
    StonesText = WholeNumberText(StonesText);
    ReadUnlessFilling(record);
}

void Step1Form::RegionChange(AssessmentRecord& record, Index region) {
    RegionIndex = ValidIndex(region, RegionItems.size());
    RegionDescription = ItemAt(RegionDescriptions(), RegionIndex);
    FillSoilTypes(RegionIndex, 0);
    ReadUnlessFilling(record);
}

void Step1Form::SoilTypeChange(AssessmentRecord& record, Index soilType) {
    SoilTypeIndex = ValidIndex(soilType, SoilTypeItems.size());
    SoilTypeDescription = ItemAt(SoilTypeDescriptions(RegionIndex), SoilTypeIndex);
    ReadUnlessFilling(record);
}

void Step1Form::EntertainmentClick(AssessmentRecord& record, Index direction) {
    EntertainmentIndex = ValidIndex(direction, ManagementItems.size());
    ReadStep1Inputs(record);
}

std::optional<std::string> Step1Form::Next(AssessmentRecord& record) {
    ReadStep1Inputs(record);
    if (record.Gradient <= 1) {
        return std::string(texts::step1::kGradientTooLow);
    }
    if (record.Stones > 100) {
        return std::string(texts::step1::kStonesTooHigh);
    }
    return std::nullopt;
}

} // namespace brisolt
