// Finds the desktop's default web browser, so that the installer can register it where Windows
// keeps it and the wizard's "allow the default programs" choice can list it.
#pragma once

#include <optional>
#include <string>

namespace rg::tool {

// The absolute path of the default browser's program as the desktop names it
// (xdg-settings and the browser's .desktop entry), or nothing when the desktop names none.
std::optional<std::string> DesktopDefaultBrowser();

// The Exec= program of a .desktop entry's text, without arguments or quotes; empty when none.
std::string ProgramOfDesktopEntry(const std::string& entryText);

}  // namespace rg::tool
