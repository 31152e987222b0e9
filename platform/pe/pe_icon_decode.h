// Decoding the images of Windows icons into platform::Image: PNG entries (inflated by zlib) and
// BMP entries without file header, whose height counts the AND mask too (1, 4, 8, 24 and 32
// bits per pixel; the mask gives transparency where there is no alpha), and scaling to the size
// wanted.
#pragma once

#include <optional>
#include <string_view>

#include "platform/base/image.h"

namespace rg::platform {

// Icons are at most 256 x 256; anything claiming more than this is refused.
constexpr int kMaxIconDimension = 1024;

std::optional<Image> DecodePng(std::string_view bytes);
std::optional<Image> DecodeIconBitmap(std::string_view bytes);
// A PNG when the bytes start with the PNG signature, else a BMP.
std::optional<Image> DecodeIconImage(std::string_view bytes);

// Scales by averaging the covered source pixels (weighted by alpha), so that a 32 x 32 image
// becomes a clean 16 x 16 one; enlarging repeats pixels.
Image ScaleImage(const Image& source, int width, int height);

}  // namespace rg::platform
