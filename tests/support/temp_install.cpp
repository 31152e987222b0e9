#include "tests/support/temp_install.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"

namespace rg::test {

TempInstall::TempInstall() {
    std::string pattern = (std::filesystem::temp_directory_path() / "rg-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed");
    }
    root_ = pattern;
    appPath_ = root_ + "/app";
    prefix_ = root_ + "/machine";
    std::filesystem::create_directories(appPath_);
    std::filesystem::create_directories(prefix_ + "/system32");
    if (const char* old = std::getenv("RAVELGARD_PREFIX")) {
        hadPrefix_ = true;
        previousPrefix_ = old;
    }
    setenv("RAVELGARD_PREFIX", prefix_.c_str(), 1);
    platform::OverrideAppPathForTesting(appPath_);
}

TempInstall::~TempInstall() {
    platform::DiscardPrivateProfileCacheForTesting();
    platform::OverrideAppPathForTesting(std::nullopt);
    if (hadPrefix_) {
        setenv("RAVELGARD_PREFIX", previousPrefix_.c_str(), 1);
    } else {
        unsetenv("RAVELGARD_PREFIX");
    }
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
}

// Paths are code page 1252, as the program names files; the disk holds them in UTF-8.
void TempInstall::WriteFile(const std::string& path, std::string_view bytes) {
    const std::string native = platform::NativePath(path);
    std::filesystem::create_directories(std::filesystem::path(native).parent_path());
    std::ofstream out(native, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

std::string TempInstall::ReadFile(const std::string& path) {
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
