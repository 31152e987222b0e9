// Writing the default network programs (programs/default_programs.h) into the program control
// profile, each as a section with Access and Server "Allow".
#pragma once

#include <string_view>

namespace rg {

// Writes the sections of services.exe, svchost.exe and the browser, in this order, each named
// by the file's display name with its version and code 0 ("Allow") for both permissions. No
// error path of its own: a missing or too short browser command raises RunError after the two
// system programs are written, and errors of the writes pass to the caller.
// systemDirPath: the system directory followed by its separator (the SystemDirPath global);
// programControlFilePath: the program control profile (the ProgramControlFilePath global).
void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath);

}  // namespace rg
