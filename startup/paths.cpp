#include <string>

#include "platform/os/file_system.h"
#include "startup/globals.h"

namespace rg {

std::string ProfilesPath;
std::string ProgramControlFilePath;
std::string AlertsFilePath;
std::string SystemDirPath;
std::string StoredPassword;
bool LoginAccepted = false;

namespace {

constexpr platform::UINT kSystemDirBufferSize = 1024;

std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// The system directory is asked for with a buffer of 1024 spaces; the platform writes the path
// and a NUL at its start, the spaces are trimmed and the NUL (now last) replaced by the path
// separator. When the path does not fit, the buffer stays all spaces: then there is nothing to
// cut and the result is empty rather than a bare separator that would point the password file
// at the root folder.
std::string QuerySystemDirPath() {
    std::string buffer(kSystemDirBufferSize, ' ');
    platform::GetSystemDirectoryA(buffer.data(), kSystemDirBufferSize);
    const std::string trimmed = TrimSpaces(buffer);
    if (trimmed.empty() || trimmed.back() != '\0') {
        return {};
    }
    return trimmed.substr(0, trimmed.size() - 1) + platform::PathSeparator();
}

}  // namespace

void InitPaths() {
    const std::string appPath = platform::AppPath();
    LangFilePath = platform::JoinPath(platform::JoinPath(appPath, "Lang"), "English.INI");
    ProfilesPath = platform::JoinPath(appPath, "Profiles") + platform::PathSeparator();
    ProgramControlFilePath = ProfilesPath + "ProgramControl.RVL";
    AlertsFilePath = ProfilesPath + "AlertsAndLogSetting.RVL";
    SystemDirPath = QuerySystemDirPath();
}

}  // namespace rg
