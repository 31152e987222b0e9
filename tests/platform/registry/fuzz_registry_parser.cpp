// Fuzz target of the registry file parser: any bytes must parse or be refused without a fault,
// and whatever parses must be written and read back to the same tree, and written the same
// way again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rg::platform;
    constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto parsed = ParseRegistryFile(text, kRoot);
    if (!parsed) {
        return 0;
    }
    const std::string written = SerializeRegistryFile(*parsed, kRoot);
    const auto reread = ParseRegistryFile(written, kRoot);
    if (!reread || !(*reread == *parsed) || SerializeRegistryFile(*reread, kRoot) != written) {
        std::abort();
    }
    return 0;
}
