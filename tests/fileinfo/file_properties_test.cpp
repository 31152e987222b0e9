// The file property reader: names, sizes, dates, the eight entries with their cut, plain-text
// test and fallbacks, and the error path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include <algorithm>
#include <cstdlib>
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
        {0, "0 bytes"},          {1024, "1024 bytes"},
        {1025, "1 KB"},          {1535, "1 KB"},
        {1536, "2 KB"},          {2560, "2 KB"},
        {2561, "3 KB"},          {1048576 + 511, "1024 KB"},
        {1048576 + 513, "1 MB"}, {3584 << 10, "4 MB"},
        {2560 << 10, "2 MB"},    {5ull << 30, "5120 MB"}};
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

TEST(PlainText, RejectsEveryCharacterWithAByteAbove122) {
    for (const char* plain : {"Sample Tool 1.2", "\x99", "????", "\tTab", "z", ""}) {
        EXPECT_TRUE(fileinfo::IsPlainText(plain)) << plain;
    }
    for (const char* bad : {"\xAE", "\xA9", "\x80", "\x8E", "{", "|", "}", "~", "\xE9", "\x81"}) {
        EXPECT_FALSE(fileinfo::IsPlainText(std::string("ab") + bad)) << bad;
    }
}

std::vector<std::string> VersionEntries(const FileProperties& p) {
    return {p.CompanyName,    p.FileDescription,  p.FileVersion, p.InternalName,
            p.LegalCopyright, p.OriginalFileName, p.ProductName, p.ProductVersion};
}

TEST(FileProperties, TheEightEntriesWithTheirCutPlainTextTestAndFallbacks) {
    const std::string N = "<file name>";
    const std::string none;
    struct Row {
        const char* fixture;
        std::vector<std::string> entries;
    };
    const std::vector<std::string> full = {
        "Ravelgard Test Co",   "Sample Tool", "1.2.3.4",        "sample",
        "Copyright 2024 Test", "sample.exe",  "Sample Product", "1.2"};
    // marks: "Sample® Tool", "1.0 €", Cyrillic, "© 2024 Test", "Łukasz Tools", "{2}".
    const std::vector<std::string> marks = {"Trade\x99 Co", N,           none,           "???",
                                            none,           "marks.exe", "Lukasz Tools", none};

    const Row rows[] = {
        {"full", full},
        {"marks", marks},
        {"long", {none, std::string(254, 'D'), none, none, none, "long.exe", "long.exe", none}},
        {"translations", {none, "Beispiel Deutsch", none, none, none, none, none, none}},
        {"empty_desc", {"\tTab", "orig.exe", none, none, none, "orig.exe", "orig.exe", none}},
        {"spaces_desc", {none, "spaced.exe", none, none, none, "spaced.exe", "\t", none}},
        {"no_entries", {"Only Company", none, "9.9", none, none, none, none, none}},
        {"missing_table", std::vector<std::string>(8)},
        {"languages", {none, "Deutsch", none, none, none, none, none, none}},  // first, not British
        {"no_translation", {none, N, none, none, none, N, N, none}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fixture);
        getFileProperty(FixturePath(row.fixture));
        std::vector<std::string> expected = row.entries;
        std::replace(expected.begin(), expected.end(), N, std::string(row.fixture) + ".exe");
        EXPECT_EQ(VersionEntries(fileProperties()), expected);
    }
}

TEST(FileProperties, NameSizeAndDatesOfAFile) {
    const std::string path = FixturePath("full");
    struct stat info {};
    ASSERT_EQ(::stat(path.c_str(), &info), 0);
    getFileProperty(path);
    const FileProperties& p = fileProperties();
    EXPECT_EQ(p.FullPath, path);
    EXPECT_EQ(p.FileName, "full.exe");
    EXPECT_EQ(p.SizeBytes, info.st_size);
    EXPECT_EQ(p.SizeText, fileinfo::SizeText(static_cast<std::uint64_t>(info.st_size)));
    EXPECT_EQ(p.Modified, DateOfFileTime(info.st_mtime));
    EXPECT_EQ(p.Accessed, DateOfFileTime(info.st_atime));
    EXPECT_TRUE(p.Created.has_value());

    // 3 GiB (sparse): the size field stops at the largest 32-bit number.
    const TempFolder folder;
    const std::string big = folder.Write("big.exe", "");
    std::filesystem::resize_file(big, 3ull << 30);
    getFileProperty(big);
    EXPECT_EQ(fileProperties().SizeBytes, 2147483647);
    EXPECT_EQ(fileProperties().SizeText, "3072 MB");
    EXPECT_EQ(fileProperties().FileDescription, "big.exe");
}

TEST(FileProperties, WhatCannotBeReadGetsFileNameFallbacksAndNothingLeftOver) {
    const TempFolder folder;
    const std::string good = TempFolder::ReadFile(FixturePath("full"));
    const std::size_t key = good.find(Utf16Bytes(u"Translation"));
    ASSERT_NE(key, std::string::npos);
    std::string typed = good;
    PutU16(typed, key - 2, 1);  // wType: text
    std::string shortTranslation = good;
    PutU16(shortTranslation, key - 4, 2);  // wValueLength: 2 bytes, no code page
    std::filesystem::create_directory(folder / "sub.exe");
    const std::pair<std::string, bool> files[] = {
        {folder / "gone.exe", false},
        {folder / "sub.exe", false},  // a folder cannot be opened as a file
        {folder.Write("typed.exe", typed), true},
        {folder.Write("short.exe", shortTranslation), true},
        {folder.Write("cut.exe", good.substr(0, 1500)), true},
        {"no-separator.exe", false}};
    for (const auto& [path, isFile] : files) {
        SCOPED_TRACE(path);
        getFileProperty(FixturePath("full"));
        getFileProperty(path);
        const FileProperties& p = fileProperties();
        const std::string name = path.substr(path.rfind('/') + 1);
        EXPECT_EQ(p.FullPath, path);
        EXPECT_EQ(p.FileName, name);
        EXPECT_EQ(VersionEntries(p),
                  (std::vector<std::string>{"", name, "", "", "", name, name, ""}));
        EXPECT_EQ(p.SizeBytes != 0 && !p.SizeText.empty(), isFile);
        EXPECT_EQ(p.Modified.has_value() && p.Accessed && p.Created, isFile);
    }
}

TEST(FileProperties, AnUnreadableDateIsLoggedAndEndsTheCall) {
    const TempFolder app;
    // tmpfs holds the year 10000, ext4 stops in 2446.
    const std::string previous = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
    ::setenv("TMPDIR", "/dev/shm", 1);
    const TempFolder shm("rg-future");
    previous.empty() ? ::unsetenv("TMPDIR") : ::setenv("TMPDIR", previous.c_str(), 1);
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
    EXPECT_EQ(fileProperties().FileName, "future.exe");
    EXPECT_EQ(fileProperties().FileDescription, "");  // the call ended before the entries
    EXPECT_FALSE(fileProperties().Modified.has_value());
    const std::string log = TempFolder::ReadFile(app / "Err.log");
    EXPECT_EQ(log.rfind("getFileProperty of mdlFileProperty:---->13,Type mismatch, On ", 0), 0u)
        << log;
}

}  // namespace
}  // namespace rg::test
