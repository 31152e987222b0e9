// A throw-away installation for one test: an application folder (pinned as AppPath), a system
// directory of its own and a registry of its own, all removed again at the end. On Linux the
// system directory and the registry files live in a machine prefix (RAVELGARD_PREFIX); on
// Windows the registry's HKEY_LOCAL_MACHINE and HKEY_CLASSES_ROOT are redirected, for this
// process, to a scratch key of the current user.
#pragma once

#include <string>
#include <string_view>

#include "platform/os/registry.h"
#include "tests/support/temp_folder.h"

namespace rg::test {

class TempInstall {
  public:
    TempInstall();
    ~TempInstall();
    TempInstall(const TempInstall&) = delete;
    TempInstall& operator=(const TempInstall&) = delete;

    const std::string& root() const { return root_.path(); }
    const std::string& appPath() const { return appPath_; }  // no trailing separator
    const std::string& prefix() const { return prefix_; }    // Linux: the machine prefix
    const std::string& systemDir() const { return systemDir_; }

    // Whole-file helpers for arranging and inspecting files byte for byte.
    static void WriteFile(const std::string& path, std::string_view bytes) {
        TempFolder::WriteFile(path, bytes);
    }
    static std::string ReadFile(const std::string& path) { return TempFolder::ReadFile(path); }
    // Creates a registry key, as the installer does for the keys the program writes into.
    static void CreateRegistryKey(platform::HKEY root, std::string_view path);

  private:
    TempFolder root_;
    std::string appPath_;
    std::string prefix_;
    std::string systemDir_;
    std::string registrySandbox_;  // Windows: the scratch key below HKEY_CURRENT_USER
    std::string previousPrefix_;
    bool hadPrefix_ = false;
};

}  // namespace rg::test
