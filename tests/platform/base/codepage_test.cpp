// Code page 1252 conversions, and the order and lower case of code page 1252 texts.
#include "platform/base/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/text_collation.h"

namespace rg::test {
namespace {

using namespace platform;

// Every byte round-trips; 0x80-0x9F hold typographic characters, and the five undefined bytes
// stand for C1 controls. Characters the code page lacks, and broken UTF-8, are refused.
TEST(Codepage, EveryByteRoundTripsAndOtherCharactersAreRefused) {
    std::string all;
    for (int code = 0; code < 256; ++code) {
        all += static_cast<char>(code);
    }
    std::string back;
    ASSERT_TRUE(Utf16ToCp1252Exact(Cp1252ToUtf16(all), back));
    EXPECT_EQ(back, all);
    ASSERT_TRUE(Utf8ToCp1252Exact(Cp1252ToUtf8(all), back));
    EXPECT_EQ(back, all);
    EXPECT_EQ(Cp1252ToUtf16("\x7F\x80\x81\x9F\xA0"), u"\u007F\u20AC\u0081\u0178\u00A0");
    for (const char16_t* bad : {u"\u0100", u"a\u20AD"}) {
        EXPECT_FALSE(Utf16ToCp1252Exact(bad, back));
    }
    for (const char* bad :
         {"\xC4\x80", "\xC3", "a\xE2\x82", "\xC3\x41", "\x80", "\xF0\x9F\x98\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252Exact(bad, back)) << bad;
    }
    EXPECT_EQ(Utf8ToCp1252Lossy("\x80" "b\xC3\x41\xE4\xB8\xAD\xC3\xA9\xC3"), "?b?A?\xE9?");
    const std::pair<char32_t, std::string> lengths[] = {
        {0x7F, "\x7F"},           {0x80, "\xC2\x80"},          {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"}};
    for (const auto& [code, utf8] : lengths) {
        std::string out = "x";
        AppendUtf8(out, code);
        EXPECT_EQ(out, "x" + utf8) << static_cast<std::uint32_t>(code);
    }
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
