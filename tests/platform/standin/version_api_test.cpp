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

TEST(VersionApi, AnswersLikeTheAnsiCallsAndRefusesWhatTheyRefuse) {
    const std::string path = FixturePath("full");
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    EXPECT_EQ(handle, 0u);
    std::vector<char> block(size + 4096, 'Z');
    ASSERT_EQ(GetFileVersionInfoA(path, handle, size, block.data()), TRUE);
    const void* data = nullptr;
    UINT length = 0;
    // The file stores "OriginalFilename"; keys match in any letter case.
    ASSERT_EQ(VerQueryValueA(block.data(), "\\StringFileInfo\\040904b0\\OriginalFileName", &data,
                             &length),
              TRUE);
    EXPECT_EQ(std::string(static_cast<const char*>(data), length), std::string("sample.exe", 11));
    EXPECT_EQ(VerQueryValueA(block.data(), "\\StringFileInfo\\040904B0\\Comments", &data, &length),
              FALSE);
    EXPECT_EQ(std::pair(data, length), (std::pair<const void*, UINT>(nullptr, 0)));
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_TYPE_NOT_FOUND);
    EXPECT_EQ(VerQueryValueA(block.data(), "\\", nullptr, nullptr), TRUE);
    EXPECT_TRUE(std::all_of(block.begin() + size, block.end(), [](char c) { return c == 'Z'; }));

    // A block too short for the resource keeps what fits and writes nothing beyond it.
    block.assign(block.size(), 'Z');
    ASSERT_EQ(GetFileVersionInfoA(path, 0, size / 3, block.data()), TRUE);
    EXPECT_TRUE(
        std::all_of(block.begin() + size / 3, block.end(), [](char c) { return c == 'Z'; }));
    EXPECT_EQ(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", nullptr, nullptr), FALSE);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, 8, block.data()), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, 9, block.data()), TRUE);

    EXPECT_EQ(GetFileVersionInfoSizeA("/nonexistent/folder/file.exe", nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, size, nullptr), FALSE);
    std::vector<char> foreign(64, 'x');  // no block the calls filled
    EXPECT_EQ(VerQueryValueA(foreign.data(), "\\", nullptr, nullptr), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(VerQueryValueA(nullptr, "\\", nullptr, nullptr), FALSE);
    EXPECT_EQ(GetFileVersionInfoSizeA(FixturePath("version2"), nullptr), 0u);  // not number 1
    EXPECT_EQ(GetLastError(), ERROR_RESOURCE_DATA_NOT_FOUND);
}

}  // namespace
}  // namespace rg::test
