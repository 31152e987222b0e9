#include "platform/pe_inflate.h"

#include <array>
#include <cstdint>

namespace rg::platform {
namespace {

constexpr int kMaxBits = 15;
constexpr int kMaxLiteralCodes = 288;
constexpr int kMaxDistanceCodes = 30;

constexpr std::array<std::uint16_t, 29> kLengthBase = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                                       15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                                       67, 83, 99, 115, 131, 163, 195, 227, 258};
constexpr std::array<std::uint8_t, 29> kLengthExtra = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                                       2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
constexpr std::array<std::uint16_t, 30> kDistanceBase = {
    1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
    193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
constexpr std::array<std::uint8_t, 30> kDistanceExtra = {0, 0, 0,  0,  1,  1,  2,  2,  3,  3,
                                                         4, 4, 5,  5,  6,  6,  7,  7,  8,  8,
                                                         9, 9, 10, 10, 11, 11, 12, 12, 13, 13};

// A canonical Huffman code: how many codes of each length, and the symbols in code order.
struct Huffman {
    std::array<std::uint16_t, kMaxBits + 1> counts{};
    std::array<std::uint16_t, kMaxLiteralCodes> symbols{};
};

// Builds the code from the lengths; false when the lengths are over-subscribed.
bool BuildHuffman(Huffman& code, const std::uint8_t* lengths, int count) {
    code.counts.fill(0);
    for (int i = 0; i < count; ++i) {
        ++code.counts[lengths[i]];
    }
    int left = 1;
    for (int bits = 1; bits <= kMaxBits; ++bits) {
        left = left * 2 - code.counts[bits];
        if (left < 0) {
            return false;
        }
    }
    std::array<std::uint16_t, kMaxBits + 1> offsets{};
    for (int bits = 1; bits < kMaxBits; ++bits) {
        offsets[bits + 1] = static_cast<std::uint16_t>(offsets[bits] + code.counts[bits]);
    }
    for (int i = 0; i < count; ++i) {
        if (lengths[i] != 0) {
            code.symbols[offsets[lengths[i]]++] = static_cast<std::uint16_t>(i);
        }
    }
    return true;
}

class Inflater {
  public:
    Inflater(std::string_view in, std::size_t maxOutput) : in_(in), maxOutput_(maxOutput) {}

    bool Run() {
        bool last = false;
        while (!last) {
            int type = 0;
            if (!Bits(1, last) || !Bits(2, type)) {
                return false;
            }
            const bool ok = type == 0   ? Stored()
                            : type == 1 ? FixedBlock()
                            : type == 2 ? DynamicBlock()
                                        : false;
            if (!ok) {
                return false;
            }
        }
        return true;
    }
    std::string& Output() { return out_; }

  private:
    template <typename T>
    bool Bits(int need, T& value) {
        std::uint32_t result = 0;
        for (int i = 0; i < need; ++i) {
            if (bitPos_ >= in_.size() * 8) {
                return false;
            }
            const auto byte = static_cast<std::uint8_t>(in_[bitPos_ / 8]);
            result |= static_cast<std::uint32_t>((byte >> (bitPos_ % 8)) & 1u) << i;
            ++bitPos_;
        }
        value = static_cast<T>(result);
        return true;
    }

    bool Decode(const Huffman& code, int& symbol) {
        int first = 0;
        int index = 0;
        int value = 0;
        for (int bits = 1; bits <= kMaxBits; ++bits) {
            int bit = 0;
            if (!Bits(1, bit)) {
                return false;
            }
            value |= bit;
            const int count = code.counts[bits];
            if (value - count < first) {
                symbol = code.symbols[index + (value - first)];
                return true;
            }
            index += count;
            first = (first + count) << 1;
            value <<= 1;
        }
        return false;  // no code of up to 15 bits matches
    }

    bool Stored() {
        bitPos_ = (bitPos_ + 7) & ~std::size_t{7};
        const std::size_t at = bitPos_ / 8;
        if (at + 4 > in_.size()) {
            return false;
        }
        const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(in_[at + i]); };
        const unsigned length = byte(0) | (byte(1) << 8);
        const unsigned check = byte(2) | (byte(3) << 8);
        if ((length ^ 0xFFFFu) != check || at + 4 + length > in_.size() ||
            out_.size() + length > maxOutput_) {
            return false;
        }
        out_.append(in_.substr(at + 4, length));
        bitPos_ = (at + 4 + length) * 8;
        return true;
    }

    bool FixedBlock() {
        std::array<std::uint8_t, kMaxLiteralCodes + kMaxDistanceCodes> lengths{};
        for (int i = 0; i < kMaxLiteralCodes; ++i) {
            lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
        }
        for (int i = 0; i < kMaxDistanceCodes; ++i) {
            lengths[kMaxLiteralCodes + i] = 5;
        }
        Huffman literals;
        Huffman distances;
        BuildHuffman(literals, lengths.data(), kMaxLiteralCodes);
        BuildHuffman(distances, lengths.data() + kMaxLiteralCodes, kMaxDistanceCodes);
        return Codes(literals, distances);
    }

    bool DynamicBlock() {
        int literalCount = 0;
        int distanceCount = 0;
        int codeCount = 0;
        if (!Bits(5, literalCount) || !Bits(5, distanceCount) || !Bits(4, codeCount)) {
            return false;
        }
        literalCount += 257;
        distanceCount += 1;
        codeCount += 4;
        if (literalCount > 286 || distanceCount > kMaxDistanceCodes) {
            return false;
        }
        static constexpr std::array<std::uint8_t, 19> kOrder = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                                                11, 4,  12, 3, 13, 2, 14, 1, 15};
        std::array<std::uint8_t, 19> codeLengths{};
        for (int i = 0; i < codeCount; ++i) {
            if (!Bits(3, codeLengths[kOrder[i]])) {
                return false;
            }
        }
        Huffman lengthCode;
        if (!BuildHuffman(lengthCode, codeLengths.data(), 19)) {
            return false;
        }
        std::array<std::uint8_t, kMaxLiteralCodes + kMaxDistanceCodes> lengths{};
        if (!ReadLengths(lengthCode, lengths.data(), literalCount + distanceCount)) {
            return false;
        }
        if (lengths[256] == 0) {
            return false;  // a block without its end code
        }
        Huffman literals;
        Huffman distances;
        if (!BuildHuffman(literals, lengths.data(), literalCount) ||
            !BuildHuffman(distances, lengths.data() + literalCount, distanceCount)) {
            return false;
        }
        return Codes(literals, distances);
    }

    bool ReadLengths(const Huffman& lengthCode, std::uint8_t* lengths, int total) {
        int index = 0;
        while (index < total) {
            int symbol = 0;
            if (!Decode(lengthCode, symbol)) {
                return false;
            }
            if (symbol < 16) {
                lengths[index++] = static_cast<std::uint8_t>(symbol);
                continue;
            }
            std::uint8_t repeated = 0;
            int times = 0;
            if (symbol == 16) {
                if (index == 0 || !Bits(2, times)) {
                    return false;
                }
                repeated = lengths[index - 1];
                times += 3;
            } else if (symbol == 17) {
                if (!Bits(3, times)) {
                    return false;
                }
                times += 3;
            } else {
                if (!Bits(7, times)) {
                    return false;
                }
                times += 11;
            }
            if (index + times > total) {
                return false;
            }
            while (times-- > 0) {
                lengths[index++] = repeated;
            }
        }
        return true;
    }

    bool Codes(const Huffman& literals, const Huffman& distances) {
        for (;;) {
            int symbol = 0;
            if (!Decode(literals, symbol)) {
                return false;
            }
            if (symbol < 256) {
                if (out_.size() >= maxOutput_) {
                    return false;
                }
                out_ += static_cast<char>(symbol);
                continue;
            }
            if (symbol == 256) {
                return true;
            }
            if (!CopyMatch(distances, symbol - 257)) {
                return false;
            }
        }
    }

    bool CopyMatch(const Huffman& distances, int lengthSymbol) {
        if (lengthSymbol >= static_cast<int>(kLengthBase.size())) {
            return false;
        }
        int extra = 0;
        if (!Bits(kLengthExtra[lengthSymbol], extra)) {
            return false;
        }
        const std::size_t length = kLengthBase[lengthSymbol] + static_cast<std::size_t>(extra);
        int distanceSymbol = 0;
        if (!Decode(distances, distanceSymbol) || distanceSymbol >= kMaxDistanceCodes ||
            !Bits(kDistanceExtra[distanceSymbol], extra)) {
            return false;
        }
        const std::size_t distance =
            kDistanceBase[distanceSymbol] + static_cast<std::size_t>(extra);
        if (distance > out_.size() || out_.size() + length > maxOutput_) {
            return false;
        }
        const std::size_t from = out_.size() - distance;
        for (std::size_t i = 0; i < length; ++i) {
            out_ += out_[from + i];
        }
        return true;
    }

    std::string_view in_;
    std::size_t maxOutput_;
    std::size_t bitPos_ = 0;
    std::string out_;
};

}  // namespace

std::optional<std::string> InflateZlib(std::string_view stream, std::size_t maxOutput) {
    if (stream.size() < 2) {
        return std::nullopt;
    }
    const auto cmf = static_cast<std::uint8_t>(stream[0]);
    const auto flags = static_cast<std::uint8_t>(stream[1]);
    const bool deflate = (cmf & 0x0F) == 8 && (cmf >> 4) <= 7;
    const bool checked = ((cmf << 8) | flags) % 31 == 0;
    if (!deflate || !checked || (flags & 0x20) != 0) {
        return std::nullopt;  // not deflate, damaged header, or a preset dictionary
    }
    Inflater inflater(stream.substr(2), maxOutput);
    if (!inflater.Run()) {
        return std::nullopt;
    }
    return std::move(inflater.Output());
}

}  // namespace rg::platform
