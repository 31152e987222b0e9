// ReadINI / WriteINI / CanStoreINIValue over the profile API: the 254-character read, the
// enciphering keyed by the section, and values that could not be read back unchanged.
#include <sys/stat.h>

#include <string>

#include "services/cipher.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "tests/platform/ini/profile_test_support.h"

namespace rg::testing {
namespace {

class IniAccessTest : public ProfileTest {};

TEST_F(IniAccessTest, ReadGivesFallbackOnlyForAbsentEntriesAndCutsAt254) {
    EXPECT_EQ(ReadINI("Main", "k", "fallback", file_, false), "fallback");
    Given("[Main]\r\nempty=\r\nlong=" + std::string(300, 'x') + "\r\n");
    EXPECT_EQ(ReadINI("Main", "empty", "fallback", file_, false), "");
    EXPECT_EQ(ReadINI("Main", "absent", "fallback", file_, false), "fallback");
    EXPECT_EQ(ReadINI("Other", "empty", "fallback", file_, false), "fallback");
    EXPECT_EQ(ReadINI("Main", "long", "", file_, false), std::string(254, 'x'));
}

TEST_F(IniAccessTest, WriteStoresEncipheredValuesKeyedBySection) {
    EXPECT_TRUE(WriteINI("Main", "AlertEvent", "1", file_, true));
    EXPECT_TRUE(WriteINI("services.exe", "AlertEvent", "1", file_, true));
    EXPECT_TRUE(WriteINI("Main", "Padded", "   x", file_, false));
    EXPECT_TRUE(WriteINI("Main", "Spaces", "    ", file_, true));
    EXPECT_EQ(Disk(),
              "[Main]\r\nAlertEvent=\x92\r\nPadded=x\r\nSpaces=\r\n"
              "[services.exe]\r\nAlertEvent=\x96\r\n");
    EXPECT_EQ(ReadINI("Main", "AlertEvent", "", file_, true), "1");
    EXPECT_EQ(ReadINI("services.exe", "AlertEvent", "", file_, true), "1");
    EXPECT_TRUE(WriteINI("Main", "AlertEvent", "0", file_, true));
    EXPECT_EQ(Disk(),
              "[Main]\r\nAlertEvent=\x91\r\nPadded=x\r\nSpaces=\r\n"
              "[services.exe]\r\nAlertEvent=\x96\r\n");
    const std::string path = "C:\\Program Files\\Caf\xE9\\app.exe  ";
    EXPECT_TRUE(WriteINI("C:\\Caf\xE9.exe", "Path", path, file_, true));
    EXPECT_EQ(ReadINI("C:\\Caf\xE9.exe", "Path", "", file_, true), path);
}

TEST_F(IniAccessTest, ValuesThatWouldNotReadBackAreRefusedBeforeWriting) {
    Given("[Main]\r\nk=old\r\n");
    // Each stored text would be trimmed, unquoted or split on reading. "\xAC" under "Main"
    // enciphers to CR (0xAC + 'a').
    const std::tuple<const char*, const char*, bool> refused[] = {
        {"Main", "\xAC", true},   {"Main", "a\rb", false},  {"Main", "\tx", false},
        {"Main", "x\t", false},   {"Main", "\"x\"", false}, {"Main", "'x'", false},
        {"Main", "x\x1A", false}, {" Main", "x", false},
    };
    for (const auto& [section, value, encipher] : refused) {
        EXPECT_FALSE(CanStoreINIValue(section, value, encipher)) << section << "/" << value;
        try {
            WriteINI(section, "k", value, file_, encipher);
            ADD_FAILURE() << "no error for " << section << "/" << value;
        } catch (const RunError& error) {
            EXPECT_EQ(error.number(), RunError::kInvalidCall);
        }
    }
    EXPECT_THROW(WriteINI("Main", "k=x", "v", file_, false), RunError);
    EXPECT_EQ(Disk(), "[Main]\r\nk=old\r\n");
    EXPECT_TRUE(CanStoreINIValue("Main", "  x y", false));
    EXPECT_TRUE(CanStoreINIValue("Main", "\"x", false));
    EXPECT_TRUE(CanStoreINIValue("Main", "", true));
}

TEST_F(IniAccessTest, ASectionNameWithBracketsReadsBack) {
    Given(";Save Programs Here\r\n");
    ASSERT_TRUE(CanStoreINIValue("Setup [x86]", "C:\\Setup.exe", true));
    WriteINI("Setup [x86]", "Path", "C:\\Setup.exe", file_, true);
    WriteINI("[Tools]", "Path", "t", file_, true);
    EXPECT_EQ(ReadINI("Setup [x86]", "Path", "", file_, true), "C:\\Setup.exe");
    EXPECT_EQ(ReadINI("[Tools]", "Path", "", file_, true), "t");
}

TEST_F(IniAccessTest, AnEmptySectionNameStoresPlainTextBeforeTheFirstHeader) {
    Given(";Save Programs Here\r\n[Main]\r\nk=1\r\n");
    EXPECT_TRUE(CanStoreINIValue("", "x", true));
    EXPECT_TRUE(WriteINI("", "Version", "1.0", file_, true));
    EXPECT_EQ(ReadINI("", "Version", "", file_, true), "1.0");
    EXPECT_EQ(Disk(), ";Save Programs Here\r\nVersion=1.0\r\n[Main]\r\nk=1\r\n");
}

TEST_F(IniAccessTest, OverlongValueRaisesTheCiphersOverflow) {
    const std::string huge(40000, 'x');
    EXPECT_FALSE(CanStoreINIValue("Main", huge, true));
    try {
        WriteINI("Main", "k", huge, file_, true);
        ADD_FAILURE() << "no overflow";
    } catch (const RunError& error) {
        EXPECT_EQ(error.number(), RunError::kOverflow);
    }
}

TEST_F(IniAccessTest, RefusedPlatformWritesStillReturnTrueAndShowAtTheFlush) {
    Given("[Main]\r\nk=old\r\n");
    ::chmod(file_.c_str(), 0444);
    EXPECT_TRUE(WriteINI("Main", "k", "new", file_, false));
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadINI("Main", "k", "", file_, false), "old");
}

}  // namespace
}  // namespace rg::testing
