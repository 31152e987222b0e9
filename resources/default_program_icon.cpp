#include "resources/default_program_icon.h"

#include <cstdint>

namespace rg {
namespace {

// Colours of the 16-colour VGA palette used by the picture.
constexpr std::uint32_t kTransparent = 0x00000000;
constexpr std::uint32_t kBlack = 0xFF000000;
constexpr std::uint32_t kDarkGrey = 0xFF808080;
constexpr std::uint32_t kGrey = 0xFFC0C0C0;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr std::uint32_t kNavy = 0xFF000080;

// Where the parts of the window lie for one size of the picture.
struct Layout {
    int size;
    int left, top, right, bottom;  // the window's outer edge, inclusive
    int titleHeight;               // rows of the title bar below the frame
    int buttonSize;                // square title-bar buttons
};

void Fill(platform::Image& image, int x0, int y0, int x1, int y1, std::uint32_t colour) {
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            image.argb[platform::PixelIndex(x, y, image.width)] = colour;
        }
    }
}

platform::Image Draw(const Layout& l) {
    platform::Image image;
    image.width = l.size;
    image.height = l.size;
    image.argb.assign(static_cast<std::size_t>(l.size) * static_cast<std::size_t>(l.size),
                      kTransparent);
    // The frame: a dark outline around a grey border one pixel wide.
    Fill(image, l.left, l.top, l.right, l.bottom, kDarkGrey);
    Fill(image, l.left + 1, l.top + 1, l.right - 1, l.bottom - 1, kGrey);
    const int titleTop = l.top + 2;
    const int titleBottom = titleTop + l.titleHeight - 1;
    Fill(image, l.left + 2, titleTop, l.right - 2, titleBottom, kNavy);
    Fill(image, l.left + 2, titleBottom + 2, l.right - 2, l.bottom - 2, kWhite);
    // Three buttons at the right end of the title bar, one pixel apart.
    const int buttonTop = titleTop + (l.titleHeight - l.buttonSize) / 2;
    for (int i = 0; i < 3; ++i) {
        const int right = l.right - 3 - i * (l.buttonSize + 1);
        const int left = right - l.buttonSize + 1;
        Fill(image, left, buttonTop, right, buttonTop + l.buttonSize - 1, kGrey);
        if (l.buttonSize >= 3) {
            Fill(image, left + 1, buttonTop + l.buttonSize - 2, right - 1,
                 buttonTop + l.buttonSize - 2, kBlack);  // a glyph line on the larger buttons
        }
    }
    return image;
}

}  // namespace

const platform::Image& DefaultProgramIcon32() {
    static const platform::Image image = Draw(Layout{32, 1, 3, 30, 28, 6, 4});
    return image;
}

const platform::Image& DefaultProgramIcon16() {
    static const platform::Image image = Draw(Layout{16, 0, 1, 15, 14, 3, 2});
    return image;
}

}  // namespace rg
