#include "platform/base/text_collation.h"

namespace rg::platform {
namespace {

// Base letters of 0xC0-0xFF, one per byte, '\0' where the byte keeps its own place.
constexpr char kLatin1Base[] =
    "aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0\0aaaaaa\0ceeeeiiii\0nooooo\0ouuuuy\0y";
static_assert(sizeof(kLatin1Base) == 64 + 1, "one entry per byte from 0xC0 to 0xFF");

struct Expansion {
    char first = '\0';
    char second = '\0';  // '\0': one letter only
};

// The primary key of one byte: its base letter(s) without accent and case.
Expansion BaseOf(unsigned char byte) {
    switch (byte) {
        case 0x8A:
        case 0x9A:
            return {'s'};
        case 0x8C:
        case 0x9C:
            return {'o', 'e'};
        case 0x8E:
        case 0x9E:
            return {'z'};
        case 0x9F:
            return {'y'};
        case 0xC6:
        case 0xE6:
            return {'a', 'e'};
        case 0xDF:
            return {'s', 's'};
        default:
            break;
    }
    if (byte >= 0xC0) {
        const char base = kLatin1Base[byte - 0xC0];
        if (base != '\0') {
            return {base};
        }
    }
    return {LowerCp1252(static_cast<char>(byte))};
}

// Primary weight of a letter: the base letters sort in the order of their lower-case bytes.
std::string PrimaryKey(std::string_view text) {
    std::string key;
    key.reserve(text.size());
    for (const char c : text) {
        const Expansion base = BaseOf(static_cast<unsigned char>(c));
        key.push_back(base.first);
        if (base.second != '\0') {
            key.push_back(base.second);
        }
    }
    return key;
}

int CompareBytes(std::string_view a, std::string_view b) {
    const int order = a.compare(b);
    return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

char LowerCp1252(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 'A' && byte <= 'Z') || (byte >= 0xC0 && byte <= 0xDE && byte != 0xD7)) {
        return static_cast<char>(byte + 0x20);
    }
    switch (byte) {
        case 0x8A:
        case 0x8C:
        case 0x8E:
            return static_cast<char>(byte + 0x10);
        case 0x9F:
            return static_cast<char>(0xFF);
        default:
            return c;
    }
}

std::string LowerCp1252(std::string_view text) {
    std::string lower(text);
    for (char& c : lower) {
        c = LowerCp1252(c);
    }
    return lower;
}

int CollateCp1252(std::string_view a, std::string_view b) {
    if (const int primary = CompareBytes(PrimaryKey(a), PrimaryKey(b)); primary != 0) {
        return primary;
    }
    // Same letters: the accents decide, then the case, then the bytes themselves.
    if (const int accents = CompareBytes(LowerCp1252(a), LowerCp1252(b)); accents != 0) {
        return accents;
    }
    return -CompareBytes(a, b);  // lower case first, as Windows sorts "abc" before "ABC"
}

}  // namespace rg::platform
