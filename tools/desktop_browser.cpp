#include "tools/desktop_browser.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string_view>
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

namespace {

// The string escapes of a desktop entry's values.
std::string UndoStringEscapes(const std::string& value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (value[++i]) {
            case 's':
                out += ' ';
                break;
            case 'n':
                out += '\n';
                break;
            case 't':
                out += '\t';
                break;
            case 'r':
                out += '\r';
                break;
            case '\\':
                out += '\\';
                break;
            default:  // not an escape of strings: left for the quoting rules of Exec
                out += '\\';
                out += value[i];
                break;
        }
    }
    return out;
}

bool IsLauncher(const std::string& program, const std::vector<std::string>& arguments,
                std::size_t at) {
    const std::string name = program.substr(program.find_last_of('/') + 1);
    static const std::vector<std::string> kWrappers = {
        "flatpak",  "snap",     "firejail",  "bwrap",      "gtk-launch", "gio",
        "xdg-open", "exo-open", "kioclient", "kioclient5", "sudo",       "pkexec"};
    for (const std::string& wrapper : kWrappers) {
        if (name == wrapper) {
            return true;
        }
    }
    if (program.rfind("/snap/bin/", 0) == 0) {
        return true;  // every program there is the snap launcher under another name
    }
    static const std::vector<std::string> kShells = {"sh", "bash", "dash", "zsh", "ksh", "fish"};
    for (const std::string& shell : kShells) {
        if (name == shell) {
            for (std::size_t i = at + 1; i < arguments.size(); ++i) {
                if (arguments[i] == "-c") {
                    return true;
                }
            }
        }
    }
    return false;
}

}  // namespace

std::vector<std::string> ExecArguments(const std::string& exec) {
    const std::string text = UndoStringEscapes(exec);
    std::vector<std::string> arguments;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < text.size() &&
                       std::string_view("\"`$\\").find(text[i + 1]) != std::string_view::npos) {
                current += text[++i];
            } else {
                current += c;
            }
        } else if (c == '"') {
            quoted = true;
            inWord = true;
        } else if (c == ' ' || c == '\t') {
            if (inWord) {
                arguments.push_back(current);
                current.clear();
                inWord = false;
            }
        } else if (c == '%' && i + 1 < text.size()) {
            if (text[++i] == '%') {
                current += '%';
                inWord = true;
            }  // a field code stands for files or URLs the desktop passes: none here
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord) {
        arguments.push_back(current);
    }
    return arguments;
}

EntryProgram ProgramOfDesktopEntry(const std::string& entryText) {
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
        const std::vector<std::string> arguments = ExecArguments(line.substr(5));
        std::size_t at = 0;
        if (at < arguments.size() &&
            arguments[at].substr(arguments[at].find_last_of('/') + 1) == "env") {
            ++at;
            while (at < arguments.size() &&
                   (arguments[at].find('=') != std::string::npos || arguments[at].front() == '-')) {
                // "-u NAME" and "-C DIR" take the next word as their value.
                const bool takesValue = arguments[at] == "-u" || arguments[at] == "--unset" ||
                                        arguments[at] == "-C" || arguments[at] == "--chdir";
                at += takesValue ? 2 : 1;
            }
        }
        if (at >= arguments.size()) {
            return {};
        }
        const std::string& program = arguments[at];
        if (IsLauncher(program, arguments, at)) {
            return {program, "it is started through " + program +
                                 ", a launcher or sandbox whose permission would cover every "
                                 "program it starts"};
        }
        return {program, {}};
    }
    return {};
}

std::optional<std::string> DesktopDefaultBrowser(std::string& why) {
    why.clear();
    const std::string entryName = CommandOutput("xdg-settings get default-web-browser 2>/dev/null");
    if (entryName.empty() || entryName.find('/') != std::string::npos) {
        why = "the desktop names no default web browser";
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
        const EntryProgram found = ProgramOfDesktopEntry(text.str());
        if (!found.refusal.empty()) {
            why =
                "the default web browser " + entryName + " cannot be registered: " + found.refusal;
            return std::nullopt;
        }
        const std::string program = FindInPath(found.program);
        if (!program.empty()) {
            return program;
        }
    }
    why = "the program of the default web browser " + entryName + " was not found";
    return std::nullopt;
}

}  // namespace rg::tool
