// Fuzzes the PE reader on its two paths (version resource and small icon), and the version
// block walk and the icon image decoders on raw input as well, so that they are reached
// directly and not only through a well-formed PE around them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/byte_source.h"
#include "platform/os/version_api.h"
#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_icon_decode.h"
#include "platform/pe/version_info.h"

namespace {

constexpr const char* kEntries[] = {"CompanyName",  "FileDescription", "FileVersion",
                                    "InternalName", "LegalCopyright",  "OriginalFileName",
                                    "ProductName",  "ProductVersion"};

// Copies a text out of the block the way the property reader does: up to its first NUL.
std::size_t CopiedLength(const char* text, const std::vector<char>& block) {
    const char* end = block.data() + block.size();
    const void* nul = std::memchr(text, 0, static_cast<std::size_t>(end - text));
    return nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - text)
               : static_cast<std::size_t>(end - text);
}

void QueryEverything(std::string_view resource) {
    using namespace rg::platform;
    rg::platform::DWORD error = 0;
    std::vector<char> block(VersionInfoBlockSize(resource.size()));
    if (!FillVersionInfoBlock(resource, block.data(), block.size())) {
        __builtin_trap();  // a block of the size asked for must always be filled
    }
    std::string table = "040904B0";
    if (auto translation = QueryVersionValue(block.data(), "\\VarFileInfo\\Translation", error);
        translation && translation->length >= 4) {
        unsigned char raw[4];
        std::memcpy(raw, translation->data, 4);
        char key[9];
        std::snprintf(key, sizeof key, "%04X%04X", raw[0] | (raw[1] << 8), raw[2] | (raw[3] << 8));
        table = key;
    }
    volatile std::size_t sink = 0;
    for (const char* entry : kEntries) {
        const std::string query = "\\StringFileInfo\\" + table + "\\" + entry;
        if (auto value = QueryVersionValue(block.data(), query, error)) {
            sink = sink + CopiedLength(value->data, block);
        }
    }
    QueryVersionValue(block.data(), "\\", error);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const rg::platform::MemoryByteSource source(bytes);
    if (const auto resource = rg::platform::ReadVersionResource(source)) {
        QueryEverything(*resource);
    }
    const auto icon = rg::platform::ReadPeIcon(source, 16);
    if (icon && (icon->width != 16 || icon->height != 16 || icon->argb.size() != 256)) {
        __builtin_trap();
    }
    QueryEverything(bytes);
    if (const auto image = rg::platform::DecodeIconImage(bytes)) {
        rg::platform::ScaleImage(*image, 16, 16);
    }
    return 0;
}
