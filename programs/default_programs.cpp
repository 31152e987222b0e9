#include "programs/default_programs.h"

#include "fileinfo/file_properties.h"
#include "persistence/program_section.h"
#include "platform/registry.h"
#include "services/registry_access.h"
#include "services/run_error.h"

namespace rg {
namespace {

constexpr std::int32_t kAllowCode = 0;

// Closing quote, space and "%1" at the end; the opening quote at the start.
constexpr std::size_t kCommandTailLength = 4;
constexpr std::size_t kCommandHeadLength = 1;

void WriteAllowedProgram(const std::string& path, std::string_view programControlFilePath) {
    getFileProperty(path);
    const FileProperties& properties = fileProperties();
    WriteProgramSection(properties.FileDescription, path, properties.FileVersion, kAllowCode,
                        kAllowCode, programControlFilePath);
}

}  // namespace

std::string BrowserPathFromCommand(std::string_view command) {
    if (command.size() < kCommandTailLength + kCommandHeadLength) {
        throw RunError::InvalidCall("the browser command \"" + std::string(command) +
                                    "\" is too short to hold a path");
    }
    command.remove_suffix(kCommandTailLength);
    command.remove_prefix(kCommandHeadLength);
    return std::string(command);
}

void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath) {
    WriteAllowedProgram(std::string(systemDirPath) + "services.exe", programControlFilePath);
    WriteAllowedProgram(std::string(systemDirPath) + "svchost.exe", programControlFilePath);
    const std::string command =
        RegReadString(platform::HKEY_CLASSES_ROOT, kBrowserCommandKey, "", "");
    WriteAllowedProgram(BrowserPathFromCommand(command), programControlFilePath);
}

}  // namespace rg
