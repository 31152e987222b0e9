// Reading through GetPrivateProfileStringA / GetPrivateProfileSectionA: trimming, quotes,
// buffer cuts, first-match rules, case folding, line ends and encodings.
#include <string>

#include "tests/platform/ini/profile_test_support.h"

namespace rg::testing {
namespace {

using namespace std::string_literals;

const std::string kMain =
    "[Main]\r\npresent=hello\r\nempty=\r\nblank=   \r\n  spaced key   =   padded value   \r\n"
    "sq='single quoted'\r\ndq=\"double quoted\"\r\ndqinner=a \"b\" c\r\nmixq=\"mixed'\r\n"
    "onlyq=\"\r\ntwoq=\"\"\r\n\tctlpad\x0B=\x0C\x1A"
    "cv\x1A\r\nsqpad=  ' x '  \r\nnoequals\r\n;comment=1\r\n#hash=1\r\n  ;indented=1\r\n"
    "MixedCase=mc\r\ndup=first\r\ndup=second\r\neqsign=a=b=c\r\nsemi=abc ; not a comment\r\n"
    "tabs=\tx\t\r\ntwo words=tw\r\n[ Spaced Section ]\r\nk=spaced-section\r\n[main]\r\n"
    "dup=third\r\nonlyinsecond=x\r\n";

class ProfileReadTest : public ProfileTest {};

TEST_F(ProfileReadTest, ValuesAreTrimmedUnquotedAndFoundByFirstMatch) {
    Given(kMain);
    const std::pair<const char*, const char*> rows[] = {
        {"present", "hello"},
        {"empty", ""},
        {"blank", ""},
        {"spaced key", "padded value"},
        {"  present  ", "hello"},
        {"tabs", "x"},
        {"ctlpad", "cv"},
        {"two words", "tw"},
        {"sq", "single quoted"},
        {"dq", "double quoted"},
        {"dqinner", "a \"b\" c"},
        {"mixq", "\"mixed'"},
        {"onlyq", "\""},
        {"twoq", ""},
        {"sqpad", " x "},
        {"noequals", "def"},
        {";comment", "1"},
        {";indented", "1"},
        {"#hash", "1"},
        {"MIXEDCASE", "mc"},
        {"dup", "first"},
        {"onlyinsecond", "def"},
        {"eqsign", "a=b=c"},
        {"semi", "abc ; not a comment"},
        {"absent", "def"},
    };
    for (const auto& [key, expected] : rows) {
        EXPECT_EQ(Value("Main", key), expected) << key;
    }
    EXPECT_EQ(Value("  MAIN  ", "present"), "hello");
    EXPECT_EQ(Value(" Spaced Section ", "k"), "spaced-section");
    EXPECT_EQ(Value("absent", "present"), "def");
}

TEST_F(ProfileReadTest, DefaultLosesTrailingSpacesAndQuotes) {
    Given(kMain);
    const std::pair<OptText, const char*> rows[] = {
        {"def   ", "def"}, {"  def", "  def"}, {"def\t", "def\t"},
        {"   ", " "},      {std::nullopt, ""}, {"\"quoted default\"", "quoted default"},
        {"'q'  ", "q"},    {"a;b=c", "a;b=c"},
    };
    for (const auto& [fallback, expected] : rows) {
        EXPECT_EQ(Value("Main", "absent", fallback), expected) << fallback.value_or("NULL");
    }
    EXPECT_EQ(Get("Main", "absent", "defaultvalue", 5).buffer, "defa\0"s);
}

TEST_F(ProfileReadTest, MissingFileOrFolderGivesDefaultAndError) {
    EXPECT_EQ(Value("Main", "present"), "def");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILE_NOT_FOUND);
    file_ = folder_ + "/nofolder/x.ini";
    EXPECT_EQ(Value("Main", "present"), "def");
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_PATH_NOT_FOUND);
}

TEST_F(ProfileReadTest, BufferCutsValuesAndListsLikeTheWindowsApi) {
    const std::string longValue(300, 'v');
    Given("[s]\r\nk=hello\r\nq=\"hello\"\r\nlong=" + longValue +
          "\r\n[t]\r\nlong=01234\r\nv=1\r\nq=2\r\n[S]\r\n");
    EXPECT_EQ(Get("s", "long", "", 255).count, 254u);
    EXPECT_EQ(Get("s", "long", "", 300).count, 299u);
    EXPECT_EQ(Get("s", "long", "", 301).count, 300u);
    EXPECT_EQ(Get("s", "k", "", 6).buffer, "hello\0"s);
    EXPECT_EQ(Get("s", "k", "", 5).buffer, "hell\0"s);
    EXPECT_EQ(Get("s", "k", "", 2).buffer, "h\0"s);
    EXPECT_EQ(Get("s", "k", "", 1).buffer, "\0"s);
    char untouched[2] = {'x', 'y'};
    EXPECT_EQ(platform::GetPrivateProfileStringA("s", "k", "", untouched, 0, file_), 0u);
    EXPECT_EQ(untouched[0], 'x');
    // A quoted value needs one character more than an unquoted one.
    const std::pair<platform::DWORD, const char*> quoted[] = {
        {8, "hello"}, {7, "hello"}, {6, "hell"}, {5, "hell"}};
    for (const auto& [size, expected] : quoted) {
        const ReadResult result = Get("s", "q", "", size);
        EXPECT_EQ(result.buffer.substr(0, result.count), expected) << size;
    }
    // Key lists end with a single NUL when cut, section dumps with two.
    EXPECT_EQ(Get("t", std::nullopt, "", 6).buffer, "long\0"s);
    EXPECT_EQ(Get("t", std::nullopt, "", 5).buffer, "lon\0"s);
    EXPECT_EQ(Get("t", std::nullopt, "", 100).buffer, "long\0v\0q\0\0"s);
    char section[12];
    EXPECT_EQ(platform::GetPrivateProfileSectionA("t", section, 12, file_), 10u);
    EXPECT_EQ(std::string(section, 12), "long=01234\0\0"s);
    EXPECT_EQ(platform::GetPrivateProfileSectionA("t", section, 4, file_), 2u);
    EXPECT_EQ(std::string(section, 4), "lo\0\0"s);
    Given("[Main]\r\n[S]\r\n");
    EXPECT_EQ(Get(std::nullopt, std::nullopt, "", 8).buffer, "Main\0S\0"s);
    EXPECT_EQ(Get(std::nullopt, std::nullopt, "", 6).buffer, "Main\0"s);
}

TEST_F(ProfileReadTest, ListsSkipCommentsButKeepDuplicatesAndHiddenSections) {
    Given(kMain);
    EXPECT_EQ(Get("Main", std::nullopt).buffer,
              "present\0empty\0blank\0spaced key\0sq\0dq\0dqinner\0mixq\0onlyq\0twoq\0ctlpad\0"
              "sqpad\0#hash\0MixedCase\0dup\0dup\0eqsign\0semi\0tabs\0two words\0\0"s);
    EXPECT_EQ(Get("Main", std::nullopt).count, 125u);
    EXPECT_EQ(Get(std::nullopt, std::nullopt).buffer, "Main\0Spaced Section\0main\0\0"s);
    char dump[1000];
    EXPECT_EQ(platform::GetPrivateProfileSectionA("Main", dump, 1000, file_), 266u);
    const std::string head =
        "present=hello\0empty=\0blank=\0spaced key=padded value\0sq='single quoted'\0"s;
    EXPECT_EQ(std::string(dump, head.size()), head);
    EXPECT_NE(std::string(dump, 266).find("\0noequals\0#hash=1\0"s), std::string::npos);
}

TEST_F(ProfileReadTest, LineEndsNulsAndControlBytes) {
    Given("[s]\rk1=a\rk2=b\r");
    EXPECT_EQ(Value("s", "k2"), "b");
    Given("[s]\nk1=a\nk2=b");
    EXPECT_EQ(Value("s", "k2"), "b");
    Given("[s]\r\r\nk1=a\r\r\nk2=b\n\rk3=c");
    char dump[100];
    EXPECT_EQ(platform::GetPrivateProfileSectionA("s", dump, 100, file_), 15u);
    EXPECT_EQ(std::string(dump, 16), "k1=a\0k2=b\0k3=c\0\0"s);
    Given(
        "[s]\r\nk1=a\rb=2\r\nnul=ab\0cd\r\nafter=ok\r\nmid=a\x01\x07\x0B\x0C\x1A\x1B\x7F"
        "b\r\nlead=\x0B\x0C\x1A\x01x\x1A\x0C\x0B\r\n"s);
    EXPECT_EQ(Value("s", "b"), "2");
    EXPECT_EQ(Value("s", "nul"), "ab");
    EXPECT_EQ(Value("s", "after"), "ok");
    EXPECT_EQ(Value("s", "mid"),
              "a\x01\x07\x0B\x0C\x1A\x1B\x7F"
              "b");
    EXPECT_EQ(Value("s", "lead"), "\x01x");
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c) {
        high += static_cast<char>(c);
    }
    Given("[s]\r\nhigh=" + high + "\r\ncafe=caf\xC3\xA9\r\n");
    EXPECT_EQ(Value("s", "high"), high);
    EXPECT_EQ(Value("s", "cafe"), "caf\xC3\xA9");  // no UTF-8 sniffing without a mark
}

TEST_F(ProfileReadTest, CaseFoldingIsAsciiOnly) {
    Given("[Main]\r\n\xE9t\xE9=summer\r\n");
    EXPECT_EQ(Value("main", "\xC9T\xC9"), "def");
    EXPECT_EQ(Value("MAIN", "\xE9T\xE9"), "summer");
}

TEST_F(ProfileReadTest, HeadersAndNamelessLines) {
    Given(
        "top=beforeany\r\n[a] trailing junk\r\nk=1\r\n[b]x]\r\nk=2\r\n[nobracket\r\nk=3\r\n[]\r\n"
        "=noname\r\n");
    EXPECT_EQ(Value("a", "k"), "1");
    EXPECT_EQ(Value("b]x", "k"), "2");
    EXPECT_EQ(Get("b]x", std::nullopt).buffer, "k\0k\0\0"s);
    EXPECT_EQ(Get(std::nullopt, std::nullopt).buffer, "a\0b]x\0\0"s);
    EXPECT_EQ(Value("", "top"), "beforeany");
    EXPECT_EQ(Get("", std::nullopt).buffer, "top\0\0"s);
    Given("[s]\r\n=noname\r\nk=v\r\n");
    EXPECT_EQ(Value("s", ""), "noname");
    EXPECT_EQ(Value("s", std::nullopt), "def");  // the empty first name hides the list
}

TEST_F(ProfileReadTest, ByteOrderMarksAreDecoded) {
    Given("\xEF\xBB\xBF[s]\r\nk=caf\xC3\xA9\r\nc=\xE4\xB8\xAD\r\nbad=\xFF\xFEz\r\n");
    EXPECT_EQ(Value("s", "k"), "caf\xE9");
    EXPECT_EQ(Value("s", "c"), "?");
    EXPECT_EQ(Value("s", "bad"), "??z");
    Given("\xFF\xFE[\0s\0]\0\r\0\n\0k\0=\0\xE9\0\r\0\n\0c\0=\0\x2D\x4E"s);
    EXPECT_EQ(Value("s", "k"), "\xE9");
    EXPECT_EQ(Value("s", "c"), "?");
    Given("\xFE\xFF\0[\0s\0]\0\n\0k\0=\0v"s);
    EXPECT_EQ(Value("s", "k"), "v");
}

}  // namespace
}  // namespace rg::testing
