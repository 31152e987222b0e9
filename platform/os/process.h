// Ending the process at once, as ExitProcess does: no window's closing step runs, nothing more
// of the program's code runs. Implemented by the system's backend.
#pragma once

namespace rg::platform {

[[noreturn]] void ExitProcess(unsigned exitCode);

}  // namespace rg::platform
