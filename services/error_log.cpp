#include "services/error_log.h"

#include <cstdio>
#include <ctime>
#include <exception>
#include <string>

#include "platform/os/file_system.h"

namespace rg {
namespace {

std::string CurrentDateAndTime() {
    const std::time_t now = std::time(nullptr);
    // The program has one thread, so the shared result of localtime cannot be overwritten
    // before it is formatted.
    const std::tm local = *std::localtime(&now);
    char date[16];
    char time[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    std::string text(date);
    text.append(1, ' ').append(time);
    return text;
}

std::string LogFilePath() {
    std::string folder = platform::AppPath();
    if (folder.empty() || folder.back() != platform::PathSeparator()) {
        folder += platform::PathSeparator();
    }
    return folder + "Err.log";
}

std::size_t& ErrorCounter() {
    static std::size_t count = 0;
    return count;
}

bool& LoggingToStandardError() {
    static bool toStandardError = false;
    return toStandardError;
}

}  // namespace

std::size_t LoggedErrorCount() {
    return ErrorCounter();
}

void LogErrorsToStandardError() {
    LoggingToStandardError() = true;
}

void LogError(const RunError& error, std::string_view source) {
    ++ErrorCounter();
    std::string line(source);
    line += ":---->";
    line += std::to_string(error.number());
    line += ",";
    line += error.description();
    line += ", On ";
    line += CurrentDateAndTime();
    if (LoggingToStandardError()) {
        std::fprintf(stderr, "%s\n", line.c_str());
        return;
    }
    line += "\r\n";
    const platform::DWORD result = platform::AppendToFile(LogFilePath(), line);
    if (result != platform::ERROR_SUCCESS) {
        // The log is the last resort; when it cannot be written the line must still be seen
        // somewhere, and the routine that is logging must go on.
        std::fprintf(stderr, "Err.log could not be written (error %u): %s",
                     static_cast<unsigned>(result), line.c_str());
    }
}

bool RunTrapped(std::string_view source, const std::function<void()>& body) {
    try {
        body();
        return true;
    } catch (const RunError& error) {
        LogError(error, source);
    } catch (const std::bad_alloc&) {
        LogError(RunError::OutOfMemory(), source);
    } catch (const std::exception& other) {
        LogError(RunError::InvalidCall(other.what()), source);
    }
    return false;
}

}  // namespace rg
