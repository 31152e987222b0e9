// The small icon of a PE image: the choice of image in the first group (exact size with the
// deepest colours, else the closest size, the earlier one on a tie), images that cannot be
// read, and the icons of the compiled fixtures.
#include <gtest/gtest.h>

#include "platform/pe/pe_icon.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using Entries = std::vector<std::vector<int>>;  // width, height, bit count, icon id

// The colour marking image i of a group.
std::uint32_t Mark(int i) {
    return 0xFF000000u | static_cast<std::uint32_t>(0x10 * (i + 1));
}

// The icon of a PE whose first group holds `entries`; the image with id `id` is a 1 x 1 BMP of
// colour Mark(position in the group), or junk when the id is in `broken`.
std::optional<platform::Image> IconOf(const Entries& entries, const std::vector<int>& broken = {},
                                      int size = 16) {
    std::vector<PeResource> resources = {{14, 1, 0, IconGroup(entries)}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int id = entries[i][3];
        const bool junk = std::find(broken.begin(), broken.end(), id) != broken.end();
        resources.push_back({3, id, 0, junk ? "junk" : Bmp(1, 1, 24, {Mark(static_cast<int>(i))})});
    }
    return platform::ReadPeIcon(platform::MemoryByteSource(BuildPe(resources)), size);
}

// The one colour of a square icon of `size`; 0 when there is none.
std::uint32_t Colour(const std::optional<platform::Image>& icon, int size = 16) {
    const bool plain = icon && icon->width == size && icon->height == size &&
                       icon->argb == std::vector<std::uint32_t>(size * size, icon->argb[0]);
    return plain ? icon->argb[0] : 0;
}

TEST(PeIcon, ChoosesTheImageAsTheShellDoes) {
    const std::pair<Entries, int> rows[] = {
        {{{32, 32, 32, 1}, {16, 16, 4, 2}, {16, 16, 32, 3}, {16, 16, 32, 4}}, 2},  // deepest 16
        {{{48, 48, 32, 1}, {24, 24, 32, 2}}, 1},                                   // closest
        {{{20, 20, 4, 1}, {12, 12, 32, 2}}, 0},     // equally close: the earlier, not the deeper
        {{{16, 32, 32, 1}, {24, 20, 32, 2}}, 1},    // width and height both count
        {{{256, 16, 32, 1}, {255, 17, 32, 2}}, 0},  // 0 stands for 256
        {{{255, 17, 32, 1}, {256, 16, 32, 2}}, 0},
    };
    for (const auto& [entries, expected] : rows) {
        EXPECT_EQ(Colour(IconOf(entries)), Mark(expected)) << entries.size() << " " << expected;
    }
    EXPECT_EQ(Colour(IconOf({{16, 16, 32, 1}, {32, 32, 4, 2}}, {}, 32), 32), Mark(1));
}

TEST(PeIcon, SkipsImagesThatCannotBeReadUpToEightTries) {
    EXPECT_EQ(Colour(IconOf({{16, 16, 32, 1}, {16, 16, 8, 2}}, {1})), Mark(1));
    Entries entries;
    std::vector<int> broken;
    for (int id = 1; id <= 9; ++id) {
        entries.push_back({16, 16, 32 - id, id});  // in order of preference
        broken.push_back(id);
    }
    broken.pop_back();  // only the ninth can be read
    EXPECT_FALSE(IconOf(entries, broken).has_value());
    entries.pop_back();
    broken.pop_back();  // the eighth can be read
    EXPECT_EQ(Colour(IconOf(entries, broken)), Mark(7));
    // A group cut short keeps the entries it has; an empty group, a missing image.
    std::string cut = IconGroup({{32, 32, 32, 1}, {16, 16, 32, 2}});
    PutU16(cut, 4, 3);
    const std::string red = Bmp(1, 1, 24, {0xFFFF0000});
    const std::string blue = Bmp(1, 1, 24, {0xFF0000FF});
    const auto icon = [](const std::string& group, const std::string& one, const std::string& two) {
        return platform::ReadPeIcon(platform::MemoryByteSource(
            BuildPe({{14, 1, 0, group}, {3, 1, 0, one}, {3, 2, 0, two}})));
    };
    EXPECT_EQ(Colour(icon(cut, red, blue)), 0xFF0000FF);
    const std::string wide = Bmp(16, 8, 24, std::vector<std::uint32_t>(128, 0xFF0000FF));
    EXPECT_EQ(Colour(icon(IconGroup({{16, 16, 32, 1}}), wide, red)), 0xFF0000FF);  // scaled
    EXPECT_FALSE(icon(IconGroup({}), red, blue).has_value());
    EXPECT_FALSE(icon(IconGroup({{16, 16, 32, 5}}), red, blue).has_value());
}

TEST(PeIcon, AnImageOfTheWantedSizeIsTakenAsItIs) {
    std::vector<std::uint32_t> pixels(256, 0xFFFFFFFF);
    pixels[17] = 0x80FF0000;
    const auto icon = platform::ReadPeIcon(platform::MemoryByteSource(
        BuildPe({{14, 1, 0, IconGroup({{16, 16, 32, 1}})}, {3, 1, 0, Bmp(16, 16, 32, pixels)}})));
    ASSERT_TRUE(icon.has_value());
    EXPECT_EQ(icon->argb, pixels);
}

std::optional<platform::Image> FixtureIcon(const std::string& name) {
    return platform::ReadPeIcon(
        platform::MemoryByteSource(TempFolder::ReadFile(FixturePath(name))));
}

TEST(PeIcon, IconsOfTheCompiledFixtures) {
    // White left half, black right half, red (0, 0), a transparent 4 x 4 corner at the bottom
    // right: the deepest 16 x 16 image, not the 4-bit one with a blue origin.
    for (const char* fixture : {"full", "full32", "icon_depths"}) {
        const auto icon = FixtureIcon(fixture);
        ASSERT_TRUE(icon && icon->width == 16 && icon->height == 16) << fixture;
        for (const auto& [x, y, argb] : {std::tuple{0, 0, 0xFFFF0000},
                                         {3, 5, 0xFFFFFFFF},
                                         {11, 12, 0xFF000000},
                                         {12, 12, 0},
                                         {15, 15, 0}}) {
            EXPECT_EQ(icon->pixel(x, y) >> (argb ? 0 : 24), argb) << fixture << x << "," << y;
        }
    }
    EXPECT_EQ(Colour(FixtureIcon("icon_named")), 0xFFFF0000);     // names before numbers
    EXPECT_EQ(Colour(FixtureIcon("icon_numbered")), 0xFFFF0000);  // group 3 before group 7
    EXPECT_EQ(Colour(FixtureIcon("icon_sizes")), 0xFF0000FF);     // 32 x 32 (PNG), not 48
    EXPECT_FALSE(FixtureIcon("marks").has_value());
}

}  // namespace
}  // namespace rg::test
