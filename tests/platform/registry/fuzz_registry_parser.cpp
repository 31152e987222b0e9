// Any bytes must parse or be refused without a fault; whatever parses must be written and read
// back to the same tree, and written the same way again.
#include <cstdlib>

#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace rg::platform;
    constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";  // the root of the seed files
    if (const auto parsed = ParseRegistryFile({reinterpret_cast<const char*>(data), size}, kRoot)) {
        const std::string written = SerializeRegistryFile(*parsed, kRoot);
        const auto reread = ParseRegistryFile(written, kRoot);
        if (!reread || !(*reread == *parsed) || SerializeRegistryFile(*reread, kRoot) != written) {
            std::abort();
        }
    }
    return 0;
}
