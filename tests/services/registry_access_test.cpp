// RegReadString, RegWriteString and RegCreateString over the registry stand-in: defaults,
// trimming, the terminating zero, the REG_DWORD message box, and silent failures.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "platform/ui/message_box.h"
#include "services/app_title.h"
#include "services/registry_access.h"
#include "tests/platform/standin/temp_prefix.h"

namespace rg {
namespace {

using namespace std::string_literals;
using platform::HKEY_CLASSES_ROOT;
using platform::HKEY_LOCAL_MACHINE;
using test::TempPrefix;

constexpr std::string_view kSetup = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup";

struct ShownBox {
    std::string text, title;
    unsigned style;
};

class RegistryAccess : public ::testing::Test {
  protected:
    RegistryAccess() {
        previous_ = platform::SetMessageBoxHandler(
            [this](const std::string& text, const std::string& title, unsigned style) {
                boxes_.push_back({text, title, style});
                return platform::IDOK;
            });
    }
    ~RegistryAccess() override { platform::SetMessageBoxHandler(previous_); }

    std::string MachineFile() const { return install_.prefix() + "/HKEY_LOCAL_MACHINE.reg"; }

    static void MakeKey(platform::HKEY root, std::string_view path) {
        platform::HKEY key = 0;
        ASSERT_EQ(
            platform::RegCreateKeyExA(root, path, 0, nullptr, 0, 0x3F, nullptr, &key, nullptr), 0);
        platform::RegCloseKey(key);
    }

    static void SetRaw(std::string_view path, std::string_view name, platform::DWORD type,
                       std::string_view bytes) {
        platform::HKEY key = 0;
        ASSERT_EQ(platform::RegOpenKeyA(HKEY_LOCAL_MACHINE, path, &key), 0);
        ASSERT_EQ(platform::RegSetValueExA(key, name, 0, type,
                                           reinterpret_cast<const platform::BYTE*>(bytes.data()),
                                           static_cast<platform::DWORD>(bytes.size())),
                  0);
        platform::RegCloseKey(key);
    }

    // The stored bytes of a value, or "<missing>".
    static std::string Stored(platform::HKEY root, std::string_view path, std::string_view name) {
        platform::HKEY key = 0;
        platform::DWORD size = 0;
        platform::RegOpenKeyA(root, path, &key);
        std::string bytes = "<missing>";
        if (platform::RegQueryValueExA(key, name, nullptr, nullptr, &size) == 0) {
            bytes.assign(size, '?');
            platform::RegQueryValueExA(key, name, nullptr,
                                       reinterpret_cast<platform::BYTE*>(bytes.data()), &size);
        }
        platform::RegCloseKey(key);
        return bytes;
    }

    TempPrefix install_;
    std::vector<ShownBox> boxes_;
    platform::MessageBoxHandler previous_;
};

TEST_F(RegistryAccess, ReadGivesTheDefaultWhenThereIsNoText) {
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");  // no key
    MakeKey(HKEY_LOCAL_MACHINE, kSetup);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");  // no value
    SetRaw(kSetup, "RVPSD", platform::REG_SZ, "\0"s);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");  // empty
    SetRaw(kSetup, "RVPSD", platform::REG_EXPAND_SZ, "%windir%\0"s);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "dflt"), "dflt");
    SetRaw(kSetup, "RVPSD", platform::REG_BINARY, "abc");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", ""), "");
    EXPECT_TRUE(boxes_.empty());
}

TEST_F(RegistryAccess, ReadCutsAtTheFirstZeroAndTakesAnUnterminatedValueWhole) {
    MakeKey(HKEY_LOCAL_MACHINE, kSetup);
    SetRaw(kSetup, "a", platform::REG_SZ, "ab\0cd"s);
    SetRaw(kSetup, "b", platform::REG_SZ, " x y ");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "A", "dflt"), "ab");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "b", "dflt"), " x y ");
}

TEST_F(RegistryAccess, WriteTrimsAndStoresWithoutTerminatingZero) {
    MakeKey(HKEY_LOCAL_MACHINE, kSetup);
    const std::string secret = "\x81\xe9#Q x\x7f";
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "  " + secret + "   ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), secret);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", ""), secret);

    // Still there when the stand-in has to read it back from the file (a new inode).
    ASSERT_EQ(platform::ReplaceFileAtomically(MachineFile(), TempPrefix::ReadFile(MachineFile())),
              0u);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "rvpsd", ""), secret);

    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "    ");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "");
}

TEST_F(RegistryAccess, WriteIntoAMissingKeyWritesNothing) {
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "x");
    EXPECT_FALSE(platform::PathFileExistsA(MachineFile()));
    MakeKey(HKEY_LOCAL_MACHINE, "SOFTWARE");
    RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "RVPSD", "x");
    EXPECT_EQ(Stored(HKEY_LOCAL_MACHINE, kSetup, "RVPSD"), "<missing>");
    EXPECT_EQ(TempPrefix::ReadFile(MachineFile()).find("Setup"), std::string::npos);
}

TEST_F(RegistryAccess, CreateStringMakesTheKeyWithATerminatedDefaultValue) {
    RegCreateString("Applications\\iexplore.exe\\shell\\open\\command", HKEY_CLASSES_ROOT,
                    "\"C:\\IE\\iexplore.exe\" %1");
    EXPECT_EQ(Stored(HKEY_CLASSES_ROOT, "applications\\IEXPLORE.EXE\\shell\\open\\command", ""),
              "\"C:\\IE\\iexplore.exe\" %1\0"s);
    EXPECT_EQ(RegReadString(HKEY_CLASSES_ROOT, "Applications\\iexplore.exe\\shell\\open\\command",
                            "", ""),
              "\"C:\\IE\\iexplore.exe\" %1");
    // In the file it is the ordinary quoted form that regedit imports back to the same bytes.
    EXPECT_NE(TempPrefix::ReadFile(install_.prefix() + "/HKEY_CLASSES_ROOT.reg")
                  .find("@=\"\\\"C:\\\\IE\\\\iexplore.exe\\\" %1\"\r\n"),
              std::string::npos);
}

TEST_F(RegistryAccess, DwordValueShowsItsNumberAndGivesTheDefault) {
    MakeKey(HKEY_LOCAL_MACHINE, kSetup);
    SetRaw(kSetup, "n", platform::REG_DWORD, "\x2a\0\0\0"s);
    SetRaw(kSetup, "m", platform::REG_DWORD, "\xff\xff\xff\xff");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "n", "dflt"), "dflt");
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, kSetup, "m", "dflt"), "dflt");
    ASSERT_EQ(boxes_.size(), 2u);
    EXPECT_EQ(boxes_[0].text, "42");
    EXPECT_EQ(boxes_[0].title, kAppTitle);
    EXPECT_EQ(boxes_[0].style, platform::MB_OK);
    EXPECT_EQ(boxes_[1].text, "-1");
}

TEST_F(RegistryAccess, CorruptFileGivesDefaultsAndIsNotTouched) {
    const std::string corrupt = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\"x\"=bogus\r\n";
    TempPrefix::WriteFile(MachineFile(), corrupt);
    EXPECT_EQ(RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE", "x", "dflt"), "dflt");
    RegWriteString(HKEY_LOCAL_MACHINE, "SOFTWARE", "x", "value");
    RegCreateString("SOFTWARE\\New", HKEY_LOCAL_MACHINE, "value");
    EXPECT_EQ(TempPrefix::ReadFile(MachineFile()), corrupt);
}

}  // namespace
}  // namespace rg
