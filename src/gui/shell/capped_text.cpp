#include "gui/shell/capped_text.h"

namespace brisolt::gui {

QString CappedText(std::string_view utf8, qsizetype limit) {
    std::size_t bytes = 0;
    for (qsizetype chars = 0; bytes < utf8.size() && chars < limit; ++chars) {
        ++bytes;
        while (bytes < utf8.size() && (static_cast<unsigned char>(utf8[bytes]) & 0xC0) == 0x80) {
            ++bytes;
        }
    }
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(bytes));
    if (bytes < utf8.size()) {
        text += QChar(0x2026);
    }
    return text;
}

QString CappedLines(std::string_view utf8, qsizetype limit, int maxLines) {
    QString text;
    for (int line = 0;; ++line) {
        if (line == maxLines) {
            text += QChar(0x2026);
            break;
        }
        const std::size_t end = utf8.find('\n');
        text += CappedText(utf8.substr(0, end), limit);
        if (end == std::string_view::npos) {
            break;
        }
        text += '\n';
        utf8.remove_prefix(end + 1);
    }
    return text;
}

} // namespace brisolt::gui
