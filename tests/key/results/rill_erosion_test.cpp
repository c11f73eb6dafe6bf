#include "key/results/rill_erosion.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "key/results/step4_form.h"
#include "key/results/total_risk.h"

namespace brisolt {
namespace {

using Q = RillQuestion;

struct Click {
    Q question;
    Index position;
};

void Apply(Step4Form& form, AssessmentRecord& record, const Click& click) {
    using Handler = void (Step4Form::*)(AssessmentRecord&, Index);
    static constexpr Handler kHandlers[kRillQuestionCount] = {
        &Step4Form::ChannelsClick,      &Step4Form::NumChannelsClick,
        &Step4Form::DepthChannelsClick, &Step4Form::DepthChannelClick,
        &Step4Form::WidthChannelClick,  &Step4Form::FrequencyChannelsClick,
    };
    (form.*kHandlers[static_cast<int>(click.question)])(record, click.position);
}

// Visible flags in RillQuestion order.
using Visibility = std::array<bool, kRillQuestionCount>;

Visibility VisibleGroups(const Step4Form& form) {
    Visibility v{};
    for (int i = 0; i < kRillQuestionCount; ++i) {
        v[static_cast<std::size_t>(i)] = form.Groups[static_cast<std::size_t>(i)].Visible;
    }
    return v;
}

struct RillCase {
    const char* name;
    std::vector<Click> clicks; // after activation with the default answers
    std::int64_t code;
    Real el;
    Visibility visible;
};

class RillAnswers : public ::testing::TestWithParam<RillCase> {};

// Clicks through the screen, then "Weiter" and step 5 as the wizard does.
TEST_P(RillAnswers, GiveCodeSurchargeAndVisibleQuestions) {
    const RillCase& c = GetParam();
    AssessmentRecord record;
    Step4Form form;
    form.Activate(record);
    for (const Click& click : c.clicks) {
        Apply(form, record, click);
    }
    form.Next(record);
    EXPECT_EQ(RillCode(record), c.code);
    ComputeTotalRisk(record);
    EXPECT_EQ(record.EL, c.el);
    EXPECT_EQ(VisibleGroups(form), c.visible);
    // Screen and record agree, and a hidden question holds its first answer.
    for (int i = 0; i < kRillQuestionCount; ++i) {
        const auto q = static_cast<Q>(i);
        EXPECT_EQ(form.Group(q).ItemIndex, RillAnswer(record, q)) << "question " << i;
        if (!form.Group(q).Visible) {
            EXPECT_EQ(RillAnswer(record, q), 0) << "hidden question " << i;
        }
    }
}

//                                 Chan   Num    Depths Depth  Width  Freq
constexpr Visibility kOnlyChannels{true, false, false, false, false, false};
constexpr Visibility kSingleRill{true, true, false, true, true, true};
constexpr Visibility kSingleDeepRill{true, true, false, true, false, true};
constexpr Visibility kSeveralRills{true, true, true, false, false, true};

INSTANTIATE_TEST_SUITE_P(
    Step4, RillAnswers,
    ::testing::Values(
        RillCase{"Defaults", {}, 1000, 0, kOnlyChannels},
        RillCase{"NoResetsEverythingAndFrequency",
                 {{Q::Channels, 0},
                  {Q::NumChannels, 1},
                  {Q::DepthChannels, 1},
                  {Q::FrequencyChannels, 3},
                  {Q::Channels, 1}},
                 1000,
                 0,
                 kOnlyChannels},
        RillCase{"YesDefaultsToOneShallowRill", {{Q::Channels, 0}}, 0, 8, kSingleRill},
        RillCase{"OneShallowWideRill",
                 {{Q::Channels, 0}, {Q::WidthChannel, 1}, {Q::FrequencyChannels, 4}},
                 1,
                 8,
                 kSingleRill},
        RillCase{"OneMediumRillAsWideAsDeep",
                 {{Q::Channels, 0}, {Q::DepthChannel, 1}, {Q::FrequencyChannels, 3}},
                 10,
                 5,
                 kSingleRill},
        RillCase{"OneMediumWideRillEveryYear",
                 {{Q::Channels, 0},
                  {Q::NumChannels, 0},
                  {Q::DepthChannel, 1},
                  {Q::WidthChannel, 1},
                  {Q::FrequencyChannels, 0}},
                 11,
                 150,
                 kSingleRill},
        RillCase{"OneDeepRillRarely",
                 {{Q::Channels, 0}, {Q::DepthChannel, 2}, {Q::FrequencyChannels, 4}},
                 20,
                 5,
                 kSingleDeepRill},
        RillCase{
            "DeepRillDropsTheWidthAnswer",
            {{Q::Channels, 0}, {Q::DepthChannel, 1}, {Q::WidthChannel, 1}, {Q::DepthChannel, 2}},
            20,
            40,
            kSingleDeepRill},
        RillCase{"SeveralShallowRills",
                 {{Q::Channels, 0}, {Q::NumChannels, 1}, {Q::FrequencyChannels, 1}},
                 100,
                 13,
                 kSeveralRills},
        RillCase{"SeveralDeepRillsEveryThreeYears",
                 {{Q::Channels, 0},
                  {Q::NumChannels, 1},
                  {Q::DepthChannels, 1},
                  {Q::FrequencyChannels, 2}},
                 110,
                 18,
                 kSeveralRills},
        RillCase{
            "SeveralDropsSingleRillAnswers",
            {{Q::Channels, 0}, {Q::DepthChannel, 1}, {Q::WidthChannel, 1}, {Q::NumChannels, 1}},
            100,
            25,
            kSeveralRills},
        RillCase{
            "BackToOneRillDropsTheSeveralDepth",
            {{Q::Channels, 0}, {Q::NumChannels, 1}, {Q::DepthChannels, 1}, {Q::NumChannels, 0}},
            0,
            8,
            kSingleRill}),
    [](const ::testing::TestParamInfo<RillCase>& info) { return info.param.name; });

// A loaded file that breaks the invariant is brought into line on activation.
TEST(RillQuestions, ActivationRepairsAHiddenAnswerFromAFile) {
    AssessmentRecord record;
    record.Channels = 1;
    record.DepthChannel = 2;
    record.FrequencyChannels = 3;
    Step4Form form;
    form.Activate(record);
    EXPECT_EQ(record.DepthChannel, 0);
    EXPECT_EQ(record.FrequencyChannels, 0);
}

struct LoadedRills {
    const char* name;
    Index channels, num, depths, depth, width, frequency;
};

class OutOfRangeRills : public ::testing::TestWithParam<LoadedRills> {};

// Values outside the answer lists come only from edited files. The screen shows such a
// group with nothing chosen, "Weiter" stores -1 for it, and EL stays a cell value of the
// table instead of reading past it.
TEST_P(OutOfRangeRills, ShowNothingChosenAndKeepTheLookupInTheTable) {
    const LoadedRills& l = GetParam();
    AssessmentRecord record;
    record.Channels = l.channels;
    record.NumChannels = l.num;
    record.DepthChannels = l.depths;
    record.DepthChannel = l.depth;
    record.WidthChannel = l.width;
    record.FrequencyChannels = l.frequency;

    // Straight from the file, before step 4 was shown.
    ComputeTotalRisk(record);
    EXPECT_GE(record.EL, 0);
    EXPECT_LE(record.EL, 150);

    Step4Form form;
    form.Activate(record);
    for (int i = 0; i < kRillQuestionCount; ++i) {
        const auto q = static_cast<Q>(i);
        const Index shown = form.Group(q).ItemIndex;
        const auto count = static_cast<Index>(RillQuestionListOf(q).Answers.size());
        EXPECT_TRUE(shown == kNone || (shown >= 0 && shown < count)) << "question " << i;
    }
    form.Next(record);
    for (int i = 0; i < kRillQuestionCount; ++i) {
        const auto q = static_cast<Q>(i);
        EXPECT_EQ(RillAnswer(record, q), form.Group(q).ItemIndex) << "question " << i;
    }
    ComputeTotalRisk(record);
    EXPECT_GE(record.EL, 0);
    EXPECT_LE(record.EL, 150);
}

INSTANTIATE_TEST_SUITE_P(Step4, OutOfRangeRills,
                         ::testing::Values(LoadedRills{"ChannelsTooBig", 7, 0, 0, 0, 0, 0},
                                           LoadedRills{"ChannelsNegative", -3, 1, 1, 0, 0, 2},
                                           LoadedRills{"AllExtreme", INT_MAX, INT_MAX, INT_MAX,
                                                       INT_MAX, INT_MAX, INT_MAX},
                                           LoadedRills{"AllMinimal", INT_MIN, INT_MIN, INT_MIN,
                                                       INT_MIN, INT_MIN, INT_MIN},
                                           LoadedRills{"NumberUnanswered", 0, 9, 1, 2, 1, 7},
                                           LoadedRills{"DepthAndFrequencyOff", 0, 0, 0, 7, -3, -1}),
                         [](const ::testing::TestParamInfo<LoadedRills>& info) {
                             return info.param.name;
                         });

TEST(RillQuestions, UnansweredNumberHidesBothDepthQuestions) {
    AssessmentRecord record;
    record.Channels = 0;
    record.NumChannels = 9;
    record.DepthChannels = 1;
    record.DepthChannel = 2;
    Step4Form form;
    form.Activate(record);
    EXPECT_EQ(form.Group(Q::Channels).ItemIndex, 0);
    EXPECT_EQ(form.Group(Q::NumChannels).ItemIndex, kNone);
    EXPECT_TRUE(form.Group(Q::NumChannels).Visible);
    EXPECT_FALSE(form.Group(Q::DepthChannels).Visible);
    EXPECT_FALSE(form.Group(Q::DepthChannel).Visible);
    EXPECT_FALSE(form.Group(Q::WidthChannel).Visible);
    EXPECT_EQ(record.DepthChannels, 0);
    EXPECT_EQ(record.DepthChannel, 0);
    // Answering the number brings the matching depth question back.
    form.NumChannelsClick(record, 1);
    EXPECT_TRUE(form.Group(Q::DepthChannels).Visible);
    EXPECT_EQ(record.NumChannels, 1);
}

} // namespace
} // namespace brisolt
