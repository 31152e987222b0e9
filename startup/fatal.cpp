#include "startup/fatal.h"

#include "platform/message_box.h"
#include "platform/process.h"
#include "services/app_title.h"

namespace rg {

std::string StoresCorruptedText() {
    return std::string(kAppTitle) + " is corrupted.";
}

void FailStartup(const std::string& text) {
    platform::MessageBoxA(text, kAppTitle, platform::MB_OK | platform::MB_ICONHAND);
    platform::EndProgram();
}

}  // namespace rg
