// The factory state of the firewall's thirteen profile files, carried inside the program so
// that it cannot go missing: their names in reset order and the stored byte copy of each.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace rg {

// The profile files in the order in which a reset writes them.
inline constexpr std::array<std::string_view, 13> ProfileFileNames = {
    "AlertsAndLogSetting.RVL",
    "RVDB.RVL",
    "Components.RVL",
    "Database_HostSetting.RVL",
    "Database_IPAddress.RVL",
    "Database_IPRangeSetting.RVL",
    "Database_IPSetting.RVL",
    "Database_PortSetting.RVL",
    "Database_SubnetSetting.RVL",
    "Database_TCPPorts.RVL",
    "Database_UDPPorts.RVL",
    "ProgramControl.RVL",
    "ProgramMain.RVL",
};

// The stored copy of the named profile file (name matched without regard to ASCII case): the
// file's text with CR LF line ends and every value enciphered with its section name, followed
// by zero bytes up to a whole multiple of 4 bytes. std::nullopt for an unknown name.
std::optional<std::string_view> BuiltInProfileCopy(std::string_view name);

// The text of a stored copy: the copy without the zero bytes that pad it.
std::string_view CopyText(std::string_view copy);

}  // namespace rg
