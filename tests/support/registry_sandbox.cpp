#include "tests/support/registry_sandbox.h"

#include <random>
#include <stdexcept>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#endif

namespace rg::test {

#ifdef _WIN32
std::string SandboxRegistry() {
    static std::mt19937_64 random{std::random_device{}()};
    const std::string base = "Software\\RavelgardTests\\" + std::to_string(random());
    for (const auto& [root, name] :
         {std::pair{HKEY_LOCAL_MACHINE, "HKLM"}, std::pair{HKEY_CLASSES_ROOT, "HKCR"}}) {
        HKEY key = nullptr;
        const std::string path = base + "\\" + name;
        if (::RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                              nullptr, &key, nullptr) != ERROR_SUCCESS ||
            ::RegOverridePredefKey(root, key) != ERROR_SUCCESS) {
            throw std::runtime_error("cannot redirect the registry for the test");
        }
        ::RegCloseKey(key);
    }
    return base;
}

void RestoreRegistry(const std::string& sandbox) {
    ::RegOverridePredefKey(HKEY_LOCAL_MACHINE, nullptr);
    ::RegOverridePredefKey(HKEY_CLASSES_ROOT, nullptr);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, sandbox.c_str());
}
#else
std::string SandboxRegistry() {
    return {};
}

void RestoreRegistry(const std::string&) {}
#endif

}  // namespace rg::test
