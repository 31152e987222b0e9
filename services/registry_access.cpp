#include "services/registry_access.h"

#include <cstdint>
#include <limits>
#include <string>

#include "platform/ui/message_box.h"
#include "services/app_title.h"

namespace rg {
namespace {

using platform::BYTE;
using platform::DWORD;
using platform::HKEY;
using platform::LONG;

// The access the writers open and create keys with: query and set value, create and enumerate
// subkeys, notify, create link.
constexpr DWORD kWriterAccess = platform::KEY_ALL_ACCESS_0x3F;
constexpr LONG kSuccess = static_cast<LONG>(platform::ERROR_SUCCESS);

std::string_view TrimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Sets a REG_SZ value from exactly these bytes; returns the set's result code.
LONG SetStringBytes(HKEY key, std::string_view name, std::string_view bytes) {
    if (bytes.size() > std::numeric_limits<DWORD>::max()) {
        return static_cast<LONG>(platform::ERROR_INVALID_PARAMETER);
    }
    return platform::RegSetValueExA(key, name, 0, platform::REG_SZ,
                                    reinterpret_cast<const BYTE*>(bytes.data()),
                                    static_cast<DWORD>(bytes.size()));
}

// Reads a REG_SZ value of `size` bytes; the buffer starts as spaces. On success the buffer
// holds what was read, else it is empty.
LONG ReadStringValue(HKEY key, std::string_view name, DWORD size, std::string& buffer) {
    buffer.assign(size, ' ');
    DWORD got = size;
    const LONG outcome = platform::RegQueryValueExA(key, name, nullptr,
                                                    reinterpret_cast<BYTE*>(buffer.data()), &got);
    if (outcome == kSuccess) {
        buffer.resize(got);
    } else {
        buffer.clear();
    }
    return outcome;
}

// Reads a REG_DWORD value and shows the number, as the original runtime's signed 32-bit
// integer prints it, in a box with an OK button and no icon.
LONG ShowDwordValue(HKEY key, std::string_view name) {
    std::uint32_t number = 0;
    DWORD size = sizeof number;
    const LONG outcome =
        platform::RegQueryValueExA(key, name, nullptr, reinterpret_cast<BYTE*>(&number), &size);
    platform::MessageBoxA(std::to_string(static_cast<std::int32_t>(number)), kAppTitle,
                          platform::MB_OK);
    return outcome;
}

}  // namespace

std::string RegReadString(HKEY root, std::string_view keyPath, std::string_view valueName,
                          std::string_view defaultValue) {
    std::string result(defaultValue);
    HKEY key = 0;
    // Neither result is examined: after a failed open the queries fail too.
    platform::RegOpenKeyA(root, keyPath, &key);
    DWORD type = platform::REG_NONE;
    DWORD size = 0;
    platform::RegQueryValueExA(key, valueName, &type, nullptr, &size);

    std::string buffer;
    LONG outcome = -1;
    if (type == platform::REG_SZ) {
        outcome = ReadStringValue(key, valueName, size, buffer);
    } else if (type == platform::REG_DWORD) {
        outcome = ShowDwordValue(key, valueName);
    }
    if (outcome == kSuccess) {
        result = buffer.substr(0, buffer.find('\0'));
    }
    if (result.empty()) {
        result = std::string(defaultValue);
    }
    platform::RegCloseKey(key);
    return result;
}

void RegWriteString(HKEY root, std::string_view keyPath, std::string_view valueName,
                    std::string_view data) {
    TryRegWriteString(root, keyPath, valueName, data);  // silent: nothing is reported
}

LONG TryRegWriteString(HKEY root, std::string_view keyPath, std::string_view valueName,
                       std::string_view data) {
    const std::string_view trimmed = TrimSpaces(data);
    HKEY key = 0;
    LONG opened = platform::RegOpenKeyExA(root, keyPath, 0, kWriterAccess, &key);
    // Only an invalid key leads to creation; a missing key (code 2) does not.
    if (opened == static_cast<LONG>(platform::ERROR_BADKEY)) {
        RegCreateString(keyPath, root, "");
        opened = platform::RegOpenKeyExA(root, keyPath, 0, kWriterAccess, &key);
    }
    // Stored without a terminating zero; after a failed open the set fails too.
    const LONG set = SetStringBytes(key, valueName, trimmed);
    platform::RegCloseKey(key);
    return opened != kSuccess ? opened : set;
}

void RegCreateString(std::string_view keyPath, HKEY root, std::string_view data) {
    HKEY key = 0;
    DWORD disposition = 0;
    platform::RegCreateKeyExA(root, keyPath, 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
                              kWriterAccess, nullptr, &key, &disposition);
    std::string terminated(data);
    terminated.push_back('\0');
    SetStringBytes(key, "", terminated);
    platform::RegCloseKey(key);
}

}  // namespace rg
