#include "platform/ini/ini_text.h"

#include <algorithm>

namespace rg::platform {

bool IsProfileBlank(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x1A || byte == 0x20;
}

std::string_view TrimLeadingProfileBlanks(std::string_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsProfileBlank(text[start])) {
        ++start;
    }
    return text.substr(start);
}

std::string_view TrimProfileBlanks(std::string_view text) {
    text = TrimLeadingProfileBlanks(text);
    std::size_t end = text.size();
    while (end > 0 && IsProfileBlank(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

char FoldAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string FoldAscii(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        c = FoldAscii(c);
    }
    return folded;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldAscii(a[i]) != FoldAscii(b[i])) {
            return false;
        }
    }
    return true;
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

std::size_t FindLineEnd(std::string_view text, std::size_t from) {
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            return i;
        }
    }
    return std::string_view::npos;
}

}  // namespace rg::platform
