#include "persistence/save_settings.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "fileinfo/file_properties.h"
#include "persistence/default_programs.h"
#include "persistence/profile_reload.h"
#include "persistence/program_section.h"
#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "programs/permissions.h"
#include "services/error_log.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "startup/globals.h"
#include "startup/password_store.h"

namespace rg {
namespace {

constexpr float kDefaultPrograms = 1;
constexpr float kOwnList = 3;

// The shortest decimal text that reads back as the same number: "1" and "0" for the alert
// choice, never "1.0" or "1.000000".
std::string ShortestDecimalText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Each row keeps the section name under which it was listed; only the version is read again,
// because the file may have changed since.
void SaveProgramList(const std::vector<ProgramRowSettings>& rows) {
    const std::size_t count = rows.size();
    for (std::size_t index = 0; index < count; ++index) {
        const ProgramRowSettings& row = rows[index];
        getFileProperty(row.Path);
        const std::int32_t serverCode = PermissionToCode(row.Server);
        const std::int32_t accessCode = PermissionToCode(row.Access);
        WriteProgramSection(row.Name, row.Path, fileProperties().FileVersion, serverCode,
                            accessCode);
    }
}

// Steps 2 to 4 of the save; the first error ends them and is handled by the caller.
void WriteChoices(const WizardSettings& settings) {
    if (!settings.WizardPassword.empty()) {
        SavePassword(settings.WizardPassword);
    }
    WriteINI("Main", "AlertEvent", ShortestDecimalText(settings.AlertChoice), AlertsFilePath, true);
    if (settings.ProgramChoice == kDefaultPrograms) {
        WriteDefaultPrograms(SystemDirPath, ProgramControlFilePath);
    } else if (settings.ProgramChoice == kOwnList) {
        SaveProgramList(settings.Programs);
    }
}

// The profile writes are held in memory until a flush; the program ends right after the save,
// so they must be on disk before it returns. A file that cannot be written is an error of the
// save like any other.
void FlushSavedWrites() {
    if (platform::FlushPrivateProfiles() == platform::FALSE) {
        LogError(RunError::FromWindowsError(platform::GetLastError()), kSaveSettingsSource);
    }
}

}  // namespace

bool saveStartupWizardSettings(const WizardSettings& settings) {
    const std::size_t errorsBefore = LoggedErrorCount();
    ReloadProfiles();
    RunTrapped(kSaveSettingsSource, [&settings] { WriteChoices(settings); });
    FlushSavedWrites();
    return LoggedErrorCount() == errorsBefore;
}

}  // namespace rg
