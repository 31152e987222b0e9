// The PE reader: both header layouts, the resource directory, the loader's choice of language
// and of the first icon group, and damaged or hostile files.
#include <gtest/gtest.h>

#include "platform/pe/pe_file.h"
#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using platform::MemoryByteSource, platform::PeFile;

// Resource 10/1 in one language: the directories of the root, the type and the name (24 bytes
// each), the data entry at 72, the data at 88.
const std::string kImage = BuildPe({{10, 1, 0x0409, "payload"}});

// The resource `type`/`name` of the image, or "<none>" (also when it is no PE image).
std::string Resource(const std::string& image, std::uint16_t name = 1, std::uint16_t type = 10,
                     std::size_t max = 100) {
    const MemoryByteSource source(image);
    const auto pe = PeFile::Parse(source);
    const auto data = pe ? platform::ReadResource(*pe, type, name, max) : std::nullopt;
    return data.value_or("<none>");
}

TEST(PeFile, ReadsResourcesOfBothLayoutsAndRefusesDamagedHeaders) {
    for (const bool pe32Plus : {true, false}) {
        const std::string image =
            BuildPe({{10, 1, 0x0409, "one"}, {3, 2, 0x0409, "icon"}}, pe32Plus);
        EXPECT_EQ(PeFile::Parse(MemoryByteSource(image))->IsPe32Plus(), pe32Plus);
        EXPECT_EQ(Resource(image, 1) + Resource(image, 2, 3) + Resource(image, 2) +
                      Resource(image, 1, 10, 2),
                  "oneicon<none>on");
    }
    const std::size_t nt = kBuiltNtHeaders;
    const std::string refused[] = {
        "MZ",
        Patched(kImage, 0, 'M' | 'X' << 8, 2),
        Patched(kImage, 0x3C, 0x7FFFFFF0),    // e_lfanew outside the file
        Patched(kImage, nt, 0x5850),          // "PX"
        Patched(kImage, nt + 20, 0xFFFF, 2),  // an optional header past the end
        Patched(kImage, nt + 24, 0x10C, 2),   // magic
        Patched(kImage, nt + 6, 100, 2)};     // a section table past the end
    for (std::size_t i = 0; i < std::size(refused); ++i) {
        EXPECT_FALSE(PeFile::Parse(MemoryByteSource(refused[i])).has_value()) << "case " << i;
    }
}

TEST(PeFile, ResourcesAreReadOnlyWhereHeadersAndDirectoriesPlaceThem) {
    const std::size_t directories = kBuiltOptionalHeader + 112,
                      section = kBuiltOptionalHeader + 240;
    const std::size_t root = kBuiltResources, nameTarget = root + 44, languageTarget = root + 68;
    const std::size_t data = root + 72;
    const std::pair<std::string, std::string> rows[] = {
        {Patched(kImage, directories + 20, 0), "<none>"},  // size 0: no resources
        {Patched(kImage, directories - 4, 2), "<none>"},   // the table ends before it
        {Patched(kImage, directories - 4, 3), "payload"},
        {Patched(kImage, directories + 16, 0x5000), "<none>"},       // outside every section
        {Patched(kImage, section + 20, 0x10000), "<none>"},          // the section is past the end
        {Patched(kImage, section + 16, 0x20), "<none>"},             // directories past the section
        {Patched(kImage, data + 4, 0x7FFFFFFF), "payload"},          // no more than the file holds
        {Patched(kImage, data, 0), std::string("MZ\0\0\0\0\0", 7)},  // in the headers
        {Patched(kImage, data, 0x1FF), std::string(7, '\0')},
        {Patched(kImage, data, 0x200), "<none>"},
        {Patched(Patched(kImage, section + 16, 0x10000), data, kBuiltResourceRva + 95), "<none>"},
        {Patched(kImage, languageTarget, 0x7FF0), "<none>"},  // a data entry outside
        {Patched(kImage, root + 14, 0xFFFF, 2), "payload"},   // counts too large
        {Patched(kImage, nameTarget, 48), "<none>"},          // a name that leads to no directory
        {Patched(kImage, languageTarget, 0x80000000u | 24), "<none>"},  // a language that does
    };
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        EXPECT_EQ(Resource(rows[i].first), rows[i].second) << "case " << i;
    }
    std::vector<PeResource> many;  // no more than 4096 entries of a directory are read
    for (int i = 1; i <= 4097; ++i) {
        many.push_back({10, i, 0, "r"});
    }
    const std::string image = BuildPe(many);
    EXPECT_EQ(Resource(image, 4096) + Resource(image, 4097), "r<none>");
}

TEST(PeFile, EveryTruncationOfAProgramIsSafe) {
    const std::string good = TempFolder::ReadFile(FixturePath("full"));
    const auto full = platform::ReadVersionResource(MemoryByteSource(good));
    ASSERT_TRUE(full.has_value());
    for (std::size_t length = 0; length <= good.size(); ++length) {
        const MemoryByteSource cut(std::string_view(good).substr(0, length));
        const auto resource = platform::ReadVersionResource(cut);
        ASSERT_TRUE(!resource || resource->size() < full->size() || *resource == *full) << length;
        const auto icon = platform::ReadPeIcon(cut);
        ASSERT_TRUE(!icon || icon->argb.size() == 256u) << length;
    }
}

TEST(PeResources, ChoosesTheLanguageInTheLoadersOrder) {
    const std::pair<std::vector<std::uint16_t>, int> rows[] = {
        {{0x0407, 0x0409, 0x0000}, 0x0000},
        {{0x0401, 0x0407, 0x0409}, 0x0409},
        {{0x0401, 0x0C09, 0x0809}, 0x0401}};  // no other English: the first
    for (const auto& [languages, expected] : rows) {
        std::vector<platform::ResourceEntry> entries;
        for (const std::uint16_t id : languages) {
            entries.push_back({false, id, false, 0x100});
        }
        EXPECT_EQ(platform::ChooseLanguage(entries)->id, expected);
    }
}

TEST(PeResources, TheFirstIconGroupHasAStringNameOrElseTheLowestNumber) {
    const auto firstGroup = [](const std::string& image) {
        const MemoryByteSource source(image);
        return platform::ReadFirstIconGroup(*PeFile::Parse(source), 100).value_or("<none>");
    };
    EXPECT_EQ(firstGroup(BuildPe({{14, 7, 0, "seven"}, {14, 3, 0, "three"}, {14, 5, 0, "five"}})),
              "three");
    EXPECT_EQ(firstGroup(BuildPe({{14, 7, 0, "seven"}, {14, -1, 0, "named"}, {14, 3, 0, "x"}})),
              "named");
    EXPECT_EQ(firstGroup(kImage), "<none>");
    // Group 3 made to lead to data rather than a directory: group 7 is the first.
    const std::string image = BuildPe({{14, 3, 0, "three"}, {14, 7, 0, "seven"}});
    EXPECT_EQ(firstGroup(Patched(image, kBuiltResources + 44, 0x40)), "seven");
}

}  // namespace
}  // namespace rg::test
