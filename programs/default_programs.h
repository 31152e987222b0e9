// The default network programs: services.exe and svchost.exe from the system directory and the
// default web browser, whose command line the registry keeps. The save step writes each of
// them as a program section with Access and Server "Allow" (persistence/default_programs.h).
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace rg {

// Where the browser's command line is read: HKEY_CLASSES_ROOT, this key, its default value.
inline constexpr std::string_view kBrowserCommandKey =
    "Applications\\iexplore.exe\\shell\\open\\command";

// The browser's path from its command line of the usual form, a quoted path, a space and %1:
// the last 4 characters and then the first are dropped. A command of another form is cut the
// same way. Raises RunError (invalid call) for a command shorter than 5 characters.
std::string BrowserPathFromCommand(std::string_view command);

// services.exe and svchost.exe in the system directory, in this order. systemDirPath: the
// system directory followed by its separator (the SystemDirPath global).
std::array<std::string, 2> SystemProgramPaths(std::string_view systemDirPath);

// The browser's path from the command line the registry keeps for it. Raises RunError when
// there is none or it is too short to hold a path.
std::string DefaultBrowserPath();

}  // namespace rg
