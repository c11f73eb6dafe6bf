#include "key/core/number_text.h"

#include <gtest/gtest.h>

#include "key/core/errors.h"
#include "support/separator.h"

namespace brisolt {
namespace {

using testing::SeparatorScope;

TEST(FormatPositiveReal, FollowsTheRegionalSeparatorAndHidesNonPositive) {
    struct Case {
        Real value;
        const char* point;
        const char* comma;
    };
    const Case cases[] = {
        {0, "", ""},
        {-1, "", ""},
        {2.345L, "2.345", "2,345"},
        {50, "50", "50"},
        {1.512L, "1.512", "1,512"},
        {0.1512L, "0.1512", "0,1512"},
        {0.00001L, "0.00001", "0,00001"},
        {0.000001L, "1E-6", "1E-6"},
        {0.0000025L, "2.5E-6", "2,5E-6"},
        {1e15L, "1E+15", "1E+15"},
        {123456789012345.0L, "123456789012345", "123456789012345"},
        {33.333333333333333333L, "33.3333333333333", "33,3333333333333"},
        {2.0L / 3, "0.666666666666667", "0,666666666666667"},
        // The fifteenth digit rounds up into the next power of ten, or is a tie.
        {9.9999999999999995L, "10", "10"},
        {999999999999999.5L, "1E+15", "1E+15"},
        {100000000000000.5L, "100000000000000", "100000000000000"},
        {100000000000001.5L, "100000000000002", "100000000000002"},
        {9.99999999999999e-6L, "9.99999999999999E-6", "9,99999999999999E-6"},
        {0.000015L, "0.000015", "0,000015"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatPositiveReal(c.value, '.'), c.point) << static_cast<double>(c.value);
        EXPECT_EQ(FormatPositiveReal(c.value, ','), c.comma) << static_cast<double>(c.value);
    }
    EXPECT_EQ(FormatPositiveReal(std::numeric_limits<Real>::quiet_NaN(), '.'), "");
    SeparatorScope comma(',');
    EXPECT_EQ(FormatPositiveReal(2.345L), "2,345");
}

TEST(FormatPositiveInt, ShowsNothingForZeroOrLess) {
    EXPECT_EQ(FormatPositiveInt(0), "");
    EXPECT_EQ(FormatPositiveInt(-7), "");
    EXPECT_EQ(FormatPositiveInt(2026), "2026");
    EXPECT_EQ(FormatPositiveInt(2147483647), "2147483647");
}

TEST(KeepDigits, DropsEverythingButDigitsAndStopsAtNul) {
    EXPECT_EQ(KeepDigits("12,5"), "125");
    EXPECT_EQ(KeepDigits("-3"), "3");
    EXPECT_EQ(KeepDigits("2 %"), "2");
    EXPECT_EQ(KeepDigits("abc"), "");
    EXPECT_EQ(KeepDigits("20a6"), "206");
    EXPECT_EQ(KeepDigits("45 cm"), "45");
    EXPECT_EQ(KeepDigits(std::string_view("12\0"
                                          "34",
                                          5)),
              "12");
    EXPECT_EQ(KeepDigits("²³½ 7"), "7"); // superscripts are not digits
}

TEST(WholeNumberText, RoundsADecimalHalfUpAndKeepsDigitsOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {"12.5", "13"},
        {"12,4", "12"},
        {"12,5 %", "13"},
        {"0.4", "0"},
        {",6", "1"},
        {"99.5", "100"},
        {"9.99", "10"},
        {"007.2", "7"},
        {"12 %", "12"},
        {"ca. 12 m", "12"},
        {"12.", "12"},
        {"1.2.3", "1"},
        {"-3", "3"},
        {"abc", ""},
        {"20a6", "206"},
        {"", ""},
        {"99999999999999999999.5", "100000000000000000000"},
    };
    for (const auto& [typed, kept] : cases) {
        EXPECT_EQ(WholeNumberText(typed), kept) << typed;
    }
    EXPECT_EQ(WholeNumberText(std::string_view("1\0.5", 4)), "1"); // a NUL ends the text
}

TEST(ParseIntOrZero, ReadsWholeNumbersLikeTheFileLoader) {
    struct Case {
        const char* text;
        Int value;
    };
    const Case good[] = {
        {"", 0},
        {"0", 0},
        {"2024", 2024},
        {"-1", -1},
        {"+5", 5},
        {"   42", 42},
        {"$1F", 31},
        {"0x10", 16},
        {"X0a", 10},
        {"-$10", -16},
        {"007", 7},
        {"2147483647", 2147483647},
        {"-2147483648", -2147483647 - 1},
    };
    for (const Case& c : good) {
        EXPECT_EQ(ParseIntOrZero(c.text), c.value) << c.text;
    }
    const char* bad[] = {"99999999999", "2147483648", "12a", "1 ",  " ",   "-",
                         "$",           "0x",         "1.5", "\t1", "1e3", "0xFFFFFFFF"};
    for (const char* text : bad) {
        try {
            ParseIntOrZero(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + std::string(text) + "' ist kein gültiger Integerwert");
        }
    }
    // What the messages quote: 40 characters at most, a NUL made visible.
    std::string withNul = "1_2";
    withNul[1] = '\0';
    const std::pair<std::string, std::string> quoted[] = {
        {std::string(40, 'x') + "ä", std::string(40, 'x') + "…"},
        {std::string(39, 'x') + "ä", std::string(39, 'x') + "ä"},
        {withNul, "1␀2"},
        {std::string(1'000'000, 'z'), std::string(40, 'z') + "…"},
    };
    for (const auto& [text, shown] : quoted) {
        try {
            ParseIntOrZero(text);
            ADD_FAILURE() << "accepted " << text.substr(0, 50);
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + shown + "' ist kein gültiger Integerwert");
        }
        try {
            ParseRealTolerant(text);
            ADD_FAILURE() << "accepted " << text.substr(0, 50);
        } catch (const ConversionError& e) {
            EXPECT_EQ(e.what(), "'" + shown + "' ist kein gültiger Gleitkommawert");
        }
    }
}

TEST(ParseRealTolerant, ReadsTableNumbersWhateverTheSeparator) {
    for (const char separator : {'.', ','}) {
        SeparatorScope scope(separator);
        EXPECT_EQ(ParseRealTolerant("0.0444"), 0.0444L) << separator;
        EXPECT_EQ(ParseRealTolerant(""), 0) << separator;
        EXPECT_EQ(ParseRealTolerant("-2.5"), -2.5L) << separator;
        EXPECT_EQ(ParseRealTolerant("12"), 12) << separator;
    }
    {
        SeparatorScope comma(',');
        EXPECT_EQ(ParseRealTolerant("0,25"), 0.25L);
        EXPECT_EQ(ParseRealTolerant("1,5E2"), 150);
        try {
            ParseRealTolerant("1.000,5");
            ADD_FAILURE() << "accepted 1.000,5";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), "'1,000,5' ist kein gültiger Gleitkommawert");
        }
    }
    {
        SeparatorScope point('.');
        // A comma never passes on a system with a decimal point.
        try {
            ParseRealTolerant("0,5");
            ADD_FAILURE() << "accepted 0,5";
        } catch (const ConversionError& e) {
            EXPECT_STREQ(e.what(), "'0,5' ist kein gültiger Gleitkommawert");
        }
        EXPECT_THROW(ParseRealTolerant("-"), ConversionError);
        EXPECT_THROW(ParseRealTolerant("1e"), ConversionError);
        EXPECT_THROW(ParseRealTolerant("abc"), ConversionError);
    }
}

TEST(RoundHalfEven, DecimalHalvesGoToTheEvenNeighbour) {
    struct Case {
        Real value;
        int decimals;
        Real expected;
    };
    const Case cases[] = {
        {12.5L, 0, 12},
        {13.5L, 0, 14},
        {-2.5L, 0, -2},
        {0.5L, 0, 0},
        {1.5L, 0, 2},
        {11.53L, 0, 12},
        {10.5L, 0, 10},
        {0.49L, 0, 0},
        // Values that are decimal halves but not binary ones.
        {12.5L, 2, 12.5L},
        {15.0L / 120 * 100, 0, 12},
        {3.0L / 120 * 100, 0, 2},
        {1.5125L, 3, 1.512L},
        {1.5135L, 3, 1.514L},
        {0.15125L, 4, 0.1512L},
        {33.35L, 1, 33.4L},
        {33.25L, 1, 33.2L},
        {0.0961L * 100, 0, 10},
        {999.5L, 0, 1000},
        {9.9996L, 3, 10},
        {0.0004L, 3, 0},
        {0.0006L, 3, 0.001L},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RoundHalfEven(c.value, c.decimals), c.expected)
            << static_cast<double>(c.value) << " to " << c.decimals;
    }
}

TEST(FormatFixed, WritesRoundedDecimalsWithTheGivenSeparator) {
    EXPECT_EQ(FormatFixed(15.0L / 120, 2, '.'), "0.12");
    EXPECT_EQ(FormatFixed(3.0L / 120, 2, '.'), "0.02");
    EXPECT_EQ(FormatFixed(54.0L / 10, 3, '.'), "5.400");
    EXPECT_EQ(FormatFixed(0, 3, '.'), "0.000");
    EXPECT_EQ(FormatFixed(7.0L / 120, 2, ','), "0,06");
    EXPECT_EQ(FormatFixed(46.12L, 0, '.'), "46");
    EXPECT_EQ(FormatFixed(0.0004L, 3, '.'), "0.000");
    EXPECT_EQ(FormatFixed(-0.0004L, 3, '.'), "0.000");
    EXPECT_EQ(FormatFixed(-1.25L, 1, '.'), "-1.2");
}

TEST(FormatRoundTrip, ReadsBackToTheSameExtendedValue) {
    for (const Real x : {46.12345678901234567L, 0.1L, 1.0L / 3, 1e-30L, 1234567.0L}) {
        const std::string text = FormatRoundTrip(x);
        Real back = 0;
        ASSERT_TRUE(TryParseDecimal(text, '.', back)) << text;
        EXPECT_EQ(back, x) << text;
    }
}

} // namespace
} // namespace brisolt
