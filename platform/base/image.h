// A small picture in memory: rows top to bottom, each pixel 0xAARRGGBB (straight alpha).
// Icons travel through the core in this form; the Qt layer turns them into QImages.
#pragma once

#include <cstdint>
#include <vector>

namespace rg::platform {

// The index of pixel (x, y) in rows of `width` pixels, computed in the index type.
inline std::size_t PixelIndex(int x, int y, int width) {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
           static_cast<std::size_t>(x);
}

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height pixels

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t pixel(int x, int y) const { return argb[PixelIndex(x, y, width)]; }
};

}  // namespace rg::platform
