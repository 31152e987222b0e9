// The small icon of a PE image: the choice of image in the first group (exact size with the
// deepest colours, else the closest size, the earlier one on a tie), images that cannot be
// read, and an image of the wanted size taken as it is.
#include <gtest/gtest.h>

#include "platform/pe/pe_icon.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using Entries = std::vector<std::vector<int>>;  // width, height, bit count, icon id

// The colour marking image i of a group.
const auto Mark = [](int i) { return 0xFF000010u + 0x10u * static_cast<unsigned>(i); };

// The one colour of the square icon of `size` of a PE whose first group holds `entries`, or 0;
// the image with id `id` is a 1 x 1 BMP of colour Mark(position in the group), or junk when the
// id is in `broken`.
std::uint32_t IconColour(const Entries& entries, const std::vector<int>& broken = {},
                         int size = 16) {
    std::vector<PeResource> resources = {{14, 1, 0, IconGroup(entries)}};
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const int id = entries[i][3];
        const bool junk = std::find(broken.begin(), broken.end(), id) != broken.end();
        resources.push_back({3, id, 0, junk ? "junk" : Bmp(1, 1, 24, {Mark(static_cast<int>(i))})});
    }
    const auto icon = platform::ReadPeIcon(platform::MemoryByteSource(BuildPe(resources)), size);
    const bool plain = icon && icon->width == size && icon->height == size &&
                       icon->argb == std::vector<std::uint32_t>(size * size, icon->argb[0]);
    return plain ? icon->argb[0] : 0;
}

TEST(PeIcon, ChoosesTheImageAsTheShellDoesAndSkipsWhatCannotBeRead) {
    const std::pair<Entries, int> rows[] = {
        {{{32, 32, 32, 1}, {16, 16, 4, 2}, {16, 16, 32, 3}, {16, 16, 32, 4}}, 2},  // deepest 16
        {{{48, 48, 32, 1}, {24, 24, 32, 2}}, 1},                                   // closest
        {{{20, 20, 4, 1}, {12, 12, 32, 2}}, 0},     // equally close: the earlier, not the deeper
        {{{16, 32, 32, 1}, {24, 20, 32, 2}}, 1},    // width and height both count
        {{{255, 17, 32, 1}, {256, 16, 32, 2}}, 0},  // 0 stands for 256
    };
    for (const auto& [entries, expected] : rows) {
        EXPECT_EQ(IconColour(entries), Mark(expected)) << entries.size() << " " << expected;
    }
    EXPECT_EQ(IconColour({{16, 16, 32, 1}, {32, 32, 4, 2}}, {}, 32), Mark(1));
    // Images that cannot be read are skipped, up to eight tries.
    Entries nine;
    for (int id = 1; id <= 9; ++id) {
        nine.push_back({16, 16, 32 - id, id});  // in order of preference
    }
    EXPECT_EQ(IconColour(nine, {1, 2, 3, 4, 5, 6, 7, 8}), 0u);  // only the ninth can be read
    EXPECT_EQ(IconColour(Entries(nine.begin(), nine.end() - 1), {1, 2, 3, 4, 5, 6, 7}), Mark(7));
    // A group cut short keeps the entries it has; a missing image is skipped.
    const std::string cut =
        Patched(IconGroup({{32, 32, 32, 1}, {16, 16, 32, 5}, {16, 16, 32, 2}}), 4, 4, 2);
    const auto icon = platform::ReadPeIcon(platform::MemoryByteSource(
        BuildPe({{14, 1, 0, cut}, {3, 1, 0, Bmp(1, 1, 24, {1})}, {3, 2, 0, Bmp(1, 1, 24, {2})}})));
    EXPECT_EQ(icon.value_or(platform::Image{}).argb, std::vector<std::uint32_t>(256, 0xFF000002));
}

// A transparent pixel keeps its colour: the image was not scaled.
TEST(PeIcon, AnImageOfTheWantedSizeIsTakenAsItIs) {
    std::vector<std::uint32_t> pixels(256, 0xFFFFFFFF);
    pixels[17] = 0x00FF0000;
    const auto exact = platform::ReadPeIcon(platform::MemoryByteSource(
        BuildPe({{14, 1, 0, IconGroup({{16, 16, 32, 1}})}, {3, 1, 0, Bmp(16, 16, 32, pixels)}})));
    EXPECT_EQ(exact.value_or(platform::Image{}).argb, pixels);
}

}  // namespace
}  // namespace rg::test
