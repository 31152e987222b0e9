// The texts ravelgard-tool shows about its own command line.
#pragma once

namespace rg::tool {

inline constexpr const char* kToolVersion = "ravelgard-tool 1.0.0\n";

inline constexpr const char* kInstallUsage =
    "Usage: ravelgard-tool install [--prefix DIR] [--browser PROGRAM]\n"
    "  Prepares the machine for the wizard: the password file of a fresh installation (an\n"
    "  existing one is never overwritten) and the registry key of the password store.\n"
    "  On Linux it first creates the machine prefix that stands for Windows.\n"
    "  --prefix DIR       the machine prefix (Linux; default $RAVELGARD_PREFIX or\n"
    "                     $HOME/.ravelgard)\n"
    "  --browser PROGRAM  register PROGRAM as the default web browser (Linux); without it the\n"
    "                     desktop's default browser is registered when the desktop names one\n";

inline constexpr const char* kProfileUsage =
    "Usage: ravelgard-tool profile dump FILE\n"
    "       ravelgard-tool profile get SECTION KEY FILE\n"
    "       ravelgard-tool profile set SECTION KEY VALUE FILE\n"
    "       ravelgard-tool profile clear SECTION FILE\n"
    "  Reads and writes profile values exactly as the wizard does (enciphered with the\n"
    "  section name as key).\n";

inline constexpr const char* kFileinfoUsage =
    "Usage: ravelgard-tool fileinfo [--json] PATH...\n"
    "  Shows what the wizard reads from program files: display name, version, size, dates.\n"
    "  --json  one JSON object per file\n";

}  // namespace rg::tool
