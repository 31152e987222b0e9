#include "platform/pe/pe_version_block.h"

#include <algorithm>
#include <string>

#include "platform/base/codepage.h"
#include "platform/pe/pe_bytes.h"

namespace rg::platform {
namespace {

constexpr std::size_t kHeaderBytes32 = 6;  // wLength, wValueLength, wType
constexpr std::size_t kHeaderBytes16 = 4;  // wLength, wValueLength
constexpr std::size_t kLayoutProbe = 4;    // wType in the 32-bit layout, the key in the 16-bit one
constexpr unsigned char kFirstPrintable = ' ';

std::size_t AlignUp4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

char16_t FoldAscii(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

// The block at `at`, read no further than `limit` (the resource's end): a block that claims more
// is cut to it.
std::optional<VersionNode> ParseNode(const LeBytes& bytes, std::size_t at, std::size_t limit,
                                     bool singleByte) {
    const std::size_t header = singleByte ? kHeaderBytes16 : kHeaderBytes32;
    std::uint16_t claimed = 0;
    VersionNode node;
    if (at >= limit || !bytes.U16(at, claimed) || claimed < header) {
        return std::nullopt;
    }
    node.singleByte = singleByte;
    bytes.U16(at + 2, node.valueLength);
    if (!singleByte) {
        bytes.U16(at + 4, node.type);
    }
    node.start = at;
    node.end = at + std::min<std::size_t>(claimed, limit - at);
    node.keyOffset = at + header;
    const std::size_t unitSize = singleByte ? 1 : 2;
    std::size_t cursor = node.keyOffset;
    for (std::uint16_t unit = 1; unit != 0; cursor += unitSize) {
        std::uint8_t byte = 0;
        const bool read = singleByte ? bytes.U8(cursor, byte) : bytes.U16(cursor, unit);
        if (singleByte) {
            unit = byte;
        }
        if (!read || cursor + unitSize > node.end) {
            return std::nullopt;  // a key without its NUL inside the block
        }
    }
    node.valueOffset = std::min(at + AlignUp4(cursor - at), node.end);
    const std::size_t valueBytes =
        node.IsText() ? std::size_t{node.valueLength} * 2 : node.valueLength;
    node.childrenOffset = std::min(at + AlignUp4(node.valueOffset + valueBytes - at), node.end);
    return node;
}

bool KeyEquals(const LeBytes& bytes, const VersionNode& node, std::string_view wanted) {
    const std::u16string units = Cp1252ToUtf16(wanted);
    const std::size_t unitSize = node.singleByte ? 1 : 2;
    std::size_t cursor = node.keyOffset;
    for (std::size_t i = 0; i <= units.size(); ++i, cursor += unitSize) {
        std::uint16_t unit = 0;
        if (node.singleByte) {
            std::uint8_t byte = 0;
            bytes.U8(cursor, byte);  // inside the block: ParseNode found the NUL
            unit = Cp1252ToUnicode(byte);
        } else {
            bytes.U16(cursor, unit);
        }
        const char16_t expected = i < units.size() ? units[i] : u'\0';
        if (FoldAscii(static_cast<char16_t>(unit)) != FoldAscii(expected)) {
            return false;
        }
        if (unit == 0) {
            return true;
        }
    }
    return false;
}

// A child is read when it starts inside its parent; it may run on past the parent's end.
std::optional<VersionNode> FindChild(const LeBytes& bytes, const VersionNode& parent,
                                     std::string_view key) {
    std::size_t at = parent.childrenOffset;
    while (at < parent.end) {
        const auto child = ParseNode(bytes, at, bytes.size(), parent.singleByte);
        if (!child) {
            return std::nullopt;  // a wLength too small for a block ends the level
        }
        if (KeyEquals(bytes, *child, key)) {
            return child;
        }
        at = child->start + AlignUp4(child->end - child->start);
    }
    return std::nullopt;
}

}  // namespace

std::size_t VersionNode::ValueBytesInside() const {
    const std::size_t claimed = IsText() ? std::size_t{valueLength} * 2 : valueLength;
    return std::min(claimed, end - valueOffset);
}

std::optional<VersionNode> ParseVersionRoot(std::string_view resource) {
    const LeBytes bytes(resource);
    std::uint8_t probe = 0;
    const bool singleByte = bytes.U8(kLayoutProbe, probe) && probe >= kFirstPrintable;
    return ParseNode(bytes, 0, resource.size(), singleByte);
}

std::optional<VersionNode> FindVersionNode(std::string_view resource, std::string_view query) {
    auto node = ParseVersionRoot(resource);
    const LeBytes bytes(resource);
    std::size_t begin = 0;
    while (node && begin < query.size()) {
        std::size_t slash = query.find('\\', begin);
        if (slash == std::string_view::npos) {
            slash = query.size();
        }
        if (slash > begin) {
            node = FindChild(bytes, *node, query.substr(begin, slash - begin));
        }
        begin = slash + 1;
    }
    return node;
}

}  // namespace rg::platform
