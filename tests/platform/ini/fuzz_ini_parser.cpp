// Arbitrary bytes as a profile file: parsing and serialising an untouched file must give the
// same bytes; writes must read back as written and serialise to a stable form; the API's read
// and write calls must not crash on the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "platform/ini/ini_document.h"
#include "platform/ini/profile_api.h"

namespace {

using rg::platform::ProfileDocument;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::string Reserialised(const std::string& bytes) {
    return ProfileDocument::Parse(bytes).Serialize();
}

// A key write into a document must read back, and its serialisation must be a fixed point.
void CheckWrite(ProfileDocument document, std::string_view section, std::string_view key,
                std::string_view value) {
    document.SetValue(section, key, value);
    const std::string bytes = document.Serialize();
    const ProfileDocument reread = ProfileDocument::Parse(bytes);
    const auto* found = reread.FindSection(section);
    Require(found != nullptr);
    const auto* entry = ProfileDocument::FindEntry(*found, key);
    Require(entry != nullptr && entry->value == value);
    Require(reread.Serialize() == bytes);
}

void ExerciseEdits(const ProfileDocument& document, std::string_view section) {
    ProfileDocument edited = document;
    edited.EmptySections(section);
    edited.AppendEntry(section, "added", "1");
    edited.DeleteKey("a", "k");
    edited.DeleteSection("b");
    const std::string bytes = edited.Serialize();
    Require(Reserialised(bytes) == bytes);
}

void ExerciseApi(const std::string& bytes, std::string_view section) {
    // Memory-backed when possible: rewriting a file on ext4 forces its data out on close.
    static const std::string folder = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    static const std::string file = folder + "/fuzz_ini_" + std::to_string(::getpid()) + ".ini";
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
    rg::platform::DiscardPrivateProfileCacheForTesting();
    char buffer[64];
    rg::platform::GetPrivateProfileStringA(std::nullopt, std::nullopt, "d", buffer, 64, file);
    rg::platform::GetPrivateProfileStringA(section, std::nullopt, "d", buffer, 7, file);
    rg::platform::GetPrivateProfileStringA(section, "k", "\"q\"", buffer, 5, file);
    rg::platform::GetPrivateProfileSectionA(section, buffer, 9, file);
    rg::platform::WritePrivateProfileStringA(section, "k", "v", file);
    rg::platform::WritePrivateProfileSectionA("b", std::string_view("x=1\0\0", 5), file);
    rg::platform::DiscardPrivateProfileCacheForTesting();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const ProfileDocument document = ProfileDocument::Parse(bytes);
    Require(document.Serialize() == bytes);

    // Names taken from the input's first line, so that the fuzzer reaches existing sections.
    const std::string_view firstLine =
        std::string_view(bytes).substr(0, bytes.find_first_of("\r\n"));
    std::string section(firstLine.substr(std::min<std::size_t>(1, firstLine.size()),
                                         std::min<std::size_t>(8, firstLine.size())));
    if (!ProfileDocument::SectionReadsBack(section) ||
        section.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos ||
        section.find_first_not_of(" \t\v\f\x1A") == std::string::npos) {
        section = "a";
    }
    // The API hands the document its names in the document's own encoding.
    section = rg::platform::ToWorkingText(document.Encoding(), section);
    CheckWrite(document, section, "k", "value");
    CheckWrite(document, "a", "k", "other value");
    ExerciseEdits(document, section);
    ExerciseApi(bytes, section);
    return 0;
}
