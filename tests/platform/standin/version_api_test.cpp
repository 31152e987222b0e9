// The stand-ins of the ANSI version calls: sizes, the block they fill, last errors, and the
// answers of VerQueryValueA on a compiled program.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/os/file_system.h"
#include "platform/os/version_api.h"
#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using namespace rg::platform;

TEST(VersionApi, AnswersLikeTheAnsiCallsOnAProgram) {
    const std::string path = FixturePath("full");
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    EXPECT_EQ(handle, 0u);
    const auto resource = ReadVersionResource(*OpenFileByteSource(path));
    ASSERT_TRUE(resource.has_value());
    // "RGVI", the resource's length, the resource, room for its converted text and a NUL.
    EXPECT_EQ(size, 8 + 2 * resource->size() + 1);
    std::vector<char> block(size);
    ASSERT_EQ(GetFileVersionInfoA(path, handle, size, block.data()), TRUE);
    EXPECT_EQ(std::string(block.data(), 4), "RGVI");
    EXPECT_EQ(GetU32(std::string_view(block.data(), 8), 4), resource->size());
    EXPECT_EQ(std::string(block.data() + 8, resource->size()), *resource);

    const void* data = nullptr;
    UINT length = 0;
    ASSERT_EQ(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &data, &length), TRUE);
    EXPECT_EQ(std::string(static_cast<const char*>(data), length), "\x09\x04\xB0\x04");
    // The file stores "OriginalFilename"; keys match in any letter case.
    ASSERT_EQ(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\OriginalFileName", &data,
                             &length),
              TRUE);
    EXPECT_EQ(std::string(static_cast<const char*>(data), length), std::string("sample.exe", 11));
    EXPECT_EQ(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\Comments", &data, &length),
              FALSE);
    EXPECT_EQ(data, nullptr);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(VerQueryValueA(block.data(), "\\", nullptr, nullptr), TRUE);
}

TEST(VersionApi, MissingFilesResourcesAndShortBuffers) {
    DWORD handle = 7;
    EXPECT_EQ(GetFileVersionInfoSizeA("/nonexistent/folder/file.exe", &handle), 0u);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    std::vector<char> block(4096, '\x5A');
    EXPECT_EQ(GetFileVersionInfoA("/nonexistent/folder/file.exe", 0, 4096, block.data()), FALSE);
    EXPECT_EQ(GetFileVersionInfoSizeA(FixturePath("version2"), nullptr), 0u);  // not number 1
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
    EXPECT_EQ(GetFileVersionInfoA(FixturePath("version2"), 0, 4096, block.data()), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);

    // A block too short for the resource keeps what fits and writes nothing beyond it.
    const std::string path = FixturePath("full");
    const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    const DWORD shortSize = size / 3;
    ASSERT_EQ(GetFileVersionInfoA(path, 0, shortSize, block.data()), TRUE);
    EXPECT_EQ(GetU32(std::string_view(block.data(), 8), 4), (shortSize - 9) / 2);
    EXPECT_TRUE(
        std::all_of(block.begin() + shortSize, block.end(), [](char c) { return c == 'Z'; }));
    EXPECT_EQ(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", nullptr, nullptr), FALSE);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, 8, block.data()), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, 9, block.data()), TRUE);
}

}  // namespace
}  // namespace rg::test
