// The icon image decoders: PNG of every colour type, depth and filter, BMP of every depth with
// its AND mask, damaged images, and scaling.
#include <gtest/gtest.h>

#include <tuple>

#include "platform/pe/pe_icon_decode.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using Pixels = std::vector<std::uint32_t>;

Pixels Decoded(std::string_view bytes) {
    return platform::DecodeIconImage(bytes).value_or(platform::Image{1, 1, {0xDEADu}}).argb;
}

// Red, green, blue, white; red transparent and green half so by tRNS.
const std::string kPalette =
    PngChunk("PLTE", "\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF"s) + PngChunk("tRNS", "\0\x80"s);

TEST(PngImages, DecodeEveryColourTypeAndSampleSize) {
    constexpr std::uint32_t W = 0xFFFFFFFF, K = 0xFF000000;
    // Colour type, depth, width, the line with its filter byte, the pixels.
    const std::tuple<int, int, int, std::string, Pixels> rows[] = {
        {0, 1, 9, "\0\xA0\x80"s, {W, K, W, K, K, K, K, K, W}},
        {0, 2, 4, "\0\x1B"s, {K, 0xFF555555, 0xFFAAAAAA, W}},
        {0, 16, 2, "\0\x12\x34\xAB\xCD"s, {0xFF121212, 0xFFABABAB}},
        {2, 8, 2, "\0\1\2\3\4\5\6"s, {0xFF010203, 0xFF040506}},
        {2, 16, 2, "\0\x11\xAA\x22\xBB\x33\xCC\x44\0\x55\0\x66\0"s, {0xFF112233, 0xFF445566}},
        {3, 1, 2, "\0\x40"s, {0x00FF0000, 0x8000FF00}},
        {3, 4, 2, "\0\x24"s, {0xFF0000FF, 0}},  // an index past the palette is transparent
        {4, 8, 2, "\0\x40\x80\xFF\0"s, {0x80404040, 0x00FFFFFF}},
        {6, 8, 2, "\0\1\2\3\4\5\6\7\x08"s, {0x04010203, 0x08050607}},
    };
    for (const auto& [colourType, depth, width, line, expected] : rows) {
        const std::string chunks = colourType == 3 ? kPalette : "";
        EXPECT_EQ(Decoded(Png(width, 1, depth, colourType, line, chunks)), expected)
            << colourType << ", " << depth;
    }
}

// Rows filtered as an encoder does with none, sub, up, average, Paeth and Paeth again (with
// Paeth's ties of every kind); the step is a whole pixel, and one byte below eight bits.
TEST(PngImages, UndoEveryFilterWithTheStepOfThePixelSize) {
    const std::string filtered =
        "\x00\xFF\xFE\x03\xC8\x03\x7F\x01\x01\x7F\x02\xFF\x7F\xFE\x02\x01\x7F\x00\xFE\x04\xFF"
        "\x03\x7E\x49\x00\x40\x63\x83\x04\x84\x37\xFF\x80\xC9\xFB\x04\xC5\x04\x02\x03\xFE\x02"s;
    EXPECT_EQ(Decoded(Png(2, 6, 8, 2, filtered)),
              (Pixels{0xFFFFFE03, 0xFFC8037F, 0xFF017F02, 0xFF00FE00, 0xFF02FE02, 0xFFFE02FF,
                      0xFF7FC801, 0xFFFEC803, 0xFF03FF00, 0xFFFFC8FE, 0xFFC80302, 0xFF020100}));
    constexpr std::uint32_t W = 0xFFFFFFFF, K = 0xFF000000;
    EXPECT_EQ(Decoded(Png(16, 1, 1, 0, "\x01\xA0\xBC"s)),
              (Pixels{W, K, W, K, K, K, K, K, K, W, K, W, W, W, K, K}));
}

TEST(IconImages, DamagedImagesAreRefusedAndHarmlessOddsAccepted) {
    const std::string lines = "\0\1\2\3\4\5\6\7\x08\0\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"s;
    const std::string good = Png(2, 2, 8, 6, lines);
    const auto patched = [&](std::size_t at, std::string_view bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const std::size_t idat = good.find("IDAT") - 4;
    const std::string data = good.substr(idat + 8, static_cast<unsigned char>(good[idat + 3]));
    const std::string head = good.substr(0, 33), end = PngChunk("IEND", "");
    const auto bmp = [](int width, int height, int bits, std::uint32_t compression = 0,
                        std::uint32_t header = 40) {
        return Bmp(width, height, bits, Pixels(static_cast<std::size_t>(width * height), 0),
                   Pixels(bits <= 8 ? std::size_t{1} << bits : 0), "", compression, header);
    };
    const std::string refused[] = {
        patched(1, "Q"),      // the signature
        patched(12, "IHDX"),  // the first chunk is no header
        head.substr(0, 8) + PngChunk("IHDR", head.substr(16, 12)) + good.substr(33),
        patched(26, "\1"), patched(27, "\1"),  // compression and filter methods
        patched(28, "\1"),                     // interlaced
        patched(idat, "\0\xFF"s),              // a chunk running past the end
        head + end,                            // no image data
        patched(idat + 8, "\xFF"), Png(2, 2, 8, 6, lines.substr(1)),  // too little data
        Png(2, 2, 8, 6, lines + '\0'),                                // too much
        Png(2, 2, 8, 6, '\5' + lines.substr(1)),                      // an unknown filter
        Png(0, 1, 8, 0, "\0"s), Png(1025, 1, 1, 0, std::string(130, '\0')),
        Png(1, 1025, 1, 0, std::string(2050, '\0')),
        // Unknown colour types and depths, each with the data it would have if it were known.
        Png(1, 1, 3, 0, "\0\0"s), Png(1, 1, 16, 3, "\0\0\0"s, kPalette), Png(1, 1, 8, 5, "\0"s),
        bmp(1, 1, 24, 0, 39),                             // a BMP header too short
        bmp(1, 1, 2), bmp(1, 1, 8, 1), bmp(1, 1, 24, 3),  // a depth, compressions
        bmp(0, 1, 1), bmp(1025, 1, 1), bmp(1, 1025, 1),
        Patched(bmp(1, 1, 24), 8, 1),  // sizes; picture and mask in one row
        bmp(1, 1, 8).substr(0, 40 + 1000), bmp(1, 1, 8).substr(0, 40 + 1024 + 3)};  // cut short
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(platform::DecodeIconImage(refused[i]).has_value()) << "case " << i;
    }
    EXPECT_EQ(Decoded(Png(1024, 1024, 1, 0, std::string(129 * 1024, '\0'))).size(), 1024u * 1024);
    EXPECT_EQ(Decoded(bmp(1024, 1024, 1)).size(), 1024u * 1024);
    // Image data split into chunks around another one, nothing after IEND read.
    const std::string split = head + PngChunk("tEXt", "note") +
                              PngChunk("IDAT", data.substr(0, 5)) +
                              PngChunk("IDAT", data.substr(5));
    EXPECT_EQ(Decoded(split + end + PngChunk("IDAT", "junk")), Decoded(good));
}

TEST(BmpImages, DecodeEveryDepthWithItsMask) {
    constexpr std::uint32_t W = 0xFFFFFFFF, B = 0xFF0000FF;
    Pixels wide(256, 0);
    wide[200] = 0x00ABCDEF;
    const std::pair<std::string, Pixels> rows[] = {
        {Bmp(10, 1, 1, {1, 0, 0, 0, 0, 0, 0, 0, 1, 0}, {0x0000FF, 0xFFFFFF}, "0100000001"),
         {W, 0, B, B, B, B, B, B, W, 0}},  // across a byte, in the colours and the mask
        {Bmp(3, 1, 4, {1, 2, 5}, {0, 0x7F112233, 0x445566}, "", 0, 40, 3),
         {0xFF112233, 0xFF445566, 0xFF000000}},  // an index past the table draws black
        {Bmp(2, 1, 8, {200, 0}, wide), {0xFFABCDEF, 0xFF000000}},
        {Bmp(2, 2, 24, {0x123456, 0x654321, 0xABCDEF, 0x0F0F0F}, {}, "0100"),
         {0xFF123456, 0, 0xFFABCDEF, 0xFF0F0F0F}},
        {Bmp(2, 1, 32, {0x80112233, 0x00445566}, {}, "11"), {0x80112233, 0x00445566}},
        {Bmp(2, 1, 32, {0x00112233, 0x00445566}, {}, "01"), {0xFF112233, 0}},  // no alpha
        {Bmp(1, 1, 32, {0x80112233}, {}, "", 3), {0x80112233}},                // BI_BITFIELDS
        {Bmp(1, 1, 32, {0x80112233}, {}, "", 3, 108), {0x80112233}},  // masks in the header
        {Bmp(2, 1, 1, {0, 1}, {0x0000FF, 0x00FF00}, "", 0, 56), {B, 0xFF00FF00}},
        {Bmp(2, 1, 24, {0x123456, 0x654321}, {}, "11").substr(0, 48), {0xFF123456, 0xFF654321}},
    };  // the last without its mask: opaque
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Decoded(rows[i].first), rows[i].second) << "row " << i;
    }
}

TEST(ScaleImage, AveragesByAlpha) {
    using platform::Image, platform::ScaleImage;
    const Image square{2, 2, {0xFFFF0000, 0x0000FF00, 0xFFFF0000, 0xFF0000FF}};
    EXPECT_EQ(ScaleImage(square, 1, 1).argb, Pixels{0xBFAA0055});
    EXPECT_EQ(ScaleImage(Image{3, 1, {0xFF00001E, 0xFF00003C, 0xFF00005A}}, 2, 1).argb,
              (Pixels{0xFF00001E, 0xFF00004B}));
    EXPECT_EQ(ScaleImage(Image{2, 1, {0x00FFFFFF, 0x00FFFFFF}}, 1, 1).argb, Pixels{0});
    EXPECT_EQ(ScaleImage(Image{}, 1, 2).argb, Pixels(2, 0));
}

}  // namespace
}  // namespace rg::test
