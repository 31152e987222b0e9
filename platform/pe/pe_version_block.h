// The tree of VS_VERSIONINFO blocks inside a version resource. Each block is wLength,
// wValueLength, wType (1 text, 0 binary), a NUL-terminated UTF-16 key, padding to 4 bytes, the
// value, padding, then its children up to wLength. Children are parsed only inside their
// parent; key comparisons ignore letter case.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rg::platform {

struct VersionNode {
    std::size_t start = 0;  // offset of wLength in the resource
    std::size_t end = 0;    // one past the block, never beyond its parent or the resource
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    std::size_t keyOffset = 0;
    std::size_t valueOffset = 0;     // may equal `end` when the value is cut off
    std::size_t childrenOffset = 0;  // may equal `end`

    bool IsText() const { return type == 1; }
    // The bytes of the value that lie inside the block (text: 2 bytes per unit).
    std::size_t ValueBytesInside() const;
};

// The root block, when the resource starts with a 32-bit layout block keyed VS_VERSION_INFO.
// Its end is cut to the resource's length when wLength claims more.
std::optional<VersionNode> ParseVersionRoot(std::string_view resource);

// Follows a query such as "\StringFileInfo\040904B0\FileVersion" from the root: each
// non-empty component names the first child with that key (any letter case); a child with
// wLength 0 or one that runs past its parent ends the search of that level. An empty query
// gives the root.
std::optional<VersionNode> FindVersionNode(std::string_view resource, std::string_view query);

}  // namespace rg::platform
