// Windows' best-fit conversion from UTF-16 to code page 1252.
#include <gtest/gtest.h>

#include "platform/base/codepage.h"

namespace rg::test {
namespace {

std::string Convert(char16_t unit) {
    return platform::Utf16ToCp1252BestFit(std::u16string(1, unit));
}

// The code page's 256 characters and the table's 441 rows map; every other unit, and each
// half of a surrogate pair, becomes a question mark.
TEST(BestFit, TheCodePageMapsExactlyTheTableBestFitsTheRestBecomesQuestionMarks) {
    const std::pair<char16_t, char> rows[] = {
        {0x007F, '\x7F'}, {0x0080, '?'},    {0x009F, '?'},    {0x00A0, '\xA0'}, {0x00FF, '\xFF'},
        {0x20AC, '\x80'}, {0x0081, '\x81'}, {0x0178, '\x9F'}, {0x0100, 'A'},    {0x0110, '\xD0'},
        {0x4E2D, '?'},    {0xFF5E, '~'},    {0xFF5F, '?'}};
    for (const auto& [unit, byte] : rows) {
        EXPECT_EQ(Convert(unit), std::string(1, byte)) << std::hex << unsigned(unit);
    }
    EXPECT_EQ(platform::Utf16ToCp1252BestFit(u"a\u0141\xD83D\xDE00"), "aL??");
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
