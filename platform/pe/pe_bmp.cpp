// BMP icon images (see pe_icon_decode.h): a BITMAPINFOHEADER, the colour table, the colour
// rows bottom-up, then the 1-bit AND mask rows; rows are padded to 4 bytes.
#include <algorithm>
#include <cstdint>

#include "platform/pe/pe_bytes.h"
#include "platform/pe/pe_icon_decode.h"

namespace rg::platform {
namespace {

// BITMAPINFOHEADER fields and compressions.
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::size_t kHeaderWidth = 4;
constexpr std::size_t kHeaderHeight = 8;  // of picture and mask together
constexpr std::size_t kHeaderBitCount = 14;
constexpr std::size_t kHeaderCompression = 16;
constexpr std::size_t kHeaderColoursUsed = 32;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;
constexpr std::size_t kBitFieldMasksSize = 12;  // three 32-bit masks after a 40-byte header
constexpr std::size_t kPaletteEntrySize = 4;    // blue, green, red, reserved

struct BitmapLayout {
    int width = 0;
    int height = 0;  // of the picture, without the mask
    int bitCount = 0;
    std::size_t paletteOffset = 0;
    std::size_t colours = 0;
    std::size_t colourOffset = 0;
    std::size_t colourStride = 0;
    std::size_t maskOffset = 0;
    std::size_t maskStride = 0;
};

std::optional<BitmapLayout> ReadLayout(const LeBytes& bytes) {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t doubledHeight = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    if (!bytes.U32(0, headerSize) || headerSize < kInfoHeaderSize ||
        !bytes.I32(kHeaderWidth, width) || !bytes.I32(kHeaderHeight, doubledHeight) ||
        !bytes.U16(kHeaderBitCount, bitCount) || !bytes.U32(kHeaderCompression, compression) ||
        !bytes.U32(kHeaderColoursUsed, coloursUsed)) {
        return std::nullopt;
    }
    const bool knownDepth =
        bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24 || bitCount == 32;
    const bool knownCompression =
        compression == kRgb || (compression == kBitFields && bitCount == 32);
    if (!knownDepth || !knownCompression || width < 1 || width > kMaxIconDimension ||
        doubledHeight < 2 || doubledHeight / 2 > kMaxIconDimension) {
        return std::nullopt;
    }
    BitmapLayout layout;
    layout.width = width;
    layout.height = doubledHeight / 2;
    layout.bitCount = bitCount;
    layout.paletteOffset = headerSize;
    if (bitCount <= 8) {
        const std::size_t full = std::size_t{1} << bitCount;
        layout.colours = coloursUsed != 0 ? std::min<std::size_t>(coloursUsed, full) : full;
    }
    // BI_BITFIELDS stores three masks after the header; 32-bit icons use the usual BGRA order.
    const std::size_t masks =
        compression == kBitFields && headerSize == kInfoHeaderSize ? kBitFieldMasksSize : 0;
    layout.colourOffset = std::size_t{headerSize} + masks + layout.colours * kPaletteEntrySize;
    layout.colourStride = (static_cast<std::size_t>(width) * bitCount + 31) / 32 * 4;
    layout.maskOffset = layout.colourOffset + layout.colourStride * layout.height;
    layout.maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    if (!bytes.Has(layout.paletteOffset, layout.colours * kPaletteEntrySize) ||
        !bytes.Has(layout.colourOffset, layout.colourStride * layout.height)) {
        return std::nullopt;
    }
    return layout;
}

std::uint32_t PaletteColour(const LeBytes& bytes, const BitmapLayout& layout, std::size_t index) {
    if (index >= layout.colours) {
        return 0xFF000000u;  // an index beyond the table draws black, as GDI does
    }
    std::uint32_t bgrx = 0;
    bytes.U32(layout.paletteOffset + index * kPaletteEntrySize, bgrx);
    return 0xFF000000u | (bgrx & 0x00FFFFFFu);
}

// The colour of pixel x in a stored row, with full alpha (32-bit: the stored alpha).
std::uint32_t ColourAt(const LeBytes& bytes, const BitmapLayout& layout, std::size_t row, int x) {
    const auto ux = static_cast<std::size_t>(x);
    switch (layout.bitCount) {
        case 1:
            return PaletteColour(bytes, layout, (bytes.At(row + ux / 8) >> (7 - ux % 8)) & 1);
        case 4:
            return PaletteColour(bytes, layout, (bytes.At(row + ux / 2) >> (ux % 2 ? 0 : 4)) & 15);
        case 8:
            return PaletteColour(bytes, layout, bytes.At(row + ux));
        case 24:
            return 0xFF000000u | (std::uint32_t{bytes.At(row + 3 * ux + 2)} << 16) |
                   (std::uint32_t{bytes.At(row + 3 * ux + 1)} << 8) | bytes.At(row + 3 * ux);
        default: {
            std::uint32_t bgra = 0;
            bytes.U32(row + 4 * ux, bgra);
            return bgra;
        }
    }
}

bool MaskSaysTransparent(const LeBytes& bytes, const BitmapLayout& layout, int y, int x) {
    const std::size_t row =
        layout.maskOffset + layout.maskStride * static_cast<std::size_t>(layout.height - 1 - y);
    std::uint8_t byte = 0;
    if (!bytes.U8(row + static_cast<std::size_t>(x) / 8, byte)) {
        return false;  // a missing mask leaves the picture opaque
    }
    return ((byte >> (7 - x % 8)) & 1) != 0;
}

}  // namespace

std::optional<Image> DecodeIconBitmap(std::string_view data) {
    const LeBytes bytes(data);
    const auto layout = ReadLayout(bytes);
    if (!layout) {
        return std::nullopt;
    }
    Image image;
    image.width = layout->width;
    image.height = layout->height;
    image.argb.resize(static_cast<std::size_t>(layout->width) * layout->height);
    bool anyAlpha = false;
    for (int y = 0; y < layout->height; ++y) {
        const std::size_t row =
            layout->colourOffset +
            layout->colourStride * static_cast<std::size_t>(layout->height - 1 - y);
        for (int x = 0; x < layout->width; ++x) {
            const std::uint32_t colour = ColourAt(bytes, *layout, row, x);
            anyAlpha = anyAlpha || (layout->bitCount == 32 && (colour >> 24) != 0);
            image.argb[PixelIndex(x, y, layout->width)] = colour;
        }
    }
    if (anyAlpha) {
        return image;  // a 32-bit image with an alpha channel ignores its mask
    }
    for (int y = 0; y < layout->height; ++y) {
        for (int x = 0; x < layout->width; ++x) {
            auto& pixel = image.argb[PixelIndex(x, y, layout->width)];
            pixel = MaskSaysTransparent(bytes, *layout, y, x) ? 0u : (pixel | 0xFF000000u);
        }
    }
    return image;
}

std::optional<Image> DecodeIconImage(std::string_view bytes) {
    if (bytes.size() >= 8 && bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1A\n", 8)) {
        return DecodePng(bytes);
    }
    return DecodeIconBitmap(bytes);
}

Image ScaleImage(const Image& source, int width, int height) {
    Image out;
    out.width = width;
    out.height = height;
    out.argb.assign(static_cast<std::size_t>(width) * height, 0u);
    if (source.empty()) {
        return out;
    }
    for (int ty = 0; ty < height; ++ty) {
        const int y0 = ty * source.height / height;
        const int y1 = std::max(y0 + 1, (ty + 1) * source.height / height);
        for (int tx = 0; tx < width; ++tx) {
            const int x0 = tx * source.width / width;
            const int x1 = std::max(x0 + 1, (tx + 1) * source.width / width);
            std::uint64_t a = 0, r = 0, g = 0, b = 0, count = 0;
            for (int y = y0; y < y1; ++y) {
                for (int x = x0; x < x1; ++x) {
                    const std::uint32_t p = source.pixel(x, y);
                    const std::uint32_t alpha = p >> 24;
                    a += alpha;
                    r += std::size_t{alpha} * ((p >> 16) & 0xFF);
                    g += std::size_t{alpha} * ((p >> 8) & 0xFF);
                    b += std::size_t{alpha} * (p & 0xFF);
                    ++count;
                }
            }
            std::uint32_t pixel = 0;
            if (a > 0) {
                pixel = static_cast<std::uint32_t>(a / count) << 24 |
                        static_cast<std::uint32_t>(r / a) << 16 |
                        static_cast<std::uint32_t>(g / a) << 8 | static_cast<std::uint32_t>(b / a);
            }
            out.argb[PixelIndex(tx, ty, width)] = pixel;
        }
    }
    return out;
}

}  // namespace rg::platform
