// Ending the program "at once": no window's closing step runs and no confirmation is asked.
// Pending profile writes are flushed first, so that nothing the user chose is lost.
#pragma once

#include <functional>

namespace rg {

// The hook replaces the process's end; tests install one that throws, so that a scripted run
// can observe the end. The hook must not return.
using EndProgramHook = std::function<void(int exitCode)>;
EndProgramHook SetEndProgramHook(EndProgramHook hook);

[[noreturn]] void EndProgram(int exitCode = 0);

}  // namespace rg
