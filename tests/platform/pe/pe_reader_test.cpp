// The PE reader: both header layouts, the loader's choice of language and the choice of the
// version resource itself.
#include <gtest/gtest.h>

#include "platform/os/file_system.h"
#include "platform/os/version_api.h"
#include "platform/pe/pe_file.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"

namespace rg::platform {
namespace {

using test::FixturePath;
using test::ReadBytes;

std::vector<ResourceEntry> Languages(std::initializer_list<std::uint16_t> ids) {
    std::vector<ResourceEntry> entries;
    std::uint32_t offset = 0x100;
    for (const std::uint16_t id : ids) {
        entries.push_back(ResourceEntry{false, id, false, offset});
        offset += 0x10;
    }
    return entries;
}

TEST(PeReader, ReadsBothHeaderLayouts) {
    const std::string wide = ReadBytes(FixturePath("full"));
    const std::string narrow = ReadBytes(FixturePath("full32"));
    const MemoryByteSource wideSource(wide);
    const MemoryByteSource narrowSource(narrow);
    const auto pe64 = PeFile::Parse(wideSource);
    const auto pe32 = PeFile::Parse(narrowSource);
    ASSERT_TRUE(pe64 && pe32);
    EXPECT_TRUE(pe64->IsPe32Plus());
    EXPECT_FALSE(pe32->IsPe32Plus());
    EXPECT_TRUE(pe64->HasResources() && pe32->HasResources());
    EXPECT_EQ(ReadVersionResource(wideSource), ReadVersionResource(narrowSource));
}

TEST(PeReader, FileSourceReadsLikeMemoryAroundItsCachedHead) {
    const std::string path = FixturePath("full");
    const std::string bytes = ReadBytes(path);
    const auto file = OpenFileByteSource(path);
    ASSERT_TRUE(file != nullptr);
    ASSERT_EQ(file->Size(), bytes.size());
    const std::size_t head = 4096;  // the head the file source keeps
    for (const auto& [offset, length] : {std::pair<std::size_t, std::size_t>{0, 64},
                                         {head - 10, 20},
                                         {head, 100},
                                         {bytes.size() - 1, 1},
                                         {bytes.size(), 0}}) {
        std::string got;
        ASSERT_TRUE(file->ReadString(offset, length, got)) << offset;
        EXPECT_EQ(got, bytes.substr(offset, length)) << offset;
    }
    std::string ignored;
    EXPECT_FALSE(file->ReadString(bytes.size() - 1, 2, ignored));
    EXPECT_FALSE(file->ReadString(~std::uint64_t{0}, 2, ignored));
    EXPECT_EQ(OpenFileByteSource("/nonexistent/file.exe"), nullptr);
    EXPECT_EQ(OpenFileByteSource("/tmp"), nullptr);
}

TEST(PeReader, ChoosesLanguagesInTheLoadersOrder) {
    EXPECT_EQ(ChooseLanguage(Languages({0x0407, 0x0409, 0x0000}))->id, 0x0000);
    EXPECT_EQ(ChooseLanguage(Languages({0x0401, 0x0407, 0x0409}))->id, 0x0409);
    EXPECT_EQ(ChooseLanguage(Languages({0x0401, 0x0C09, 0x0809}))->id, 0x0C09);
    EXPECT_EQ(ChooseLanguage(Languages({0x0419, 0x0401}))->id, 0x0419);
    EXPECT_FALSE(ChooseLanguage({}).has_value());
    // A language entry that leads to a directory is no data and does not count.
    auto entries = Languages({0x0409, 0x0407});
    entries[0].isDirectory = true;
    EXPECT_EQ(ChooseLanguage(entries)->id, 0x0407);
}

TEST(PeReader, OnlyVersionResourceNumberOneCounts) {
    const std::string bytes = ReadBytes(FixturePath("version2"));
    EXPECT_FALSE(ReadVersionResource(MemoryByteSource(bytes)).has_value());
    DWORD handle = 7;
    EXPECT_EQ(GetFileVersionInfoSizeA(FixturePath("version2"), &handle), 0u);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
}

TEST(PeReader, RefusesWhatIsNoPeImage) {
    for (const std::string& bytes : {std::string(), std::string("MZ"), std::string(4096, 'A'),
                                     ReadBytes("/proc/self/exe").substr(0, 65536)}) {
        EXPECT_FALSE(PeFile::Parse(MemoryByteSource(bytes)).has_value());
    }
}

}  // namespace
}  // namespace rg::platform
