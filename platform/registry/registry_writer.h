// Writing a registry file in the REGEDIT4 text format (see registry_parser.h), CR LF line ends.
// A REG_SZ value is written as "text" only when regedit would import that line back to the
// same bytes: the text followed by exactly one terminating zero, with no NUL, CR or LF inside.
// Every other REG_SZ value (no terminating zero, as RegWriteString stores them, or an embedded
// zero, CR or LF) keeps its type and exact bytes in the hex(1): form. REG_EXPAND_SZ is always
// hex(2):, REG_BINARY hex:, a four-byte REG_DWORD dword:, any other value hex(t):.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry/registry_model.h"

namespace rg::platform {

// Byte lists are wrapped after a comma once a line passes this width, as regedit does.
constexpr std::size_t kRegistryLineWidth = 76;

// The whole file for the tree below `root` (whose own name is ignored; `rootName` names it).
std::string SerializeRegistryFile(const RegistryKey& root, std::string_view rootName);

}  // namespace rg::platform
