// Arbitrary bytes as a profile file: an untouched file serialises to the same bytes, and a key
// written into it reads back as written from a serialisation that is a fixed point.
#include <cstdlib>

#include "platform/ini/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using rg::platform::ProfileDocument;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    ProfileDocument document = ProfileDocument::Parse(bytes);
    const std::string section = rg::platform::ToWorkingText(document.Encoding(), "a");
    const bool same = document.Serialize() == bytes;
    document.SetValue(section, "k", "some value");
    const std::string written = document.Serialize();
    const ProfileDocument reread = ProfileDocument::Parse(written);
    const auto* found = reread.FindSection(section);
    const auto* entry = found ? ProfileDocument::FindEntry(*found, "k") : nullptr;
    if (!same || !entry || entry->value != "some value" || reread.Serialize() != written) {
        std::abort();
    }
    return 0;
}
