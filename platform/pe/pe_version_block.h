// The tree of VS_VERSIONINFO blocks inside a version resource, in either of its two layouts:
// the 32-bit one (wLength, wValueLength, wType (1 text, 0 binary), a NUL-terminated UTF-16 key)
// and the old 16-bit one of NE programs, also found in some PE files (wLength, wValueLength in
// bytes, a NUL-terminated single-byte key; no wType). In both the key is padded to 4 bytes from
// the block's start, then comes the value, padding, and the children up to wLength. Key
// comparisons ignore letter case. As the Windows calls do, a child is read when it starts inside
// its parent, also when it runs on past the parent's end (never past the resource, though),
// and the root's own key is not looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace rg::platform {

struct VersionNode {
    std::size_t start = 0;  // offset of wLength in the resource
    std::size_t end = 0;    // one past the block, never beyond the resource
    std::uint16_t valueLength = 0;
    std::uint16_t type = 0;
    bool singleByte = false;  // the 16-bit layout: keys and texts in single-byte characters
    std::size_t keyOffset = 0;
    std::size_t valueOffset = 0;     // may equal `end` when the value is cut off
    std::size_t childrenOffset = 0;  // may equal `end`

    // A 32-bit text value, which the ANSI calls convert; a 16-bit value is handed out as stored.
    bool IsText() const { return !singleByte && type == 1; }
    // The bytes of the value that lie inside the block (32-bit text: 2 bytes per unit).
    std::size_t ValueBytesInside() const;
};

// The root block at the resource's start, in the layout the Windows calls see there: the 16-bit
// one when the byte at offset 4 is a printable character (a key's first letter, where the
// 32-bit layout has its wType). Its end is cut to the resource's length when wLength claims
// more.
std::optional<VersionNode> ParseVersionRoot(std::string_view resource);

// Follows a query such as "\StringFileInfo\040904B0\FileVersion" from the root: each
// non-empty component names the first child with that key (any letter case); a child with a
// wLength too small for its header ends the search of that level. An empty query gives the
// root.
std::optional<VersionNode> FindVersionNode(std::string_view resource, std::string_view query);

}  // namespace rg::platform
