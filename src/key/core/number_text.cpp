#include "key/core/number_text.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

#include "key/core/errors.h"
#include "key/core/texts.h"
#include "key/core/windows1252.h"

namespace brisolt {

namespace {

std::atomic<char> g_separator{'.'};

// The start of a refused text that its message can quote (40 characters, each of at most
// four bytes, and one more for the "…"), so a huge text costs no more than a short one.
std::string_view QuotedPart(std::string_view s) {
    return s.substr(0, 41 * 4);
}

// x (finite, not zero) as 15 significant decimal digits d0.d1...d14 x 10^exponent.
struct Decimal15 {
    bool negative = false;
    std::string digits; // exactly 15 characters
    int exponent = 0;
};

constexpr std::uint64_t kPowersOfTen[20] = {1ULL,
                                            10ULL,
                                            100ULL,
                                            1000ULL,
                                            10000ULL,
                                            100000ULL,
                                            1000000ULL,
                                            10000000ULL,
                                            100000000ULL,
                                            1000000000ULL,
                                            10000000000ULL,
                                            100000000000ULL,
                                            1000000000000ULL,
                                            10000000000000ULL,
                                            100000000000000ULL,
                                            1000000000000000ULL,
                                            10000000000000000ULL,
                                            100000000000000000ULL,
                                            1000000000000000000ULL,
                                            10000000000000000000ULL};

// The 15 significant digits of x (finite, positive) as the decimal printer rounds them, to
// nearest with ties to even, worked out in integers: x = m / 2^shift, so the digits are
// m x 10^s / 2^shift rounded. Only where m x 10^s fits 128 bits; false elsewhere.
bool ExactDecimal15(Real x, std::uint64_t& digits, int& exponent) {
    if constexpr (std::numeric_limits<Real>::digits != 64) {
        return false;
    } else {
        if (!(x > 0) || !std::isfinite(x)) {
            return false;
        }
        int e2 = 0;
        const Real fraction = std::frexp(x, &e2); // x = fraction x 2^e2, fraction in [0.5, 1)
        const auto m = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
        const int shift = 64 - e2;
        if (shift <= 0 || shift >= 127) {
            return false;
        }
        __extension__ using U128 = unsigned __int128;
        int e = static_cast<int>(std::floor(std::log10(static_cast<double>(x))));
        for (int attempt = 0; attempt < 3; ++attempt) {
            const int s = 14 - e;
            if (s < 0 || s > 19) {
                return false;
            }
            const U128 n = static_cast<U128>(m) * kPowersOfTen[s];
            U128 q = n >> shift; // the digits cut off, not yet rounded
            if (q >= kPowersOfTen[15]) {
                ++e;
                continue;
            }
            if (q < kPowersOfTen[14]) {
                --e;
                continue;
            }
            const U128 rest = n - (q << shift);
            const U128 half = static_cast<U128>(1) << (shift - 1);
            if (rest > half || (rest == half && (q & 1) != 0)) {
                ++q;
            }
            if (q == kPowersOfTen[15]) { // 9.99...95 rounds up to the next power of ten
                q = kPowersOfTen[14];
                ++e;
            }
            digits = static_cast<std::uint64_t>(q);
            exponent = e;
            return true;
        }
        return false;
    }
}

// Reads a whole text in "C" notation (digits, ".", exponent) into an extended value; false
// for anything else and for overflow or underflow. MinGW's from_chars reads a long double
// through double and loses the extended digits, so there its C library's strtold reads it.
bool ReadExtended(const std::string& text, Real& value) {
#ifdef _WIN32
    errno = 0;
    char* stop = nullptr;
    const Real parsed = std::strtold(text.c_str(), &stop);
    if (errno == ERANGE || text.empty() || stop != text.c_str() + text.size()) {
        return false;
    }
    value = parsed;
    return true;
#else
    const auto res = std::from_chars(text.data(), text.data() + text.size(), value);
    return res.ec == std::errc() && res.ptr == text.data() + text.size();
#endif
}

Decimal15 ToDecimal15(Real x) {
    std::uint64_t exact = 0;
    int exactExponent = 0;
    if (ExactDecimal15(std::fabs(x), exact, exactExponent)) {
        Decimal15 d;
        d.negative = x < 0;
        d.digits.assign(15, '0');
        for (int i = 14; i >= 0; --i) {
            d.digits[static_cast<std::size_t>(i)] = static_cast<char>('0' + exact % 10);
            exact /= 10;
        }
        d.exponent = exactExponent;
        return d;
    }
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 14);
    const std::string_view text(buf, static_cast<std::size_t>(res.ptr - buf));
    Decimal15 d;
    std::size_t i = 0;
    if (text[i] == '-') {
        d.negative = true;
        ++i;
    }
    for (; i < text.size() && text[i] != 'e'; ++i) {
        if (text[i] != '.') {
            d.digits.push_back(text[i]);
        }
    }
    int exponent = 0;
    std::from_chars(text.data() + i + 1 + (text[i + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    d.exponent = exponent;
    return d;
}

Real FromDecimal(bool negative, const std::string& digits, int exponentOfLastDigit) {
    // A whole number of at most 19 digits and a power of ten up to 10^19 are both exact, so
    // their quotient is the nearest value to the decimal, as the reader gives it.
    if (!digits.empty() && digits.size() <= 19 && exponentOfLastDigit <= 0 &&
        exponentOfLastDigit >= -19) {
        std::uint64_t whole = 0;
        for (const char c : digits) {
            whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
        }
        const Real value =
            static_cast<Real>(whole) / static_cast<Real>(kPowersOfTen[-exponentOfLastDigit]);
        return negative ? -value : value;
    }
    std::string text;
    if (negative) {
        text.push_back('-');
    }
    text += digits.empty() ? std::string("0") : digits;
    text += 'e';
    text += std::to_string(exponentOfLastDigit);
    Real value = 0;
    ReadExtended(text, value);
    return value;
}

// Rounded digits of x at 10^-decimals: returns the kept digit string (may be "0") and
// fills in the exponent of its last digit.
std::string RoundedDigits(Real x, int decimals, bool& negative) {
    const Decimal15 d = ToDecimal15(x);
    negative = d.negative;
    const int keep = d.exponent + 1 + decimals; // digits in front of the cut
    if (keep >= 15) {
        std::string digits = d.digits;
        digits.append(static_cast<std::size_t>(keep - 15), '0');
        return digits;
    }
    if (keep < 0) {
        return "0";
    }
    std::string kept = d.digits.substr(0, static_cast<std::size_t>(keep));
    const std::string rest = d.digits.substr(static_cast<std::size_t>(keep));
    const std::string half = "5" + std::string(rest.size() - 1, '0');
    bool up = false;
    if (rest > half) {
        up = true;
    } else if (rest == half) {
        const int last = kept.empty() ? 0 : kept.back() - '0';
        up = (last % 2) == 1;
    }
    if (kept.empty()) {
        kept = "0";
    }
    if (up) {
        int i = static_cast<int>(kept.size()) - 1;
        while (i >= 0 && kept[static_cast<std::size_t>(i)] == '9') {
            kept[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            kept.insert(kept.begin(), '1');
        } else {
            ++kept[static_cast<std::size_t>(i)];
        }
    }
    return kept;
}

bool IsSpace(char c) {
    return c == ' ';
}

} // namespace

char DecimalSeparator() {
    return g_separator.load(std::memory_order_relaxed);
}
void SetDecimalSeparator(char separator) {
    g_separator.store(separator, std::memory_order_relaxed);
}

std::string FormatPositiveReal(Real x) {
    return FormatPositiveReal(x, DecimalSeparator());
}

std::string FormatPositiveReal(Real x, char separator) {
    if (!(x > 0) || !std::isfinite(x)) {
        return {};
    }
    const Decimal15 d = ToDecimal15(x);
    std::string digits = d.digits;
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
    }
    const int e = d.exponent;
    std::string out;
    if (e < -5 || e >= 15) {
        out.push_back(digits[0]);
        if (digits.size() > 1) {
            out.push_back(separator);
            out.append(digits, 1);
        }
        out += 'E';
        out += e < 0 ? '-' : '+';
        out += std::to_string(e < 0 ? -e : e);
        return out;
    }
    if (e < 0) {
        out = "0";
        out.push_back(separator);
        out.append(static_cast<std::size_t>(-e - 1), '0');
        out += digits;
        return out;
    }
    const std::size_t intDigits = static_cast<std::size_t>(e) + 1;
    if (digits.size() <= intDigits) {
        out = digits;
        out.append(intDigits - digits.size(), '0');
        return out;
    }
    out = digits.substr(0, intDigits);
    out.push_back(separator);
    out.append(digits, intDigits);
    return out;
}

std::string FormatPositiveInt(Int n) {
    return n > 0 ? std::to_string(n) : std::string();
}

std::string KeepDigits(std::string_view s) {
    std::string out;
    for (const char c : s) {
        if (c == '\0') {
            break;
        }
        if (c >= '0' && c <= '9') {
            out.push_back(c);
        }
    }
    return out;
}

std::string WholeNumberText(std::string_view s) {
    s = s.substr(0, std::min(s.size(), s.find('\0')));
    const auto digit = [&](std::size_t i) { return i < s.size() && s[i] >= '0' && s[i] <= '9'; };
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((s[i] != '.' && s[i] != ',') || !digit(i + 1)) {
            continue;
        }
        // The digits just before the separator are the whole part ("" for ".5").
        std::size_t start = i;
        while (start > 0 && digit(start - 1)) {
            --start;
        }
        std::string whole(s.substr(start, i - start));
        if (s[i + 1] >= '5') {
            // Add one to the digit string: no overflow, whatever its length.
            std::size_t k = whole.size();
            while (k > 0 && whole[k - 1] == '9') {
                whole[--k] = '0';
            }
            if (k == 0) {
                whole.insert(whole.begin(), '1');
            } else {
                ++whole[k - 1];
            }
        }
        const std::size_t first = whole.find_first_not_of('0');
        return first == std::string::npos ? std::string("0") : whole.substr(first);
    }
    return KeepDigits(s);
}

Int ParseIntOrZero(std::string_view s) {
    if (s.empty()) {
        return 0;
    }
    const auto fail = [&]() -> ConversionError {
        // The message is shown and written out: it must be valid UTF-8 whatever s holds.
        return ConversionError(texts::kNotAnInteger(ToValidUtf8(QuotedPart(s))));
    };
    std::size_t i = 0;
    while (i < s.size() && IsSpace(s[i])) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && (s[i] == '$' || s[i] == 'x' || s[i] == 'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) {
        throw fail();
    }
    std::int64_t value = 0;
    for (; i < s.size(); ++i) {
        const char c = s[i];
        int digit = 0;
        if (c >= '0' && c <= '9') {
            digit = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            digit = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            digit = c - 'A' + 10;
        } else {
            throw fail();
        }
        value = value * base + digit;
        if (value > std::int64_t{1} << 32) {
            throw fail();
        }
    }
    if (negative) {
        value = -value;
    }
    if (value < std::numeric_limits<Int>::min() || value > std::numeric_limits<Int>::max()) {
        throw fail();
    }
    return static_cast<Int>(value);
}

bool TryParseDecimal(std::string_view s, char separator, Real& value) {
    std::size_t i = 0;
    std::size_t end = s.size();
    while (i < end && IsSpace(s[i])) {
        ++i;
    }
    while (end > i && IsSpace(s[end - 1])) {
        --end;
    }
    std::string normal;
    if (i < end && (s[i] == '+' || s[i] == '-')) {
        if (s[i] == '-') {
            normal.push_back('-');
        }
        ++i;
    }
    int mantissaDigits = 0;
    for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i, ++mantissaDigits) {
        normal.push_back(s[i]);
    }
    if (i < end && s[i] == separator) {
        normal.push_back('.');
        for (++i; i < end && s[i] >= '0' && s[i] <= '9'; ++i, ++mantissaDigits) {
            normal.push_back(s[i]);
        }
    }
    if (mantissaDigits == 0) {
        return false;
    }
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        normal.push_back('e');
        ++i;
        if (i < end && (s[i] == '+' || s[i] == '-')) {
            normal.push_back(s[i]);
            ++i;
        }
        int exponentDigits = 0;
        for (; i < end && s[i] >= '0' && s[i] <= '9'; ++i, ++exponentDigits) {
            normal.push_back(s[i]);
        }
        if (exponentDigits == 0) {
            return false;
        }
    }
    if (i != end) {
        return false;
    }
    Real parsed = 0;
    if (!ReadExtended(normal, parsed) || !std::isfinite(parsed)) {
        return false;
    }
    value = parsed;
    return true;
}

Real ParseRealTolerant(std::string_view s) {
    if (s.empty()) {
        return 0;
    }
    Real value = 0;
    if (TryParseDecimal(s, DecimalSeparator(), value)) {
        return value;
    }
    std::string copy(s);
    for (char& c : copy) {
        if (c == '.') {
            c = ',';
        }
    }
    if (TryParseDecimal(copy, DecimalSeparator(), value)) {
        return value;
    }
    throw ConversionError(texts::kNotAReal(ToValidUtf8(QuotedPart(copy))));
}

Real RoundHalfEven(Real x, int decimals) {
    if (!std::isfinite(x) || x == 0) {
        return x;
    }
    bool negative = false;
    const std::string digits = RoundedDigits(x, decimals, negative);
    return FromDecimal(negative, digits, -decimals);
}

std::string FormatFixed(Real x, int decimals, char separator) {
    if (!std::isfinite(x)) {
        return {};
    }
    bool negative = false;
    std::string digits = x == 0 ? std::string("0") : RoundedDigits(x, decimals, negative);
    if (digits.size() <= static_cast<std::size_t>(decimals)) {
        digits.insert(0, static_cast<std::size_t>(decimals) + 1 - digits.size(), '0');
    }
    std::string out;
    const bool isZero = digits.find_first_not_of('0') == std::string::npos;
    if (negative && !isZero) {
        out.push_back('-');
    }
    const std::size_t intDigits = digits.size() - static_cast<std::size_t>(decimals);
    out.append(digits, 0, intDigits);
    if (decimals > 0) {
        out.push_back(separator);
        out.append(digits, intDigits);
    }
    return out;
}

std::string FormatRoundTrip(Real x) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, x);
    return std::string(buf, res.ptr);
}

} // namespace brisolt
