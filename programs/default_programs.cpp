#include "programs/default_programs.h"

#include "platform/os/registry.h"
#include "services/registry_access.h"
#include "services/run_error.h"

namespace rg {
namespace {

// Closing quote, space and "%1" at the end; the opening quote at the start.
constexpr std::size_t kCommandTailLength = 4;
constexpr std::size_t kCommandHeadLength = 1;

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

std::array<std::string, 2> SystemProgramPaths(std::string_view systemDirPath) {
    return {std::string(systemDirPath) + "services.exe",
            std::string(systemDirPath) + "svchost.exe"};
}

std::string DefaultBrowserPath() {
    return BrowserPathFromCommand(
        RegReadString(platform::HKEY_CLASSES_ROOT, kBrowserCommandKey, "", ""));
}

}  // namespace rg
