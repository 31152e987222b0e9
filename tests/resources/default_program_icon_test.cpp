// The built-in default program icon at both sizes, pixel by pixel.
#include <gtest/gtest.h>

#include <algorithm>

#include "resources/default_program_icon.h"

namespace rg::test {
namespace {

// Rows of the picture, each repeated as often as its count says: '.' transparent, 'd' dark grey,
// 'g' grey, 'n' navy, 'w' white, 'k' black.
using Rows = std::pair<int, const char*>;

std::string Picture(const platform::Image& image) {
    const std::uint32_t colours[] = {0x00000000, 0xFF808080, 0xFFC0C0C0,
                                     0xFF000080, 0xFFFFFFFF, 0xFF000000};
    std::string picture;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            picture += ".dgnwk?"[std::ranges::find(colours, image.pixel(x, y)) - colours];
        }
        picture += '\n';
    }
    return picture;
}

std::string Picture(std::initializer_list<Rows> rows) {
    std::string picture;
    for (const auto& [count, pixels] : rows) {
        for (int i = 0; i < count; ++i) {
            picture += std::string(pixels) + '\n';
        }
    }
    return picture;
}

TEST(DefaultProgramIcon, IsAWindowWithATitleBarAndThreeButtonsAtBothSizes) {
    EXPECT_EQ(Picture(DefaultProgramIcon16()), Picture({{1, "................"},
                                                        {1, "dddddddddddddddd"},
                                                        {1, "dggggggggggggggd"},
                                                        {2, "dgnnnggnggnggngd"},
                                                        {1, "dgnnnnnnnnnnnngd"},
                                                        {1, "dggggggggggggggd"},
                                                        {6, "dgwwwwwwwwwwwwgd"},
                                                        {1, "dggggggggggggggd"},
                                                        {1, "dddddddddddddddd"},
                                                        {1, "................"}}));
    EXPECT_EQ(Picture(DefaultProgramIcon32()), Picture({{3, "................................"},
                                                        {1, ".dddddddddddddddddddddddddddddd."},
                                                        {1, ".dggggggggggggggggggggggggggggd."},
                                                        {1, ".dgnnnnnnnnnnnnnnnnnnnnnnnnnngd."},
                                                        {2, ".dgnnnnnnnnnnnggggnggggnggggngd."},
                                                        {1, ".dgnnnnnnnnnnngkkgngkkgngkkgngd."},
                                                        {1, ".dgnnnnnnnnnnnggggnggggnggggngd."},
                                                        {1, ".dgnnnnnnnnnnnnnnnnnnnnnnnnnngd."},
                                                        {1, ".dggggggggggggggggggggggggggggd."},
                                                        {15, ".dgwwwwwwwwwwwwwwwwwwwwwwwwwwgd."},
                                                        {1, ".dggggggggggggggggggggggggggggd."},
                                                        {1, ".dddddddddddddddddddddddddddddd."},
                                                        {3, "................................"}}));
}

}  // namespace
}  // namespace rg::test
