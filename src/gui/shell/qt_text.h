#pragma once
// The key keeps its texts as UTF-8; Qt wants QString.

#include <QString>
#include <string>
#include <string_view>

namespace brisolt::gui {

inline QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string U(const QString& text) {
    return text.toStdString();
}

} // namespace brisolt::gui
