// ravelgard-tool install: prepares the folder that stands for the Windows machine, as the
// firewall's installer does on Windows: the system directory, the registry keys that every
// Windows has and the wizard uses, and the password file of a fresh installation.
#include <cstdlib>
#include <ostream>
#include <string>

#include "platform/file_system.h"
#include "platform/registry.h"
#include "services/run_error.h"
#include "startup/password_store.h"
#include "tools/commands.h"

namespace rg::tool {
namespace {

constexpr const char* kInstallUsage = "Usage: ravelgard-tool install [--prefix DIR]\n";

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

}  // namespace

int RunInstallCommand(const Args& args, std::ostream& out, std::ostream& err) {
    std::string prefix;
    if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
        out << kInstallUsage;
        return 0;
    }
    if (args.size() == 2 && args[0] == "--prefix" && !args[1].empty()) {
        prefix = args[1];
        ::setenv("RAVELGARD_PREFIX", prefix.c_str(), 1);
    } else if (args.empty()) {
        prefix = platform::MachinePrefix();
    } else {
        err << "ravelgard-tool install: wrong arguments\n" << kInstallUsage;
        return 2;
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
    out << "Prepared the machine prefix " << prefix << "\n";
    return 0;
}

}  // namespace rg::tool
