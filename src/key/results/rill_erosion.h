#pragma once
// Step 4 of the key: the rill questions and the rill erosion surcharge EL.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "key/core/record.h"
#include "key/core/tables.h"

namespace brisolt {

// The six question groups of step 4, in screen order.
enum class RillQuestion : int {
    Channels,          // ragChannels: do rills arise
    NumChannels,       // ragNumChannels: one or several
    DepthChannels,     // ragDepthChannels: depth of several rills
    DepthChannel,      // ragDepthChannel: depth of a single rill
    WidthChannel,      // ragWidthChannel: width of a single rill
    FrequencyChannels, // ragFrequencyChannels: how often
};
inline constexpr int kRillQuestionCount = 6;

struct RillQuestionList {
    std::string Title;
    std::vector<std::string> Answers;
};

// Title and answers of every question group, indexed by RillQuestion.
const std::array<RillQuestionList, kRillQuestionCount>& RillQuestionLists();
const RillQuestionList& RillQuestionListOf(RillQuestion question);

// The record field that holds a question's answer.
Index& RillAnswer(AssessmentRecord& record, RillQuestion question);
Index RillAnswer(const AssessmentRecord& record, RillQuestion question);

// Row key of RillSurchargeTable: Channels x 1000 + NumChannels x 100
// + (DepthChannels + DepthChannel) x 10 + WidthChannel. 64-bit because a loaded file may
// hold any int32 in these fields.
std::int64_t RillCode(const AssessmentRecord& record);

// Grid table, rows keyed by RillCode (0, 1, 10, 11, 20, 100, 110, 1000), columns by the
// frequency index 0 ... 4; corner cell -1.
const TmtxExtendedArray& RillSurchargeTable();

// EL for the record's answers: the cell of RillSurchargeTable at (RillCode,
// FrequencyChannels). Answers outside their lists (only possible from a loaded file or
// an unanswered group) are clamped to the table's edges, never read past them.
Real LookupRillSurcharge(const AssessmentRecord& record);

} // namespace brisolt
