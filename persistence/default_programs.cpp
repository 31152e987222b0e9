#include "persistence/default_programs.h"

#include <string>

#include "fileinfo/file_properties.h"
#include "persistence/program_section.h"
#include "programs/default_programs.h"

namespace rg {
namespace {

constexpr std::int32_t kAllowCode = 0;

void WriteAllowedProgram(const std::string& path, std::string_view programControlFilePath) {
    getFileProperty(path);
    const FileProperties& properties = fileProperties();
    WriteProgramSection(properties.FileDescription, path, properties.FileVersion, kAllowCode,
                        kAllowCode, programControlFilePath);
}

}  // namespace

void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath) {
    for (const std::string& path : SystemProgramPaths(systemDirPath)) {
        WriteAllowedProgram(path, programControlFilePath);
    }
    WriteAllowedProgram(DefaultBrowserPath(), programControlFilePath);
}

}  // namespace rg
