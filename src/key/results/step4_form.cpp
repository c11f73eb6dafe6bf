#include "key/results/step4_form.h"

namespace brisolt {

namespace {

// A position inside the question's answers, or -1.
Index ValidPosition(RillQuestion question, Index position) {
    const auto count = static_cast<Index>(RillQuestionListOf(question).Answers.size());
    return position >= 0 && position < count ? position : kNone;
}

constexpr std::array<RillQuestion, kRillQuestionCount> kAllQuestions = {
    RillQuestion::Channels,     RillQuestion::NumChannels,  RillQuestion::DepthChannels,
    RillQuestion::DepthChannel, RillQuestion::WidthChannel, RillQuestion::FrequencyChannels,
};

} // namespace

void Step4Form::ShowStep4Inputs(const AssessmentRecord& record) {
    for (const RillQuestion q : kAllQuestions) {
        GroupRef(q).ItemIndex = ValidPosition(q, RillAnswer(record, q));
    }
}

void Step4Form::ReadStep4Inputs(AssessmentRecord& record) const {
    for (const RillQuestion q : kAllQuestions) {
        RillAnswer(record, q) = Group(q).ItemIndex;
    }
}

void Step4Form::UpdateRillQuestions(AssessmentRecord& record) {
    const auto show = [&](RillQuestion q) { GroupRef(q).Visible = true; };
    // A hidden question must not add to the rill code, so it goes back to its first answer.
    const auto hide = [&](RillQuestion q) {
        GroupRef(q).Visible = false;
        GroupRef(q).ItemIndex = 0;
        RillAnswer(record, q) = 0;
    };

    if (Group(RillQuestion::Channels).ItemIndex == 1) {
        hide(RillQuestion::NumChannels);
        hide(RillQuestion::DepthChannels);
        hide(RillQuestion::DepthChannel);
        hide(RillQuestion::WidthChannel);
        hide(RillQuestion::FrequencyChannels);
    } else {
        show(RillQuestion::NumChannels);
        show(RillQuestion::FrequencyChannels);
        const Index number = Group(RillQuestion::NumChannels).ItemIndex;
        if (number == 0) {
            hide(RillQuestion::DepthChannels);
            show(RillQuestion::DepthChannel);
            if (Group(RillQuestion::DepthChannel).ItemIndex == 2) {
                hide(RillQuestion::WidthChannel); // a rill deeper than 25 cm needs no width
            } else {
                show(RillQuestion::WidthChannel);
            }
        } else if (number == 1) {
            show(RillQuestion::DepthChannels);
            hide(RillQuestion::DepthChannel);
            hide(RillQuestion::WidthChannel);
        } else {
            // The number of rills is not answered (a loaded value outside the list): which
            // depth question applies is open, so neither is asked yet.
            hide(RillQuestion::DepthChannels);
            hide(RillQuestion::DepthChannel);
            hide(RillQuestion::WidthChannel);
        }
    }
    ShowStep4Inputs(record);
}

void Step4Form::Activate(AssessmentRecord& record) {
    Filling = true;
    ShowStep4Inputs(record);
    UpdateRillQuestions(record);
    Filling = false;
}

void Step4Form::Choose(AssessmentRecord& record, RillQuestion question, Index position,
                       bool updatesQuestions) {
    GroupRef(question).ItemIndex = ValidPosition(question, position);
    if (!Filling) {
        ReadStep4Inputs(record);
    }
    if (updatesQuestions) {
        UpdateRillQuestions(record);
    }
}

void Step4Form::ChannelsClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::Channels, position, true);
}

void Step4Form::NumChannelsClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::NumChannels, position, true);
}

void Step4Form::DepthChannelsClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::DepthChannels, position, false);
}

void Step4Form::DepthChannelClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::DepthChannel, position, true);
}

void Step4Form::WidthChannelClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::WidthChannel, position, false);
}

void Step4Form::FrequencyChannelsClick(AssessmentRecord& record, Index position) {
    Choose(record, RillQuestion::FrequencyChannels, position, false);
}

void Step4Form::Next(AssessmentRecord& record) const {
    ReadStep4Inputs(record);
}

} // namespace brisolt
