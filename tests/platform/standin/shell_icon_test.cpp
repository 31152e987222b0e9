// The shell's small-icon lookup: a program's own icon, the provider of file-type icons for
// everything else that exists, and no icon for what does not.
#include <gtest/gtest.h>

#include "platform/os/shell_icon.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using platform::Image;
using platform::LookUpSmallIcon;

constexpr std::uint32_t kGreen = 0xFF00A000;

TEST(SmallIconLookup, ProgramsShowTheirOwnIconEverythingElseThatExistsAsksTheProvider) {
    const TempFolder folder;
    std::vector<std::string> asked;
    std::optional<Image> answer = Image{32, 16, std::vector<std::uint32_t>(32 * 16, kGreen)};
    platform::SetFileTypeIconProvider([&](const std::string& path) {
        asked.push_back(path);
        return answer;
    });
    // A program's own icon: white left half, black right half, red (0, 0), a transparent 4 x 4
    // corner at the bottom right; the deepest 16 x 16 image, not the 4-bit one with a blue origin.
    const Image own = LookUpSmallIcon(FixturePath("full")).value_or(Image{});
    ASSERT_EQ(own.argb.size(), 256u);
    for (const auto& [x, y, argb] :
         {std::tuple{0, 0, 0xFFFF0000}, {3, 5, 0xFFFFFFFF}, {11, 12, 0xFF000000}, {12, 12, 0}}) {
        EXPECT_EQ(own.pixel(x, y) >> (argb ? 0 : 24), argb) << x << "," << y;
    }

    const std::string text = folder.Write("notes.txt", "hello");
    for (const std::string& path : {text, folder.path()}) {
        const auto icon = LookUpSmallIcon(path);
        ASSERT_TRUE(icon.has_value()) << path;
        EXPECT_EQ(std::pair(icon->width, icon->height), std::pair(16, 16));  // from 32 x 16
        EXPECT_EQ(icon->argb, std::vector<std::uint32_t>(256, kGreen));
    }
    EXPECT_EQ(asked, (std::vector<std::string>{text, folder.path()}));
    for (const auto& malformed : {std::optional<Image>{}, std::optional<Image>{Image{}},
                                  std::optional<Image>{Image{4, 4, {kGreen}}}}) {
        answer = malformed;
        EXPECT_FALSE(LookUpSmallIcon(text).has_value());
    }
    platform::SetFileTypeIconProvider(nullptr);
    EXPECT_FALSE(LookUpSmallIcon(text).has_value());
}

}  // namespace
}  // namespace rg::test
