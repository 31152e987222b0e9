#include "platform/ini/ini_encoding.h"

#include "platform/base/codepage.h"

namespace rg::platform {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Decodes one character at `pos` and advances past it. An invalid or cut sequence yields
// U+FFFD and advances by one byte, so that every bad byte counts as one character.
char32_t NextCodePoint(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        c = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        c = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        c = lead & 0x07u;
    } else {
        ++pos;
        return 0xFFFD;
    }
    if (pos + length > text.size()) {
        ++pos;
        return 0xFFFD;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0u) != 0x80u) {
            ++pos;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3Fu);
    }
    const bool overlong = (length == 3 && c < 0x800) || (length == 4 && c < 0x10000);
    if (overlong || c > 0x10FFFF) {
        ++pos;
        return 0xFFFD;
    }
    pos += length;
    return c;
}

char16_t UnitAt(std::string_view raw, std::size_t i, bool bigEndian) {
    const auto first = static_cast<unsigned char>(raw[i]);
    const auto second = static_cast<unsigned char>(raw[i + 1]);
    return static_cast<char16_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
}

DecodedProfile DecodeUtf16(std::string_view body, ProfileEncoding encoding) {
    const bool bigEndian = encoding == ProfileEncoding::Utf16Be;
    DecodedProfile decoded;
    decoded.encoding = encoding;
    const std::size_t units = body.size() / 2;
    for (std::size_t u = 0; u < units; ++u) {
        const char16_t unit = UnitAt(body, 2 * u, bigEndian);
        const bool high = unit >= 0xD800 && unit <= 0xDBFF;
        if (high && u + 1 < units) {
            const char16_t low = UnitAt(body, 2 * (u + 1), bigEndian);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                const char32_t pair = 0x10000 + ((unit - 0xD800u) << 10) + (low - 0xDC00u);
                AppendUtf8(decoded.text, pair);
                ++u;
                continue;
            }
        }
        AppendUtf8(decoded.text, unit);
    }
    decoded.trailer = std::string(body.substr(units * 2));
    return decoded;
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
    const auto high = static_cast<char>(unit >> 8);
    const auto low = static_cast<char>(unit & 0xFF);
    out += bigEndian ? high : low;
    out += bigEndian ? low : high;
}

// The inverse of DecodeUtf16. The working text of a UTF-16 file only ever holds well-formed
// (generalised) UTF-8: what the decoder made, and what ToWorkingText adds.
std::string EncodeUtf16(std::string_view text, bool bigEndian) {
    std::string out;
    out.reserve(text.size() * 2);
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto lead = static_cast<unsigned char>(text[pos]);
        char32_t c = 0;
        if (lead >= 0xE0 && lead <= 0xEF && pos + 3 <= text.size()) {
            // Three-byte forms include encoded lone surrogates, which NextCodePoint accepts too.
            c = ((lead & 0x0Fu) << 12) |
                ((static_cast<unsigned char>(text[pos + 1]) & 0x3Fu) << 6) |
                (static_cast<unsigned char>(text[pos + 2]) & 0x3Fu);
            pos += 3;
        } else {
            c = NextCodePoint(text, pos);
        }
        if (c >= 0x10000) {
            AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
            AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
        } else {
            AppendUnit(out, static_cast<char16_t>(c), bigEndian);
        }
    }
    return out;
}

}  // namespace

DecodedProfile DecodeProfileBytes(std::string_view raw) {
    if (raw.starts_with(kUtf8Mark)) {
        return {ProfileEncoding::Utf8, std::string(raw.substr(kUtf8Mark.size())), {}};
    }
    if (raw.starts_with(kUtf16LeMark)) {
        return DecodeUtf16(raw.substr(2), ProfileEncoding::Utf16Le);
    }
    if (raw.starts_with(kUtf16BeMark)) {
        return DecodeUtf16(raw.substr(2), ProfileEncoding::Utf16Be);
    }
    return {ProfileEncoding::Ansi, std::string(raw), {}};
}

std::string EncodeProfileBytes(ProfileEncoding encoding, std::string_view text,
                               std::string_view trailer) {
    switch (encoding) {
        case ProfileEncoding::Ansi:
            return std::string(text);
        case ProfileEncoding::Utf8:
            return std::string(kUtf8Mark) + std::string(text);
        case ProfileEncoding::Utf16Le:
            return std::string(kUtf16LeMark) + EncodeUtf16(text, false) + std::string(trailer);
        case ProfileEncoding::Utf16Be:
            return std::string(kUtf16BeMark) + EncodeUtf16(text, true) + std::string(trailer);
    }
    return std::string(text);
}

std::string ToWorkingText(ProfileEncoding encoding, std::string_view cp1252) {
    return encoding == ProfileEncoding::Ansi ? std::string(cp1252) : Cp1252ToUtf8(cp1252);
}

std::string FromWorkingText(ProfileEncoding encoding, std::string_view working) {
    if (encoding == ProfileEncoding::Ansi) {
        return std::string(working);
    }
    std::string out;
    out.reserve(working.size());
    std::size_t pos = 0;
    while (pos < working.size()) {
        const char32_t c = NextCodePoint(working, pos);
        std::string one;
        const bool mapped = c < 0x10000 && Utf16ToCp1252Exact(std::u16string(1, char16_t(c)), one);
        out += mapped ? one : std::string("?");
    }
    return out;
}

}  // namespace rg::platform
