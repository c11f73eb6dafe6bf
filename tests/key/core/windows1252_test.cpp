#include "key/core/windows1252.h"

#include <gtest/gtest.h>

namespace brisolt {
namespace {

TEST(Windows1252, EveryByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all.push_back(static_cast<char>(b));
    }
    EXPECT_EQ(Utf8ToWindows1252(Windows1252ToUtf8(all)), all);
}

TEST(Windows1252, GermanTextAndTypographicMarks) {
    EXPECT_EQ(Windows1252ToUtf8("Gef\xE4lle \x80 \x84ok\x93"), "Gefälle € „ok“");
    EXPECT_EQ(Utf8ToWindows1252("Grösse – Müller"), "Gr\xF6sse \x96 M\xFCller");
}

TEST(Windows1252, CharactersItCannotHoldBecomeQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("Łódź 日本"), "?\xF3" "d? ??");
    EXPECT_EQ(Utf8ToWindows1252("a\xFF" "b"), "a?b");         // not UTF-8
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82"), "??");           // cut-off sequence
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???");      // surrogate
    EXPECT_EQ(Utf8ToWindows1252("😀"), "?");
    EXPECT_EQ(MakeWindows1252Safe("Łódź"), "?ód?");
    EXPECT_EQ(MakeWindows1252Safe("Zürich €"), "Zürich €");
}

} // namespace
} // namespace brisolt
