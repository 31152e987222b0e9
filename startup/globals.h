// The process-wide globals of the start-up sequence: the installation's paths (set once by
// InitPaths), the stored settings password (set once by Main) and the login prompt's outcome.
// LangFilePath lives with the language strings that read it (services/language.h).
#pragma once

#include <string>

#include "services/language.h"

namespace rg {

extern std::string ProfilesPath;            // AppPath + "/Profiles/"
extern std::string ProgramControlFilePath;  // ProfilesPath + "ProgramControl.RVL"
extern std::string AlertsFilePath;          // ProfilesPath + "AlertsAndLogSetting.RVL"
// The system directory with one trailing "/"; empty when the system directory could not be
// determined, which start-up treats as a missing password file.
extern std::string SystemDirPath;

extern std::string StoredPassword;  // empty when no password is set
extern bool LoginAccepted;

// Sets the five path globals from the executable's folder and the system directory.
void InitPaths();

}  // namespace rg
