#include "platform/win32/system_view.h"

#include <optional>

#include <windows.h>

namespace rg::platform {
namespace {

struct SystemFolders {
    std::string system;                // as GetSystemDirectoryA names it
    std::optional<std::string> wow64;  // the 32-bit system directory, when there is one
};

std::string AskFolder(UINT (*query)(LPSTR, UINT)) {
    char buffer[MAX_PATH + 1] = {};
    const UINT length = query(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

const SystemFolders& Folders() {
    static const SystemFolders folders = [] {
        SystemFolders found;
        found.system = AskFolder(&::GetSystemDirectoryA);
        const std::string wow64 = AskFolder(&::GetSystemWow64DirectoryA);
        if (!wow64.empty()) {
            found.wow64 = wow64;
        }
        return found;
    }();
    return folders;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           ::CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.data(), static_cast<int>(a.size()),
                            b.data(), static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

std::string ThirtyTwoBitView(std::string_view path) {
    const SystemFolders& folders = Folders();
    const std::string_view system = folders.system;
    if (!folders.wow64 || system.empty() || path.size() < system.size() ||
        !EqualIgnoringCase(path.substr(0, system.size()), system)) {
        return std::string(path);
    }
    const std::string_view rest = path.substr(system.size());
    if (!rest.empty() && rest.front() != '\\' && rest.front() != '/') {
        return std::string(path);  // "C:\Windows\System32x" is another folder
    }
    return *folders.wow64 + std::string(rest);
}

unsigned long ThirtyTwoBitRegistryView() {
    return KEY_WOW64_32KEY;
}

}  // namespace rg::platform
