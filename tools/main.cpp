// ravelgard-tool: prepares a machine for the wizard and lets support read and adjust what the
// wizard wrote.
#include <iostream>
#include <string>

#include "services/error_log.h"
#include "tools/commands.h"
#include "tools/options.h"
#include "tools/usage.h"

namespace {

constexpr const char* kUsage =
    "Usage: ravelgard-tool [--help] [--version] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  install [--prefix DIR] [--browser PROGRAM]\n"
    "                                      prepare the machine: the password file of a fresh\n"
    "                                      installation and its registry key (on Linux also\n"
    "                                      the machine prefix and the default browser)\n"
    "  profile dump FILE                   print every section and key, values deciphered\n"
    "  profile get SECTION KEY FILE        print one value, deciphered\n"
    "  profile set SECTION KEY VALUE FILE  store one value, enciphered\n"
    "  profile clear SECTION FILE          remove every key of a section\n"
    "  fileinfo [--json] PATH...           show what the wizard reads from program files\n"
    "\n"
    "Options:\n"
    "  --help      show this text; COMMAND --help shows a command's options\n"
    "  --version   show the version\n"
    "  --prefix DIR       (install) the machine prefix on Linux; default $RAVELGARD_PREFIX,\n"
    "                     else $HOME/.ravelgard\n"
    "  --browser PROGRAM  (install) register PROGRAM as the default web browser (Linux)\n"
    "  --json             (fileinfo) one JSON object per file\n"
    "\n"
    "Texts are shown and taken in code page 1252. Errors go to standard error.\n";

int UsageError(const std::string& what) {
    std::cerr << "ravelgard-tool: " << what << "\n\n" << kUsage;
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    // The tool's folder is no installation: what the wizard's routines log goes to the terminal.
    rg::LogErrorsToStandardError();
    const rg::tool::ParsedOptions global = rg::tool::ParseOptions(
        rg::tool::Args(argv + 1, argv + argc), {{"help", false}, {"version", false}});
    if (!global.error.empty()) {
        return UsageError(global.error);
    }
    if (global.Has("help")) {
        std::cout << kUsage;
        return 0;
    }
    if (global.Has("version")) {
        std::cout << rg::tool::kToolVersion;
        return 0;
    }
    if (global.operands.empty()) {
        return UsageError("a command is missing");
    }
    const std::string command = global.operands.front();
    const rg::tool::Args args(global.operands.begin() + 1, global.operands.end());
    if (command == "install") {
        return rg::tool::RunInstallCommand(args, std::cout, std::cerr);
    }
    if (command == "profile") {
        return rg::tool::RunProfileCommand(args, std::cout, std::cerr);
    }
    if (command == "fileinfo") {
        return rg::tool::RunFileinfoCommand(args, std::cout, std::cerr);
    }
    return UsageError("unknown command '" + command + "'");
}
