// ReadINI, WriteINI and CanStoreINIValue over the profile API.
#include "services/ini_access.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ini/profile_api.h"
#include "services/run_error.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

class IniAccess : public ::testing::Test {
  protected:
    IniAccess() { platform::DiscardPrivateProfileCacheForTesting(); }
    ~IniAccess() override { platform::DiscardPrivateProfileCacheForTesting(); }
    std::string Disk() const {
        EXPECT_TRUE(platform::FlushPrivateProfiles());
        return TempFolder::ReadFile(file);
    }
    int ErrorOfWrite(std::string_view section, std::string_view key, std::string_view value,
                     bool encipher) const {
        try {
            WriteINI(section, key, value, file, encipher);
        } catch (const RunError& error) {
            return error.number();
        }
        return 0;
    }

    TempFolder folder;
    std::string file = folder / "test.ini";
};

// Values lose their leading spaces and are enciphered with the section's name; reading gives
// the fallback only for absent entries, and at most 254 characters.
TEST_F(IniAccess, WriteEnciphersWithTheSectionNameAndReadGivesItBack) {
    const std::string kept = ";Save Programs Here\r\n[Main]\r\nlong=" + std::string(300, 'x');
    TempFolder::WriteFile(file, kept + "\r\n");
    WriteINI("Main", "AlertEvent", "1", file, true);
    WriteINI("services.exe", "AlertEvent", "1", file, true);
    WriteINI("Main", "Padded", "   x", file, false);
    WriteINI("Main", "Spaces", "    ", file, true);
    EXPECT_EQ(Disk(), kept + "\r\nAlertEvent=\x92\r\nPadded=x\r\nSpaces=\r\n[services.exe]\r\n"
                          "AlertEvent=\x96\r\n");
    EXPECT_EQ(ReadINI("Main", "Spaces", "<none>", file, false), "");
    EXPECT_EQ(ReadINI("Main", "absent", "<none>", file, false), "<none>");
    EXPECT_EQ(ReadINI("Main", "long", "<none>", file, false), std::string(254, 'x'));
    const std::string path = "C:\\Program Files\\Caf\xE9\\app.exe  ";
    WriteINI("[Tools]", "Path", path, file, true);
    EXPECT_EQ(ReadINI("[Tools]", "Path", "<none>", file, true), path);
}

// The stored text must read back unchanged: no CR, LF or NUL, no blank that reading trims at
// either end (0x09-0x0D, 0x1A, space), no enclosing pair of quotes; the section must stand as a
// header's name and the key as a key. Anything else is refused before it is written.
TEST_F(IniAccess, ValuesThatWouldNotReadBackAreRefusedBeforeWriting) {
    TempFolder::WriteFile(file, "[Main]\r\nk=old\r\n");
    const struct {
        const char* section;
        const char* value;
        bool encipher;
        bool storable;
    } rows[] = {
        {"Main", "\xAC", true, false},  // "\xAC" + 'a' enciphers to CR
        {"Main", "a\nb", false, false},     {"Main", "\tx", false, false},
        {"Main", "\x08x\x0E", false, true}, {"Main", "x\x1A", false, false},
        {"Main", "\"x\"", false, false},    {"Main", "'x'", false, false},
        {"Main", "\"x'", false, true},      {"Main", "\"", false, true},
        {"Main", "", true, true},           {" Main", "x", false, false},
        {"Main ", "x", false, false},       {"Ma\nin", "x", false, false},
        {"", "x", false, false},  // no lines before a header
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.section) + "/" + row.value);
        EXPECT_EQ(CanStoreINIValue(row.section, row.value, row.encipher), row.storable);
        if (!row.storable) {
            EXPECT_EQ(ErrorOfWrite(row.section, "k", row.value, row.encipher),
                      RunError::kInvalidCall);
        }
    }
    for (const char* key : {"k=x", " [x]", "a\rb"}) {
        EXPECT_EQ(ErrorOfWrite("Main", key, "v", false), RunError::kInvalidCall) << key;
    }
    const std::string huge(40000, 'x');
    EXPECT_FALSE(CanStoreINIValue("Main", huge, true));
    EXPECT_EQ(ErrorOfWrite("Main", "k", huge, true), RunError::kOverflow);
    EXPECT_EQ(Disk(), "[Main]\r\nk=old\r\n");
}

}  // namespace
}  // namespace rg::test
