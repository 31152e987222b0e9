// The version resource of a 16-bit NE program (Windows 3.x), which the version calls read too:
// the DOS header leads to the NE header, whose resource table lists the resources by type and
// name, each at an offset and of a length in units of the table's alignment shift. Every
// offset and count is checked against the file before use.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "platform/base/byte_source.h"

namespace rg::platform {

// The bytes of the version resource (type 16, name 1), at most `maxBytes` and no more than the
// file holds; nullopt when the source is no NE program or has no such resource.
std::optional<std::string> ReadNeVersionResource(const ByteSource& source, std::size_t maxBytes);

}  // namespace rg::platform
