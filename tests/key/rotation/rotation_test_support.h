#pragma once
// Drives the step 2 form as a user would: choices are made by their visible texts.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "key/core/number_text.h"
#include "key/core/record.h"
#include "key/rotation/step2_form.h"

namespace brisolt::testing {

inline constexpr const char* kPlough = "Plug/pfluglos unter 10% Bedeckung";
inline constexpr const char* kMulch = "Mulchsaat 10-30% Bedeckung";
inline constexpr const char* kNoPeriod = "Keine Zwischenperiode";

// One year as typed: nullptr leaves a choice as the screen set it.
struct YearEntry {
    const char* crop = nullptr;
    const char* tillage = kPlough;
    const char* period = kNoPeriod;
    const char* periodTillage = nullptr;
    const char* start = nullptr;
};

class Step2Test : public ::testing::Test {
protected:
    void SetUp() override {
        SetDecimalSeparator('.');
        ResetRecordDefaults(record, 2024);
        form.Activate(record);
    }

    Index PositionOf(int n, Choice choice, std::string_view text) const {
        const std::vector<std::string> texts = form.Row(n).List(choice).Texts();
        for (std::size_t i = 0; i < texts.size(); ++i) {
            if (texts[i] == text) {
                return static_cast<Index>(i);
            }
        }
        ADD_FAILURE() << "year " << n << " does not offer \"" << text << "\"";
        return kNone;
    }

    void Choose(int n, Choice choice, const char* text) {
        if (text != nullptr) {
            form.ChoiceChange(n, choice, PositionOf(n, choice, text), record);
        }
    }

    void Enter(int n, const YearEntry& entry) {
        Choose(n, Choice::Crop, entry.crop);
        Choose(n, Choice::CropTillage, entry.tillage);
        Choose(n, Choice::PeriodType, entry.period);
        Choose(n, Choice::PeriodTillage, entry.periodTillage);
        Choose(n, Choice::PeriodStart, entry.start);
    }

    // Years first, first + 1, ... each with its crop, ploughed, without intermediate period.
    void EnterCrops(int first, std::initializer_list<const char*> crops) {
        int n = first;
        for (const char* crop : crops) {
            Enter(n++, YearEntry{crop});
        }
    }

    const std::string& ChosenText(int n, Choice choice) const {
        return form.Row(n).List(choice).ChosenText();
    }

    AssessmentRecord record;
    Step2Form form;
};

} // namespace brisolt::testing
