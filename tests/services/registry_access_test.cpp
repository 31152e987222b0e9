// RegReadString, RegWriteString and RegCreateString over the registry stand-in.
#include "services/registry_access.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/message_box.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
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

// Text up to its first zero, else the default; a number is shown in a box and gives the default.
TEST(RegistryAccess, ReadGivesTheStoredTextOrTheDefault) {
    TempInstall install;
    ScriptedWindowSystem screen;
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");  // no key
    TempInstall::CreateRegistryKey(HKEY_LOCAL_MACHINE, kSetup);
    platform::HKEY key = 0;
    ASSERT_EQ(platform::RegOpenKeyA(HKEY_LOCAL_MACHINE, kSetup, &key), 0);
    const struct {
        platform::DWORD type;
        std::string bytes;
        const char* read;
    } rows[] = {
        {platform::REG_SZ, "\0"s, "dflt"},
        {platform::REG_SZ, "ab\0cd"s, "ab"},
        {platform::REG_SZ, " x y ", " x y "},
        {platform::REG_EXPAND_SZ, "%windir%\0"s, "dflt"},
        {platform::REG_DWORD, "\x2a\0\0\0"s, "dflt"},
        {platform::REG_DWORD, "\xff\xff\xff\xff", "dflt"},
    };
    for (const auto& row : rows) {
        platform::RegSetValueExA(key, "RVPSD", 0, row.type,
                                 reinterpret_cast<const platform::BYTE*>(row.bytes.data()),
                                 static_cast<platform::DWORD>(row.bytes.size()));
        screen.AnswerNextBox(platform::IDOK);
        EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "rvpsd", "dflt"), row.read)
            << row.bytes;
    }
    platform::RegCloseKey(key);
    ASSERT_EQ(screen.boxes().size(), 2u);
    EXPECT_EQ(screen.boxes()[0].text + " " + screen.boxes()[1].text, "42 -1");
    EXPECT_EQ(screen.boxes()[0].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK);
}

// The write goes only into an existing key, trimmed and without a terminating zero; the created
// key's default value has one.
TEST(RegistryAccess, WriteTrimsIntoAnExistingKeyAndCreateTerminates) {
    TempInstall install;
    TempInstall::CreateRegistryKey(HKEY_LOCAL_MACHINE, "SOFTWARE");
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "x");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "<missing>");
    TempInstall::CreateRegistryKey(HKEY_LOCAL_MACHINE, kSetup);
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "  \x81\xe9#Q x\x7f   ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "\x81\xe9#Q x\x7f");
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "    ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "");
    RegCreateString("Applications\\iexplore.exe\\shell\\open\\command", platform::HKEY_CLASSES_ROOT,
                    "\"C:\\IE\\iexplore.exe\" %1");
    EXPECT_EQ(
        Stored(platform::HKEY_CLASSES_ROOT, "applications\\IEXPLORE.EXE\\shell\\open\\command", ""),
        "\"C:\\IE\\iexplore.exe\" %1\0"s);
}

}  // namespace
}  // namespace rg::test
