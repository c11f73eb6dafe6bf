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

TEST(Windows1252, CharactersItCannotHoldBecomeTheClosestItHasOrQuestionMarks) {
    EXPECT_EQ(Utf8ToWindows1252("Łódź 日本"), "L\xF3"
                                              "dz ??");
    EXPECT_EQ(Utf8ToWindows1252("a\xFF"
                                "b"),
              "a?b");                                    // not UTF-8
    EXPECT_EQ(Utf8ToWindows1252("\xE2\x82"), "??");      // cut-off sequence
    EXPECT_EQ(Utf8ToWindows1252("\xED\xA0\x80"), "???"); // surrogate
    EXPECT_EQ(Utf8ToWindows1252("😀"), "?");
    EXPECT_EQ(MakeWindows1252Safe("Łódź"), "Lódz");
    EXPECT_EQ(MakeWindows1252Safe("Zürich €"), "Zürich €");
}

// Names as they are written at home, and as a person filling in a paper form that only
// knows Windows-1252 letters would write them.
TEST(Windows1252, RealNamesFoldToTheClosestLetters) {
    const struct {
        const char* name;
        const char* stored;
    } cases[] = {
        // Polish
        {"Łukasiewicz", "Lukasiewicz"},
        {"Józef Piłsudski", "Józef Pilsudski"},
        {"Wałęsa, Gdańsk", "Walesa, Gdansk"},
        {"Świętokrzyska, Źródło, Żółć", "Swietokrzyska, Zródlo, Zólc"},
        // Czech: š, ž and ý are in Windows-1252
        {"Dvořák", "Dvorák"},
        {"Karel Čapek", "Karel Capek"},
        {"Tomáš Garrigue Masaryk", "Tomáš Garrigue Masaryk"},
        {"Ďáblice, Řevnice, Ústí nad Labem, Kůň", "Dáblice, Revnice, Ústí nad Labem, Kun"},
        {"Žďár nad Sázavou, Třeboň, Bořivoj, Děčín", "Ždár nad Sázavou, Trebon, Borivoj, Decín"},
        // Hungarian: ő and ű become the umlaut, the closest letter
        {"Erdős Pál", "Erdös Pál"},
        {"Győr, Kőszeg, Szőke Ödön", "Györ, Köszeg, Szöke Ödön"},
        {"Kű Űrhajós, Fűzfa", "Kü Ürhajós, Füzfa"},
        // Romanian, with comma below and with the older cedilla
        {"Ștefan Țiriac", "Stefan Tiriac"},
        {"Brâncuși, Timișoara, Iași", "Brâncusi, Timisoara, Iasi"},
        {"Bălcescu, Constanţa, Mureş", "Balcescu, Constanta, Mures"},
        // Turkish
        {"İstanbul, Iğdır", "Istanbul, Igdir"},
        {"Ğazi Şükrü Çelik, Uğur Işık", "Gazi Sükrü Çelik, Ugur Isik"},
        // Croatian: č and ć both become c, đ becomes d
        {"Đurđević", "Durdevic"},
        {"Ivan Meštrović, Čakovec", "Ivan Meštrovic, Cakovec"},
        {"Ljiljana Žužić, Đakovo", "Ljiljana Žužic, Dakovo"},
        // Letters Windows-1252 holds stay as they are
        {"Œuvre Špalíček Ÿvonne Straße 5 €", "Œuvre Špalícek Ÿvonne Straße 5 €"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeWindows1252Safe(c.name), c.stored) << c.name;
    }
}

TEST(Windows1252, MarksSpacesAndSignsFold) {
    const struct {
        const char* text;
        const char* stored;
    } cases[] = {
        // Several marks: the ones Windows-1252 can put on the letter stay.
        {"ǘ Nguyễn Thị Ánh", "ü Nguyên Thi Ánh"},
        // Decomposed input (as some systems paste it): letter plus combining marks.
        {"Mu\xCC\x88ller c\xCC\x8C e\xCC\xA3\xCC\x82", "Müller c ê"},
        // A mark at the very start has no letter to join.
        {"\xCC\x88"
         "a",
         "a"},
        {"1\xE2\x80\x91"
         "2 \xE2\x88\x92"
         "3 \xE2\x80\x90"
         "4",
         "1-2 -3 -4"}, // hyphens, minus
        {"10\xE2\x80\xAF"
         "000 a\xE2\x80\x89"
         "b \xE2\x80\x8B|",
         "10\xC2\xA0"
         "000 a b |"},
        {"ǆ ﬁ ℃ ⅓ Ａ ŉ", "dž fi °C 1/3 A 'n"},
        {"Ελλάδα Москва ˘", "?????? ?????? ?"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakeWindows1252Safe(c.text), c.stored) << c.text;
    }
}

TEST(Windows1252, ToValidUtf8ReplacesEachBrokenSequenceOnce) {
    const struct {
        std::string bytes;
        std::string valid;
    } cases[] = {
        {"b\xE4"
         "d.txt",
         "b\xEF\xBF\xBD"
         "d.txt"},                  // Latin-1 name
        {"Grüße € 😀", "Grüße € 😀"}, // valid text is kept
        {"\xE2\x82"
         "x",
         "\xEF\xBF\xBD"
         "x"},                                                    // cut-off sequence
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong
        {"\xF4\x90\x80\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // > U+10FFFF
        {"\xF0\x9F\x98", "\xEF\xBF\xBD"},
        {"\x80\xBF\xFE\xFF", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"},
        {std::string("a\0b", 3), std::string("a\0b", 3)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ToValidUtf8(c.bytes), c.valid) << c.bytes;
    }
}

} // namespace
} // namespace brisolt
