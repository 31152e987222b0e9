// Code page 1252 conversions (Windows' best fit from UTF-16 included), and the order and lower
// case of code page 1252 texts.
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
    EXPECT_FALSE(Utf16ToCp1252Exact(u"\u0100", back) || Utf16ToCp1252Exact(u"a\u20AD", back));
    for (const char* bad :
         {"\xC4\x80", "\xC3", "a\xE2\x82", "\xC3\x41", "\x80", "\xF0\x9F\x98\x80"}) {
        EXPECT_FALSE(Utf8ToCp1252Exact(bad, back)) << bad;
    }
    EXPECT_EQ(Utf8ToCp1252Lossy("\x80!\xC3\x41\xE4\xB8\xAD\xC3\xA9\xC3"), "?!?A?\xE9?");
    const std::pair<char32_t, std::string> lengths[] = {
        {0x7F, "\x7F"},          {0x80, "\xC2\x80"},       {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"}, {0xFFFF, "\xEF\xBF\xBF"}, {0x10000, "\xF0\x90\x80\x80"}};
    for (const auto& [code, utf8] : lengths) {
        std::string out = "x";
        AppendUtf8(out, code);
        EXPECT_EQ(out, "x" + utf8) << static_cast<std::uint32_t>(code);
    }
}

// The code page's 256 characters and the table's 441 rows map; every other unit, and each
// half of a surrogate pair, becomes a question mark.
TEST(BestFit, TheCodePageMapsExactlyTheTableBestFitsTheRestBecomesQuestionMarks) {
    const std::pair<char16_t, char> rows[] = {
        {0x007F, '\x7F'}, {0x0080, '?'},    {0x009F, '?'},    {0x00A0, '\xA0'}, {0x00FF, '\xFF'},
        {0x20AC, '\x80'}, {0x0081, '\x81'}, {0x0178, '\x9F'}, {0x0100, 'A'},    {0x0110, '\xD0'},
        {0x4E2D, '?'},    {0xFF5E, '~'},    {0xFF5F, '?'}};
    for (const auto& [unit, byte] : rows) {
        EXPECT_EQ(Utf16ToCp1252BestFit(std::u16string(1, unit)), std::string(1, byte))
            << std::hex << unsigned(unit);
    }
    EXPECT_EQ(Utf16ToCp1252BestFit(u"a\u0141\xD83D\xDE00"), "aL??");
    int mapped = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::string out = Utf16ToCp1252BestFit(std::u16string(1, char16_t(unit)));
        ASSERT_EQ(out.size(), 1u);
        mapped += out != "?" || unit == '?';
    }
    EXPECT_EQ(mapped, 256 + 441);
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
