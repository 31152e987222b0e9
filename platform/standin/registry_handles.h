// Open registry key handles: small integers (1, 2, ...) that index a table of what each one
// names, a root key and the path below it, and the access it was opened with. A handle names a
// path, not a node of the in-memory tree, so it stays meaningful when the file is re-read.
#pragma once

#include <string>
#include <vector>

#include "platform/os/registry.h"

namespace rg::platform {

struct OpenRegistryKey {
    HKEY root = 0;
    std::vector<std::string> path;
    DWORD access = 0;
};

// More open handles than this at once means a caller leaks them; the next open then fails.
constexpr std::size_t kMaxOpenRegistryKeys = 65536;

// Returns the new handle, the lowest free number, or 0 when the table is full.
HKEY AddRegistryHandle(OpenRegistryKey key);
// The entry of an open handle, or null for a number that is not one.
const OpenRegistryKey* FindRegistryHandle(HKEY handle);
// Frees the number; false when it was not an open handle.
bool RemoveRegistryHandle(HKEY handle);

}  // namespace rg::platform
