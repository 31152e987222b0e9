// Writing the default network programs (programs/default_programs.h) into the program control
// profile, each as a section with Access and Server "Allow".
#pragma once

#include <string_view>

namespace rg {

// Writes the sections of services.exe, svchost.exe and the browser, in this order, each named
// by the file's display name (without spaces at its ends) with its version and code 0 ("Allow")
// for both permissions. A system program that cannot be written (no name, a name that cannot
// name a section) is logged as an error of the save and skipped; the others are written all the
// same. A missing or too short browser command raises RunError after the two system programs,
// and so do the browser's own write errors.
// systemDirPath: the system directory followed by its separator (the SystemDirPath global);
// programControlFilePath: the program control profile (the ProgramControlFilePath global).
void WriteDefaultPrograms(std::string_view systemDirPath, std::string_view programControlFilePath);

}  // namespace rg
