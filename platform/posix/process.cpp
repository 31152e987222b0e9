#include "platform/os/process.h"

#include <unistd.h>

#include <cstdio>

namespace rg::platform {

void ExitProcess(unsigned exitCode) {
    std::fflush(nullptr);
    ::_exit(static_cast<int>(exitCode));
}

}  // namespace rg::platform
