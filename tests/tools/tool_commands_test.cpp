// The support tool's commands, driven in-process: what they print, what they write and how
// they refuse.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "programs/default_programs.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/password_store.h"
#include "tools/commands.h"
#include "tools/desktop_browser.h"

namespace rg::tool {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out;
    std::string err;
};

class ToolCommandsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("rg_tool_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        ::setenv("RAVELGARD_PREFIX", (folder_ / "prefix").c_str(), 1);
    }
    void TearDown() override {
        platform::DiscardPrivateProfileCacheForTesting();
        fs::remove_all(folder_);
    }
    static Result Profile(const Args& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunProfileCommand(args, out, err);
        return {code, out.str(), err.str()};
    }
    static Result Install(const Args& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int code = RunInstallCommand(args, out, err);
        return {code, out.str(), err.str()};
    }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path folder_;
};

TEST_F(ToolCommandsTest, InstallCreatesTheFreshMachineAndNeverOverwritesThePassword) {
    const std::string prefix = Path("machine");
    const Result first = Install({"--prefix", prefix});
    ASSERT_EQ(first.code, 0) << first.err;
    const std::string passwordFile = prefix + "/system32/RVPSD.SYS";
    const std::string line = Read(passwordFile);
    ASSERT_EQ(line.size(), 102u);
    EXPECT_EQ(line.substr(100), "\r\n");
    EXPECT_EQ(DecryptText(line.substr(0, 100), "MQV 1994"),
              "Ravelgard is a firewall. Our team members are listed in the product documentation "
              "for this release. ");

    // Both keys exist; the password value does not.
    platform::HKEY key = 0;
    ASSERT_EQ(platform::RegOpenKeyA(platform::HKEY_LOCAL_MACHINE,
                                    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", &key),
              0);
    platform::DWORD type = 0;
    platform::DWORD size = 0;
    EXPECT_EQ(platform::RegQueryValueExA(key, "RVPSD", &type, nullptr, &size),
              static_cast<platform::LONG>(platform::ERROR_FILE_NOT_FOUND));
    platform::RegCloseKey(key);
    ASSERT_EQ(platform::RegOpenKeyA(platform::HKEY_CLASSES_ROOT, "Applications", &key), 0);
    platform::RegCloseKey(key);

    std::ofstream(passwordFile, std::ios::binary) << "user's password";
    const Result second = Install({"--prefix", prefix});
    EXPECT_NE(second.code, 0);
    EXPECT_NE(second.err.find("already exists"), std::string::npos);
    EXPECT_EQ(Read(passwordFile), "user's password");
}

TEST_F(ToolCommandsTest, InstallRegistersTheBrowserAsWindowsDoes) {
    const Result result =
        Install({"--browser", "/opt/Web Browser/browser", "--prefix", Path("machine")});
    ASSERT_EQ(result.code, 0) << result.err;
    const std::string command =
        RegReadString(platform::HKEY_CLASSES_ROOT, kBrowserCommandKey, "", "");
    EXPECT_EQ(command, "\"/opt/Web Browser/browser\" %1");
    EXPECT_EQ(BrowserPathFromCommand(command), "/opt/Web Browser/browser");
}

TEST(DesktopEntryTest, ProgramIsTheFirstWordOfExecInTheMainGroup) {
    EXPECT_EQ(ProgramOfDesktopEntry("[Desktop Entry]\nName=Web\nExec=/usr/bin/web %u\n"),
              "/usr/bin/web");
    EXPECT_EQ(ProgramOfDesktopEntry("[Desktop Entry]\r\nExec=\"/opt/My Web/web\" --new %u\r\n"),
              "/opt/My Web/web");
    EXPECT_EQ(ProgramOfDesktopEntry("[Desktop Action new]\nExec=/usr/bin/other\n"
                                    "[Desktop Entry]\nExec=firefox %u\n"),
              "firefox");
    EXPECT_EQ(ProgramOfDesktopEntry("[Desktop Entry]\nExec=\"unclosed\n"), "");
    EXPECT_EQ(ProgramOfDesktopEntry("Exec=/no/group\n"), "");
}

TEST_F(ToolCommandsTest, InstallRejectsBadArguments) {
    EXPECT_EQ(Install({"--prefix"}).code, 2);
    EXPECT_EQ(Install({"--bogus", "x"}).code, 2);
}

TEST_F(ToolCommandsTest, SetEnciphersWithTheSectionAndGetAndDumpDecipher) {
    const std::string file = Path("AlertsAndLogSetting.RVL");
    ASSERT_EQ(Profile({"set", "Main", "AlertEvent", "1", file}).code, 0);
    ASSERT_EQ(Profile({"set", "Main", "Path", "  C:\\Logs caf\xC3\xA9", file}).code, 0);
    EXPECT_EQ(Read(file), "[Main]\r\nAlertEvent=" + EncryptText("1", "Main") +
                              "\r\nPath=" + EncryptText("C:\\Logs caf\xE9", "Main") + "\r\n");

    EXPECT_EQ(Profile({"get", "main", "alertevent", file}).out, "1\n");
    EXPECT_EQ(Profile({"get", "Main", "Missing", file}).out, "\n");
    EXPECT_EQ(Profile({"dump", file}).out, "[Main]\nAlertEvent=1\nPath=C:\\Logs caf\xC3\xA9\n");

    ASSERT_EQ(Profile({"clear", "Main", file}).code, 0);
    EXPECT_EQ(Read(file), "[Main]\r\n");
}

TEST_F(ToolCommandsTest, ValuesThatCouldNotBeReadBackAreRefused) {
    const std::string file = Path("ProgramControl.RVL");
    std::ofstream(file, std::ios::binary) << ";Save Programs Here\r\n";
    // Section "ab" enciphers position 1 with 'b' (98): code 13 - 98 mod 256 = 171 becomes CR.
    const Result refused = Profile({"set", "ab", "Path", "\xC2\xAB", file});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("cannot be stored"), std::string::npos);
    EXPECT_EQ(Read(file), ";Save Programs Here\r\n");
    EXPECT_EQ(Profile({"set", "Main", "k", "\xE4\xB8\xAD", file}).code, 2);  // not code page 1252
}

TEST_F(ToolCommandsTest, UnreadableOrReadOnlyFilesGiveClearErrors) {
    const Result missing = Profile({"dump", Path("none.RVL")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("cannot read"), std::string::npos);
    EXPECT_EQ(Profile({"get", "a", "b", Path("none.RVL")}).code, 1);

    const std::string locked = Path("locked.RVL");
    std::ofstream(locked, std::ios::binary) << "[Main]\r\nk=v\r\n";
    ::chmod(locked.c_str(), 0444);
    const Result set = Profile({"set", "Main", "k", "1", locked});
    EXPECT_EQ(set.code, 1);
    EXPECT_NE(set.err.find("cannot write"), std::string::npos);
    EXPECT_EQ(Profile({"clear", "Main", locked}).code, 1);
    EXPECT_EQ(Read(locked), "[Main]\r\nk=v\r\n");

    EXPECT_EQ(Profile({"set", "Main", "k", "1", Path("no/folder/x.RVL")}).code, 1);
    EXPECT_EQ(Profile({"frobnicate", "x"}).code, 2);
    EXPECT_EQ(Profile({}).code, 2);
}

}  // namespace
}  // namespace rg::tool
