#include "platform/pe/pe_version_block.h"

#include <algorithm>
#include <string>

#include "platform/base/codepage.h"
#include "platform/pe/pe_bytes.h"

namespace rg::platform {
namespace {

constexpr std::size_t kHeaderBytes = 6;

std::size_t AlignUp4(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

char16_t FoldAscii(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') ? static_cast<char16_t>(unit + (u'a' - u'A')) : unit;
}

enum class Overrun { kRejects, kIsCut };

// The block at `at` (< limit) whose extent must stay within `limit`: a block that runs past it
// is rejected, or cut to it (the root against the resource's length).
std::optional<VersionNode> ParseNode(const LeBytes& bytes, std::size_t at, std::size_t limit,
                                     Overrun overrun = Overrun::kRejects) {
    std::uint16_t claimed = 0;
    VersionNode node;
    if (at >= limit || !bytes.U16(at, claimed) || claimed < kHeaderBytes) {
        return std::nullopt;
    }
    std::size_t length = claimed;
    if (length > limit - at) {
        if (overrun == Overrun::kRejects) {
            return std::nullopt;
        }
        length = limit - at;
    }
    bytes.U16(at + 2, node.valueLength);
    bytes.U16(at + 4, node.type);
    node.start = at;
    node.end = at + length;
    node.keyOffset = at + kHeaderBytes;
    std::size_t cursor = node.keyOffset;
    std::uint16_t unit = 1;
    while (unit != 0) {
        if (cursor + 2 > node.end || !bytes.U16(cursor, unit)) {
            return std::nullopt;  // a key without its NUL inside the block
        }
        cursor += 2;
    }
    node.valueOffset = std::min(AlignUp4(cursor), node.end);
    const std::size_t valueBytes =
        node.IsText() ? std::size_t{node.valueLength} * 2 : node.valueLength;
    node.childrenOffset = std::min(AlignUp4(node.valueOffset + valueBytes), node.end);
    return node;
}

bool KeyEquals(const LeBytes& bytes, const VersionNode& node, std::u16string_view wanted) {
    std::size_t cursor = node.keyOffset;
    for (const char16_t expected : wanted) {
        std::uint16_t unit = 0;
        bytes.U16(cursor, unit);  // inside the block: ParseNode found the NUL
        if (unit == 0 || FoldAscii(static_cast<char16_t>(unit)) != FoldAscii(expected)) {
            return false;
        }
        cursor += 2;
    }
    std::uint16_t terminator = 1;
    bytes.U16(cursor, terminator);
    return terminator == 0;
}

std::optional<VersionNode> FindChild(const LeBytes& bytes, const VersionNode& parent,
                                     std::u16string_view key) {
    std::size_t at = parent.childrenOffset;
    while (at < parent.end) {
        const auto child = ParseNode(bytes, at, parent.end);
        if (!child) {
            return std::nullopt;  // wLength 0, or a child running past its parent
        }
        if (KeyEquals(bytes, *child, key)) {
            return child;
        }
        at = AlignUp4(child->end);
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
    // A root that claims more than the resource holds is read as far as the resource goes.
    const auto root = ParseNode(bytes, 0, resource.size(), Overrun::kIsCut);
    if (!root || !KeyEquals(bytes, *root, u"VS_VERSION_INFO")) {
        return std::nullopt;
    }
    return root;
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
            const std::u16string key = Cp1252ToUtf16(query.substr(begin, slash - begin));
            node = FindChild(bytes, *node, key);
        }
        begin = slash + 1;
    }
    return node;
}

}  // namespace rg::platform
