#include "tools/desktop_browser.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

#include "platform/os/file_system.h"

namespace rg::tool {
namespace {

std::string CommandOutput(const char* command) {
    std::string output;
    if (FILE* pipe = ::popen(command, "r")) {
        char chunk[256];
        while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
            output += chunk;
        }
        ::pclose(pipe);
    }
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

std::vector<std::string> ApplicationFolders() {
    std::vector<std::string> folders;
    const char* home = std::getenv("HOME");
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && *dataHome) {
        folders.push_back(std::string(dataHome) + "/applications");
    } else if (home && *home) {
        folders.push_back(std::string(home) + "/.local/share/applications");
    }
    const char* dataDirs = std::getenv("XDG_DATA_DIRS");
    std::istringstream dirs(dataDirs && *dataDirs ? dataDirs : "/usr/local/share:/usr/share");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        if (!dir.empty()) {
            folders.push_back(dir + "/applications");
        }
    }
    return folders;
}

std::string FindInPath(const std::string& program) {
    if (program.empty() || program.front() == '/') {
        return program;
    }
    const char* path = std::getenv("PATH");
    std::istringstream dirs(path ? path : "/usr/bin:/bin");
    for (std::string dir; std::getline(dirs, dir, ':');) {
        std::string candidate = dir;
        candidate.append(1, '/').append(program);
        // PATH names folders in UTF-8; the platform takes code page 1252 paths.
        if (!dir.empty() && platform::PathFileExistsA(platform::PathFromNative(candidate))) {
            return candidate;
        }
    }
    return {};
}

}  // namespace

std::string ProgramOfDesktopEntry(const std::string& entryText) {
    std::istringstream lines(entryText);
    bool inMainGroup = false;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inMainGroup || line.rfind("Exec=", 0) != 0) {
            continue;
        }
        const std::string command = line.substr(5);
        if (!command.empty() && command.front() == '"') {
            const auto close = command.find('"', 1);
            return close == std::string::npos ? std::string() : command.substr(1, close - 1);
        }
        return command.substr(0, command.find(' '));
    }
    return {};
}

std::optional<std::string> DesktopDefaultBrowser() {
    const std::string entryName = CommandOutput("xdg-settings get default-web-browser 2>/dev/null");
    if (entryName.empty() || entryName.find('/') != std::string::npos) {
        return std::nullopt;
    }
    for (const std::string& folder : ApplicationFolders()) {
        std::string entryPath = folder;
        entryPath.append(1, '/').append(entryName);
        std::ifstream entry(entryPath);
        if (!entry) {
            continue;
        }
        std::ostringstream text;
        text << entry.rdbuf();
        const std::string program = FindInPath(ProgramOfDesktopEntry(text.str()));
        if (!program.empty()) {
            return program;
        }
    }
    return std::nullopt;
}

}  // namespace rg::tool
