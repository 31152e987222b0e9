// The machine as the 32-bit firewall sees it. On 64-bit Windows a 32-bit program's system
// directory is redirected to the 32-bit one (SysWOW64) and its HKEY_LOCAL_MACHINE\SOFTWARE and
// HKEY_CLASSES_ROOT are the 32-bit registry view. The wizard must meet the firewall's files
// and keys where the firewall finds them, so the backend applies both redirections here, in
// one place, while the texts the logic keeps (GetSystemDirectoryA) stay what a 32-bit program
// gets.
#pragma once

#include <string>
#include <string_view>

namespace rg::platform {

// A path inside the system directory (as GetSystemDirectoryA names it, in any letter case)
// moved into the 32-bit system directory (GetSystemWow64DirectoryA); any other path, and
// every path on a 32-bit Windows, where that call fails, unchanged.
std::string ThirtyTwoBitView(std::string_view path);

// The access flag that opens registry keys in the 32-bit view (KEY_WOW64_32KEY).
unsigned long ThirtyTwoBitRegistryView();

}  // namespace rg::platform
