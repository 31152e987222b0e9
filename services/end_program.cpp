#include "services/end_program.h"

#include <utility>

#include "platform/ini/profile_api.h"
#include "platform/os/process.h"

namespace rg {
namespace {

EndProgramHook& CurrentHook() {
    static EndProgramHook hook;
    return hook;
}

}  // namespace

EndProgramHook SetEndProgramHook(EndProgramHook hook) {
    return std::exchange(CurrentHook(), std::move(hook));
}

void EndProgram(int exitCode) {
    platform::FlushPrivateProfiles();
    if (CurrentHook()) {
        CurrentHook()(exitCode);
    }
    platform::ExitProcess(static_cast<unsigned>(exitCode));
}

}  // namespace rg
