// Damaged and hostile files: cut at every length, offsets outside the file, a resource
// directory that loops, impossible sizes. Each must give "no version resource" (or the intact
// answer), never a crash, a hang or a read outside the file.
#include <gtest/gtest.h>

#include <chrono>

#include "fileinfo/file_properties.h"
#include "platform/os/version_api.h"
#include "platform/pe/pe_file.h"
#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_resources.h"
#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"

namespace rg::platform {
namespace {

using test::FixturePath;
using test::GetU32;
using test::PutU32;
using test::ReadBytes;

// Where the version resource's directory entries and data entry lie in the file.
struct VersionLayout {
    std::uint64_t resourceStart = 0;
    std::uint64_t typeEntry = 0;  // file offset of the root's entry for type 16
    std::uint32_t nameDirectory = 0;
    std::uint64_t nameEntry = 0;
    std::uint64_t dataEntry = 0;
};

VersionLayout Locate(const std::string& bytes) {
    const MemoryByteSource source(bytes);
    const auto pe = PeFile::Parse(source);
    VersionLayout layout;
    layout.resourceStart = pe->ResourceStart();
    const auto root = pe->ReadDirectory(0);
    for (std::size_t i = 0; i < root.size(); ++i) {
        if (root[i].id == kResourceVersion) {
            layout.typeEntry = layout.resourceStart + 16 + i * 8;
            layout.nameDirectory = root[i].offset;
        }
    }
    const auto names = pe->ReadDirectory(layout.nameDirectory);
    layout.nameEntry = layout.resourceStart + layout.nameDirectory + 16;
    const auto languages = pe->ReadDirectory(names.at(0).offset);
    layout.dataEntry = layout.resourceStart + languages.at(0).offset;
    return layout;
}

bool HasVersion(const std::string& bytes) {
    return ReadVersionResource(MemoryByteSource(bytes)).has_value();
}

std::string Translation(const std::string& bytes) {
    const auto resource = ReadVersionResource(MemoryByteSource(bytes));
    return resource ? test::QueryText(*resource, "\\StringFileInfo\\040904B0\\FileDescription")
                    : "<no resource>";
}

class DamagedFiles : public ::testing::Test {
  protected:
    std::string good_ = ReadBytes(FixturePath("full"));
    VersionLayout layout_ = Locate(good_);
};

TEST_F(DamagedFiles, EveryTruncationIsSafeAndTheWholeResourceGivesTheWholeAnswer) {
    const auto full = ReadVersionResource(MemoryByteSource(good_));
    ASSERT_TRUE(full.has_value());
    const std::string icons = ReadBytes(FixturePath("icon_sizes"));
    for (std::size_t length = 0; length <= good_.size(); ++length) {
        const std::string cut = good_.substr(0, length);
        const auto resource = ReadVersionResource(MemoryByteSource(cut));
        if (resource && resource->size() == full->size()) {
            ASSERT_EQ(*resource, *full) << length;
        }
        ReadPeIcon(MemoryByteSource(cut));
    }
    for (std::size_t length = 0; length <= icons.size(); length += 7) {
        const auto icon = ReadPeIcon(MemoryByteSource(icons.substr(0, length)));
        ASSERT_TRUE(!icon || (icon->width == 16 && icon->argb.size() == 256)) << length;
    }
}

TEST_F(DamagedFiles, BrokenHeadersMeanNoVersionResource) {
    std::string outside = good_;
    PutU32(outside, 0x3C, 0x7FFFFFF0);
    EXPECT_FALSE(HasVersion(outside));
    std::string signature = good_;
    signature[GetU32(good_, 0x3C) + 1] = 'X';
    EXPECT_FALSE(HasVersion(signature));
    std::string zeroed = good_;
    std::fill(zeroed.begin() + static_cast<std::ptrdiff_t>(layout_.resourceStart), zeroed.end(),
              '\0');
    EXPECT_FALSE(HasVersion(zeroed));
}

TEST_F(DamagedFiles, LoopingDirectoriesEndQuickly) {
    const auto start = std::chrono::steady_clock::now();
    std::string toRoot = good_;
    PutU32(toRoot, layout_.typeEntry + 4, 0x80000000u);  // type 16 leads back to the root
    EXPECT_FALSE(HasVersion(toRoot));
    std::string toItself = good_;
    PutU32(toItself, layout_.nameEntry + 4, 0x80000000u | layout_.nameDirectory);
    EXPECT_FALSE(HasVersion(toItself));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

TEST_F(DamagedFiles, DataOutsideTheFileOrWithImpossibleSizes) {
    std::string outside = good_;
    PutU32(outside, layout_.dataEntry, 0x7FFFFFF0);
    EXPECT_FALSE(HasVersion(outside));

    std::string huge = good_;
    PutU32(huge, layout_.dataEntry + 4, 0x7FFFFFFF);
    EXPECT_EQ(Translation(huge), "Sample Tool");

    std::string half = good_;
    PutU32(half, layout_.dataEntry + 4, GetU32(good_, layout_.dataEntry + 4) / 2);
    const auto resource = ReadVersionResource(MemoryByteSource(half));
    ASSERT_TRUE(resource.has_value());
    EXPECT_EQ(test::QueryText(*resource, "\\VarFileInfo\\Translation"), "<none>");
}

TEST_F(DamagedFiles, PropertyReaderGivesFileNameFallbacks) {
    std::string looped = good_;
    PutU32(looped, layout_.typeEntry + 4, 0x80000000u);
    std::string half = good_;
    PutU32(half, layout_.dataEntry + 4, GetU32(good_, layout_.dataEntry + 4) / 2);
    const test::ScratchFolder folder;
    for (const auto& [name, bytes] : {std::pair{"looped.exe", looped},
                                      {"half.exe", half},
                                      {"cut.exe", good_.substr(0, 1500)}}) {
        getFileProperty(folder.Write(name, bytes));
        EXPECT_EQ(fileProperties().FileDescription, name);
        EXPECT_EQ(fileProperties().ProductName, name);
        EXPECT_EQ(fileProperties().FileVersion, "");
    }
}

}  // namespace
}  // namespace rg::platform
