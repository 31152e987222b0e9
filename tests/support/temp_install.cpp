#include "tests/support/temp_install.h"

#include <cstdlib>
#include <filesystem>
#include <stdexcept>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"

namespace rg::test {

TempInstall::TempInstall() : root_("rg-install") {
    appPath_ = root_ / "app";
    prefix_ = root_ / "machine";
    std::filesystem::create_directories(appPath_);
    std::filesystem::create_directories(prefix_ + "/system32");
    if (const char* old = std::getenv("RAVELGARD_PREFIX")) {
        hadPrefix_ = true;
        previousPrefix_ = old;
    }
    setenv("RAVELGARD_PREFIX", prefix_.c_str(), 1);
    platform::SetMachinePrefix("");
    platform::OverrideAppPathForTesting(appPath_);
}

TempInstall::~TempInstall() {
    platform::DiscardPrivateProfileCacheForTesting();
    platform::OverrideAppPathForTesting(std::nullopt);
    platform::SetMachinePrefix("");
    if (hadPrefix_) {
        setenv("RAVELGARD_PREFIX", previousPrefix_.c_str(), 1);
    } else {
        unsetenv("RAVELGARD_PREFIX");
    }
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
