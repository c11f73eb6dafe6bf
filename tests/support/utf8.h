#pragma once
// Whether bytes are well-formed UTF-8 (RFC 3629), checked without the program's code.

#include <string>

namespace brisolt::testing {

inline bool IsUtf8(const std::string& s) {
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        unsigned long cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >> 5 == 0x6) {
            n = 1;
            cp = c & 0x1F;
        } else if (c >> 4 == 0xE) {
            n = 2;
            cp = c & 0x0F;
        } else if (c >> 3 == 0x1E) {
            n = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (i + n >= s.size()) {
            return false;
        }
        for (std::size_t k = 1; k <= n; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if (b >> 6 != 0x2) {
                return false;
            }
            cp = (cp << 6) | (b & 0x3F);
        }
        static constexpr unsigned long kMin[] = {0, 0x80, 0x800, 0x10000};
        if (cp < kMin[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            return false;
        }
        i += n + 1;
    }
    return true;
}

} // namespace brisolt::testing
