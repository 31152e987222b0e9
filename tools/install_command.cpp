// ravelgard-tool install: prepares the machine as the firewall's installer does: the password
// file of a fresh installation in the system directory and the registry key the password store
// writes into. On Linux the machine is a folder that stands for Windows (the machine prefix):
// the command also creates it with its system directory, the registry keys every Windows has,
// and registers the desktop's default web browser where Windows keeps the browser's command.
// On Windows the machine is the real one: nothing that belongs to Windows is written.
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
#include "tools/options.h"
#include "tools/text_args.h"
#include "tools/usage.h"

namespace rg::tool {
namespace {

// The keys the wizard reads and writes: the password store's key and, in a machine prefix,
// the browser's parent key, which every Windows has.
struct RequiredKey {
    platform::HKEY root;
    std::string_view path;
};
constexpr RequiredKey kPasswordKey = {platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey};
constexpr RequiredKey kBrowserParentKey = {platform::HKEY_CLASSES_ROOT, "Applications"};

bool EnsureFolder(const std::string& folder, platform::Privacy privacy, std::ostream& err) {
    if (platform::IsDirectory(folder) ||
        platform::CreateDirectoryA(folder, privacy) != platform::FALSE) {
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
void RegisterBrowser(const std::optional<std::string>& program, const std::string& why,
                     std::ostream& out, std::ostream& err) {
    if (!program) {
        out << "No default web browser is registered: " << why << ".\n";
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

// The machine prefix's folders, its keys and its browser; false after a reported failure.
bool PrepareMachinePrefix(const std::string& prefix, std::ostream& err) {
    // The prefix holds the password file: only its owner may look inside.
    return EnsureFolder(prefix, platform::Privacy::OwnerOnly, err) &&
           EnsureFolder(platform::JoinPath(prefix, "system32"), platform::Privacy::Shared, err) &&
           EnsureKey(kBrowserParentKey, err);
}

// The system directory as the wizard will find it.
std::string SystemFolder() {
    char buffer[1024] = {};
    const platform::UINT length = platform::GetSystemDirectoryA(buffer, sizeof buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

}  // namespace

int RunInstallCommand(const Args& args, std::ostream& out, std::ostream& err) {
    const ParsedOptions options =
        ParseOptions(args, {{"prefix", true}, {"browser", true}, {"help", false}});
    if (options.Has("help")) {
        out << kInstallUsage;
        return 0;
    }
    std::string problem = options.error;
    if (problem.empty() && !options.operands.empty()) {
        problem = "install takes no operand ('" + options.operands.front() + "')";
    }
    for (const char* name : {"prefix", "browser"}) {
        if (problem.empty() && options.Has(name) && options.values.at(name).empty()) {
            problem = std::string("--") + name + " needs a value";
        }
    }
    if (!problem.empty()) {
        err << "ravelgard-tool install: " << problem << "\n\n" << kInstallUsage;
        return 2;
    }
    std::optional<std::string> prefixArgument;
    std::optional<std::string> browser;
    if (options.Has("prefix")) {
        prefixArgument = platform::PathFromNative(options.values.at("prefix"));
    }
    if (options.Has("browser")) {
        browser = options.values.at("browser");
    }
    if (prefixArgument) {
        platform::SetMachinePrefix(*prefixArgument);
    }
    std::string prefix = platform::MachinePrefix();
    const bool standIn = !prefix.empty();
    if (!standIn && (prefixArgument || browser)) {
        err << "ravelgard-tool install: --prefix and --browser are for the Linux machine prefix; "
               "on Windows the machine and its browser are the real ones\n";
        return 2;
    }
    while (prefix.size() > 1 && prefix.back() == platform::PathSeparator()) {
        prefix.pop_back();
    }
    if (standIn) {
        platform::SetMachinePrefix(prefix);
    }

    const std::string systemFolder = SystemFolder();
    const std::string passwordFile =
        platform::JoinPath(systemFolder, std::string(kPasswordFileName));
    if (platform::PathFileExistsA(passwordFile)) {
        err << "ravelgard-tool install: " << passwordFile
            << " already exists; it holds the settings password and is left as it is\n";
        return 1;
    }
    if ((standIn && !PrepareMachinePrefix(prefix, err)) || !EnsureKey(kPasswordKey, err)) {
        return 1;
    }
    // A fresh installation has no password: the file holds the frame around an empty password,
    // and there is no registry value.
    const platform::DWORD written = platform::ReplaceFileAtomically(
        passwordFile, PasswordFileLine("") + "\r\n", platform::Privacy::OwnerOnly);
    if (written != platform::ERROR_SUCCESS) {
        err << "ravelgard-tool install: cannot write " << passwordFile << ": "
            << RunError::FromWindowsError(written).description() << "\n";
        return 1;
    }
    out << "Wrote the password file " << passwordFile << "\n";
    if (standIn) {
        std::string why;
        const std::optional<std::string> program = browser ? browser : DesktopDefaultBrowser(why);
        RegisterBrowser(program, why, out, err);
        out << "Prepared the machine prefix " << prefix << "\n";
    }
    return 0;
}

}  // namespace rg::tool
