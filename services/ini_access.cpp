#include "services/ini_access.h"

#include <algorithm>
#include <string>

#include "platform/ini/profile_api.h"
#include "services/cipher.h"
#include "services/run_error.h"

namespace rg {
namespace {

constexpr platform::DWORD kReadBufferLength = 255;

std::string_view WithoutLeadingSpaces(std::string_view value) {
    const std::size_t first = value.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string_view() : value.substr(first);
}

// The bytes that reading trims from both ends of a value: 0x09-0x0D, 0x1A and the space.
bool IsTrimmedOnReading(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (byte >= 0x09 && byte <= 0x0D) || byte == 0x1A || byte == 0x20;
}

bool HoldsLineBreakOrNul(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

// Whether the profile API gives `stored` back unchanged when it reads it.
bool ReadsBackUnchanged(std::string_view stored) {
    if (HoldsLineBreakOrNul(stored)) {
        return false;
    }
    if (!stored.empty() &&
        (IsTrimmedOnReading(stored.front()) || IsTrimmedOnReading(stored.back()))) {
        return false;
    }
    const bool quoted = stored.size() > 1 && (stored.front() == '"' || stored.front() == '\'') &&
                        stored.back() == stored.front();
    return !quoted;
}

// A key that the file would read back as itself: no line break, no "=", not a header.
bool CanStandAsKey(std::string_view key) {
    const std::size_t first = key.find_first_not_of(" \t\v\f\x1A");
    const bool looksLikeHeader =
        first != std::string_view::npos && key[first] == '[' && key.find(']') != key.npos;
    return !HoldsLineBreakOrNul(key) && key.find('=') == std::string_view::npos && !looksLikeHeader;
}

std::string StoredText(std::string_view section, std::string_view value, bool encipher) {
    const std::string_view plain = WithoutLeadingSpaces(value);
    return encipher ? EncryptText(plain, section) : std::string(plain);
}

}  // namespace

std::string ReadINI(std::string_view section, std::string_view key, std::string_view fallback,
                    std::string_view filePath, bool decipher) {
    std::string text;
    try {
        std::string buffer(kReadBufferLength, '\0');
        const platform::DWORD count = platform::GetPrivateProfileStringA(
            section, key, fallback, buffer.data(), kReadBufferLength, filePath);
        text = buffer.substr(0, std::min(count, kReadBufferLength - 1));
    } catch (...) {
        return {};  // a failed read gives the empty text
    }
    if (decipher) {
        try {
            text = DecryptText(text, section);
        } catch (...) {
            // A failed decipherment leaves the text as read.
        }
    }
    return text;
}

bool WriteINI(std::string_view section, std::string_view key, std::string_view value,
              std::string_view filePath, bool encipher) {
    // Enciphering first lets the cipher's own error (6, overflow) pass to the caller.
    const std::string stored = StoredText(section, value, encipher);
    if (!CanStoreSectionName(section) || !CanStandAsKey(key) || !ReadsBackUnchanged(stored)) {
        throw RunError::InvalidCall("the value cannot be stored in section [" +
                                    std::string(section) + "] unchanged");
    }
    // The platform's result is not consulted: a refused write shows at the next flush.
    platform::WritePrivateProfileStringA(section, key, stored, filePath);
    return true;
}

bool CanStoreSectionName(std::string_view section) {
    // A "]" inside the name is harmless: a header's name runs to the last "]" of its line.
    return !section.empty() && !HoldsLineBreakOrNul(section) &&
           !IsTrimmedOnReading(section.front()) && !IsTrimmedOnReading(section.back());
}

bool CanStoreINIValue(std::string_view section, std::string_view value, bool encipher) {
    if (!CanStoreSectionName(section)) {
        return false;
    }
    try {
        return ReadsBackUnchanged(StoredText(section, value, encipher));
    } catch (const RunError&) {
        return false;  // too long to encipher
    }
}

}  // namespace rg
