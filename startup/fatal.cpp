#include "startup/fatal.h"

#include <cstdio>

#include "platform/ui/message_box.h"
#include "services/app_title.h"
#include "services/end_program.h"

namespace rg {

std::string StoresCorruptedText() {
    return std::string(kAppTitle) + " is corrupted.";
}

void FailStartup(const std::string& text, const std::string& cause) {
    std::fprintf(stderr, "ravelgard-wizard: %s\n", cause.c_str());
    platform::MessageBoxA(text, kAppTitle, platform::MB_OK | platform::MB_ICONHAND);
    EndProgram(kStartupFailedExitCode);
}

}  // namespace rg
