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

class SmallIconLookup : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::SetFileTypeIconProvider([this](const std::string& path) {
            asked_.push_back(path);
            return answer_;
        });
    }
    void TearDown() override { platform::SetFileTypeIconProvider(nullptr); }

    TempFolder folder_;
    std::vector<std::string> asked_;
    std::optional<Image> answer_ = Image{32, 16, std::vector<std::uint32_t>(32 * 16, kGreen)};
};

TEST_F(SmallIconLookup, ProgramsShowTheirOwnIconAndMissingPathsNone) {
    const auto own = LookUpSmallIcon(FixturePath("full"));
    ASSERT_TRUE(own.has_value());
    EXPECT_EQ(own->pixel(0, 0), 0xFFFF0000);  // the red origin of its icon
    EXPECT_FALSE(LookUpSmallIcon(folder_ / "missing.exe").has_value());
    EXPECT_FALSE(LookUpSmallIcon("").has_value());
    EXPECT_TRUE(asked_.empty());
}

TEST_F(SmallIconLookup, EverythingElseAsksTheProvider) {
    const std::string text = folder_.Write("notes.txt", "hello");
    for (const std::string& path : {text, folder_.path(), FixturePath("marks")}) {
        const auto icon = LookUpSmallIcon(path);
        ASSERT_TRUE(icon.has_value()) << path;
        EXPECT_EQ(icon->width, 16);
        EXPECT_EQ(icon->height, 16);  // scaled from 32 x 16
        EXPECT_EQ(icon->argb, std::vector<std::uint32_t>(256, kGreen));
    }
    EXPECT_EQ(asked_, (std::vector<std::string>{text, folder_.path(), FixturePath("marks")}));
    for (const auto& answer : {std::optional<Image>{}, std::optional<Image>{Image{}},
                               std::optional<Image>{Image{4, 4, {kGreen}}}}) {
        answer_ = answer;
        EXPECT_FALSE(LookUpSmallIcon(text).has_value());  // none, or a malformed one
    }
    platform::SetFileTypeIconProvider(nullptr);
    EXPECT_FALSE(LookUpSmallIcon(text).has_value());
}

}  // namespace
}  // namespace rg::test
