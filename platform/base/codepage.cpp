#include "platform/base/codepage.h"

#include <array>

namespace rg::platform {
namespace {

// 0x80-0x9F of code page 1252; the five undefined bytes map to the C1 control of the same value.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool UnicodeToCp1252(char32_t c, char& out) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out = static_cast<char>(c);
        return true;
    }
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            out = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

char16_t Cp1252ToUnicode(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kHighControls[byte - 0x80];
    }
    return byte;
}

std::u16string Cp1252ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        out += Cp1252ToUnicode(static_cast<unsigned char>(b));
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char b : bytes) {
        AppendUtf8(out, Cp1252ToUnicode(static_cast<unsigned char>(b)));
    }
    return out;
}

bool Utf16ToCp1252Exact(std::u16string_view text, std::string& out) {
    out.clear();
    for (const char16_t unit : text) {
        char byte = 0;
        if (!UnicodeToCp1252(unit, byte)) {
            return false;
        }
        out += byte;
    }
    return true;
}

namespace {

// The character that starts at utf8[at]: its code point and how many bytes it takes; false for
// a byte that starts no valid sequence (it then counts as one byte).
bool DecodeUtf8(std::string_view utf8, std::size_t at, char32_t& c, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(utf8[at]);
    std::size_t extra = 0;
    if (lead < 0x80) {
        c = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        c = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        c = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        c = lead & 0x07;
        extra = 3;
    } else {
        length = 1;
        return false;
    }
    length = 1;
    if (at + extra >= utf8.size() && extra > 0) {
        return false;  // a sequence cut short at the end
    }
    for (std::size_t k = 1; k <= extra; ++k) {
        const auto next = static_cast<unsigned char>(utf8[at + k]);
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        c = (c << 6) | (next & 0x3F);
    }
    length = extra + 1;
    return true;
}

}  // namespace

bool Utf8ToCp1252Exact(std::string_view utf8, std::string& out) {
    out.clear();
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        std::size_t length = 0;
        char byte = 0;
        if (!DecodeUtf8(utf8, i, c, length) || !UnicodeToCp1252(c, byte)) {
            return false;
        }
        out += byte;
        i += length;
    }
    return true;
}

std::string Utf8ToCp1252Lossy(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t c = 0;
        std::size_t length = 0;
        char byte = 0;
        const bool known = DecodeUtf8(utf8, i, c, length) && UnicodeToCp1252(c, byte);
        out += known ? byte : '?';
        i += length;
    }
    return out;
}

}  // namespace rg::platform
