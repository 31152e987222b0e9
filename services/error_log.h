// The program's one error path: trapping routines append one line per error to Err.log in the
// installation folder:  <source>:----><number>,<description>, On <date> <time>  and CR LF.
// The date is written as YYYY-MM-DD and the time as HH:MM:SS (local time).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "services/run_error.h"

namespace rg {

// Never throws: when the log cannot be written the line goes to standard error instead, so a
// failing log neither crashes the program nor stops the save that is logging.
void LogError(const RunError& error, std::string_view source);

// From now on every line goes to standard error instead of Err.log: for the support tool, whose
// own folder is no installation and whose user reads the terminal.
void LogErrorsToStandardError();

// How many errors LogError has logged in this process: a step that must tell whether it went
// through compares the count before and after.
std::size_t LoggedErrorCount();

// Runs body; a RunError (or any other exception, logged as error 5) raised inside it is logged
// under source and swallowed. Returns true when body ran to its end.
bool RunTrapped(std::string_view source, const std::function<void()>& body);

}  // namespace rg
