// A throw-away installation for one test: an application folder (pinned as AppPath) and a
// machine prefix (RAVELGARD_PREFIX) with its system32 folder, removed again at the end.
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
    const std::string& appPath() const { return appPath_; }  // no trailing "/"
    const std::string& prefix() const { return prefix_; }
    std::string systemDir() const { return prefix_ + "/system32"; }

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
    std::string previousPrefix_;
    bool hadPrefix_ = false;
};

}  // namespace rg::test
