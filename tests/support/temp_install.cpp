#include "tests/support/temp_install.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "tests/support/registry_sandbox.h"

namespace rg::test {
namespace {

// Sets the variable, or removes it when `value` is null.
void SetEnvironment(const char* name, const std::string* value) {
#ifdef _WIN32
    ::_putenv_s(name, value != nullptr ? value->c_str() : "");
#else
    value != nullptr ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
#endif
}

}  // namespace

TempInstall::TempInstall() : root_("rg-install") {
    appPath_ = root_ / "app";
    prefix_ = root_ / "machine";
    systemDir_ = platform::JoinPath(prefix_, "system32");
    std::filesystem::create_directories(appPath_);
    std::filesystem::create_directories(systemDir_);
    if (const char* old = std::getenv("RAVELGARD_PREFIX")) {
        hadPrefix_ = true;
        previousPrefix_ = old;
    }
    SetEnvironment("RAVELGARD_PREFIX", &prefix_);
    platform::SetMachinePrefix("");
    platform::OverrideAppPathForTesting(appPath_);
    if (platform::MachinePrefix().empty()) {
        // Windows: no machine prefix keeps the system directory apart, so the test names its own.
        platform::OverrideSystemDirectoryForTesting(systemDir_);
    }
    registrySandbox_ = SandboxRegistry();
}

TempInstall::~TempInstall() {
    platform::DiscardPrivateProfileCacheForTesting();
    platform::OverrideAppPathForTesting(std::nullopt);
    platform::OverrideSystemDirectoryForTesting(std::nullopt);
    platform::SetMachinePrefix("");
    SetEnvironment("RAVELGARD_PREFIX", hadPrefix_ ? &previousPrefix_ : nullptr);
    RestoreRegistry(registrySandbox_);
}

void TempInstall::CreateRegistryKey(platform::HKEY root, std::string_view path) {
    platform::HKEY key = 0;
    platform::DWORD disposition = 0;
    const platform::LONG result =
        platform::RegCreateKeyExA(root, path, 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
                                  platform::KEY_ALL_ACCESS_0x3F, nullptr, &key, &disposition);
    if (result != 0) {
        throw std::runtime_error("cannot create registry key " + std::string(path));
    }
    platform::RegCloseKey(key);
}

}  // namespace rg::test
