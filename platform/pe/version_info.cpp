#include "platform/pe/version_info.h"

#include <algorithm>
#include <cstring>

#include "platform/base/codepage.h"
#include "platform/pe/ne_file.h"
#include "platform/pe/pe_bytes.h"
#include "platform/pe/pe_file.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/pe_version_block.h"

namespace rg::platform {
namespace {

constexpr char kMagic[4] = {'R', 'G', 'V', 'I'};
constexpr std::size_t kHeaderBytes = 8;
constexpr std::uint16_t kVersionResourceName = 1;
// The root's wLength is 16 bits: nothing past 64 KiB can belong to the version information.
constexpr std::size_t kMaxVersionResource = 0xFFFF;

// The resource inside a block that FillVersionInfoBlock laid out; empty when it is none.
std::optional<std::string_view> ResourceInBlock(const void* block) {
    const auto* bytes = static_cast<const char*>(block);
    if (block == nullptr || std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
        return std::nullopt;
    }
    std::uint32_t length = 0;
    LeBytes(std::string_view(bytes + 4, 4)).U32(0, length);
    return std::string_view(bytes + kHeaderBytes, length);
}

VersionValue ConvertText(std::string_view resource, const VersionNode& node, char* scratch) {
    const std::size_t units = node.ValueBytesInside() / 2;
    std::u16string text(units, u'\0');
    const LeBytes bytes(resource);
    for (std::size_t i = 0; i < units; ++i) {
        std::uint16_t unit = 0;
        bytes.U16(node.valueOffset + 2 * i, unit);
        text[i] = static_cast<char16_t>(unit);
    }
    // Code page 1252 has one byte per unit, so the text fits where its UTF-16 form was stored.
    const std::string converted = Utf16ToCp1252BestFit(text);
    char* out = scratch + node.valueOffset;
    std::memcpy(out, converted.data(), converted.size());
    out[converted.size()] = '\0';
    return VersionValue{out, static_cast<UINT>(converted.size()), true};
}

}  // namespace

std::optional<std::string> ReadVersionResource(const ByteSource& source) {
    std::optional<std::string> resource;
    if (const auto pe = PeFile::Parse(source)) {
        resource = ReadResource(*pe, kResourceVersion, kVersionResourceName, kMaxVersionResource);
    } else {
        resource = ReadNeVersionResource(source, kMaxVersionResource);
    }
    if (!resource) {
        return std::nullopt;
    }
    const auto root = ParseVersionRoot(*resource);
    if (!root) {
        return std::nullopt;
    }
    resource->resize(root->end);
    return resource;
}

std::size_t VersionInfoBlockSize(std::size_t resourceLength) {
    return kHeaderBytes + 2 * resourceLength + 1;
}

bool FillVersionInfoBlock(std::string_view resource, void* data, std::size_t length) {
    if (data == nullptr || length < VersionInfoBlockSize(0)) {
        return false;
    }
    const std::size_t kept = std::min(resource.size(), (length - VersionInfoBlockSize(0)) / 2);
    auto* out = static_cast<char*>(data);
    std::memcpy(out, kMagic, sizeof kMagic);
    for (std::size_t i = 0; i < 4; ++i) {
        out[4 + i] = static_cast<char>((kept >> (8 * i)) & 0xFF);
    }
    std::memcpy(out + kHeaderBytes, resource.data(), kept);
    std::memset(out + kHeaderBytes + kept, 0, kept + 1);
    return true;
}

std::optional<VersionValue> QueryVersionValue(void* block, std::string_view subBlock,
                                              DWORD& error) {
    error = ERROR_SUCCESS;
    const auto resource = ResourceInBlock(block);
    if (!resource) {
        error = ERROR_INVALID_PARAMETER;
        return std::nullopt;
    }
    const auto node = FindVersionNode(*resource, subBlock);
    if (!node) {
        error = ERROR_RESOURCE_TYPE_NOT_FOUND;
        return std::nullopt;
    }
    if (node->IsText()) {
        char* scratch = static_cast<char*>(block) + kHeaderBytes + resource->size();
        return ConvertText(*resource, *node, scratch);
    }
    return VersionValue{resource->data() + node->valueOffset,
                        static_cast<UINT>(node->ValueBytesInside()), false};
}

}  // namespace rg::platform
