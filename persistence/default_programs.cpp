#include "persistence/default_programs.h"

#include <string>

#include "fileinfo/file_properties.h"
#include "persistence/program_section.h"
#include "persistence/save_settings.h"
#include "programs/default_programs.h"
#include "services/error_log.h"
#include "services/run_error.h"

namespace rg {
namespace {

constexpr std::int32_t kAllowCode = 0;

std::string_view TrimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The section is named by the display name without spaces at its ends: the firewall reads the
// name trimmed and deciphers the values with it, so they are enciphered with that same name.
void WriteAllowedProgram(const std::string& path, std::string_view programControlFilePath) {
    getFileProperty(path);
    const FileProperties& properties = fileProperties();
    const std::string_view name = TrimSpaces(properties.FileDescription);
    if (name.empty()) {
        throw RunError::InvalidCall("the program " + path +
                                    " has no name to name its section of the program settings");
    }
    WriteProgramSection(name, path, properties.FileVersion, kAllowCode, kAllowCode,
                        programControlFilePath);
}

}  // namespace

// A system program that cannot be written costs only its own section: the reason is logged and
// the others are written all the same.
void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath) {
    for (const std::string& path : SystemProgramPaths(systemDirPath)) {
        RunTrapped(kSaveSettingsSource, [&path, programControlFilePath] {
            WriteAllowedProgram(path, programControlFilePath);
        });
    }
    WriteAllowedProgram(DefaultBrowserPath(), programControlFilePath);
}

}  // namespace rg
