// The one way start-up fails: a critical-stop message box titled with the application title,
// then the program ends at once.
#pragma once

#include <string>

namespace rg {

inline constexpr const char* kInstallationCorruptedText =
    "Applicaation corrupted please reinstall it.";

// The application title followed by " is corrupted.".
std::string StoresCorruptedText();

[[noreturn]] void FailStartup(const std::string& text);

}  // namespace rg
