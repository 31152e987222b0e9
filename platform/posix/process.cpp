#include "platform/os/process.h"

#include <unistd.h>

#include <cstdio>

#include "platform/base/codepage.h"

namespace rg::platform {

void ExitProcess(unsigned exitCode) {
    std::fflush(nullptr);
    ::_exit(static_cast<int>(exitCode));
}

std::optional<std::string> TextFromCommandLine(std::string_view argument) {
    std::string text;
    if (!Utf8ToCp1252Exact(argument, text)) {
        return std::nullopt;
    }
    return text;
}

std::string TextForTerminal(std::string_view cp1252) {
    return Cp1252ToUtf8(cp1252);
}

}  // namespace rg::platform
