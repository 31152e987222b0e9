// The services: the keyed cipher, INI access (ReadINI, WriteINI, CanStoreINIValue) over the
// profile API, the language texts, registry access over the registry stand-in, the error log,
// and EndProgram, which writes what the profile API still holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <regex>
#include <stdexcept>
#include <string>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "platform/ui/form.h"
#include "platform/ui/message_box.h"
#include "services/end_program.h"
#include "services/error_log.h"
#include "services/ini_access.h"
#include "services/language.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/temp_install.h"

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
// the fallback only for absent entries.
TEST_F(IniAccess, WriteEnciphersWithTheSectionNameAndReadGivesItBack) {
    TempFolder::WriteFile(file, ";Save Programs Here\r\n");
    WriteINI("Main", "AlertEvent", "1", file, true);
    WriteINI("services.exe", "AlertEvent", "1", file, true);
    WriteINI("Main", "Padded", "   x", file, false);
    WriteINI("Main", "Spaces", "    ", file, true);
    EXPECT_EQ(Disk(),
              ";Save Programs Here\r\n[Main]\r\nAlertEvent=\x92\r\nPadded=x\r\nSpaces=\r\n"
              "[services.exe]\r\nAlertEvent=\x96\r\n");
    EXPECT_EQ(ReadINI("Main", "Spaces", "<none>", file, false), "");
    EXPECT_EQ(ReadINI("Main", "absent", "<none>", file, false), "<none>");
    const std::string path = "C:\\Program Files\\Caf\xE9\\app.exe  ";
    WriteINI("[Tools]", "Path", path, file, true);
    EXPECT_EQ(ReadINI("[Tools]", "Path", "<none>", file, true), path);
}

// The stored text must read back unchanged: no CR, LF or NUL, no blank that reading trims at
// either end (0x09-0x0D, 0x1A, space), no enclosing pair of quotes; the section must stand as a
// header's name and the key as a key. Anything else is refused before it is written ("\xAC"
// enciphered with "Main" becomes a CR; no lines may stand before a header).
TEST_F(IniAccess, ValuesThatWouldNotReadBackAreRefusedBeforeWriting) {
    TempFolder::WriteFile(file, "[Main]\r\nk=old\r\n");
    const struct {
        const char* section;
        const char* value;
        bool encipher;
        bool storable;
    } rows[] = {{"Main", "\xAC", true, false},   {"Main", "a\nb", false, false},
                {"Main", "\tx", false, false},   {"Main", "\x08x\x0E", false, true},
                {"Main", "x\x1A", false, false}, {"Main", "\"x\"", false, false},
                {"Main", "'x'", false, false},   {"Main", "\"x'", false, true},
                {"Main", "\"", false, true},     {"Main", "", true, true},
                {" Main", "x", false, false},    {"Main ", "x", false, false},
                {"Ma\nin", "x", false, false},   {"", "x", false, false}};
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
    const std::string huge(32768, 'x');  // the cipher takes at most 32767 characters
    EXPECT_TRUE(CanStoreINIValue("Main", huge.substr(1), true));
    EXPECT_FALSE(CanStoreINIValue("Main", huge, true));
    EXPECT_EQ(ErrorOfWrite("Main", "k", huge, true), RunError::kOverflow);
    EXPECT_EQ(Disk(), "[Main]\r\nk=old\r\n");
}

// Captions of buttons, labels and option buttons come from the language file by their tag; a
// missing text keeps the caption. (The texts read by GetLangString are tested with the wizard's
// own language file in tests/wizard and tests/startup.)
TEST_F(IniAccess, ApplyLanguageTranslatesByTagAndKeepsTheCaptionOfAMissingText) {
    LangFilePath = file;
    TempFolder::WriteFile(file, "[Other]\r\n5102=x\r\n[startup WIZARD]\r\n5101=\r\n");
    platform::Form window("window");
    for (const char* tag : {"5101", "5102"}) {
        platform::Control& label = window.AddControl(platform::ControlKind::Label, tag);
        label.setCaption("design");
        label.setTag(tag);
    }
    ApplyLanguage(window, "STARTUP wizard");
    EXPECT_EQ(window.Get("5101").caption() + "|" + window.Get("5102").caption(), "|design");
}

TEST_F(IniAccess, EndProgramWritesPendingProfileValuesThenEndsWithTheExitCode) {
    WriteINI("Main", "k", "v", file, false);
    ASSERT_EQ(TempFolder::ReadFile(file), "");  // held, not yet written
    const EndProgramHook previous = SetEndProgramHook([](int code) { throw code; });
    try {
        EndProgram(3);  // a hook that returned would end the test process
    } catch (int code) {
        EXPECT_EQ(code, 3);
    }
    SetEndProgramHook(previous);
    EXPECT_EQ(TempFolder::ReadFile(file), "[Main]\r\nk=v\r\n");
}

// Each line: <source>:----><number>,<description>, On YYYY-MM-DD HH:MM:SS and CR LF. Any other
// exception is logged as error 7 (out of memory) or 5 (invalid call).
TEST(ErrorLog, EveryTrappedErrorAppendsOneStampedLine) {
    TempFolder folder;
    platform::OverrideAppPathForTesting(folder.path());
    EXPECT_FALSE(RunTrapped("a of b", [] { throw RunError(-2147024894, "Automation, comma"); }));
    platform::OverrideAppPathForTesting(folder.path() + "/");
    EXPECT_FALSE(RunTrapped("c", [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(RunTrapped("d", [] { throw std::out_of_range("row 7"); }));
    EXPECT_TRUE(RunTrapped("e", [] {}));
    const std::string stamp = ", On \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n";
    EXPECT_TRUE(std::regex_match(
        TempFolder::ReadFile(folder / "Err.log"),
        std::regex("a of b:---->-2147024894,Automation, comma" + stamp + "c:---->7,Out of memory" +
                   stamp + "d:---->5,Invalid procedure call or argument: row 7" + stamp)))
        << TempFolder::ReadFile(folder / "Err.log");

    // A log that cannot be written (a folder stands in its place) neither raises nor stops the
    // routine that is logging: the line goes to standard error.
    std::filesystem::create_directories(folder / "sub/Err.log");
    platform::OverrideAppPathForTesting(folder / "sub");
    ::testing::internal::CaptureStderr();
    LogError(RunError(5, "Invalid call"), "cmdRemove_Click");
    const std::string shown = ::testing::internal::GetCapturedStderr();
    platform::OverrideAppPathForTesting(std::nullopt);
    EXPECT_TRUE(std::regex_search(
        shown,
        std::regex("Err.log could not be written.*cmdRemove_Click:---->5,Invalid call, On ")))
        << shown;
}

using namespace std::literals;
using platform::HKEY_LOCAL_MACHINE;

constexpr std::string_view kSetup = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";

// The stored bytes of a value, or "<missing>".
std::string Stored(platform::HKEY root, std::string_view path, std::string_view name) {
    platform::HKEY key = 0;
    platform::RegOpenKeyA(root, path, &key);
    char bytes[64];
    platform::DWORD size = sizeof bytes;
    const platform::LONG found = platform::RegQueryValueExA(
        key, name, nullptr, reinterpret_cast<platform::BYTE*>(bytes), &size);
    platform::RegCloseKey(key);
    return found == 0 ? std::string(bytes, size) : "<missing>";
}

// The write goes only into an existing key, trimmed and without a terminating zero. The read gives
// the text up to its first zero, else the default; a number is shown in a box and gives the
// default.
TEST(RegistryAccess, WriteTrimsIntoAnExistingKeyAndReadGivesTheTextOrTheDefault) {
    TempInstall install;
    ScriptedWindowSystem screen;
    TempInstall::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE");
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "x");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "<missing>");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");
    TempInstall::CreateRegistryKey(HKEY_LOCAL_MACHINE, kSetup);
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "  \x81\xe9#Q x\x7f   ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "\x81\xe9#Q x\x7f");
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "    ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "rvpsd", "dflt"), "dflt");
    platform::HKEY key = 0;
    ASSERT_EQ(platform::RegOpenKeyA(HKEY_LOCAL_MACHINE, kSetup, &key), 0);
    const auto read = [&](platform::DWORD type, std::string_view bytes) {
        platform::RegSetValueExA(key, "RVPSD", 0, type,
                                 reinterpret_cast<const platform::BYTE*>(bytes.data()),
                                 static_cast<platform::DWORD>(bytes.size()));
        return RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt");
    };
    EXPECT_EQ(read(platform::REG_SZ, "ab\0cd"sv), "ab");
    screen.AnswerNextBox(platform::IDOK);
    screen.AnswerNextBox(platform::IDOK);
    EXPECT_EQ(read(platform::REG_DWORD, "\x2a\0\0\0"sv), "dflt");
    EXPECT_EQ(read(platform::REG_DWORD, "\xff\xff\xff\xff"), "dflt");
    platform::RegCloseKey(key);
    ASSERT_EQ(screen.boxes().size(), 2u);
    EXPECT_EQ(screen.boxes()[0].text + " " + screen.boxes()[1].text, "42 -1");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK);
}

}  // namespace
}  // namespace rg::test
