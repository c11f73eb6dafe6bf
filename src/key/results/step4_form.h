#pragma once
// What the step 4 screen shows (the six rill question groups) and what its events do.

#include <array>

#include "key/core/record.h"
#include "key/results/rill_erosion.h"

namespace brisolt {

// One radio group of the screen.
struct ChoiceGroupState {
    Index ItemIndex = kNone; // chosen answer, -1 for none
    bool Visible = true;
};

class Step4Form {
public:
    // Indexed by RillQuestion. Starts as the screen looks with the default answers.
    std::array<ChoiceGroupState, kRillQuestionCount> Groups{{
        {1, true}, // "Nein"
        {0, false},
        {0, false},
        {0, false},
        {0, false},
        {0, false},
    }};
    bool Filling = false; // set while the screen is refilled from the record

    const ChoiceGroupState& Group(RillQuestion question) const {
        return Groups[static_cast<std::size_t>(question)];
    }

    // Sets every group from its record field; a value outside the group's answers leaves
    // the group with nothing chosen.
    void ShowStep4Inputs(const AssessmentRecord& record);
    // Copies the chosen positions of all six groups (-1 for none) into the record.
    void ReadStep4Inputs(AssessmentRecord& record) const;
    // Shows only the questions that apply to the current answers; a hidden question goes
    // back to its first answer on the screen and in the record. Ends with ShowStep4Inputs.
    void UpdateRillQuestions(AssessmentRecord& record);

    // The screen becomes active: refill under the guard, then apply the visibility rules.
    void Activate(AssessmentRecord& record);

    // The user chooses answer `position` in a group.
    void ChannelsClick(AssessmentRecord& record, Index position);
    void NumChannelsClick(AssessmentRecord& record, Index position);
    void DepthChannelsClick(AssessmentRecord& record, Index position);
    void DepthChannelClick(AssessmentRecord& record, Index position);
    void WidthChannelClick(AssessmentRecord& record, Index position);
    void FrequencyChannelsClick(AssessmentRecord& record, Index position);

    // "Weiter": stores the answers; the caller then shows step 5.
    void Next(AssessmentRecord& record) const;

private:
    ChoiceGroupState& GroupRef(RillQuestion question) {
        return Groups[static_cast<std::size_t>(question)];
    }
    void Choose(AssessmentRecord& record, RillQuestion question, Index position,
                bool updatesQuestions);
};

} // namespace brisolt
