// Small icons: decoding every image depth, the shell's choice of group and image, the lookup
// for other files through the provider hook, and the built-in default program icon.
#include <gtest/gtest.h>

#include <set>

#include "platform/os/shell_icon.h"
#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_icon_decode.h"
#include "resources/default_program_icon.h"
#include "tests/support/pe_builder.h"

namespace rg::platform {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kGreen = 0xFF00A000;

// The images stored in an .ico file, in order.
std::vector<std::string> IcoImages(const std::string& ico) {
    std::vector<std::string> images;
    const std::size_t count = static_cast<unsigned char>(ico[4]);
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t entry = 6 + 16 * i;
        images.push_back(ico.substr(test::GetU32(ico, entry + 12), test::GetU32(ico, entry + 8)));
    }
    return images;
}

// The pattern the fixture script draws: white left half, black right half, red origin where
// the depth allows, a transparent 4 x 4 corner at the bottom right.
void ExpectPattern(const Image& image, std::uint32_t origin) {
    ASSERT_EQ(image.width, 16);
    ASSERT_EQ(image.height, 16);
    EXPECT_EQ(image.pixel(0, 0), origin);
    EXPECT_EQ(image.pixel(3, 5), kWhite);
    EXPECT_EQ(image.pixel(12, 2), kBlack);
    EXPECT_EQ(image.pixel(15, 15) >> 24, 0u);
    EXPECT_EQ(image.pixel(12, 12) >> 24, 0u);
    EXPECT_EQ(image.pixel(11, 12), kBlack);  // just outside the transparent corner
}

std::optional<Image> PeIconOf(const std::string& fixture) {
    const std::string bytes = test::ReadBytes(test::FixturePath(fixture));
    return ReadPeIcon(MemoryByteSource(bytes));
}

TEST(IconImages, DecodesEveryDepthWithItsMask) {
    const auto images = IcoImages(test::ReadBytes(test::IconPath("depths.ico")));
    ASSERT_EQ(images.size(), 6u);  // 1, 4, 8, 24 and 32 bits, then PNG
    for (std::size_t i = 0; i < images.size(); ++i) {
        SCOPED_TRACE(i);
        const auto image = DecodeIconImage(images[i]);
        ASSERT_TRUE(image.has_value());
        ExpectPattern(*image, i == 0 ? kWhite : kRed);
    }
}

TEST(IconImages, DamagedImagesAreRefused) {
    const auto images = IcoImages(test::ReadBytes(test::IconPath("depths.ico")));
    for (const std::string& image : images) {
        for (std::size_t length = 0; length < image.size(); length += 5) {
            const auto decoded = DecodeIconImage(image.substr(0, length));
            ASSERT_TRUE(!decoded || decoded->argb.size() == 256u) << length;
        }
    }
    std::string png = images.back();
    png[png.size() / 2] ^= 0x55;  // inside the compressed data
    const auto damaged = DecodeIconImage(png);
    EXPECT_TRUE(!damaged || damaged->argb.size() == 256u);
}

TEST(PeIcons, TakesTheDeepest16PixelImageOfTheFirstGroup) {
    const auto icon = PeIconOf("full");
    ASSERT_TRUE(icon.has_value());
    ExpectPattern(*icon, kRed);  // the 4-bit image would have a blue origin
    ExpectPattern(*PeIconOf("full32"), kRed);
    EXPECT_EQ(PeIconOf("icon_named")->pixel(7, 7), kRed);     // names come before numbers
    EXPECT_EQ(PeIconOf("icon_numbered")->pixel(7, 7), kRed);  // group 3 before group 7
    EXPECT_FALSE(PeIconOf("marks").has_value());
}

TEST(PeIcons, ScalesTheClosestImageWhenThereIsNo16PixelOne) {
    const auto icon = PeIconOf("icon_sizes");  // 48 x 48 green, then 32 x 32 blue (PNG)
    ASSERT_TRUE(icon.has_value());
    ASSERT_EQ(icon->argb.size(), 256u);
    EXPECT_EQ(std::set<std::uint32_t>(icon->argb.begin(), icon->argb.end()),
              std::set<std::uint32_t>{kBlue});
}

class SmallIconLookup : public ::testing::Test {
  protected:
    void TearDown() override { SetFileTypeIconProvider(nullptr); }
    test::ScratchFolder folder_;
};

TEST_F(SmallIconLookup, ProgramsShowTheirOwnIconAndMissingPathsNone) {
    SetFileTypeIconProvider([](const std::string&) { return Image{1, 1, {kGreen}}; });
    ExpectPattern(*LookUpSmallIcon(test::FixturePath("full")), kRed);
    EXPECT_FALSE(LookUpSmallIcon(folder_.path() + "/missing.exe").has_value());
    EXPECT_FALSE(LookUpSmallIcon("").has_value());
}

TEST_F(SmallIconLookup, OtherFilesAskTheProviderWhenThereIsOne) {
    const std::string text = folder_.Write("notes.txt", "hello");
    EXPECT_FALSE(LookUpSmallIcon(text).has_value());
    std::string asked;
    SetFileTypeIconProvider([&](const std::string& path) {
        asked = path;
        return Image{32, 32, std::vector<std::uint32_t>(32 * 32, kGreen)};
    });
    const auto icon = LookUpSmallIcon(text);
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(asked, text);
    EXPECT_EQ(icon->width, 16);
    EXPECT_EQ(icon->pixel(5, 5), kGreen);
    EXPECT_TRUE(LookUpSmallIcon(folder_.path()).has_value());  // folders have a type icon too
    EXPECT_TRUE(LookUpSmallIcon(test::FixturePath("marks")).has_value());  // no icon of its own
    SetFileTypeIconProvider([](const std::string&) { return Image{4, 4, {kGreen}}; });
    EXPECT_FALSE(LookUpSmallIcon(text).has_value());  // a malformed answer counts as none
}

TEST(DefaultProgramIcon, IsAProgramWindowInSixteenColours) {
    const std::set<std::uint32_t> vga = {0x00000000, 0xFF000000, 0xFF808080,
                                         0xFFC0C0C0, 0xFFFFFFFF, 0xFF000080};
    for (const Image* icon : {&DefaultProgramIcon32(), &DefaultProgramIcon16()}) {
        SCOPED_TRACE(icon->width);
        ASSERT_EQ(icon->height, icon->width);
        ASSERT_EQ(icon->argb.size(), static_cast<std::size_t>(icon->width * icon->width));
        for (const std::uint32_t pixel : icon->argb) {
            ASSERT_TRUE(vga.count(pixel)) << std::hex << pixel;
        }
        const int s = icon->width;
        EXPECT_EQ(icon->pixel(s / 2, s / 2 + 2), 0xFFFFFFFF);    // white client area
        EXPECT_EQ(icon->pixel(3, s == 32 ? 7 : 4), 0xFF000080);  // blue title bar, left end
        EXPECT_EQ(icon->pixel(s == 32 ? 27 : 12, s == 32 ? 7 : 4),
                  0xFFC0C0C0);                           // a button at the right
        EXPECT_EQ(icon->pixel(s / 2, s - 1) >> 24, 0u);  // transparent below the window
    }
}

}  // namespace
}  // namespace rg::platform
