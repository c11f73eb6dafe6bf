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

} // namespace brisolt::gui
