// The Windows backend of the registry calls: the ANSI functions as they are, every key opened
// in the 32-bit view (system_view.h).
#include "platform/os/registry.h"

#include <cstdint>
#include <string>

#include "platform/win32/system_view.h"

#include <windows.h>

namespace rg::platform {
namespace {

// The program's root-key constants are the 32-bit values 0x80000000 to 0x80000006; the
// Windows handles of the predefined keys are the same values sign-extended.
::HKEY ToWindows(HKEY key) {
    constexpr HKEY kFirstPredefined = 0x80000000;
    constexpr HKEY kLastPredefined = 0x80000006;
    if (key >= kFirstPredefined && key <= kLastPredefined) {
        return reinterpret_cast<::HKEY>(
            static_cast<std::intptr_t>(static_cast<std::int32_t>(static_cast<std::uint32_t>(key))));
    }
    return reinterpret_cast<::HKEY>(key);
}

HKEY FromWindows(::HKEY key) {
    return reinterpret_cast<HKEY>(key);
}

REGSAM InThirtyTwoBitView(DWORD access) {
    return static_cast<REGSAM>(access) | ThirtyTwoBitRegistryView();
}

LONG Result(::LONG code) {
    return static_cast<LONG>(code);
}

}  // namespace

LONG RegOpenKeyA(HKEY root, std::string_view subKey, HKEY* result) {
    // RegOpenKeyA opens with the widest access the caller may have; so does this, in the
    // 32-bit view, which RegOpenKeyA itself cannot ask for.
    return RegOpenKeyExA(root, subKey, 0, MAXIMUM_ALLOWED, result);
}

LONG RegOpenKeyExA(HKEY root, std::string_view subKey, DWORD options, DWORD samDesired,
                   HKEY* result) {
    ::HKEY opened = nullptr;
    const std::string path(subKey);
    const LONG code = Result(::RegOpenKeyExA(ToWindows(root), path.c_str(), options,
                                             InThirtyTwoBitView(samDesired), &opened));
    if (result != nullptr) {
        *result = code == ERROR_SUCCESS ? FromWindows(opened) : 0;
    }
    return code;
}

LONG RegQueryValueExA(HKEY key, std::string_view valueName, DWORD* type, BYTE* data,
                      DWORD* dataSize) {
    const std::string name(valueName);
    ::DWORD windowsType = type != nullptr ? *type : 0;
    ::DWORD windowsSize = dataSize != nullptr ? *dataSize : 0;
    const LONG code = Result(::RegQueryValueExA(ToWindows(key), name.c_str(), nullptr,
                                                type != nullptr ? &windowsType : nullptr, data,
                                                dataSize != nullptr ? &windowsSize : nullptr));
    if (type != nullptr) {
        *type = static_cast<DWORD>(windowsType);
    }
    if (dataSize != nullptr) {
        *dataSize = static_cast<DWORD>(windowsSize);
    }
    return code;
}

LONG RegSetValueExA(HKEY key, std::string_view valueName, DWORD reserved, DWORD type,
                    const BYTE* data, DWORD dataSize) {
    const std::string name(valueName);
    return Result(::RegSetValueExA(ToWindows(key), name.c_str(), reserved, type, data, dataSize));
}

LONG RegCreateKeyExA(HKEY root, std::string_view subKey, DWORD reserved, const char* keyClass,
                     DWORD options, DWORD samDesired, const void* securityAttributes, HKEY* result,
                     DWORD* disposition) {
    const std::string path(subKey);
    ::HKEY created = nullptr;
    ::DWORD windowsDisposition = 0;
    const LONG code = Result(
        ::RegCreateKeyExA(ToWindows(root), path.c_str(), reserved, const_cast<char*>(keyClass),
                          options, InThirtyTwoBitView(samDesired),
                          static_cast<LPSECURITY_ATTRIBUTES>(const_cast<void*>(securityAttributes)),
                          &created, &windowsDisposition));
    if (result != nullptr) {
        *result = code == ERROR_SUCCESS ? FromWindows(created) : 0;
    }
    if (disposition != nullptr) {
        *disposition = static_cast<DWORD>(windowsDisposition);
    }
    return code;
}

LONG RegCloseKey(HKEY key) {
    return Result(::RegCloseKey(ToWindows(key)));
}

}  // namespace rg::platform
