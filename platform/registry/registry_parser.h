// Reading a registry file in the REGEDIT4 text format that regedit imports: the "REGEDIT4"
// first line, "[ROOT\Key\Sub]" key lines, and value lines "name"=data or @=data, where data is
// "text" (REG_SZ, stored with a terminating zero, \\ and \" escaped), dword:0000002a,
// hex:bytes (REG_BINARY) or hex(t):bytes (type t in hex digits). Byte lists may run over
// several lines, each but the last ending in "\". Lines end in CR LF or LF; blank lines and
// lines starting with ";" are skipped. Anything else makes the whole file unreadable, so that
// a file we do not understand is never rewritten from a partial picture.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/registry/registry_model.h"

namespace rg::platform {

inline constexpr std::string_view kRegistryFileHeader = "REGEDIT4";

struct RegistryParseError {
    std::size_t line = 0;  // 1-based; 0 when the fault is not tied to one line
    std::string reason;
};

// Parses a file whose keys all lie under the root key `rootName` (for example
// "HKEY_LOCAL_MACHINE"). The result's own name is empty; it stands for the root key.
std::optional<RegistryKey> ParseRegistryFile(std::string_view text, std::string_view rootName,
                                             RegistryParseError* error = nullptr);

}  // namespace rg::platform
