// On Windows: HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT redirected, for this process, to keys of
// their own below HKEY_CURRENT_USER, so that no test touches the machine's registry. On Linux
// the machine prefix of the test keeps the registry files apart already: nothing to do.
#pragma once

#include <string>

namespace rg::test {

// Returns what RestoreRegistry needs to undo it.
std::string SandboxRegistry();
void RestoreRegistry(const std::string& sandbox);

}  // namespace rg::test
