// Windows' UTF-16 to code page 1252 conversion with best fit (declared in codepage.h).
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/base/codepage.h"

namespace rg::platform {
namespace {

struct BestFitRow {
    std::uint16_t unit;
    std::uint8_t byte;
};

constexpr BestFitRow kBestFit[] = {
#include "platform/base/codepage_bestfit_table.inc"
};

// The 32 bytes 0x80-0x9F stand for scattered characters; their reverse lookup is this table.
struct HighByteTable {
    std::array<std::uint16_t, 32> units{};
    HighByteTable() {
        for (unsigned byte = 0x80; byte <= 0x9F; ++byte) {
            units[byte - 0x80] = Cp1252ToUnicode(static_cast<unsigned char>(byte));
        }
    }
};

char ConvertUnit(char16_t unit) {
    if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) {
        return static_cast<char>(unit);
    }
    static const HighByteTable high;
    for (std::size_t i = 0; i < high.units.size(); ++i) {
        if (high.units[i] == unit) {
            return static_cast<char>(0x80 + i);
        }
    }
    const auto* end = std::end(kBestFit);
    const auto* row = std::lower_bound(
        std::begin(kBestFit), end, unit,
        [](const BestFitRow& r, char16_t u) { return r.unit < static_cast<std::uint16_t>(u); });
    if (row != end && row->unit == unit) {
        return static_cast<char>(row->byte);
    }
    return '?';
}

}  // namespace

std::string Utf16ToCp1252BestFit(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char16_t unit : text) {
        out += ConvertUnit(unit);
    }
    return out;
}

}  // namespace rg::platform
