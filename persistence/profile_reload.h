// The reset of the firewall's thirteen profile files to their factory state: each file in the
// profile folder is replaced by the text of its built-in copy.
#pragma once

#include <string>
#include <string_view>

#include "platform/base/win_types.h"

namespace rg {

// The source text under which a failing reset is logged.
inline constexpr std::string_view kReloadProfilesSource = "ReloadProfiles of Module mdlMain";

// Deletes one file; returns the platform's success flag (non-zero on success).
platform::BOOL RemoveFile(std::string_view path);

// The bytes a reset writes for a stored copy: the copy's text without its zero padding and
// without a line end of its own, followed by exactly one CR LF. No NUL byte and no lone CR can
// reach a profile file this way.
std::string ResetFileContents(std::string_view storedCopy);

// Creates the profile folder when it is missing (one level), then replaces the thirteen files
// in ProfileFileNames order, each atomically. The first failure ends the reset with one line in
// the error log: the files before it are reset, the failing one and those after it are left as
// they were. Never raises.
// profilesPath: the profile folder followed by its separator (the ProfilesPath global).
void ReloadProfiles(std::string_view profilesPath);
// The same on the ProfilesPath global that start-up sets.
void ReloadProfiles();

}  // namespace rg
