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

Step1Form::Step1Form()
    : regionItems(RegionLetters()), managementItems(ManagementDirections()) {}

void Step1Form::Activate(const AssessmentRecord& record) {
    filling = true;
    ShowStep1Inputs(record);
    filling = false;
}

void Step1Form::FillSoilTypes(Index region, Index soilType) {
    soilTypeItems = SoilTypeNames(region);
    soilTypeIndex = ValidIndex(soilType, soilTypeItems.size());
    soilTypeDescription = ItemAt(SoilTypeDescriptions(region), soilTypeIndex);
}

void Step1Form::ShowStep1Inputs(const AssessmentRecord& record) {
    gradientText = FormatPositiveInt(record.Gradient);
    floatDistanceText = FormatPositiveInt(record.FloatDistance);
    stonesText = FormatPositiveInt(record.Stones);
    regionIndex = ValidIndex(record.Region, regionItems.size());
    regionDescription = ItemAt(RegionDescriptions(), regionIndex);
    FillSoilTypes(regionIndex, record.SoilType);
    entertainmentIndex = ValidIndex(record.Entertainment, managementItems.size());
}

void Step1Form::ReadStep1Inputs(AssessmentRecord& record) const {
    record.Region = regionIndex;
    record.Gradient = ParseIntOrZero(gradientText);
    record.FloatDistance = ParseIntOrZero(floatDistanceText);
    record.SoilType = soilTypeIndex;
    record.Stones = ParseIntOrZero(stonesText);
    record.Entertainment = entertainmentIndex;
}

void Step1Form::ReadUnlessFilling(AssessmentRecord& record) const {
    if (!filling) {
        ReadStep1Inputs(record);
    }
}

void Step1Form::GradientExit(AssessmentRecord& record) {
    gradientText = KeepDigits(gradientText);
    ReadUnlessFilling(record);
}

void Step1Form::FloatDistanceExit(AssessmentRecord& record) {
    floatDistanceText = KeepDigits(floatDistanceText);
    ReadUnlessFilling(record);
}

void Step1Form::StonesExit(AssessmentRecord& record) {
    stonesText = KeepDigits(stonesText);
    ReadUnlessFilling(record);
}

void Step1Form::RegionChanged(AssessmentRecord& record, Index region) {
    regionIndex = ValidIndex(region, regionItems.size());
    regionDescription = ItemAt(RegionDescriptions(), regionIndex);
    FillSoilTypes(regionIndex, 0);
    ReadUnlessFilling(record);
}

void Step1Form::SoilTypeChanged(AssessmentRecord& record, Index soilType) {
    soilTypeIndex = ValidIndex(soilType, soilTypeItems.size());
    soilTypeDescription = ItemAt(SoilTypeDescriptions(regionIndex), soilTypeIndex);
    ReadUnlessFilling(record);
}

void Step1Form::EntertainmentClicked(AssessmentRecord& record, Index direction) {
    entertainmentIndex = ValidIndex(direction, managementItems.size());
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
