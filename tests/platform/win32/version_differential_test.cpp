// The project's own reader of version resources (platform/pe) against the real version API of
// Windows, on every PE fixture: both must find the same first translation and the same eight
// text entries, or agree that there are none.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "platform/os/file_system.h"
#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

namespace rg::test {
namespace {

constexpr std::array<const char*, 8> kEntries = {
    "CompanyName",    "FileDescription",  "FileVersion", "InternalName",
    "LegalCopyright", "OriginalFilename", "ProductName", "ProductVersion"};

// What a caller of the version calls learns about a file.
struct VersionAnswer {
    std::optional<std::string> translation;             // "040904B0"; nothing without a usable one
    std::array<std::optional<std::string>, 8> entries;  // each up to its first NUL
    bool operator==(const VersionAnswer&) const = default;
};

std::string TranslationKey(const void* data, unsigned length) {
    if (data == nullptr || length < 4) {
        return {};
    }
    const auto* raw = static_cast<const unsigned char*>(data);
    char key[9];
    std::snprintf(key, sizeof key, "%04X%04X", raw[0] | (raw[1] << 8), raw[2] | (raw[3] << 8));
    return key;
}

std::optional<std::string> TextUpToNul(const void* data, unsigned length) {
    if (data == nullptr) {
        return std::nullopt;
    }
    const std::string text(static_cast<const char*>(data), length);
    return text.substr(0, text.find('\0'));
}

template <typename Query>
VersionAnswer Ask(Query query) {
    VersionAnswer answer;
    const void* data = nullptr;
    unsigned length = 0;
    if (!query("\\VarFileInfo\\Translation", data, length)) {
        return answer;
    }
    const std::string key = TranslationKey(data, length);
    if (key.empty()) {
        return answer;
    }
    answer.translation = key;
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        const std::string path = "\\StringFileInfo\\" + key + "\\" + kEntries[i];
        if (query(path.c_str(), data, length)) {
            answer.entries[i] = TextUpToNul(data, length);
        }
    }
    return answer;
}

VersionAnswer FromWindows(const std::string& file) {
    ::DWORD handle = 0;
    const ::DWORD size = ::GetFileVersionInfoSizeA(file.c_str(), &handle);
    std::vector<char> block(size);
    if (size == 0 || !::GetFileVersionInfoA(file.c_str(), 0, size, block.data())) {
        return {};
    }
    return Ask([&](const char* path, const void*& data, unsigned& length) {
        void* found = nullptr;
        ::UINT foundLength = 0;
        const bool ok = ::VerQueryValueA(block.data(), path, &found, &foundLength) != FALSE;
        data = found;
        length = foundLength;
        return ok;
    });
}

VersionAnswer FromOwnReader(const std::string& file) {
    const auto source = platform::OpenFileByteSource(file);
    const auto resource = source ? platform::ReadVersionResource(*source) : std::nullopt;
    if (!resource) {
        return {};
    }
    std::vector<char> block(platform::VersionInfoBlockSize(resource->size()));
    platform::FillVersionInfoBlock(*resource, block.data(), block.size());
    return Ask([&](const char* path, const void*& data, unsigned& length) {
        platform::DWORD error = 0;
        const auto value = platform::QueryVersionValue(block.data(), path, error);
        data = value ? value->data : nullptr;
        length = value ? value->length : 0;
        return value.has_value();
    });
}

std::string Describe(const VersionAnswer& answer) {
    std::string text = "translation " + answer.translation.value_or("(none)");
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        text += std::string("\n  ") + kEntries[i] + ": " +
                (answer.entries[i] ? "\"" + *answer.entries[i] + "\"" : "(none)");
    }
    return text;
}

TEST(VersionDifferential, OwnReaderAgreesWithTheVersionApiOnEveryFixture) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(RG_PE_FIXTURES)) {
        if (entry.path().extension() == ".exe") {
            files.push_back(entry.path().string());
        }
    }
    ASSERT_GE(files.size(), 20u) << "the fixtures were not built";
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const VersionAnswer windows = FromWindows(file);
        const VersionAnswer own = FromOwnReader(file);
        EXPECT_EQ(own, windows) << "own reader:\n"
                                << Describe(own) << "\nWindows:\n"
                                << Describe(windows);
    }
}

// Version resources that no resource compiler of today writes, in PE and NE images.
std::vector<std::pair<std::string, std::string>> LayoutsOfOldAndOddFiles() {
    const std::vector<std::pair<std::string, std::string>> ansiEntries = {
        {"CompanyName", "Old Vendor"}, {"FileDescription", "Old Program"}, {"FileVersion", "3.10"}};
    VersionBlock otherRoot = SimpleVersion({TextEntry(u"FileDescription", u"Odd Root")});
    otherRoot.key = u"VS_VERSION_INFX";
    VersionBlock shortTable = SimpleVersion({TextEntry(u"CompanyName", u"First"),
                                             TextEntry(u"FileDescription", u"Second"),
                                             TextEntry(u"FileVersion", u"Third")});
    // The table's length covers its key and the first entry and ends inside the second one.
    VersionBlock& table = shortTable.children[0].children[0];
    table.lengthOverride =
        static_cast<int>(table.Bytes().size() - table.children[2].Bytes().size() - 12);
    VersionBlock textTranslation = SimpleVersion({TextEntry(u"FileDescription", u"Text")});
    textTranslation.children[1].children[0] = TextEntry(u"Translation", u"\x0409\x04B0");
    VersionBlock longTextTranslation = SimpleVersion({TextEntry(u"FileDescription", u"Long")});
    longTextTranslation.children[1].children[0] = TextEntry(u"Translation", u"04090");
    VersionBlock shortRoot = SimpleVersion({TextEntry(u"FileDescription", u"Cut")});
    shortRoot.lengthOverride = 100;  // ends inside StringFileInfo
    return {
        {"ne_version.exe", BuildNe(SimpleAnsiVersion(ansiEntries).Bytes())},
        {"pe_ansi_version.exe", BuildPe({{16, 1, 0x409, SimpleAnsiVersion(ansiEntries).Bytes()}})},
        {"pe_other_root.exe", BuildPe({{16, 1, 0x409, otherRoot.Bytes()}})},
        {"pe_short_table.exe", BuildPe({{16, 1, 0x409, shortTable.Bytes()}})},
        {"pe_short_root.exe", BuildPe({{16, 1, 0x409, shortRoot.Bytes()}})},
        {"pe_text_translation.exe", BuildPe({{16, 1, 0x409, textTranslation.Bytes()}})},
        {"pe_long_text_translation.exe", BuildPe({{16, 1, 0x409, longTextTranslation.Bytes()}})},
    };
}

TEST(VersionDifferential, OwnReaderAgreesOnOldAndOddLayouts) {
    TempFolder folder("rg-versions");
    for (const auto& [name, image] : LayoutsOfOldAndOddFiles()) {
        SCOPED_TRACE(name);
        const std::string file = folder.Write(name, image);
        const VersionAnswer windows = FromWindows(file);
        const VersionAnswer own = FromOwnReader(file);
        EXPECT_EQ(own, windows) << "own reader:\n"
                                << Describe(own) << "\nWindows:\n"
                                << Describe(windows);
    }
}

}  // namespace
}  // namespace rg::test
