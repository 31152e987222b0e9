// The file property reader: names, sizes, dates, the eight entries with their cut, plain-text
// test and fallbacks, and the error path.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>

#include "fileinfo/file_properties.h"
#include "platform/os/file_system.h"
#include "services/run_error.h"
#include "tests/support/pe_builder.h"

namespace rg {
namespace {

using test::FixturePath;

const FileProperties& Read(const std::string& fixture) {
    getFileProperty(FixturePath(fixture));
    return fileProperties();
}

TEST(SizeText, RoundsToTheNearestTiesToEven) {
    EXPECT_EQ(fileinfo::SizeText(0), "0 bytes");
    EXPECT_EQ(fileinfo::SizeText(1024), "1024 bytes");
    EXPECT_EQ(fileinfo::SizeText(1025), "1 KB");
    EXPECT_EQ(fileinfo::SizeText(1536), "2 KB");
    EXPECT_EQ(fileinfo::SizeText(2560), "2 KB");
    EXPECT_EQ(fileinfo::SizeText(2561), "3 KB");
    EXPECT_EQ(fileinfo::SizeText(1024 * 1024), "1024 KB");
    EXPECT_EQ(fileinfo::SizeText(1024 * 1024 + 513), "1 MB");
    EXPECT_EQ(fileinfo::SizeText(5ull << 30), "5120 MB");
}

TEST(Dates, FileTimesBecomeUtcCalendarDates) {
    EXPECT_EQ(fileinfo::DateOfFileTime(0), (CalendarDate{1970, 1, 1}));
    EXPECT_EQ(fileinfo::DateOfFileTime(1041638400 + 86399), (CalendarDate{2003, 1, 4}));
    EXPECT_EQ(fileinfo::DateOfFileTime(951782400), (CalendarDate{2000, 2, 29}));
    EXPECT_EQ(fileinfo::DateOfFileTime(-11644473600), (CalendarDate{1601, 1, 1}));
    EXPECT_THROW(fileinfo::DateOfFileTime(-11644473601), RunError);
    EXPECT_THROW(fileinfo::DateOfFileTime(253402300800), RunError);  // the year 10000
}

TEST(FileProperties, ReadsEveryFieldOfAProgram) {
    const FileProperties& p = Read("full");
    struct stat info {};
    ASSERT_EQ(::stat(FixturePath("full").c_str(), &info), 0);
    EXPECT_EQ(p.FullPath, FixturePath("full"));
    EXPECT_EQ(p.FileName, "full.exe");
    EXPECT_EQ(p.SizeBytes, info.st_size);
    EXPECT_EQ(p.SizeText, fileinfo::SizeText(static_cast<std::uint64_t>(info.st_size)));
    EXPECT_EQ(p.Modified, fileinfo::DateOfFileTime(info.st_mtime));
    EXPECT_EQ(p.Accessed, fileinfo::DateOfFileTime(info.st_atime));
    EXPECT_TRUE(p.Created.has_value());
    EXPECT_EQ(p.CompanyName, "Ravelgard Test Co");
    EXPECT_EQ(p.FileDescription, "Sample Tool");
    EXPECT_EQ(p.FileVersion, "1.2.3.4");
    EXPECT_EQ(p.InternalName, "sample");
    EXPECT_EQ(p.LegalCopyright, "Copyright 2024 Test");
    EXPECT_EQ(p.OriginalFileName, "sample.exe");  // stored as "OriginalFilename"
    EXPECT_EQ(p.ProductName, "Sample Product");
    EXPECT_EQ(p.ProductVersion, "1.2");
}

TEST(FileProperties, MissingFileGetsFileNameFallbacksAndNothingLeftOver) {
    Read("full");
    const test::ScratchFolder folder;
    getFileProperty(folder.path() + "/gone.exe");
    const FileProperties& p = fileProperties();
    EXPECT_EQ(p.FullPath, folder.path() + "/gone.exe");
    EXPECT_EQ(p.FileName, "gone.exe");
    EXPECT_EQ(p.FileDescription, "gone.exe");
    EXPECT_EQ(p.ProductName, "gone.exe");
    EXPECT_EQ(p.OriginalFileName, "gone.exe");
    EXPECT_EQ(p.FileVersion, "");
    EXPECT_EQ(p.CompanyName, "");
    EXPECT_EQ(p.SizeBytes, 0);
    EXPECT_EQ(p.SizeText, "");
    EXPECT_FALSE(p.Modified.has_value());
    getFileProperty("no-separator.exe");
    EXPECT_EQ(fileProperties().FileName, "no-separator.exe");
    getFileProperty(folder.path());  // a folder cannot be opened as a file
    EXPECT_EQ(fileProperties().FileDescription, fileProperties().FileName);
    EXPECT_EQ(fileProperties().SizeBytes, 0);
}

TEST(FileProperties, PlainTextTestAndItsReplacements) {
    for (const char* fixture : {"marks", "marks32"}) {
        const FileProperties& p = Read(fixture);
        SCOPED_TRACE(fixture);
        EXPECT_EQ(p.FileDescription, p.FileName);  // "Sample® Tool"
        EXPECT_EQ(p.LegalCopyright, "");           // "© 2024 Test"
        EXPECT_EQ(p.CompanyName, "Trade\x99 Co");  // ™ passes
        EXPECT_EQ(p.FileVersion, "");              // € fails
        EXPECT_EQ(p.InternalName, "???");          // Cyrillic by best fit
        EXPECT_EQ(p.ProductName, "Lukasz Tools");  // Ł by best fit
        EXPECT_EQ(p.ProductVersion, "");           // braces fail
    }
}

TEST(FileProperties, LongEntriesAreCutTo254BeforeTheTest) {
    const FileProperties& p = Read("long");
    EXPECT_EQ(p.FileDescription, std::string(254, 'D'));  // the © at 255 is cut away
    EXPECT_EQ(p.ProductName, "long.exe");  // "~" at 254 fails, then the original name
}

TEST(FileProperties, DisplayNameFallbacks) {
    EXPECT_EQ(Read("translations").FileDescription, "Beispiel Deutsch");  // first translation
    const FileProperties& empty = Read("empty_desc");
    EXPECT_EQ(empty.FileDescription, "orig.exe");
    EXPECT_EQ(empty.ProductName, "orig.exe");  // "   "
    EXPECT_EQ(empty.CompanyName, "\tTab");
    const FileProperties& spaces = Read("spaces_desc");
    EXPECT_EQ(spaces.FileDescription, "spaced.exe");
    EXPECT_EQ(spaces.ProductName, "\t");  // only spaces are ignored
    const FileProperties& none = Read("no_entries");
    EXPECT_EQ(none.FileDescription, "");
    EXPECT_EQ(none.ProductName, "");
    EXPECT_EQ(none.CompanyName, "Only Company");
    const FileProperties& noTable = Read("missing_table");
    EXPECT_EQ(noTable.FileDescription, "");
    EXPECT_EQ(noTable.FileVersion, "");
    for (const char* fixture : {"no_translation", "version2"}) {
        const FileProperties& p = Read(fixture);
        EXPECT_EQ(p.FileDescription, p.FileName) << fixture;
        EXPECT_EQ(p.OriginalFileName, p.FileName) << fixture;
        EXPECT_EQ(p.CompanyName, "") << fixture;
    }
}

TEST(FileProperties, KeysInAnyCaseAndTheChosenLanguage) {
    std::string bytes = test::ReadBytes(FixturePath("case_keys"));
    test::PatchUtf16(bytes, u"StringFileInfo", u"STRINGFILEINFO");
    test::PatchUtf16(bytes, u"VarFileInfo", u"varfileinfo");
    test::PatchUtf16(bytes, u"Translation", u"TRANSLATION");
    const test::ScratchFolder folder;
    getFileProperty(folder.Write("keys.exe", bytes));
    EXPECT_EQ(fileProperties().FileDescription, "Upper Case Key");
    EXPECT_EQ(fileProperties().CompanyName, "lower company");
    EXPECT_EQ(fileProperties().OriginalFileName, "keys.exe");
    EXPECT_EQ(Read("languages").FileDescription, "British");
    EXPECT_EQ(Read("languages_neutral").FileDescription, "Neutral");
    EXPECT_EQ(Read("languages_other").FileDescription, "Deutsch");  // first in the directory
}

TEST(FileProperties, TranslationTypedAsTextCountsAsNone) {
    std::string bytes = test::ReadBytes(FixturePath("full"));
    const std::string key = test::Utf16Bytes(u"Translation");
    const std::size_t at = bytes.find(key);
    ASSERT_NE(at, std::string::npos);
    test::PutU16(bytes, at - 2, 1);  // wType of the Translation block
    const test::ScratchFolder folder;
    getFileProperty(folder.Write("typed.exe", bytes));
    EXPECT_EQ(fileProperties().FileDescription, "typed.exe");
    EXPECT_EQ(fileProperties().CompanyName, "");
}

TEST(FileProperties, AnUnreadableDateIsLoggedAndEndsTheCall) {
    const test::ScratchFolder app;
    const test::ScratchFolder shm("/dev/shm");
    platform::OverrideAppPathForTesting(app.path());
    const std::string file = shm.Write("future.exe", test::ReadBytes(FixturePath("full")));
    const timespec times[2] = {{253402387200, 0}, {253402387200, 0}};  // 10000-01-02
    ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    struct stat info {};
    ::stat(file.c_str(), &info);
    if (info.st_mtime != 253402387200) {
        platform::OverrideAppPathForTesting(std::nullopt);
        GTEST_SKIP() << "/dev/shm cannot hold a file time in the year 10000";
    }
    getFileProperty(file);
    platform::OverrideAppPathForTesting(std::nullopt);
    EXPECT_EQ(fileProperties().FileName, "future.exe");
    EXPECT_EQ(fileProperties().FileDescription, "");  // the call ended before the entries
    EXPECT_FALSE(fileProperties().Modified.has_value());
    const std::string log = test::ReadBytes(app.path() + "/Err.log");
    EXPECT_EQ(log.rfind("getFileProperty of mdlFileProperty:---->13,Type mismatch, On ", 0), 0u)
        << log;
}

}  // namespace
}  // namespace rg
