// A small picture in memory: rows top to bottom, each pixel 0xAARRGGBB (straight alpha).
// Icons travel through the core in this form; the Qt layer turns them into QImages.
#pragma once

#include <cstdint>
#include <vector>

namespace rg::platform {

struct Image {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> argb;  // width * height pixels

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t pixel(int x, int y) const { return argb[static_cast<std::size_t>(y * width + x)]; }
};

}  // namespace rg::platform
