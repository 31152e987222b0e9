#include "platform/process.h"

#include <unistd.h>

#include <cstdio>
#include <utility>

#include "platform/profile_api.h"

namespace rg::platform {
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
    FlushPrivateProfiles();
    if (CurrentHook()) {
        CurrentHook()(exitCode);
    }
    std::fflush(nullptr);
    ::_exit(exitCode);
}

}  // namespace rg::platform
