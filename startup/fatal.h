// The one way start-up fails: a critical-stop message box titled with the application title,
// then the program ends at once, with exit status 1 and one line on standard error that names
// the cause (the box's texts are fixed and say little).
#pragma once

#include <string>

namespace rg {

inline constexpr const char* kInstallationCorruptedText =
    "Applicaation corrupted please reinstall it.";

// The application title followed by " is corrupted.".
std::string StoresCorruptedText();

inline constexpr int kStartupFailedExitCode = 1;

[[noreturn]] void FailStartup(const std::string& text, const std::string& cause);

}  // namespace rg
