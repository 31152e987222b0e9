// Fuzzes the PE reader on its two paths (version resource and small icon); input that is no PE
// goes straight to the version block walk and the icon image decoders.
#include <vector>

#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_icon_decode.h"
#include "platform/pe/version_info.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rg::platform;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const MemoryByteSource source(bytes);
    const std::string resource = ReadVersionResource(source).value_or(std::string(bytes));
    std::vector<char> block(VersionInfoBlockSize(resource.size()));
    FillVersionInfoBlock(resource, block.data(), block.size());
    DWORD error = 0;
    for (const char* query :
         {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904B0\\A"}) {
        QueryVersionValue(block.data(), query, error);
    }
    if (const auto image = ReadPeIcon(source) ? ReadPeIcon(source) : DecodeIconImage(bytes)) {
        ScaleImage(*image, 16, 16);
    }
    return 0;
}
