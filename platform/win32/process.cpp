#include "platform/os/process.h"

#include <cstdio>

#include <windows.h>

namespace rg::platform {

void ExitProcess(unsigned exitCode) {
    std::fflush(nullptr);
    ::ExitProcess(exitCode);
}

std::optional<std::string> TextFromCommandLine(std::string_view argument) {
    return std::string(argument);
}

std::string TextForTerminal(std::string_view cp1252) {
    return std::string(cp1252);
}

}  // namespace rg::platform
