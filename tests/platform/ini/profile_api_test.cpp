// The profile (INI) API: what reads return, the exact bytes writes leave on disk (lines a write
// does not touch kept byte for byte), refused writes, and the held copies of the files.
#include "platform/ini/profile_api.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <source_location>
#include <string>

#include "platform/os/file_system.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using platform::DWORD;
using platform::OptText;
using std::nullopt;

// A call of WritePrivateProfileStringA, or of WritePrivateProfileSectionA with `value` as the
// entry list when `list` is set.
struct Call {
    OptText section, key, value;
    bool list = false;
};
constexpr bool kList = true;

const std::string kNoFile = "<no file>";

class ProfileApi : public ::testing::Test {
  protected:
    // The file as a fresh process finds it.
    void Given(const std::string& bytes) {
        platform::DiscardPrivateProfileCacheForTesting();
        std::filesystem::remove(file_);
        if (bytes != kNoFile) {
            TempFolder::WriteFile(file_, bytes);
        }
    }
    // The buffer up to the NUL after the count, each NUL shown as '|'.
    std::string Get(OptText section, OptText key, OptText fallback = "def", DWORD size = 999) {
        std::string buffer(size + 1, '~');
        const DWORD count =
            platform::GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file_);
        return Shown(buffer, std::min(count + 1, size));
    }
    // Get() of each key in turn, one after the other.
    std::string Reads(OptText section, std::initializer_list<OptText> keys) {
        std::string shown;
        for (const OptText& key : keys) {
            shown += Get(section, key);
        }
        return shown;
    }
    // The count, then the buffer up to two bytes past the count ('~': a byte left alone).
    std::string GetSection(std::string_view section, DWORD size = 999) {
        std::string buffer(size + 1, '~');
        const DWORD count =
            platform::GetPrivateProfileSectionA(section, buffer.data(), size, file_);
        return std::to_string(count) + ":" + Shown(buffer, std::min(count + 2, size));
    }
    static std::string Shown(std::string buffer, std::size_t length) {
        EXPECT_EQ(buffer.back(), '~') << "written past the buffer";
        buffer.resize(length);
        std::replace(buffer.begin(), buffer.end(), '\0', '|');
        return buffer;
    }
    bool Run(const Call& call) {
        return (call.list ? platform::WritePrivateProfileSectionA(*call.section, call.value, file_)
                          : platform::WritePrivateProfileStringA(call.section, call.key, call.value,
                                                                 file_)) != 0;
    }
    // Flushes, then the bytes on disk.
    std::string Disk() {
        EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
        return std::filesystem::exists(file_) ? TempFolder::ReadFile(file_) : kNoFile;
    }
    ino_t Inode() const {
        struct stat info {};
        return ::stat(file_.c_str(), &info) == 0 ? info.st_ino : 0;
    }
    // Runs the calls on `given` (each must succeed) and compares the bytes on disk; a file the
    // calls leave as it was is not even replaced.
    void Writes(const std::string& given, std::initializer_list<Call> calls,
                const std::string& expected,
                std::source_location at = std::source_location::current()) {
        SCOPED_TRACE(::testing::Message() << "case at line " << at.line());
        Given(given);
        const ino_t before = Inode();
        for (const Call& call : calls) {
            ASSERT_TRUE(Run(call));
        }
        EXPECT_EQ(Disk(), expected);
        if (given == expected) {
            EXPECT_EQ(Inode(), before);
        } else if (before != 0) {
            EXPECT_NE(Inode(), before);  // replaced whole (atomically), never edited in place
        }
    }

    TempFolder folder_{"rg-ini"};
    std::string file_ = folder_ / "test.ini";
};

const std::string kMain =
    "[Main]\r\npresent=hello\r\nempty=\r\n  spaced key   =   padded value   \r\n"
    "sq='single quoted'\r\nmixq=\"mixed'\r\nonlyq=\"\r\ntwoq=\"\"\r\n\tctlpad\x0B=\x0C\x1A"
    "cv\x1A\r\nnoequals\r\n;comment=1\r\n#hash=1\r\nMixedCase=mc\r\ndup=first\r\ndup=second\r\n"
    "eqsign=a=b=c\r\nsemi=abc ; not a comment\r\n\xE9t\xE9=summer\r\n"
    "[ Spaced Section ]\r\nk=spaced-section\r\n[main]\r\nonlyinsecond=x\r\n";

TEST_F(ProfileApi, ReadsLikeTheWindowsApi) {
    Given(kMain);
    // The section dump below shows every line's trimmed key and value; reading by key adds
    // the look-up and the removal of one pair of outer quotes.
    EXPECT_EQ(Reads("Main", {"  present  ", "empty", "sq", "mixq", "onlyq", "twoq", "noequals",
                             ";comment", "MIXEDCASE", "dup", "absent"}),
              "hello||single quoted|\"mixed'|\"||def|1|mc|first|def|");
    // Case folding is ASCII only.
    EXPECT_EQ(Reads("MAIN", {"\xC9T\xC9", "\xE9T\xE9"}), "def|summer|");
    // A later section of the name is invisible.
    EXPECT_EQ(Get("main", "onlyinsecond") + Get("  SPACED section ", "k"), "def|spaced-section|");
    // Key lists leave out comment lines and lines without "="; section dumps (below) only
    // comments.
    EXPECT_EQ(Get("Main", nullopt),
              "present|empty|spaced key|sq|mixq|onlyq|twoq|ctlpad|#hash|MixedCase|dup|dup|eqsign|"
              "semi|\xE9t\xE9||");
    EXPECT_EQ(Get(nullopt, nullopt), "Main|Spaced Section|main||");
    // Defaults lose trailing spaces (only those), but an all-space default keeps one.
    EXPECT_EQ(Get("Main", "absent", "'q'\t") + Get("Main", "absent", "   "), "'q'\t| |");
    Given(kNoFile);  // a missing file gives the default trimmed and unquoted too
    EXPECT_EQ(Get("Main", "present", "\"d\" "), "d|");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILE_NOT_FOUND);
    file_ = folder_ / "nofolder/x.ini";
    EXPECT_EQ(Get("Main", "present"), "def|");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_PATH_NOT_FOUND);
    Given("[s]\r\nk=hello\r\nq=\"hello\"\r\n[t]\r\nlong=01234\r\nv=1\r\nq=2\r\n[u]\r\n");
    // A quoted value needs one character more; a cut key list ends with a single NUL.
    const std::tuple<OptText, OptText, DWORD, const char*> rows[] = {
        {"s", "k", 5, "hell|"},    {"s", "k", 1, "|"},     {"s", "q", 6, "hell|"},
        {"t", nullopt, 5, "lon|"}, {"t", nullopt, 2, "|"}, {nullopt, nullopt, 5, "s|t|"},
        {nullopt, nullopt, 1, "|"}};
    for (const auto& [section, key, size, shown] : rows) {
        EXPECT_EQ(Get(section, key, "", size), shown) << shown;
    }
    char untouched = 'x';
    EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", &untouched, 0, file_) +
                  platform::GetPrivateProfileSectionA("t", &untouched, 0, file_),
              0u);
    EXPECT_EQ(untouched, 'x');
    EXPECT_EQ(GetSection("t", 12), "10:long=01234||");  // section dumps end with two NULs
    EXPECT_EQ(GetSection("t", 1) + GetSection("U", 5), "0:|0:||");
    // Line ends, NULs, control bytes, headers and byte-order marks.
    Given(
        "[s]\r\r\nk1=a\r\r\n;c=1\r\nk2 = b \n\rnoequals\rnul=ab\0cd\r\n"
        "lead=\x0B\x0C\x1A\x01x\x1A\x0C\x0B\r\ncafe=caf\xC3\xA9"s);  // no UTF-8 sniffing
    EXPECT_EQ(GetSection("s", 46), "45:k1=a|k2=b|noequals|nul=ab|lead=\x01x|cafe=caf\xC3\xA9||");
    // The empty first name of [s] hides its key list.
    Given(
        "top=beforeany\r\n[a] trailing junk\r\nk=1\r\n[b]x]\r\nk=2\r\n[nobracket\r\nk=3\r\n[]\r\n"
        "[s]\r\n=noname\r\nk=v\r\n");
    EXPECT_EQ(Reads("a", {"k"}) + Reads("b]x", {"k", nullopt}) + Reads("", {"top", nullopt}) +
                  Reads("s", {"", nullopt}),
              "1|2|k|k||beforeany|top||noname|def|");
    Given(
        "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9 \xC2\xA9\xE4\xB8\xAD\xE0\xA4\x85\xF0\x9F\x98\x80\r\n"
        "bad=\xFF\xFEz\xE0\x80\x80\xF0\x80\x80\x80\xF4\x90\x80\x80\r\n");
    EXPECT_EQ(Reads("s", {"k", "bad"}), "caf\xE9 \xA9???|??z???????????|");
}

TEST_F(ProfileApi, WritesLeaveExactBytes) {
    Writes(kNoFile, {{"Sec", "key", "value"}}, "[Sec]\r\nkey=value\r\n");
    Writes(";Save Programs Here", {{"Program1", "Key01", "Value01"}},
           ";Save Programs Here\r\n[Program1]\r\nKey01=Value01\r\n");
    // Names and values lose their leading blanks; a line no later write touches keeps its
    // trailing ones, and a replaced line keeps the file's spelling of the key.
    Writes("[a]\r\nfirst=1\r\n  Key  =  old value  \r\nlast=3\r\n",
           {{"A", "KEY", "new"},
            {"a", "k", "  v  "},
            {"a", "hi", "\x0B\x1A\x80\x8D\xFFx\x01\x7F"},
            {"  sp  ", "  key  ", "v"}},
           "[a]\r\nfirst=1\r\nKey=new\r\nlast=3\r\nk=v  \r\nhi=\x80\x8D\xFFx\x01\x7F\r\n"
           "[sp  ]\r\nkey  =v\r\n");
    // Lines a write does not touch stay byte for byte.
    Writes("[a]\r\nx=1\r\n\r\n[b]\r\ny=2\r\n\r\n", {{"a", "k", "v"}, {"c", "k", "v"}},
           "[a]\r\nx=1\r\nk=v\r\n\r\n[b]\r\ny=2\r\n\r\n[c]\r\nk=v\r\n");
    Writes("; header\n\n   ; indented   \n[a]\n# hash\nx = 1\n\n\n; trailing\r[b]\ry=2\x1A",
           {{"a", "k", "v"}},
           "; header\n\n   ; indented   \n[a]\n# hash\nx = 1\n\n\n; trailing\rk=v\r\n[b]\ry=2\x1A");
    Writes("Data \0 before\r\n[a]\r\nx=1"s, {{"a", "k", "v"}},
           "Data \0 before\r\n[a]\r\nx=1\r\nk=v\r\n"s);
    // Deleting: a key, then only the first section of a name; the nameless one loses its lines.
    Writes("top=1\r\n\r\n[a]\r\n  x = 1 \r\n\r\n[b]\r\n;c\r\ny=2\r\n[B]\r\nz=3",
           {{"a", "X", nullopt}, {"B", nullopt, nullopt}, {"", nullopt, nullopt}},
           "[a]\r\n\r\n[B]\r\nz=3");
    // Writes that change nothing do not even replace the file.
    Writes("[a]\r\n  x = 1 \r\n[p]\r\n\r\n",
           {{"a", "nosuch", nullopt},
            {"a", "X", "  1"},
            {"nosuch", nullopt, nullopt},
            {"nosuch", {}, "\0\0"sv, kList},
            {"p", {}, "", kList}},
           "[a]\r\n  x = 1 \r\n[p]\r\n\r\n");
    // Section lists: every section of the name is emptied, keeping its header, and the entries
    // go under the first; an item without "=" is dropped, a repeated key kept.
    Writes(";top\r\n[p]\r\n; in p\r\nk1=v1\r\n\r\n# in p\r\n\r\n[q]\r\nx=1\r\n",
           {{"p", {}, "\0\0"sv, kList}, {"p", "new", "a"}},
           ";top\r\n[p]\r\nnew=a\r\n[q]\r\nx=1\r\n");
    Writes("[Prog]\r\na=1\r\n[other]\r\nz=9\r\n[PROG]\r\nb=2\r\n",
           {{"prog", {}, "b=2\0a=1\0a=again\0noequals\0  lead =  v  \0\0"sv, kList}},
           "[Prog]\r\nb=2\r\na=1\r\na=again\r\nlead =v  \r\n[other]\r\nz=9\r\n[PROG]\r\n");
    Writes("[p]\r\nb=2", {{"newsec", {}, "k=v\0\0"sv, kList}, {"p", {}, nullopt, kList}},
           "[newsec]\r\nk=v\r\n");
    // Files with a byte-order mark are rewritten in their encoding (a surrogate pair, a lone half
    // and an odd last byte kept).
    Writes("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\n", {{"s", "n", "\xE9t\xE9"}},
           "\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\nn=\xC3\xA9t\xC3\xA9\r\n");
    Writes(
        "\xFF\xFE[\0s\0]\0\r\0\n\0c\0=\0\x2D\x4E\x3D\xD8\x00\xDE\x3D\xD8\r\0\n\0\x01"s,
        {{"s", "n", "\xE9\x80"}},
        "\xFF\xFE[\0s\0]\0\r\0\n\0c\0=\0\x2D\x4E\x3D\xD8\x00\xDE\x3D\xD8\r\0\n\0n\0=\0\xE9\0\xAC\x20\r\0\n\0\x01"s);
    EXPECT_EQ(Get("s", "c"), "???|");  // one character each: the CJK one, the pair, the half
    Writes("\xFE\xFF\0[\0s\0]"s, {{"s", "n", "v"}}, "\xFE\xFF\0[\0s\0]\0\r\0\n\0n\0=\0v\0\r\0\n"s);
}

TEST_F(ProfileApi, UnsafeAndImpossibleWritesAreRefusedAndChangeNothing) {
    const Call invalid[] = {{"a", "k", "line1\r\nInjected=yes"},
                            {"a", "k", "nul\0x"sv},
                            {"a", "k\r", "v"},
                            {"a", "k=x", "v"},
                            {"a", "[x", "]"},
                            {"a\nb", "k", "v"},
                            {"a\r", {}, "k=v\0\0"sv, kList},
                            {"a", {}, "k=v\r\n[b]\0\0"sv, kList},
                            {"a", {}, "[e=]\0\0"sv, kList}};
    Given("[a]\r\nk=1\r\n");
    for (const Call& call : invalid) {
        platform::SetLastError(0);
        EXPECT_FALSE(Run(call)) << call.key.value_or("NULL");
        EXPECT_EQ(platform::GetLastError(), platform::ERROR_INVALID_PARAMETER);
    }
    EXPECT_FALSE(Run({nullopt, "k", "v"}));
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILE_NOT_FOUND);
    // A read-only file, a folder, a missing folder: refused at once.
    ::chmod(file_.c_str(), 0444);
    for (const auto& [where, error] :
         {std::pair(file_, platform::ERROR_ACCESS_DENIED),
          std::pair(folder_.path(), platform::ERROR_ACCESS_DENIED),
          std::pair(folder_ / "missing/x.ini", platform::ERROR_PATH_NOT_FOUND)}) {
        file_ = where;
        EXPECT_FALSE(Run({"a", "x", "2"})) << where;
        EXPECT_EQ(platform::GetLastError(), error) << where;
    }
    file_ = folder_ / "test.ini";
    EXPECT_EQ(Disk(), "[a]\r\nk=1\r\n");
    EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}

// The held copy: read again when the file changes, kept while it holds changes, and dropped
// with them when they cannot be written.
TEST_F(ProfileApi, HeldCopiesFollowTheDiskUntilAChangeIsPending) {
    Given("[a]\r\nx=1\r\n");
    EXPECT_EQ(Get("a", "x"), "1|");
    TempFolder::WriteFile(folder_ / "other.ini", "[a]\r\nx=33\r\n");
    std::filesystem::rename(folder_ / "other.ini", file_);  // same size, other file
    EXPECT_EQ(Get("a", "x"), "33|");
    // Once a change is pending, reads see this process's view until the flush, and the flush
    // applies the pending change to what another writer left on disk meanwhile.
    EXPECT_TRUE(Run({"a", "y", "  \"1\"  "}));
    EXPECT_EQ(Get("a", "y"), "1|");
    EXPECT_EQ(TempFolder::ReadFile(file_), "[a]\r\nx=33\r\n");  // writes wait for the flush
    TempFolder::WriteFile(file_, "[a]\r\nother=9\r\n");
    EXPECT_EQ(Get("a", "other"), "def|");
    EXPECT_TRUE(Run({nullopt, nullopt, nullopt}));  // the Windows way of asking for a flush
    EXPECT_EQ(TempFolder::ReadFile(file_), "[a]\r\nother=9\r\ny=\"1\"  \r\n");
    EXPECT_TRUE(Run({"a", "x", "2"}));
    ::chmod(file_.c_str(), 0444);
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::FALSE);
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(Get("a", "x"), "def|");
    EXPECT_EQ(Disk(), "[a]\r\nother=9\r\ny=\"1\"  \r\n");  // nothing is left to write
}

}  // namespace
}  // namespace rg::test
