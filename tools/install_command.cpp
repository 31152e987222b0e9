// ravelgard-tool install: prepares the folder that stands for the Windows machine, as the
// firewall's installer does on Windows: the system directory, the registry keys that every
// Windows has and the wizard uses, and the password file of a fresh installation.
#include <cstdlib>
#include <optional>
#include <ostream>
#include <string>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "programs/default_programs.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "startup/password_store.h"
#include "tools/commands.h"
#include "tools/desktop_browser.h"
#include "tools/text_args.h"

namespace rg::tool {
namespace {

constexpr const char* kInstallUsage =
    "Usage: ravelgard-tool install [--prefix DIR] [--browser PROGRAM]\n"
    "  --browser PROGRAM  register PROGRAM as the default web browser; without it the\n"
    "                     desktop's default browser is registered when the desktop names one\n";

// The keys the wizard reads and writes: the password store's key and the browser's parent key.
struct RequiredKey {
    platform::HKEY root;
    std::string_view path;
};
constexpr RequiredKey kRequiredKeys[] = {
    {platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey},
    {platform::HKEY_CLASSES_ROOT, "Applications"},
};

bool EnsureFolder(const std::string& folder, std::ostream& err) {
    if (platform::IsDirectory(folder) || platform::CreateDirectoryA(folder) != platform::FALSE) {
        return true;
    }
    err << "ravelgard-tool install: cannot create " << folder << ": "
        << RunError::FromWindowsError(platform::GetLastError()).description() << "\n";
    return false;
}

bool EnsureKey(const RequiredKey& key, std::ostream& err) {
    platform::HKEY handle = 0;
    platform::DWORD disposition = 0;
    const platform::LONG result =
        platform::RegCreateKeyExA(key.root, key.path, 0, nullptr, platform::REG_OPTION_NON_VOLATILE,
                                  platform::KEY_ALL_ACCESS_0x3F, nullptr, &handle, &disposition);
    if (result != platform::ERROR_SUCCESS) {
        err << "ravelgard-tool install: cannot create the registry key " << key.path << " (error "
            << result << ")\n";
        return false;
    }
    platform::RegCloseKey(handle);
    return true;
}

// Registers the browser as Windows does: the default value of the browser's command key holds
// the quoted program path, a space and %1.
void RegisterBrowser(const std::optional<std::string>& program, std::ostream& out,
                     std::ostream& err) {
    if (!program) {
        out << "The desktop names no default web browser; none is registered.\n";
        return;
    }
    const auto path = ArgumentAsCp1252(*program);
    if (!path) {
        err << "ravelgard-tool install: the browser's path " << *program
            << " holds characters outside code page 1252; no browser is registered\n";
        return;
    }
    RegCreateString(kBrowserCommandKey, platform::HKEY_CLASSES_ROOT, "\"" + *path + "\" %1");
    out << "Registered the default web browser " << *program << "\n";
}

}  // namespace

int RunInstallCommand(const Args& args, std::ostream& out, std::ostream& err) {
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kInstallUsage;
        return 0;
    }
    std::string prefix = platform::MachinePrefix();
    std::optional<std::string> browser;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        if (i + 1 >= args.size() || args[i + 1].empty()) {
            err << "ravelgard-tool install: wrong arguments\n" << kInstallUsage;
            return 2;
        }
        if (args[i] == "--prefix") {
            prefix = platform::PathFromNative(args[i + 1]);
            ::setenv("RAVELGARD_PREFIX", args[i + 1].c_str(), 1);
        } else if (args[i] == "--browser") {
            browser = args[i + 1];
        } else {
            err << "ravelgard-tool install: wrong arguments\n" << kInstallUsage;
            return 2;
        }
    }
    while (prefix.size() > 1 && prefix.back() == '/') {
        prefix.pop_back();
    }

    const std::string systemFolder = prefix + "/system32";
    const std::string passwordFile = systemFolder + "/" + std::string(kPasswordFileName);
    if (platform::PathFileExistsA(passwordFile)) {
        err << "ravelgard-tool install: " << passwordFile
            << " already exists; it holds the settings password and is left as it is\n";
        return 1;
    }
    if (!EnsureFolder(prefix, err) || !EnsureFolder(systemFolder, err)) {
        return 1;
    }
    for (const RequiredKey& key : kRequiredKeys) {
        if (!EnsureKey(key, err)) {
            return 1;
        }
    }
    // A fresh installation has no password: the file holds the frame around an empty password,
    // and there is no registry value.
    const platform::DWORD written =
        platform::ReplaceFileAtomically(passwordFile, PasswordFileLine("") + "\r\n");
    if (written != platform::ERROR_SUCCESS) {
        err << "ravelgard-tool install: cannot write " << passwordFile << ": "
            << RunError::FromWindowsError(written).description() << "\n";
        return 1;
    }
    RegisterBrowser(browser ? browser : DesktopDefaultBrowser(), out, err);
    out << "Prepared the machine prefix " << prefix << "\n";
    return 0;
}

}  // namespace rg::tool
