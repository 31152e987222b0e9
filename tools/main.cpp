// ravelgard-tool: prepares a machine prefix for the wizard and lets support read and adjust
// what the wizard wrote.
#include <iostream>
#include <string>

#include "tools/commands.h"

namespace {

constexpr const char* kUsage =
    "Usage: ravelgard-tool COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  install [--prefix DIR]              create the machine prefix: system directory,\n"
    "                                      registry files and the password file of a fresh\n"
    "                                      installation\n"
    "  profile dump FILE                   print every section and key, values deciphered\n"
    "  profile get SECTION KEY FILE        print one value, deciphered\n"
    "  profile set SECTION KEY VALUE FILE  store one value, enciphered\n"
    "  profile clear SECTION FILE          remove every key of a section\n"
    "  fileinfo [--json] PATH...           show what the wizard reads from program files\n"
    "  --help                              show this text\n"
    "\n"
    "The machine prefix is $RAVELGARD_PREFIX, or $HOME/.ravelgard when it is not set.\n"
    "Texts are shown and taken in code page 1252.\n";

}  // namespace

int main(int argc, char** argv) {
    rg::tool::Args args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << kUsage;
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << kUsage;
        return 0;
    }
    if (command == "install") {
        return rg::tool::RunInstallCommand(args, std::cout, std::cerr);
    }
    if (command == "profile") {
        return rg::tool::RunProfileCommand(args, std::cout, std::cerr);
    }
    if (command == "fileinfo") {
        return rg::tool::RunFileinfoCommand(args, std::cout, std::cerr);
    }
    std::cerr << "ravelgard-tool: unknown command '" << command << "'\n\n" << kUsage;
    return 2;
}
