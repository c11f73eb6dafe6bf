#include "key/results/rill_erosion.h"

#include "key/core/texts_results.h"

namespace brisolt {

namespace t = texts::results::step4;

namespace {

RillQuestionList MakeList(std::string_view title, std::initializer_list<std::string_view> answers) {
    RillQuestionList list;
    list.Title = std::string(title);
    for (const auto answer : answers) {
        list.Answers.emplace_back(answer);
    }
    return list;
}

} // namespace

const std::array<RillQuestionList, kRillQuestionCount>& RillQuestionLists() {
    static const std::array<RillQuestionList, kRillQuestionCount> lists = {
        MakeList(t::kChannelsTitle, {t::kYes, t::kNo}),
        MakeList(t::kNumChannelsTitle, {t::kOneRill, t::kSeveralRills}),
        MakeList(t::kDepthChannelsTitle, {t::kDepthChannelsUpTo15, t::kDepthChannelsOver15}),
        MakeList(t::kDepthChannelTitle,
                 {t::kDepthChannelBelow15, t::kDepthChannel15To25, t::kDepthChannelOver25}),
        MakeList(t::kWidthChannelTitle, {t::kAsWideAsDeep, t::kWiderThanDeep}),
        MakeList(t::kFrequencyTitle,
                 {t::kEveryYear, t::kEvery2Years, t::kEvery3Years, t::kEvery4To5Years, t::kRarer}),
    };
    return lists;
}

const RillQuestionList& RillQuestionListOf(RillQuestion question) {
    return RillQuestionLists()[static_cast<std::size_t>(question)];
}

namespace {

template <typename Record> auto& AnswerField(Record& record, RillQuestion question) {
    switch (question) {
    case RillQuestion::Channels:
        return record.Channels;
    case RillQuestion::NumChannels:
        return record.NumChannels;
    case RillQuestion::DepthChannels:
        return record.DepthChannels;
    case RillQuestion::DepthChannel:
        return record.DepthChannel;
    case RillQuestion::WidthChannel:
        return record.WidthChannel;
    case RillQuestion::FrequencyChannels:
        break;
    }
    return record.FrequencyChannels;
}

} // namespace

Index& RillAnswer(AssessmentRecord& record, RillQuestion question) {
    return AnswerField(record, question);
}

Index RillAnswer(const AssessmentRecord& record, RillQuestion question) {
    return AnswerField(record, question);
}

std::int64_t RillCode(const AssessmentRecord& record) {
    // Both depth answers weigh 10: only one of them is ever non-zero, since a hidden
    // question holds its first answer.
    return std::int64_t{record.Channels} * 1000 + std::int64_t{record.NumChannels} * 100 +
           std::int64_t{record.DepthChannels} * 10 + std::int64_t{record.DepthChannel} * 10 +
           std::int64_t{record.WidthChannel};
}

const TmtxExtendedArray& RillSurchargeTable() {
    static const TmtxExtendedArray table{
        {-1, 0, 1, 2, 3, 4},       {0, 8, 4, 3, 2, 1}, // one rill, < 15 cm, as wide as deep
        {1, 60, 30, 20, 15, 8},                        // one rill, < 15 cm, clearly wider than deep
        {10, 20, 10, 7, 5, 3},                         // one rill, 15 - 25 cm, as wide as deep
        {11, 150, 75, 50, 40, 20}, // one rill, 15 - 25 cm, clearly wider than deep
        {20, 40, 20, 13, 10, 5},   // one rill, > 25 cm
        {100, 25, 13, 8, 6, 3},    // several rills, <= 15 cm
        {110, 50, 25, 18, 13, 7},  // several rills, > 15 cm
        {1000, 0, 0, 0, 0, 0},     // no rills
    };
    return table;
}

Real LookupRillSurcharge(const AssessmentRecord& record) {
    return LookupBilinear(RillSurchargeTable(), static_cast<Real>(RillCode(record)),
                          static_cast<Real>(record.FrequencyChannels));
}

} // namespace brisolt
