#include "platform/ini/profile_api.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/ini/ini_cache.h"
#include "platform/ini/ini_document.h"
#include "platform/ini/ini_text.h"
#include "platform/os/file_system.h"

namespace rg::platform {
namespace {

// Texts reach the API as C strings: a NUL ends them.
std::string_view AsCString(std::string_view text) {
    return text.substr(0, text.find('\0'));
}

// The default loses its trailing spaces (only 0x20), but an all-space default keeps one.
std::string_view TrimDefault(OptText defaultText) {
    std::string_view text = defaultText ? AsCString(*defaultText) : std::string_view();
    std::size_t end = text.size();
    while (end > 1 && text[end - 1] == ' ') {
        --end;
    }
    return text.substr(0, end);
}

// Copies at most size - 1 characters and a NUL; returns the number copied.
DWORD CopyCut(char* buffer, DWORD size, std::string_view text) {
    const std::size_t count = std::min<std::size_t>(text.size(), size - 1);
    if (count > 0) {  // an empty view may carry a null pointer
        std::memcpy(buffer, text.data(), count);
    }
    buffer[count] = '\0';
    return static_cast<DWORD>(count);
}

// A value or default as the API hands it out: one matching pair of outer quotes removed.
// The closing quote is dropped only when the buffer is at least as long as the text after the
// opening quote, so a quoted value is cut one character shorter (as the Windows API does).
DWORD CopyValue(char* buffer, DWORD size, std::string_view value) {
    const bool quoted = value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    if (quoted) {
        value.remove_prefix(1);
    }
    DWORD count = CopyCut(buffer, size, value);
    if (quoted && size >= value.size() && count > 0) {
        buffer[--count] = '\0';
    }
    return count;
}

// A key list: "a\0b\0" and a NUL. When the list does not fit, the last name is cut and the
// list ends with a single NUL after it; size - 2 is returned.
DWORD CopyNameList(char* buffer, DWORD size, const std::vector<std::string>& names) {
    if (size <= 2) {
        std::memset(buffer, 0, size);
        return 0;
    }
    DWORD left = size;
    char* out = buffer;
    for (const std::string& name : names) {
        if (left <= 2) {
            break;
        }
        const DWORD count = CopyCut(out, left - 1, name);
        left -= count + 1;
        out += count + 1;
        if (left < 2) {
            break;
        }
    }
    *out = '\0';
    if (left <= 1) {
        out[-1] = '\0';
        return size - 2;
    }
    return size - left;
}

// The section-name list: like CopyNameList, but a name that does not fit is cut to end
// exactly at the buffer's second-to-last character.
DWORD CopySectionNames(char* buffer, DWORD size, const std::vector<std::string>& names) {
    if (size == 1) {
        buffer[0] = '\0';
        return 0;
    }
    DWORD left = size - 1;
    char* out = buffer;
    for (const std::string& name : names) {
        const auto needed = static_cast<DWORD>(name.size() + 1);
        if (needed >= left) {
            std::memcpy(out, name.data(), left - 1);
            out += left - 1;
            *out = '\0';
            return size - 2;
        }
        std::memcpy(out, name.data(), needed);
        out += needed;
        left -= needed;
    }
    *out = '\0';
    return static_cast<DWORD>(out - buffer);
}

std::vector<std::string> SectionNames(const ProfileDocument& document) {
    std::vector<std::string> names;
    for (const ProfileSection& section : document.Sections()) {
        if (!section.Name().empty()) {
            names.push_back(FromWorkingText(document.Encoding(), section.Name()));
        }
    }
    return names;
}

// Keys that hold "=", comment lines (";") left out; duplicates listed.
std::vector<std::string> KeyNames(const ProfileDocument& document, const ProfileSection& section) {
    std::vector<std::string> names;
    for (const ProfileLine& line : section.body) {
        if (line.kind == ProfileLine::Kind::Entry && line.hasValue && !line.name.starts_with(';')) {
            names.push_back(FromWorkingText(document.Encoding(), line.name));
        }
    }
    return names;
}

DWORD ReadKeyList(const ProfileDocument& document, std::string_view section, char* buffer,
                  DWORD size, std::string_view defaultText) {
    const ProfileSection* found =
        document.FindSection(ToWorkingText(document.Encoding(), AsCString(section)));
    DWORD count = 0;
    if (found != nullptr) {
        count = CopyNameList(buffer, size, KeyNames(document, *found));
    } else {
        buffer[0] = '\0';
    }
    if (buffer[0] == '\0') {
        count = CopyValue(buffer, size, defaultText);
    }
    return count;
}

DWORD ReadValue(const ProfileDocument& document, std::string_view section, std::string_view key,
                char* buffer, DWORD size, std::string_view defaultText) {
    const ProfileEncoding encoding = document.Encoding();
    const ProfileSection* found = document.FindSection(ToWorkingText(encoding, AsCString(section)));
    const ProfileLine* entry =
        found ? ProfileDocument::FindEntry(*found, ToWorkingText(encoding, AsCString(key)))
              : nullptr;
    if (entry == nullptr || !entry->hasValue) {
        return CopyValue(buffer, size, defaultText);
    }
    return CopyValue(buffer, size, FromWorkingText(encoding, entry->value));
}

bool AnyLineBreakOrNul(std::initializer_list<OptText> texts) {
    return std::any_of(texts.begin(), texts.end(),
                       [](const OptText& text) { return text && HoldsLineBreakOrNul(*text); });
}

// The items of a "k=v\0k=v\0\0" list, up to the empty item that ends it.
std::vector<std::string_view> ListItems(std::string_view list) {
    std::vector<std::string_view> items;
    while (!list.empty() && list.front() != '\0') {
        const std::size_t nul = list.find('\0');
        items.push_back(list.substr(0, nul));
        list.remove_prefix(nul == std::string_view::npos ? list.size() : nul + 1);
    }
    return items;
}

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

std::optional<std::string> Copy(OptText text) {
    return text ? std::optional<std::string>(*text) : std::nullopt;
}

}  // namespace

DWORD GetPrivateProfileStringA(OptText section, OptText key, OptText defaultText, char* buffer,
                               DWORD size, std::string_view fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    DWORD error = ERROR_SUCCESS;
    const HeldProfile& held = HoldProfileForReading(fileName, error);
    const std::string_view fallback = TrimDefault(defaultText);
    if (error != ERROR_SUCCESS && !held.pending) {
        // A file that cannot be opened gives the default, unquoted as any default is.
        SetLastError(error);
        return CopyValue(buffer, size, fallback);
    }
    const ProfileDocument& document = held.document;
    if (!section) {
        return CopySectionNames(buffer, size, SectionNames(document));
    }
    if (!key) {
        return ReadKeyList(document, *section, buffer, size, fallback);
    }
    return ReadValue(document, *section, *key, buffer, size, fallback);
}

DWORD GetPrivateProfileSectionA(std::string_view section, char* buffer, DWORD size,
                                std::string_view fileName) {
    if (buffer == nullptr || size == 0) {
        return 0;
    }
    DWORD error = ERROR_SUCCESS;
    const HeldProfile& held = HoldProfileForReading(fileName, error);
    const ProfileDocument& document = held.document;
    const ProfileSection* found =
        document.FindSection(ToWorkingText(document.Encoding(), AsCString(section)));
    std::string list;
    if (found != nullptr) {
        for (const ProfileLine& line : found->body) {
            if (line.kind != ProfileLine::Kind::Entry || line.name.starts_with(';')) {
                continue;
            }
            list += line.hasValue ? line.name + "=" + line.value : line.name;
            list += '\0';
        }
    }
    list = FromWorkingText(document.Encoding(), list);
    list += '\0';
    if (size < 2) {
        buffer[0] = '\0';
        return 0;
    }
    if (list.size() == 1) {
        buffer[0] = buffer[1] = '\0';
        return 0;
    }
    if (list.size() <= size) {
        std::memcpy(buffer, list.data(), list.size());
        return static_cast<DWORD>(list.size() - 1);
    }
    std::memcpy(buffer, list.data(), size - 2);
    buffer[size - 2] = buffer[size - 1] = '\0';
    return size - 2;
}

BOOL WritePrivateProfileStringA(OptText section, OptText key, OptText value,
                                std::string_view fileName) {
    if (!section && !key && !value) {
        return FlushPrivateProfiles();
    }
    if (!section) {
        return Fail(ERROR_FILE_NOT_FOUND);
    }
    if (AnyLineBreakOrNul({section, key, value})) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (key && value && !ProfileDocument::EntryReadsBack(*key, *value)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    DWORD error = ERROR_SUCCESS;
    HeldProfile* held = HoldProfileForWriting(fileName, error);
    if (held == nullptr) {
        return Fail(error);
    }
    held->Apply([section = std::string(*section), key = Copy(key),
                 value = Copy(value)](ProfileDocument& document) {
        const ProfileEncoding encoding = document.Encoding();
        const std::string sectionText = ToWorkingText(encoding, section);
        if (!key) {
            return document.DeleteSection(sectionText);
        }
        if (!value) {
            return document.DeleteKey(sectionText, ToWorkingText(encoding, *key));
        }
        return document.SetValue(sectionText, ToWorkingText(encoding, *key),
                                 ToWorkingText(encoding, *value));
    });
    return TRUE;
}

BOOL WritePrivateProfileSectionA(std::string_view section, OptText entries,
                                 std::string_view fileName) {
    if (HoldsLineBreakOrNul(section)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    const std::vector<std::string_view> items =
        entries ? ListItems(*entries) : std::vector<std::string_view>();
    for (const std::string_view item : items) {
        const std::size_t equals = item.find('=');
        if (HoldsLineBreakOrNul(item) ||
            (equals != std::string_view::npos &&
             !ProfileDocument::EntryReadsBack(item.substr(0, equals), item.substr(equals + 1)))) {
            return Fail(ERROR_INVALID_PARAMETER);
        }
    }
    DWORD error = ERROR_SUCCESS;
    HeldProfile* held = HoldProfileForWriting(fileName, error);
    if (held == nullptr) {
        return Fail(error);
    }
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const std::string_view item : items) {
        const std::size_t equals = item.find('=');
        if (equals != std::string_view::npos) {  // an item without "=" is dropped
            pairs.emplace_back(item.substr(0, equals), item.substr(equals + 1));
        }
    }
    held->Apply([section = std::string(section), replace = entries.has_value(),
                 pairs = std::move(pairs)](ProfileDocument& document) {
        const ProfileEncoding encoding = document.Encoding();
        const std::string sectionText = ToWorkingText(encoding, section);
        if (!replace) {
            return document.DeleteSection(sectionText);
        }
        bool changed = document.EmptySections(sectionText);
        for (const auto& [key, value] : pairs) {
            document.AppendEntry(sectionText, ToWorkingText(encoding, key),
                                 ToWorkingText(encoding, value));
            changed = true;
        }
        return changed;
    });
    return TRUE;
}

BOOL FlushPrivateProfiles() {
    const DWORD error = FlushProfileCache();
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

void DiscardPrivateProfileCacheForTesting() {
    DiscardProfileCache();
}

}  // namespace rg::platform
