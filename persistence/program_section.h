// The writer of one program's section in the program control profile ("ProgramControl.RVL"):
// fifteen keys, in a fixed order, every value enciphered with the section name as key.
//
// The profile file is passed in, so that the writer can be used and tested without start-up
// state; the five-argument form writes to the ProgramControlFilePath global.
#pragma once

#include <cstdint>
#include <string_view>

namespace rg {

// Empties the section (every section of that name, matched without regard to case), then
// writes Version, Column1 and Column2 (server code), Column3 and Column4 (access code),
// Column5, Column6, Path, AllowAccess, Ports, ICMP_Protocol, IGMP_Protocol, Authenticate,
// CheckedPorts, NoCustomizePorts. Writes go through the profile service's cache
// (platform::FlushPrivateProfiles writes them out).
//
// Raises RunError before anything is changed when one of the values could not be stored so
// that it reads back unchanged (services/ini_access.h CanStoreINIValue), and passes on any error
// of the writes themselves.
void WriteProgramSection(std::string_view section, std::string_view path, std::string_view version,
                         std::int32_t serverCode, std::int32_t accessCode,
                         std::string_view programControlFilePath);
void WriteProgramSection(std::string_view section, std::string_view path, std::string_view version,
                         std::int32_t serverCode, std::int32_t accessCode);

}  // namespace rg
