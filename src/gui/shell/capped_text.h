#pragma once
// Free texts (names, parcel, remark) can be megabytes long; a cell or a tooltip shows the
// beginning only, so that converting, measuring and wrapping them costs what is shown.

#include <QString>
#include <string_view>

namespace brisolt::gui {

// Characters a table cell shows before it ends with "…", and a tooltip.
inline constexpr qsizetype kCellChars = 300;
inline constexpr qsizetype kTooltipChars = 2000;

// The text whole when it has at most `limit` characters, otherwise its first `limit`
// characters followed by "…". Only the bytes kept are decoded.
QString CappedText(std::string_view utf8, qsizetype limit);

// A cell of several lines (a plan's measures, one per line): each line capped as above, and
// at most `maxLines` lines, then "…".
inline constexpr int kCellLines = 40;
QString CappedLines(std::string_view utf8, qsizetype limit, int maxLines = kCellLines);

} // namespace brisolt::gui
