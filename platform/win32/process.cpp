#include "platform/os/process.h"

#include <cstdio>

#include <windows.h>

namespace rg::platform {

void ExitProcess(unsigned exitCode) {
    std::fflush(nullptr);
    ::ExitProcess(exitCode);
}

}  // namespace rg::platform
