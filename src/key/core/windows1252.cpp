#include "key/core/windows1252.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <utility>

#include "key/core/windows1252_fold_table.h"

namespace brisolt {

namespace {

// Code points of the bytes 0x80 ... 0x9F; 0 where the byte is undefined.
constexpr std::array<char32_t, 32> kHighControls = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t DecodeByte(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F) {
        const char32_t cp = kHighControls[b - 0x80];
        return cp != 0 ? cp : b;
    }
    return b;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// The byte for a code point, or -1 when Windows-1252 has none.
int EncodeCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (int i = 0; i < 32; ++i) {
        const char32_t mapped = kHighControls[static_cast<std::size_t>(i)];
        if (mapped == cp || (mapped == 0 && cp == static_cast<char32_t>(0x80 + i))) {
            return 0x80 + i;
        }
    }
    return -1;
}

constexpr char32_t kBad = static_cast<char32_t>(-1);

// Next code point of a UTF-8 text; advances i past it. A byte that does not start a valid
// sequence returns kBad and advances i past the longest start of a valid sequence (at
// least one byte), so each broken sequence counts once.
char32_t NextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int extra = 0;
    char32_t cp = 0;
    // The range the second byte must lie in rules out overlong forms, surrogates and code
    // points beyond U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        extra = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        extra = 2;
        cp = b0 & 0x0F;
        low = b0 == 0xE0 ? 0xA0 : 0x80;
        high = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        extra = 3;
        cp = b0 & 0x07;
        low = b0 == 0xF0 ? 0x90 : 0x80;
        high = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
        ++i;
        return kBad;
    }
    std::size_t k = 1;
    for (; k <= static_cast<std::size_t>(extra); ++k) {
        if (i + k >= s.size()) {
            break;
        }
        const auto b = static_cast<unsigned char>(s[i + k]);
        if (b < (k == 1 ? low : 0x80) || b > (k == 1 ? high : 0xBF)) {
            break;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i += k;
    return k == static_cast<std::size_t>(extra) + 1 ? cp : kBad;
}

// The blocks of combining diacritical marks.
bool IsCombiningMark(char32_t cp) {
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x1AB0 && cp <= 0x1AFF) ||
           (cp >= 0x1DC0 && cp <= 0x1DFF) || (cp >= 0x20D0 && cp <= 0x20FF) ||
           (cp >= 0xFE20 && cp <= 0xFE2F);
}

// The Windows-1252 letter a base letter and a following mark make, or -1.
int Compose(unsigned char base, char32_t mark) {
    const auto* end = std::end(fold::kCompositions);
    const auto* it = std::lower_bound(std::begin(fold::kCompositions), end, std::pair{base, mark},
                                      [](const fold::Composition& c, const auto& key) {
                                          return std::pair{c.base, c.mark} < key;
                                      });
    return it != end && it->base == base && it->mark == mark ? it->composed : -1;
}

// The Windows-1252 bytes written for a code point it cannot hold; nullptr for '?'.
const char* Fold(char32_t cp) {
    const auto* end = std::end(fold::kEntries);
    const auto* it =
        std::lower_bound(std::begin(fold::kEntries), end, cp,
                         [](const fold::Entry& e, char32_t key) { return e.codePoint < key; });
    return it != end && it->codePoint == cp ? it->bytes : nullptr;
}

} // namespace

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        // Runs of ASCII are the same in both and are copied whole.
        const std::size_t start = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
        }
        out.append(bytes.substr(start, i - start));
        if (i < bytes.size()) {
            AppendUtf8(out, DecodeByte(static_cast<unsigned char>(bytes[i++])));
        }
    }
    return out;
}

std::string Utf8ToWindows1252(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        std::size_t start = i;
        while (i < utf8.size() && static_cast<unsigned char>(utf8[i]) < 0x80) {
            ++i; // ASCII is the same in both and is copied in runs
        }
        out.append(utf8.substr(start, i - start));
        if (i == utf8.size()) {
            break;
        }
        start = i;
        const char32_t cp = NextCodePoint(utf8, i);
        if (cp == kBad) {
            // A record text keeps one '?' per byte that is not UTF-8.
            i = start + 1;
            out.push_back('?');
            continue;
        }
        const int byte = EncodeCodePoint(cp);
        if (byte >= 0) {
            out.push_back(static_cast<char>(byte));
        } else if (IsCombiningMark(cp)) {
            // Decomposed text ("a" + U+0308): join the mark to its letter where
            // Windows-1252 has the result, else leave the letter bare.
            const int composed =
                out.empty() ? -1 : Compose(static_cast<unsigned char>(out.back()), cp);
            if (composed >= 0) {
                out.back() = static_cast<char>(composed);
            }
        } else if (const char* folded = Fold(cp)) {
            out += folded;
        } else {
            out.push_back('?');
        }
    }
    return out;
}

std::string MakeWindows1252Safe(std::string_view utf8) {
    // ASCII is kept as it is by both ways; most texts are nothing else.
    if (std::all_of(utf8.begin(), utf8.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return std::string(utf8);
    }
    return Windows1252ToUtf8(Utf8ToWindows1252(utf8));
}

std::string ToValidUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t start = i;
        while (i < bytes.size() && static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
        }
        out.append(bytes.substr(start, i - start));
        if (i == bytes.size()) {
            break;
        }
        start = i;
        const char32_t cp = NextCodePoint(bytes, i);
        if (cp == kBad) {
            out += "\xEF\xBF\xBD";
        } else {
            out.append(bytes.substr(start, i - start));
        }
    }
    return out;
}

} // namespace brisolt
