// Code page 1252 conversions, and the order and lower case of code page 1252 texts.
#include "platform/base/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/text_collation.h"

namespace rg::test {
namespace {

using namespace platform;

TEST(Codepage, EveryByteRoundTripsThroughUtf16AndUtf8) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all += static_cast<char>(code);
    }
    std::string back;
    ASSERT_TRUE(Utf16ToCp1252Exact(Cp1252ToUtf16(all), back));
    EXPECT_EQ(back, all);
    ASSERT_TRUE(Utf8ToCp1252Exact(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
    // 0x80-0x9F hold typographic characters; the five undefined bytes stand for C1 controls.
    EXPECT_EQ(Cp1252ToUtf16("\x7F\x80\x81\x8A\x8D\x8F\x90\x99\x9D\x9F\xA0"),
              u"\u007F\u20AC\u0081\u0160\u008D\u008F\u0090\u2122\u009D\u0178\u00A0");
    EXPECT_EQ(Cp1252ToUtf8("\xA9 \x80"), "\xC2\xA9 \xE2\x82\xAC");
}

TEST(Codepage, Utf8OfEveryLength) {
    const std::pair<char32_t, std::string> rows[] = {
        {0x7F, "\x7F"},           {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},      {0x800, "\xE0\xA0\x80"},
        {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"},
        {0xD800, "\xED\xA0\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}};
    for (const auto& [code, utf8] : rows) {
        std::string out = "x";
        AppendUtf8(out, code);
        EXPECT_EQ(out, "x" + utf8) << static_cast<std::uint32_t>(code);
    }
}

TEST(Codepage, CharactersOutsideTheCodePageAreRefused) {
    std::string out;
    for (const char16_t* bad : {u"\u0100", u"\u0416", u"\u20AD", u"a\uFFFD"}) {
        EXPECT_FALSE(Utf16ToCp1252Exact(bad, out));
    }
    ASSERT_TRUE(Utf16ToCp1252Exact(u"a\u0152\u2019\u00FF", out));
    EXPECT_EQ(out, "a\x8C\x92\xFF");
    for (const char* bad : {"\xE4\xB8\xAD", "\xC3", "a\xE2\x82", "\xC3\x41", "\xF0\x9F\x98\x80",
                            "\x80", "\xF8\x88\x80\x80\x80", "\xC4\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252Exact(bad, out)) << bad;
    }
    ASSERT_TRUE(Utf8ToCp1252Exact("\xC3\xA9t\xC3\xA9 \xE2\x82\xAC\xC5\xB8", out));
    EXPECT_EQ(out, "\xE9t\xE9 \x80\x9F");
}

TEST(TextCollation, SortsByLettersThenAccentsThenCase) {
    // As a Western European user expects a sorted list; only equal texts compare equal.
    const std::vector<std::string> order = {
        "1",    "a",    "A",    "\xE0", "\xC0", "ae",       "\xE6", "\xC6", "af",
        "e",    "\xE9", "\xC9", "f",    "oe",   "\x9C",     "\x8C", "of",   "s",
        "\x9A", "\x8A", "ss",   "\xDF", "st",   "strasse1", "y",    "\xFF", "\x9F",
        "z",    "\x9E", "\x8E", "\xD7", "\xF0", "\xD0",     "\xDE"};
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = 0; j < order.size(); ++j) {
            const int result = CollateCp1252(order[i], order[j]);
            EXPECT_EQ((result > 0) - (result < 0), (i > j) - (i < j))
                << order[i] << " " << order[j];
        }
    }
    EXPECT_EQ(LowerCp1252("@AZ[`az{\xC0\xD6\xD7\xD8\xDE\xDF\x8A\x8C\x8E\x9F\x9A\xFF"),
              "@az[`az{\xE0\xF6\xD7\xF8\xFE\xDF\x9A\x9C\x9E\xFF\x9A\xFF");
}

}  // namespace
}  // namespace rg::test
