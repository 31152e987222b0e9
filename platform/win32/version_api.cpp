// The Windows backend of the version calls: version.dll's ANSI functions, the file seen as the
// 32-bit firewall sees it (system_view.h).
#include "platform/os/version_api.h"

#include <string>

#include "platform/os/file_system.h"

#include <windows.h>

namespace rg::platform {

DWORD GetFileVersionInfoSizeA(std::string_view path, DWORD* handle) {
    ::DWORD windowsHandle = 0;
    const ::DWORD size = ::GetFileVersionInfoSizeA(NativePath(path).c_str(), &windowsHandle);
    if (handle != nullptr) {
        *handle = static_cast<DWORD>(windowsHandle);
    }
    return static_cast<DWORD>(size);
}

BOOL GetFileVersionInfoA(std::string_view path, DWORD handle, DWORD length, void* data) {
    return ::GetFileVersionInfoA(NativePath(path).c_str(), handle, length, data);
}

BOOL VerQueryValueA(void* block, std::string_view subBlock, const void** buffer, UINT* length) {
    const std::string query(subBlock);
    void* found = nullptr;
    ::UINT foundLength = 0;
    const BOOL ok = ::VerQueryValueA(block, query.c_str(), &found, &foundLength);
    if (buffer != nullptr) {
        *buffer = ok ? found : nullptr;
    }
    if (length != nullptr) {
        *length = ok ? static_cast<UINT>(foundLength) : 0;
    }
    return ok;
}

}  // namespace rg::platform
