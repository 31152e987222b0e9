// The file property reader: sizes, dates, the eight entries with their cut, plain-text test and
// fallbacks, and the error path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include <filesystem>

#include "fileinfo/file_properties.h"
#include "platform/os/file_system.h"
#include "services/run_error.h"
#include "tests/support/pe_builder.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using fileinfo::DateOfFileTime;

TEST(SizeText, BytesThenKilobytesThenMegabytesRoundedHalfToEven) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {1024, "1024 bytes"},       {1025, "1 KB"},          {1536, "2 KB"},         {2560, "2 KB"},
        {1048576 + 511, "1024 KB"}, {1048576 + 513, "1 MB"}, {5ull << 30, "5120 MB"}};
    for (const auto& [size, text] : cases) {
        EXPECT_EQ(fileinfo::SizeText(size), text) << size;
    }
}

// Every day against the C library's own conversion, at its first and its last second.
TEST(Dates, EveryDayFrom1601To9999InUtc) {
    constexpr std::int64_t kFirst = -11644473600;  // 1601-01-01 00:00:00
    constexpr std::int64_t kEnd = 253402300800;    // 10000-01-01 00:00:00
    EXPECT_THROW(DateOfFileTime(kFirst - 1), RunError);
    EXPECT_THROW(DateOfFileTime(kEnd), RunError);
    for (std::int64_t second = kFirst; second < kEnd; second += 86400) {
        const std::time_t time = second;
        std::tm utc{};
        ASSERT_NE(::gmtime_r(&time, &utc), nullptr);
        const CalendarDate expected{utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday};
        if (DateOfFileTime(second) != expected || DateOfFileTime(second + 86399) != expected) {
            FAIL() << second << " is " << utc.tm_year + 1900 << "-" << utc.tm_mon + 1;
        }
    }
}

std::vector<std::string> VersionEntries(const FileProperties& p) {
    return {p.CompanyName,    p.FileDescription,  p.FileVersion, p.InternalName,
            p.LegalCopyright, p.OriginalFileName, p.ProductName, p.ProductVersion};
}

TEST(FileProperties, TheEightEntriesWithTheirCutPlainTextTestAndFallbacks) {
    const std::string none;
    const std::pair<const char*, std::vector<std::string>> rows[] = {
        {"long", {none, std::string(254, 'D'), none, none, none, "long.exe", "long.exe", none}},
        {"translations", {none, "Beispiel Deutsch", none, none, none, none, none, none}},
        {"empty_desc", {"\tTab", "orig.exe", none, none, none, "orig.exe", "orig.exe", none}},
    };
    for (const auto& [fixture, entries] : rows) {
        getFileProperty(FixturePath(fixture));
        EXPECT_EQ(VersionEntries(fileProperties()), entries) << fixture;
    }
}

TEST(FileProperties, WhatCannotBeReadGetsFileNameFallbacksAndNothingLeftOver) {
    const TempFolder folder;
    const std::string good = TempFolder::ReadFile(FixturePath("full"));
    // wValueLength 2: a language without its code page.
    const std::string shortTranslation =
        Patched(good, good.find(Utf16Bytes(u"Translation")) - 4, 2, 2);
    std::filesystem::create_directory(folder / "sub.exe");
    const std::pair<std::string, bool> files[] = {
        {folder / "sub.exe", false},  // a folder cannot be opened as a file
        {folder.Write("short.exe", shortTranslation), true},
        {folder.Write("cut.exe", good.substr(0, 1500)), true},
        {"no-separator.exe", false}};
    for (const auto& [path, isFile] : files) {
        SCOPED_TRACE(path);
        getFileProperty(FixturePath("full"));
        getFileProperty(path);
        const FileProperties& p = fileProperties();
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_EQ(VersionEntries(p),
                  (std::vector<std::string>{"", name, "", "", "", name, name, ""}));
        EXPECT_EQ(p.SizeBytes != 0 && !p.SizeText.empty(), isFile);
        EXPECT_EQ(p.Modified.has_value() && p.Accessed && p.Created, isFile);
    }
    // 3 GiB (sparse): the size field stops at the largest 32-bit number.
    const std::string big = folder.Write("big.exe", "");
    std::filesystem::resize_file(big, 3ull << 30);
    getFileProperty(big);
    EXPECT_EQ(fileProperties().SizeBytes, 2147483647);
    EXPECT_EQ(fileProperties().SizeText, "3072 MB");
}

TEST(FileProperties, AnUnreadableDateIsLoggedAndEndsTheCall) {
    const TempFolder app;
    const TempFolder shm("/dev/shm/rg-future");  // tmpfs holds the year 10000, ext4 stops in 2446
    const std::string file = shm.Write("future.exe", TempFolder::ReadFile(FixturePath("full")));
    const timespec times[2] = {{253402387200, 0}, {253402387200, 0}};  // 10000-01-02
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    struct stat info {};
    ::stat(file.c_str(), &info);
    if (info.st_mtime != 253402387200) {
        GTEST_SKIP() << file << " cannot hold a file time in the year 10000";
    }
    platform::OverrideAppPathForTesting(app.path());
    getFileProperty(file);
    platform::OverrideAppPathForTesting(std::nullopt);
    EXPECT_EQ(fileProperties().FileDescription, "");  // the call ended before the entries
    EXPECT_FALSE(fileProperties().Modified.has_value());
    const std::string log = TempFolder::ReadFile(app / "Err.log");
    EXPECT_EQ(log.rfind("getFileProperty of mdlFileProperty:---->13,Type mismatch, On ", 0), 0u)
        << log;
}

}  // namespace
}  // namespace rg::test
