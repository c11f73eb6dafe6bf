#pragma once
// Conversions between numbers and the texts the screens show and the user types.

#include <string>
#include <string_view>

#include "key/core/record.h"

namespace brisolt {

// The decimal separator of the user's regional settings: one process-wide setting.
// The desktop program sets it from the system locale; the CLI always uses '.'.
char DecimalSeparator();
void SetDecimalSeparator(char separator);

// General decimal text of x (15 significant digits, no trailing zeros) when x > 0,
// otherwise the empty text.
std::string FormatPositiveReal(Real x);
std::string FormatPositiveReal(Real x, char separator);

// Decimal digits of n when n > 0, otherwise the empty text.
std::string FormatPositiveInt(Int n);

// Only the characters '0' ... '9' of s, up to its first NUL.
std::string KeepDigits(std::string_view s);

// What a whole-number field keeps when it is left. A decimal as an inclinometer or a map shows
// it ("12.5", "12,4 %": digits, "." or ",", digits) is taken as that number rounded to a whole,
// halves up ("13", "12"), never as its digits run together ("125"); any other text keeps only
// its digits, so "12 %" and "12 m" still read as 12.
std::string WholeNumberText(std::string_view s);

// 0 for the empty text, otherwise the whole number s stands for (leading blanks, sign,
// hexadecimal after "$", "x" or "0x"); throws ConversionError for anything else. The
// message quotes s as UTF-8 (bytes that are not become U+FFFD): a caller holding text of
// another encoding decodes it for the message itself.
Int ParseIntOrZero(std::string_view s);

// 0 for the empty text; otherwise s read with the regional separator, and if that fails,
// s with every '.' turned into ',' read the same way. Throws ConversionError.
Real ParseRealTolerant(std::string_view s);

// Reads s as a decimal number with the given separator; false when it is not one.
bool TryParseDecimal(std::string_view s, char separator, Real& value);

// Rounds x to the given number of decimals, halves to the even neighbour. The value is
// first taken to 15 significant decimal digits, so a value that is a decimal half (0.125,
// 1.5125) rounds as a half whatever its binary representation.
Real RoundHalfEven(Real x, int decimals = 0);

// Fixed-point text of x with exactly `decimals` decimals after the half-to-even rounding
// above, using the given separator ("0.02", "46").
std::string FormatFixed(Real x, int decimals, char separator);

// Shortest text that reads back as exactly x ('.' as separator), for machine output.
std::string FormatRoundTrip(Real x);

} // namespace brisolt
