// Windows' best-fit conversion to code page 1252 and the plain-text test built on it.
#include <gtest/gtest.h>

#include "fileinfo/file_properties.h"
#include "platform/base/codepage.h"

namespace rg {
namespace {

std::string Convert(char16_t unit) {
    return platform::Utf16ToCp1252BestFit(std::u16string(1, unit));
}

TEST(BestFit, ReferenceRowsMapToTheirBytes) {
    const std::pair<char16_t, char> rows[] = {
        {0x0100, 'A'},    {0x0110, '\xD0'}, {0x0141, 'L'},    {0x0191, '\x83'}, {0x01C3, '!'},
        {0x02C9, '\xAF'}, {0x03B2, '\xDF'}, {0x03BC, '\xB5'}, {0x2000, ' '},    {0x2212, '-'},
        {0x2248, '\x98'}, {0x2264, '='},    {0x2502, '\xA6'}, {0x263C, '\xA4'}, {0x3000, ' '},
        {0x30FB, '\xB7'}, {0xFF01, '!'},    {0xFF5E, '~'},    {0x212B, '\xC5'}, {0x20A7, 'P'}};
    for (const auto& [unit, byte] : rows) {
        EXPECT_EQ(Convert(unit), std::string(1, byte)) << std::hex << unsigned(unit);
    }
}

TEST(BestFit, CodePageCharactersMapExactlyAndTheRestBecomesQuestionMarks) {
    EXPECT_EQ(Convert(0x2122), "\x99");  // the trade mark sign stays itself
    EXPECT_EQ(Convert(0x20AC), "\x80");
    EXPECT_EQ(Convert(0x0081), "\x81");  // the five undefined bytes map to their C1 controls
    EXPECT_EQ(Convert(0x009D), "\x9D");
    EXPECT_EQ(Convert(0x0080), "?");  // other C1 controls have no byte
    EXPECT_EQ(Convert(0x00E9), "\xE9");
    EXPECT_EQ(Convert(0x0430), "?");                                   // Cyrillic
    EXPECT_EQ(Convert(0x4E2D), "?");                                   // Chinese
    EXPECT_EQ(platform::Utf16ToCp1252BestFit(u"\xD83D\xDE00"), "??");  // each surrogate half
    EXPECT_EQ(Convert(0x0000), std::string(1, '\0'));
}

// The table has 441 rows beyond the 256 characters of the code page; no other unit maps.
TEST(BestFit, ExactlyTheTableAndTheCodePageMapToSomethingOtherThanAQuestionMark) {
    int mapped = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::string out = Convert(static_cast<char16_t>(unit));
        ASSERT_EQ(out.size(), 1u);
        if (out != "?" || unit == '?') {
            ++mapped;
        }
    }
    EXPECT_EQ(mapped, 256 + 441);
}

TEST(PlainText, RejectsEveryCharacterWithAByteAbove122) {
    EXPECT_TRUE(fileinfo::IsPlainText("Sample Tool 1.2"));
    EXPECT_TRUE(fileinfo::IsPlainText("\x99"));  // U+2122: bytes 0x21 and 0x22
    EXPECT_TRUE(fileinfo::IsPlainText("????"));
    EXPECT_TRUE(fileinfo::IsPlainText("\tTab"));
    EXPECT_TRUE(fileinfo::IsPlainText("z"));
    for (const char* bad : {"\xAE", "\xA9", "\x80", "\x8E", "{", "|", "}", "~", "\xE9", "\x81"}) {
        EXPECT_FALSE(fileinfo::IsPlainText(std::string("ab") + bad)) << bad;
    }
}

}  // namespace
}  // namespace rg
