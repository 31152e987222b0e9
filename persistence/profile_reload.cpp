#include "persistence/profile_reload.h"

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "resources/builtin_profiles.h"
#include "services/error_log.h"
#include "services/run_error.h"
#include "startup/globals.h"

namespace rg {
namespace {

void CreateProfileFolderWhenMissing(std::string_view profilesPath) {
    if (platform::PathFileExistsA(profilesPath)) {
        return;
    }
    if (!platform::CreateDirectoryA(profilesPath)) {
        throw RunError::FromWindowsError(platform::GetLastError());
    }
}

void ResetOneFile(std::string_view profilesPath, std::string_view name) {
    const auto copy = BuiltInProfileCopy(name);
    if (!copy) {
        throw RunError::ResourceNotFound(std::string(name));
    }
    const std::string path = std::string(profilesPath) + std::string(name);
    // One atomic replacement instead of delete-then-create: a failure or a crash leaves the old
    // file whole, and the firewall never finds the file missing.
    const platform::DWORD result = platform::ReplaceFileAtomically(path, ResetFileContents(*copy));
    if (result != platform::ERROR_SUCCESS) {
        throw RunError::FromWindowsError(result);
    }
}

}  // namespace

platform::BOOL RemoveFile(std::string_view path) {
    return platform::DeleteFileA(path);
}

std::string ResetFileContents(std::string_view storedCopy) {
    std::string_view text = CopyText(storedCopy);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    std::string contents(text);
    contents += "\r\n";
    return contents;
}

void ReloadProfiles(std::string_view profilesPath) {
    RunTrapped(kReloadProfilesSource, [profilesPath] {
        // Changes still held by the profile service would otherwise be written over the reset
        // files at the next flush.
        platform::FlushPrivateProfiles();
        CreateProfileFolderWhenMissing(profilesPath);
        for (const std::string_view name : ProfileFileNames) {
            ResetOneFile(profilesPath, name);
        }
    });
}

void ReloadProfiles() {
    ReloadProfiles(ProfilesPath);
}

}  // namespace rg
