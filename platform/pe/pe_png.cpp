// PNG decoding for icon images (see pe_icon_decode.h).
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "platform/pe/pe_icon_decode.h"

namespace rg::platform {
namespace {

constexpr std::string_view kPngSignature("\x89PNG\r\n\x1A\n", 8);

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    }
    return value;
}

struct PngHeader {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int depth = 0;
    int colorType = 0;
    int channels = 0;
};

struct PngParts {
    PngHeader header;
    std::string data;                          // the IDAT chunks joined
    std::array<std::uint32_t, 256> palette{};  // 0xAARRGGBB
    std::size_t paletteSize = 0;
};

int ChannelsOf(int colorType, int depth) {
    switch (colorType) {
        case 0:
            return (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16) ? 1 : 0;
        case 2:
            return (depth == 8 || depth == 16) ? 3 : 0;
        case 3:
            return (depth == 1 || depth == 2 || depth == 4 || depth == 8) ? 1 : 0;
        case 4:
            return (depth == 8 || depth == 16) ? 2 : 0;
        case 6:
            return (depth == 8 || depth == 16) ? 4 : 0;
        default:
            return 0;
    }
}

bool ReadHeader(std::string_view chunk, PngHeader& header) {
    if (chunk.size() != 13) {
        return false;
    }
    header.width = BigEndian32(chunk, 0);
    header.height = BigEndian32(chunk, 4);
    header.depth = static_cast<std::uint8_t>(chunk[8]);
    header.colorType = static_cast<std::uint8_t>(chunk[9]);
    header.channels = ChannelsOf(header.colorType, header.depth);
    const bool plain = chunk[10] == 0 && chunk[11] == 0 && chunk[12] == 0;  // no interlacing
    return plain && header.channels != 0 && header.width >= 1 && header.height >= 1 &&
           header.width <= kMaxIconDimension && header.height <= kMaxIconDimension;
}

void ReadPalette(std::string_view chunk, PngParts& parts) {
    parts.paletteSize = std::min<std::size_t>(chunk.size() / 3, 256);
    for (std::size_t i = 0; i < parts.paletteSize; ++i) {
        parts.palette[i] = 0xFF000000u |
                           (std::uint32_t{static_cast<std::uint8_t>(chunk[3 * i])} << 16) |
                           (std::uint32_t{static_cast<std::uint8_t>(chunk[3 * i + 1])} << 8) |
                           static_cast<std::uint8_t>(chunk[3 * i + 2]);
    }
}

void ReadTransparency(std::string_view chunk, PngParts& parts) {
    const std::size_t count = std::min(chunk.size(), parts.paletteSize);
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint32_t alpha = static_cast<std::uint8_t>(chunk[i]);
        parts.palette[i] = (parts.palette[i] & 0x00FFFFFFu) | (alpha << 24);
    }
}

bool SplitChunks(std::string_view bytes, PngParts& parts) {
    std::size_t at = kPngSignature.size();
    bool haveHeader = false;
    while (at + 12 <= bytes.size()) {
        const std::uint32_t length = BigEndian32(bytes, at);
        const std::string_view type = bytes.substr(at + 4, 4);
        if (length > bytes.size() - at - 12) {
            return false;
        }
        const std::string_view chunk = bytes.substr(at + 8, length);
        if (!haveHeader) {
            if (type != "IHDR" || !ReadHeader(chunk, parts.header)) {
                return false;
            }
            haveHeader = true;
        } else if (type == "PLTE") {
            ReadPalette(chunk, parts);
        } else if (type == "tRNS" && parts.header.colorType == 3) {
            ReadTransparency(chunk, parts);
        } else if (type == "IDAT") {
            parts.data.append(chunk);
        } else if (type == "IEND") {
            break;
        }
        at += 12 + length;
    }
    return haveHeader && !parts.data.empty();
}

// Inflates the image data (one zlib stream) into exactly `expected` bytes; nullopt when the
// stream is damaged, ends early or would give more.
std::optional<std::string> InflateImageData(std::string_view stream, std::size_t expected) {
    constexpr std::size_t kLargestBlock = std::numeric_limits<uInt>::max();
    if (stream.size() > kLargestBlock || expected > kLargestBlock) {
        return std::nullopt;
    }
    std::string out(expected, '\0');
    z_stream z{};
    if (inflateInit(&z) != Z_OK) {
        return std::nullopt;
    }
    // zlib takes a non-const pointer for its input but never writes through it.
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(stream.data()));
    z.avail_in = static_cast<uInt>(stream.size());
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(expected);
    const int result = inflate(&z, Z_FINISH);
    const bool complete = result == Z_STREAM_END && z.avail_out == 0;
    inflateEnd(&z);
    if (!complete) {
        return std::nullopt;
    }
    return out;
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc) {
        return a;
    }
    return pb <= pc ? b : c;
}

// Undoes the per-row filters in place; rows are `rowBytes` long after their filter byte.
bool Unfilter(std::string& raw, std::size_t rows, std::size_t rowBytes, std::size_t step) {
    std::string previous(rowBytes, '\0');
    for (std::size_t y = 0; y < rows; ++y) {
        auto* row = reinterpret_cast<std::uint8_t*>(raw.data() + y * (rowBytes + 1));
        const int filter = row[0];
        std::uint8_t* cur = row + 1;
        const auto* up = reinterpret_cast<const std::uint8_t*>(previous.data());
        for (std::size_t x = 0; x < rowBytes; ++x) {
            const int left = x >= step ? cur[x - step] : 0;
            const int above = up[x];
            const int corner = x >= step ? up[x - step] : 0;
            int add = 0;
            switch (filter) {
                case 0:
                    add = 0;
                    break;
                case 1:
                    add = left;
                    break;
                case 2:
                    add = above;
                    break;
                case 3:
                    add = (left + above) / 2;
                    break;
                case 4:
                    add = Paeth(left, above, corner);
                    break;
                default:
                    return false;
            }
            cur[x] = static_cast<std::uint8_t>(cur[x] + add);
        }
        previous.assign(reinterpret_cast<const char*>(cur), rowBytes);
    }
    return true;
}

// The `index`-th sample of a row, scaled to 8 bits.
int Sample(const std::uint8_t* row, std::size_t index, int depth) {
    if (depth == 8) {
        return row[index];
    }
    if (depth == 16) {
        return row[2 * index];
    }
    const std::size_t bit = index * static_cast<std::size_t>(depth);
    const int value =
        (row[bit / 8] >> (8 - depth - static_cast<int>(bit % 8))) & ((1 << depth) - 1);
    return value;  // palette indexes stay indexes; grey levels are widened by the caller
}

std::uint32_t Argb(int a, int r, int g, int b) {
    return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(r) << 16) |
           (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

std::uint32_t PixelAt(const PngParts& parts, const std::uint8_t* row, std::size_t x) {
    const PngHeader& h = parts.header;
    const std::size_t base = x * static_cast<std::size_t>(h.channels);
    const auto grey = [&](std::size_t i) {
        const int value = Sample(row, i, h.depth);
        return h.depth < 8 ? value * 255 / ((1 << h.depth) - 1) : value;
    };
    switch (h.colorType) {
        case 0: {
            const int v = grey(x);
            return Argb(255, v, v, v);
        }
        case 2:
            return Argb(255, Sample(row, base, h.depth), Sample(row, base + 1, h.depth),
                        Sample(row, base + 2, h.depth));
        case 3: {
            const auto index = static_cast<std::size_t>(Sample(row, x, h.depth));
            return index < parts.paletteSize ? parts.palette[index] : 0u;
        }
        case 4: {
            const int v = Sample(row, base, h.depth);
            return Argb(Sample(row, base + 1, h.depth), v, v, v);
        }
        default:
            return Argb(Sample(row, base + 3, h.depth), Sample(row, base, h.depth),
                        Sample(row, base + 1, h.depth), Sample(row, base + 2, h.depth));
    }
}

}  // namespace

std::optional<Image> DecodePng(std::string_view bytes) {
    if (bytes.substr(0, kPngSignature.size()) != kPngSignature) {
        return std::nullopt;
    }
    PngParts parts;
    if (!SplitChunks(bytes, parts)) {
        return std::nullopt;
    }
    const PngHeader& h = parts.header;
    const std::size_t bitsPerPixel = static_cast<std::size_t>(h.channels) * h.depth;
    const std::size_t rowBytes = (h.width * bitsPerPixel + 7) / 8;
    const std::size_t expected = h.height * (rowBytes + 1);
    auto raw = InflateImageData(parts.data, expected);
    if (!raw || !Unfilter(*raw, h.height, rowBytes, std::max<std::size_t>(1, bitsPerPixel / 8))) {
        return std::nullopt;
    }
    Image image;
    image.width = static_cast<int>(h.width);
    image.height = static_cast<int>(h.height);
    image.argb.resize(static_cast<std::size_t>(h.width) * h.height);
    for (std::size_t y = 0; y < h.height; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint8_t*>(raw->data() + y * (rowBytes + 1) + 1);
        for (std::size_t x = 0; x < h.width; ++x) {
            image.argb[y * h.width + x] = PixelAt(parts, row, x);
        }
    }
    return image;
}

}  // namespace rg::platform
