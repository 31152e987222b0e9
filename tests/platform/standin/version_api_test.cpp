// The version-information calls: the block layout, case-insensitive lookups, the first
// translation, wValueLength and wType, and the scan rules of the block tree.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "platform/os/file_system.h"
#include "platform/os/version_api.h"
#include "tests/support/pe_builder.h"

namespace rg::platform {
namespace {

using test::QueryText;
using test::SimpleVersion;
using test::TextEntry;
using test::Utf16Bytes;
using test::VersionBlock;

const std::string kTable = "\\StringFileInfo\\040904B0\\";

TEST(VersionApi, AnswersLikeTheAnsiCallsOnAProgram) {
    const std::string path = test::FixturePath("full");
    DWORD handle = 1;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_EQ(GetFileVersionInfoA(path, handle, size, block.data()), TRUE);

    const void* data = nullptr;
    UINT length = 0;
    ASSERT_EQ(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &data, &length), TRUE);
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(std::memcmp(data, "\x09\x04\xB0\x04", 4), 0);

    // Keys match in any letter case; the file stores "OriginalFilename".
    ASSERT_EQ(VerQueryValueA(block.data(), "\\stringfileinfo\\040904b0\\OriginalFileName", &data,
                             &length),
              TRUE);
    EXPECT_STREQ(static_cast<const char*>(data), "sample.exe");
    EXPECT_EQ(length, 11u);  // the stored NUL is among the converted units
    EXPECT_EQ(VerQueryValueA(block.data(), kTable + "Comments", &data, &length), FALSE);
    EXPECT_EQ(length, 0u);
}

TEST(VersionApi, MissingFileAndShortBuffers) {
    EXPECT_EQ(GetFileVersionInfoSizeA("/nonexistent/folder/file.exe", nullptr), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);

    // A block too short for the resource keeps what fits and writes nothing beyond it.
    const std::string path = test::FixturePath("full");
    const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    std::vector<char> block(size, '\x5A');
    const DWORD shortSize = size / 3;
    ASSERT_EQ(GetFileVersionInfoA(path, 0, shortSize, block.data()), TRUE);
    for (DWORD i = shortSize; i < size; ++i) {
        ASSERT_EQ(block[i], '\x5A') << i;
    }
    const void* data = nullptr;
    UINT length = 0;
    EXPECT_EQ(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation", &data, &length), FALSE);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, 4, block.data()), FALSE);
}

TEST(VersionBlocks, ValueLengthAndTypeDecideTheText) {
    VersionBlock cut = TextEntry(u"FileVersion", u"1.2.3.4");
    cut.valueLengthOverride = 3;
    VersionBlock none = TextEntry(u"ProductVersion", u"9.9");
    none.valueLengthOverride = 0;
    VersionBlock binary{u"CompanyName", 0, Utf16Bytes(u"Binary"), {}};
    VersionBlock embedded = TextEntry(u"InternalName", std::u16string(u"ab\0cd", 5));
    const std::string resource = SimpleVersion({cut, none, binary, embedded}).Bytes();

    EXPECT_EQ(QueryText(resource, kTable + "FileVersion"), "1.2");
    EXPECT_EQ(QueryText(resource, kTable + "ProductVersion"), "");
    EXPECT_EQ(QueryText(resource, kTable + "CompanyName"), "B");  // raw UTF-16, first byte
    EXPECT_EQ(QueryText(resource, kTable + "InternalName"), "ab");
    // A text value claiming more units than its block holds is read only inside the block.
    VersionBlock greedy = TextEntry(u"FileDescription", u"Greedy");
    greedy.valueLengthOverride = 4000;
    EXPECT_EQ(QueryText(SimpleVersion({greedy}).Bytes(), kTable + "FileDescription"), "Greedy");
}

TEST(VersionBlocks, FirstMatchWinsAndTheScanStopsAtBrokenChildren) {
    const std::string duplicated = SimpleVersion({TextEntry(u"FileDescription", u"First"),
                                                  TextEntry(u"filedescription", u"Second")})
                                       .Bytes();
    EXPECT_EQ(QueryText(duplicated, kTable + "FileDescription"), "First");

    VersionBlock empty = TextEntry(u"Comments", u"x");
    empty.lengthOverride = 0;
    const std::string stopped =
        SimpleVersion({empty, TextEntry(u"FileDescription", u"Behind")}).Bytes();
    EXPECT_EQ(QueryText(stopped, kTable + "FileDescription"), "<none>");

    VersionBlock overrun = TextEntry(u"Comments", u"x");
    overrun.lengthOverride = 0x7000;
    const std::string past =
        SimpleVersion({overrun, TextEntry(u"FileDescription", u"Behind")}).Bytes();
    EXPECT_EQ(QueryText(past, kTable + "FileDescription"), "<none>");
}

TEST(VersionBlocks, OnlyTheFirstStringFileInfoIsSearched) {
    VersionBlock root = SimpleVersion({TextEntry(u"CompanyName", u"One")});
    VersionBlock second{u"StringFileInfo",
                        1,
                        "",
                        {VersionBlock{u"040904B0", 1, "", {TextEntry(u"ProductName", u"Two")}}}};
    root.children.push_back(second);
    const std::string resource = root.Bytes();
    EXPECT_EQ(QueryText(resource, kTable + "CompanyName"), "One");
    EXPECT_EQ(QueryText(resource, kTable + "ProductName"), "<none>");
}

TEST(VersionBlocks, RootLongerThanTheResourceIsReadAsFarAsItGoes) {
    VersionBlock root = SimpleVersion({TextEntry(u"CompanyName", u"Kept")});
    std::string resource = root.Bytes();
    test::PutU16(resource, 0, 0xFFFF);
    EXPECT_EQ(QueryText(resource, kTable + "CompanyName"), "Kept");
    // Cut in half: the VarFileInfo part is gone, and with it the translation.
    const std::string half = root.Bytes().substr(0, root.Bytes().size() * 3 / 4);
    EXPECT_EQ(QueryText(half, "\\VarFileInfo\\Translation"), "<none>");
    EXPECT_EQ(QueryText(std::string(), "\\"), "<none>");
    EXPECT_EQ(QueryText(Utf16Bytes(u"VS_VERSION_INFO"), "\\"), "<none>");
}

}  // namespace
}  // namespace rg::platform
