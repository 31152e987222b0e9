#include "platform/base/codepage.h"

#include <gtest/gtest.h>

namespace rg::platform {
namespace {

TEST(CodepageTest, EveryByteRoundTripsThroughUtf16AndUtf8) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all += static_cast<char>(code);
    }
    std::string back;
    ASSERT_TRUE(Utf16ToCp1252Exact(Cp1252ToUtf16(all), back));
    EXPECT_EQ(back, all);
    ASSERT_TRUE(Utf8ToCp1252Exact(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
}

TEST(CodepageTest, HighControlRangeMapsToTypographicCharacters) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), u'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x99), u'\u2122');
    EXPECT_EQ(Cp1252ToUnicode(0x81), u'\u0081');
    EXPECT_EQ(Cp1252ToUtf8("\xA9 \x80"), "\xC2\xA9 \xE2\x82\xAC");
}

TEST(CodepageTest, CharactersOutsideTheCodePageAreRefused) {
    std::string out;
    EXPECT_FALSE(Utf16ToCp1252Exact(u"\u0416", out));          // Cyrillic
    EXPECT_FALSE(Utf8ToCp1252Exact("\xE4\xB8\xAD", out));      // CJK
    EXPECT_FALSE(Utf8ToCp1252Exact("\xC3", out));              // cut short
    EXPECT_FALSE(Utf8ToCp1252Exact("\xC3\x41", out));          // bad continuation
    EXPECT_FALSE(Utf8ToCp1252Exact("\xF0\x9F\x98\x80", out));  // outside the BMP
    ASSERT_TRUE(Utf8ToCp1252Exact("caf\xC3\xA9", out));
    EXPECT_EQ(out, "caf\xE9");
}

}  // namespace
}  // namespace rg::platform
