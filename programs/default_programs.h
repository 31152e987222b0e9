// The default network programs: services.exe and svchost.exe from the system directory and the
// default web browser, each written as a program section with Access and Server "Allow".
#pragma once

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

// Writes the sections of services.exe, svchost.exe and the browser, in this order, each named
// by the file's display name with its version and code 0 ("Allow") for both permissions. No
// error path of its own: a missing or too short browser command raises RunError after the two
// system programs are written, and errors of the writes pass to the caller.
// systemDirPath: the system directory followed by its separator (the SystemDirPath global);
// programControlFilePath: the program control profile (the ProgramControlFilePath global).
void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath);

}  // namespace rg
