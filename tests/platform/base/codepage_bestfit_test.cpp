// Windows' best-fit conversion from UTF-16 to code page 1252.
#include <gtest/gtest.h>

#include "platform/base/codepage.h"

namespace rg::test {
namespace {

std::string Convert(char16_t unit) {
    return platform::Utf16ToCp1252BestFit(std::u16string(1, unit));
}

TEST(BestFit, CodePageCharactersMapExactlyTheTableBestFitsTheRestBecomesQuestionMarks) {
    const std::pair<char16_t, char> rows[] = {
        {0x0000, '\0'},   {0x007F, '\x7F'}, {0x00A0, '\xA0'}, {0x00E9, '\xE9'}, {0x00FF, '\xFF'},
        {0x20AC, '\x80'}, {0x2122, '\x99'}, {0x0178, '\x9F'}, {0x0081, '\x81'}, {0x009D, '\x9D'},
        {0x0080, '?'},    {0x009F, '?'},    {0x0430, '?'},    {0x4E2D, '?'},    {0xD83D, '?'},
        {0x0100, 'A'},    {0x0110, '\xD0'}, {0x0141, 'L'},    {0x0191, '\x83'}, {0x01C3, '!'},
        {0x02C9, '\xAF'}, {0x03B2, '\xDF'}, {0x03BC, '\xB5'}, {0x2000, ' '},    {0x2212, '-'},
        {0x2248, '\x98'}, {0x2264, '='},    {0x2502, '\xA6'}, {0x263C, '\xA4'}, {0x3000, ' '},
        {0x30FB, '\xB7'}, {0xFF01, '!'},    {0xFF5E, '~'},    {0x212B, '\xC5'}, {0x20A7, 'P'},
        {0x0101, 'a'},    {0xFF5F, '?'}};
    for (const auto& [unit, byte] : rows) {
        EXPECT_EQ(Convert(unit), std::string(1, byte)) << std::hex << unsigned(unit);
    }
    EXPECT_EQ(platform::Utf16ToCp1252BestFit(u"a\u0141\xD83D\xDE00"), "aL??");
}

// The code page's 256 characters and the table's 441 rows map; no other unit does.
TEST(BestFit, ExactlyTheCodePageAndTheTableMapToSomethingOtherThanAQuestionMark) {
    int mapped = 0;
    for (unsigned unit = 0; unit <= 0xFFFF; ++unit) {
        const std::string out = Convert(static_cast<char16_t>(unit));
        ASSERT_EQ(out.size(), 1u);
        mapped += out != "?" || unit == '?';
    }
    EXPECT_EQ(mapped, 256 + 441);
}

}  // namespace
}  // namespace rg::test
