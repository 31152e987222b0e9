// Writing through WritePrivateProfileStringA / WritePrivateProfileSectionA: the exact bytes on
// files the API wrote itself, lines left byte for byte on other files, and refused writes.
#include <sys/stat.h>

#include <string>

#include "tests/platform/ini/profile_test_support.h"

namespace rg::testing {
namespace {

using namespace std::string_literals;
using platform::GetLastError;

class ProfileWriteTest : public ProfileTest {
  protected:
    ino_t Inode() {
        struct stat info {};
        EXPECT_EQ(::stat(file_.c_str(), &info), 0);
        return info.st_ino;
    }
};

TEST_F(ProfileWriteTest, NewFilesSectionsAndKeys) {
    EXPECT_TRUE(Set("Sec", "key", "value"));
    EXPECT_EQ(Disk(), "[Sec]\r\nkey=value\r\n");
    Given("[a]\r\nx=1");
    EXPECT_TRUE(Set("a", "k", "v"));
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\nk=v\r\n");
    Given("[a]\r\nfirst=1\r\n  Key  =  old value  \r\nlast=3\r\n");
    EXPECT_TRUE(Set("A", "KEY", "new"));
    EXPECT_EQ(Disk(), "[a]\r\nfirst=1\r\nKey=new\r\nlast=3\r\n");
    Given("[a]\r\nk=1\r\nK=2\r\n");
    EXPECT_TRUE(Set("a", "K", "9"));
    EXPECT_EQ(Disk(), "[a]\r\nk=9\r\nK=2\r\n");
    Given("[Prog]\r\na=1\r\n[PROG]\r\nb=2\r\n");
    EXPECT_TRUE(Set("prog", "c", "3"));
    EXPECT_TRUE(Set("PrOg", "b", "22"));
    EXPECT_EQ(Disk(), "[Prog]\r\na=1\r\nc=3\r\nb=22\r\n[PROG]\r\nb=2\r\n");
    Given("orphan=1\r\n[a]\r\nx=1\r\n");
    EXPECT_TRUE(Set("", "orphan2", "2"));
    EXPECT_EQ(Disk(), "orphan=1\r\norphan2=2\r\n[a]\r\nx=1\r\n");
}

TEST_F(ProfileWriteTest, ValuesKeepTrailingBlanksAndBytes) {
    EXPECT_TRUE(Set("a", "k", "  v  "));
    EXPECT_TRUE(Set("a", "t", "\t\tv\t"));
    EXPECT_TRUE(Set("a", "e", ""));
    // The untouched line "k=v  " keeps its blanks: the file is edited in place.
    EXPECT_EQ(Disk(), "[a]\r\nk=v  \r\nt=v\t\r\ne=\r\n");
    EXPECT_EQ(Get("a", "e").count, 0u);
    Given("");
    EXPECT_TRUE(Set("a", "hi", "\x80\x81\x8D\x8F\x90\x9D\xA0\xE9\xFF"));
    EXPECT_TRUE(Set("a", "ctl", "x\x01\x07\x1B\x7Fy"));
    EXPECT_TRUE(Set("a", "lead", "\x0B\x0C\x1A\x01z"));
    EXPECT_EQ(Disk(),
              "[a]\r\nhi=\x80\x81\x8D\x8F\x90\x9D\xA0\xE9\xFF\r\nctl=x\x01\x07\x1B\x7Fy\r\nlead="
              "\x01z\r\n");
    Given("");
    EXPECT_TRUE(Set("a", "", "v"));
    EXPECT_TRUE(Set("a", ";c", "v"));
    EXPECT_TRUE(Set("  sp  ", "  key  ", "v"));
    EXPECT_TRUE(Set("a]b", "k", "v"));
    EXPECT_TRUE(Set("[x", "k", "v"));
    EXPECT_TRUE(Set("a", "z", "1"));
    EXPECT_EQ(Disk(),
              "[a]\r\n=v\r\n;c=v\r\nz=1\r\n[sp  ]\r\nkey  =v\r\n[a]b]\r\nk=v\r\n[[x]\r\nk=v\r\n");
    EXPECT_EQ(Value("sp", "key"), "v");
    EXPECT_EQ(Value("a]b", "k"), "v");
    EXPECT_EQ(Value("[x", "k"), "v");
}

TEST_F(ProfileWriteTest, UntouchedLinesStayByteForByte) {
    Given("[a]\r\nx=1\r\n\r\n\r\n");
    EXPECT_TRUE(Set("b", "k", "v"));
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\n\r\n\r\n[b]\r\nk=v\r\n");
    Given("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n");
    EXPECT_TRUE(Set("a", "k", "v"));
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n");
    Given(";top comment\r\n\r\n[a]\r\n  x = 1 \r\n\r\ny=2\r\n");
    EXPECT_TRUE(Set("a", "X", std::nullopt));
    EXPECT_EQ(Disk(), ";top comment\r\n\r\n[a]\r\n\r\ny=2\r\n");
    Given(
        "; header comment\n\n   ; indented comment   \n[a]\n# hash line\nx = 1\n\n\n"
        "; trailing comment\r[b]\ry=2\x1A");
    EXPECT_TRUE(Set("a", "k", "v"));
    EXPECT_EQ(Disk(),
              "; header comment\n\n   ; indented comment   \n[a]\n# hash line\nx = 1\n\n\n"
              "; trailing comment\rk=v\r\n[b]\ry=2\x1A");
    Given("\r\n[a]\r\n  x = 1  \r\n\r\n");
    EXPECT_TRUE(Set("a", "x", "2"));
    EXPECT_EQ(Disk(), "\r\n[a]\r\nx=2\r\n\r\n");
    Given("Data \0 before\r\n[a]\r\nx=1\r\n"s);
    EXPECT_TRUE(Set("a", "x", "2"));
    EXPECT_EQ(Disk(), "Data \0 before\r\n[a]\r\nx=2\r\n"s);
}

TEST_F(ProfileWriteTest, DeletingKeysAndSections) {
    Given("[a]\r\nx=1\r\n[b]\r\n;comment in b\r\ny=2\r\n[c]\r\nz=3\r\n");
    EXPECT_TRUE(Set("B", std::nullopt, std::nullopt));
    EXPECT_TRUE(Set("absent", std::nullopt, std::nullopt));
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\n[c]\r\nz=3\r\n");
    Given("[a]\r\nx=1\r\n[A]\r\ny=2\r\n");
    EXPECT_TRUE(Set("a", std::nullopt, std::nullopt));
    EXPECT_EQ(Disk(), "[A]\r\ny=2\r\n");
    EXPECT_EQ(Value("a", "y"), "2");
}

TEST_F(ProfileWriteTest, WritesThatChangeNothingLeaveTheFileAlone) {
    Given(";top comment\r\n\r\n[a]\r\n  x = 1 \r\n\r\ny=2\r\n");
    const ino_t before = Inode();
    EXPECT_TRUE(Set("a", "nosuch", std::nullopt));
    EXPECT_TRUE(Set("a", "x", "1"));
    EXPECT_TRUE(Set("a", "X", "  1"));
    EXPECT_TRUE(Set("nosuch", std::nullopt, std::nullopt));
    EXPECT_TRUE(SetSection("nosuch", "\0\0"s));
    EXPECT_EQ(Disk(), ";top comment\r\n\r\n[a]\r\n  x = 1 \r\n\r\ny=2\r\n");
    EXPECT_EQ(Inode(), before);  // not even replaced by the same bytes
    Given("");
    EXPECT_TRUE(Set("App", std::nullopt, std::nullopt));
    EXPECT_TRUE(Set("App", "key", std::nullopt));
    EXPECT_EQ(Disk(), "");
    EXPECT_TRUE(Set("App", "key", "string"));
    EXPECT_EQ(Disk(), "[App]\r\nkey=string\r\n");
}

TEST_F(ProfileWriteTest, UnsafeNamesAndValuesAreRefused) {
    Given("[a]\r\nk=1\r\n");
    const std::pair<std::string, std::string> badKeyValues[] = {
        {"k", "line1\r\nInjected=yes"},
        {"k", "cr\ronly"},
        {"k", "lf\nonly"},
        {"k", "nul\0x"s},
        {"k\r", "v"},
        {"k=x", "v"},
        {"[evil]", "v"},
        {"[x", "]"},
    };
    for (const auto& [key, value] : badKeyValues) {
        platform::SetLastError(0);
        EXPECT_FALSE(Set("a", key, value)) << key << "=" << value;
        EXPECT_EQ(GetLastError(), platform::ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(Set("a\nb", "k", "v"));
    EXPECT_FALSE(SetSection("a\r", "k=v\0\0"s));
    EXPECT_FALSE(SetSection("a", "k=v\r\n[b]\0\0"s));
    EXPECT_FALSE(SetSection("a", "[e=]\0\0"s));
    EXPECT_EQ(GetLastError(), platform::ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(Set(std::nullopt, "k", "v"));
    EXPECT_EQ(GetLastError(), platform::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Disk(), "[a]\r\nk=1\r\n");
}

TEST_F(ProfileWriteTest, ReadOnlyFilesAndMissingFoldersAreRefusedAtOnce) {
    Given("[a]\r\nx=1\r\n");
    ::chmod(file_.c_str(), 0444);
    EXPECT_FALSE(Set("a", "x", "2"));
    EXPECT_EQ(GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(Set("a", "y", "2"));
    EXPECT_FALSE(Set("a", "x", std::nullopt));
    EXPECT_FALSE(Set("a", std::nullopt, std::nullopt));
    EXPECT_FALSE(SetSection("a", "\0\0"s));
    EXPECT_EQ(GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(Value("a", "x"), "1");
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\n");
    file_ = folder_ + "/missing/x.ini";
    EXPECT_FALSE(Set("a", "x", "1"));
    EXPECT_EQ(GetLastError(), platform::ERROR_PATH_NOT_FOUND);
    EXPECT_FALSE(SetSection("a", "\0\0"s));
    EXPECT_EQ(GetLastError(), platform::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/missing"));
}

TEST_F(ProfileWriteTest, ByteOrderMarkFilesAreRewrittenInTheirEncoding) {
    Given("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\ncjk=\xE4\xB8\xAD\r\n");
    EXPECT_TRUE(Set("s", "n", "\xE9t\xE9"));
    EXPECT_EQ(Disk(),
              "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\ncjk=\xE4\xB8\xAD\r\nn=\xC3\xA9t\xC3\xA9\r\n");
    Given("\xFF\xFE[\0s\0]\0\r\0\n\0c\0=\0\x2D\x4E\r\0\n\0"s);
    EXPECT_TRUE(Set("s", "n", "\xE9"));
    EXPECT_EQ(Disk(), "\xFF\xFE[\0s\0]\0\r\0\n\0c\0=\0\x2D\x4E\r\0\n\0n\0=\0\xE9\0\r\0\n\0"s);
}

TEST_F(ProfileWriteTest, SectionListsEmptyReplaceAndDelete) {
    Given(
        ";top\r\n[p]\r\n; comment in p\r\nk1=v1\r\n\r\nk2=v2\r\n# hash in p\r\n\r\n[q]\r\nx=1\r\n");
    EXPECT_TRUE(SetSection("p", "\0\0"s));
    EXPECT_EQ(Disk(), ";top\r\n[p]\r\n[q]\r\nx=1\r\n");
    EXPECT_TRUE(Set("p", "new1", "a"));
    EXPECT_TRUE(Set("p", "new2", "b"));
    EXPECT_EQ(Disk(), ";top\r\n[p]\r\nnew1=a\r\nnew2=b\r\n[q]\r\nx=1\r\n");
    Given("[q]\r\nx=1\r\n\r\n");
    EXPECT_TRUE(SetSection("p", "\0\0"s));
    EXPECT_EQ(Disk(), "[q]\r\nx=1\r\n\r\n");
    EXPECT_TRUE(Set("p", "k", "v"));
    EXPECT_EQ(Disk(), "[q]\r\nx=1\r\n\r\n[p]\r\nk=v\r\n");
    Given("[p]\r\n\r\n[q]\r\nx=1\r\n");
    EXPECT_TRUE(SetSection("p", ""));
    EXPECT_EQ(Disk(), "[p]\r\n\r\n[q]\r\nx=1\r\n");
    Given("[Prog]\r\na=1\r\n[other]\r\nz=9\r\n[PROG]\r\nb=2\r\n");
    EXPECT_TRUE(SetSection("prog", "\0\0"s));
    EXPECT_EQ(Disk(), "[Prog]\r\n[other]\r\nz=9\r\n[PROG]\r\n");
    EXPECT_TRUE(Set("PROG", "c", "3"));
    EXPECT_EQ(Disk(), "[Prog]\r\nc=3\r\n[other]\r\nz=9\r\n[PROG]\r\n");
    Given("[p]\r\nold=1\r\n;c\r\n");
    EXPECT_TRUE(SetSection("P", "b=2\0a=1\0a=again\0noequals\0;c=x\0  lead =  v  \0=e\0\0"s));
    EXPECT_EQ(Disk(), "[p]\r\nb=2\r\na=1\r\na=again\r\n;c=x\r\nlead =v  \r\n=e\r\n");
    EXPECT_TRUE(SetSection("newsec", "k=v\0\0"s));
    EXPECT_TRUE(SetSection("p", std::nullopt));
    EXPECT_EQ(Disk(), "[newsec]\r\nk=v\r\n");
    platform::DiscardPrivateProfileCacheForTesting();
    ::unlink(file_.c_str());
    EXPECT_TRUE(SetSection("p", "\0\0"s));
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    EXPECT_FALSE(std::filesystem::exists(file_));
}

TEST_F(ProfileWriteTest, TheWizardsSequenceOfCalls) {
    Given(";Save Programs Here\r\n");
    std::string block;
    for (int n = 1; n <= 15; ++n) {
        const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
        block += "Key" + nn + "=Value" + nn + "\r\n";
    }
    for (const char* program : {"Program1", "Program2"}) {
        EXPECT_TRUE(SetSection(program, "\0\0"s));
        for (int n = 1; n <= 15; ++n) {
            const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
            EXPECT_TRUE(Set(program, "Key" + nn, "Value" + nn));
        }
    }
    const std::string first = Disk();
    EXPECT_EQ(first, ";Save Programs Here\r\n[Program1]\r\n" + block + "[Program2]\r\n" + block);
    EXPECT_EQ(first.size(), 495u);
    EXPECT_TRUE(SetSection("PROGRAM1", "\0\0"s));
    EXPECT_EQ(Disk(), ";Save Programs Here\r\n[Program1]\r\n[Program2]\r\n" + block);
    for (int n = 1; n <= 15; ++n) {
        const std::string nn = (n < 10 ? "0" : "") + std::to_string(n);
        EXPECT_TRUE(Set("PROGRAM1", "KEY" + nn, "New" + nn));
    }
    EXPECT_EQ(Disk().size(), 465u);
    EXPECT_EQ(Get(std::nullopt, std::nullopt).buffer, "Program1\0Program2\0\0"s);
    Given("[C:\\Program Files\\My App\\app.exe]\r\nKey01=C:\\Program Files\\My App\\app.exe\r\n");
    EXPECT_TRUE(Set("c:\\program files\\my app\\APP.EXE", "Key02", "Value02"));
    EXPECT_EQ(Disk(),
              "[C:\\Program Files\\My App\\app.exe]\r\nKey01=C:\\Program Files\\My "
              "App\\app.exe\r\nKey02=Value02\r\n");
}

}  // namespace
}  // namespace rg::testing
