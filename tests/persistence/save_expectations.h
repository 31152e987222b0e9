// What a finished save must leave in the profile folder, byte for byte: the reset text of each
// file, the alerts file with its alert choice, and the program sections in the form the profile
// writer gives them. Shared by the save's tests, its crash test and its benchmark set-up.
#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// Section headers of an INI text, in file order.
std::vector<std::string> SectionHeaders(std::string_view bytes);

// Number of lines in the error log text (each line ends with CR LF).
int LogLines(std::string_view log);

}  // namespace rg::test
