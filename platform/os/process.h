// The process and its command line: ending the process at once, as ExitProcess does (no
// window's closing step runs, nothing more of the program's code runs), and the texts of the
// command line and the terminal. Implemented by the system's backend.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rg::platform {

[[noreturn]] void ExitProcess(unsigned exitCode);

// A command-line argument as code page 1252 text, or nothing when it holds a character the code
// page lacks. Linux gives arguments in UTF-8; Windows gives an ANSI program its arguments in
// the ANSI code page already.
std::optional<std::string> TextFromCommandLine(std::string_view argument);

// Code page 1252 text as the terminal shows it: UTF-8 on Linux, unchanged on Windows.
std::string TextForTerminal(std::string_view cp1252);

}  // namespace rg::platform
