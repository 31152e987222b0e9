// Command-line texts arrive and are shown in the system's form (UTF-8 on Linux, the ANSI code
// page on Windows); the profile files hold code page 1252 bytes. These helpers convert at that
// edge and report texts that cannot be converted.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace rg::tool {

// The argument as code page 1252 bytes, or nothing when it holds a character outside it.
std::optional<std::string> ArgumentAsCp1252(std::string_view argument);

// Code page 1252 bytes as UTF-8 for the terminal.
std::string ForTerminal(std::string_view cp1252);

}  // namespace rg::tool
