// The icon image decoders: PNG of every colour type, depth and filter, BMP of every depth with
// its AND mask, damaged images, and scaling.
#include <gtest/gtest.h>

#include <array>

#include "platform/pe/pe_icon_decode.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using Pixels = std::vector<std::uint32_t>;

Pixels Decoded(std::string_view bytes) {
    const auto image = platform::DecodeIconImage(bytes);
    return image ? image->argb : Pixels{0xDEADu};
}

// Red, green, blue, white; red transparent and green half so by tRNS.
const std::string kPalette =
    PngChunk("PLTE", "\xFF\0\0\0\xFF\0\0\0\xFF\xFF\xFF\xFF"s) + PngChunk("tRNS", "\0\x80"s);

TEST(PngImages, DecodeEveryColourTypeAndSampleSize) {
    constexpr std::uint32_t W = 0xFFFFFFFF, K = 0xFF000000;
    struct Row {
        int colourType, depth, width;
        std::string line;  // with its filter byte
        Pixels expected;
    } const rows[] = {
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
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "type " << row.colourType << ", depth " << row.depth);
        const std::string chunks = row.colourType == 3 ? kPalette : "";
        EXPECT_EQ(Decoded(Png(row.width, 1, row.depth, row.colourType, row.line, chunks)),
                  row.expected);
    }
}

// Ten rows of bytes that Paeth often meets in ties, unfiltered and filtered with the filter of
// their number (none, sub, up, average, Paeth, twice) as an encoder does; the step is a whole
// pixel, and one byte below eight bits.
TEST(PngImages, UndoEveryFilterWithTheStepOfThePixelSize) {
    for (const auto& [colourType, depth, width, step] : {std::array{0, 1, 20, 1}, {2, 16, 3, 6}}) {
        const auto rowBytes = static_cast<std::size_t>(width * depth * (colourType + 1) + 7) / 8;
        std::string plain, filtered, previous(rowBytes, '\0'), row = previous;
        const auto at = [](const std::string& s, std::size_t i) -> int {
            return static_cast<unsigned char>(s[i]);
        };
        for (std::size_t y = 0; y < 10; ++y) {
            for (std::size_t x = 0; x < rowBytes; ++x) {
                row[x] = "\x00\x01\x02\x03\x7F\xC8\xFE\xFF"[(x * x + y + 3 * x * y) % 8];
            }
            plain += '\0' + row;
            filtered += static_cast<char>(y % 5);
            for (std::size_t x = 0; x < rowBytes; ++x) {
                const std::size_t s = static_cast<std::size_t>(step);
                const int a = x >= s ? at(row, x - s) : 0, b = at(previous, x),
                          c = x >= s ? at(previous, x - s) : 0, p = a + b - c;
                const int paeth = std::abs(p - a) <= std::min(std::abs(p - b), std::abs(p - c))
                                      ? a
                                      : (std::abs(p - b) <= std::abs(p - c) ? b : c);
                const int prediction[] = {0, a, b, (a + b) / 2, paeth};
                filtered += static_cast<char>(at(row, x) - prediction[y % 5]);
            }
            previous = row;
        }
        const Pixels expected = Decoded(Png(width, 10, depth, colourType, plain));
        ASSERT_EQ(expected.size(), static_cast<std::size_t>(width) * 10);
        EXPECT_EQ(Decoded(Png(width, 10, depth, colourType, filtered)), expected) << colourType;
    }
}

TEST(PngImages, DamagedImagesAreRefusedAndHarmlessOddsAccepted) {
    const std::string lines = "\0\1\2\3\4\5\6\7\x08\0\x09\x0A\x0B\x0C\x0D\x0E\x0F\x10"s;
    const std::string good = Png(2, 2, 8, 6, lines);
    const auto patched = [&](std::size_t at, std::string_view bytes) {
        return std::string(good).replace(at, bytes.size(), bytes);
    };
    const std::size_t idat = good.find("IDAT") - 4;
    const std::string data = good.substr(idat + 8, static_cast<unsigned char>(good[idat + 3]));
    const std::string head = good.substr(0, 33), end = PngChunk("IEND", "");
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
        Png(0, 1, 8, 0, "\0"s), Png(1, 0, 8, 0, ""), Png(1025, 1, 1, 0, std::string(130, '\0')),
        Png(1, 1025, 1, 0, std::string(2050, '\0')),
        // Unknown colour types and depths, each with the data it would have if it were known.
        Png(1, 1, 3, 0, "\0\0"s), Png(1, 1, 16, 3, "\0\0\0"s, kPalette), Png(1, 1, 8, 5, "\0"s)};
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(platform::DecodeIconImage(refused[i]).has_value()) << "case " << i;
    }
    EXPECT_EQ(Decoded(Png(1024, 1024, 1, 0, std::string(129 * 1024, '\0'))).size(), 1024u * 1024);
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
        {Bmp(9, 2, 1, {1, 0, 0, 0, 0, 0, 0, 0, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0}, {0x0000FF, 0xFFFFFF},
             "000000001100000000"),
         {W, B, B, B, B, B, B, B, 0, 0, W, W, B, B, B, B, B, B}},
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

TEST(BmpImages, DamagedOrUnknownImagesAreRefused) {
    const auto bmp = [](int width, int height, int bits, std::uint32_t compression = 0,
                        std::uint32_t header = 40) {
        return Bmp(width, height, bits, Pixels(static_cast<std::size_t>(width * height), 0),
                   Pixels(bits <= 8 ? std::size_t{1} << bits : 0), "", compression, header);
    };
    std::string oddHeight = bmp(1, 1, 24);
    PutU32(oddHeight, 8, 1);                              // picture and mask in one row
    const std::string refused[] = {bmp(1, 1, 24, 0, 39),  // a header too short
                                   bmp(1, 1, 2),
                                   bmp(1, 1, 8, 1),
                                   bmp(1, 1, 24, 3),  // a depth, compressions
                                   bmp(0, 1, 1),
                                   bmp(1025, 1, 1),
                                   bmp(1, 1025, 1),
                                   oddHeight,  // sizes
                                   bmp(1, 1, 8).substr(0, 40 + 1000),
                                   bmp(1, 1, 8).substr(0, 40 + 1024 + 3)};  // cut short
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(platform::DecodeIconImage(refused[i]).has_value()) << "case " << i;
    }
    EXPECT_EQ(Decoded(bmp(1024, 1024, 1)).size(), 1024u * 1024);
}

TEST(ScaleImage, AveragesByAlphaAndRepeatsWhenEnlarging) {
    using platform::Image;
    using platform::ScaleImage;
    const Image square{2, 2, {0xFFFF0000, 0x0000FF00, 0xFFFF0000, 0xFF0000FF}};
    EXPECT_EQ(ScaleImage(square, 1, 1).argb, Pixels{0xBFAA0055});
    EXPECT_EQ(ScaleImage(Image{3, 1, {0xFF00001E, 0xFF00003C, 0xFF00005A}}, 2, 1).argb,
              (Pixels{0xFF00001E, 0xFF00004B}));
    EXPECT_EQ(
        ScaleImage(Image{1, 2, {1u << 24, 2u << 24}}, 2, 4).argb,
        (Pixels{1u << 24, 1u << 24, 1u << 24, 1u << 24, 2u << 24, 2u << 24, 2u << 24, 2u << 24}));
    EXPECT_EQ(ScaleImage(Image{2, 1, {0x00FFFFFF, 0x00FFFFFF}}, 1, 1).argb, Pixels{0});
    EXPECT_EQ(ScaleImage(Image{}, 3, 2).argb, Pixels(6, 0));
}

}  // namespace
}  // namespace rg::test
