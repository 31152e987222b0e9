// What the save must leave behind, worked out apart from the code that writes it: the reset
// text of each profile file, the alerts file with its alert choice, and the program sections as
// the firewall reads them. Shared by the tests of the save, the reset and the section writer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "tests/support/temp_install.h"

namespace rg::test {

// One expected program section: its header, the plain values of its codes, version and path.
struct ExpectedProgram {
    std::string name;
    std::string path;
    std::string version;
    int serverCode = 0;
    int accessCode = 0;
};

// The reset bytes of a profile file.
std::string FactoryBytes(std::string_view profileName);

// The reset alerts file with "AlertEvent" in section "Main" holding the enciphered choice.
std::string AlertsBytes(std::string_view alertChoice);

// ";Save Programs Here" and CR LF, then one section per program with its fifteen keys in order,
// each value enciphered with the section name.
std::string ProgramControlBytes(const std::vector<ExpectedProgram>& programs);

// The lines of an error log up to the error number: "source:---->number".
std::vector<std::string> LogHeads(std::string_view log);

}  // namespace rg::test
