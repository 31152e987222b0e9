// Finds the desktop's default web browser, so that the installer can register it where Windows
// keeps it and the wizard's "allow the default programs" choice can list it.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace rg::tool {

// What a .desktop entry starts: the program, or why no program can be named for it.
struct EntryProgram {
    std::string program;  // as the entry names it (a name to look up in PATH, or a path)
    std::string refusal;  // set when the entry starts a launcher the firewall cannot use
};

// The words of an Exec= value as the freedesktop.org desktop entry format reads them: the string's
// escapes undone (\s, \n, \t, \r, \\), split at unquoted blanks, double quotes removed with
// their escapes (\" \` \$ \\), field codes dropped (%f, %U, ...; %% is "%").
std::vector<std::string> ExecArguments(const std::string& exec);

// The program the [Desktop Entry] group's Exec= key starts: `env` and its settings are passed
// over; a launcher or sandbox (flatpak, snap, a shell running a command with -c, and the like)
// cannot stand for the browser, since the firewall would then allow the launcher for every
// program it starts: the refusal says so.
EntryProgram ProgramOfDesktopEntry(const std::string& entryText);

// The absolute path of the default browser's program as the desktop names it
// (xdg-settings and the browser's .desktop entry), or nothing with the reason in `why`.
std::optional<std::string> DesktopDefaultBrowser(std::string& why);

}  // namespace rg::tool
