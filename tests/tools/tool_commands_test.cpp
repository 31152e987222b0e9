// The support tool's install and profile commands, driven in-process: what they print, what they
// write and how they refuse; and how the installer finds the desktop's default web browser.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>
#include <vector>

#include "platform/ini/profile_api.h"
#include "platform/os/registry.h"
#include "programs/default_programs.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/password_store.h"
#include "tests/support/temp_install.h"
#include "tools/commands.h"
#include "tools/desktop_browser.h"

namespace rg::test {
namespace {

namespace fs = std::filesystem;
using tool::Args;
using Command = int (*)(const Args&, std::ostream&, std::ostream&);
const Command kInstall = &tool::RunInstallCommand;
const Command kProfile = &tool::RunProfileCommand;

struct Result {
    int code;
    std::string out;
    std::string err;
};

Result Call(Command command, const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = command(args, out, err);
    return {code, out.str(), err.str()};
}

// What a profile command that succeeds prints.
std::string Shown(const Args& args) {
    const Result result = Call(kProfile, args);
    EXPECT_EQ(result.code, 0) << result.err;
    return result.out;
}

class ToolCommands : public ::testing::Test {
  protected:
    ToolCommands() {
        platform::DiscardPrivateProfileCacheForTesting();
        for (const char* name : {"PATH", "HOME", "XDG_DATA_DIRS", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            environment.emplace_back(name,
                                     value ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~ToolCommands() override {
        platform::DiscardPrivateProfileCacheForTesting();
        fs::current_path(cwd);
        for (const auto& [name, value] : environment) {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
    }
    std::string Path(const std::string& name) const { return install.root() + "/" + name; }
    TempInstall install;
    fs::path cwd = fs::current_path();
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

TEST_F(ToolCommands, InstallPreparesAFreshMachineAndNeverOverwritesThePassword) {
    fs::current_path(install.root());
    const Result first = Call(kInstall, {"--prefix", "m/"});  // relative, trailing "/" dropped
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_TRUE(first.out.ends_with("Prepared the machine prefix m\n")) << first.out;
    const std::string passwordFile = Path("m/system32/RVPSD.SYS");
    EXPECT_EQ(TempInstall::ReadFile(passwordFile), PasswordFileLine("") + "\r\n");
    // Only the owner may look into the prefix or read the password file.
    EXPECT_EQ(fs::status(Path("m")).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(passwordFile).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    platform::HKEY key = 0;  // the key the password store writes into
    ASSERT_EQ(platform::RegOpenKeyA(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, &key), 0);
    platform::RegCloseKey(key);

    TempInstall::WriteFile(passwordFile, "user's password");
    const Result second = Call(kInstall, {"--prefix", Path("m")});
    EXPECT_EQ(second.code, 1);
    EXPECT_NE(second.err.find("already exists"), std::string::npos);
    EXPECT_EQ(TempInstall::ReadFile(passwordFile), "user's password");
}

// Registered as Windows does: the quoted path, a space and %1.
TEST_F(ToolCommands, InstallRegistersTheGivenOrTheDesktopsBrowser) {
    const auto registered = [] {
        return RegReadString(platform::HKEY_CLASSES_ROOT, kBrowserCommandKey, "", "<none>");
    };
    Result result = Call(kInstall, {"--browser", "/opt/\xE4\xB8\xAD/web", "--prefix", Path("m1")});
    EXPECT_EQ(result.code, 0);
    EXPECT_NE(result.err.find("outside code page 1252"), std::string::npos);
    EXPECT_EQ(registered(), "<none>");
    result = Call(kInstall, {"--browser", "/opt/Web Caf\xC3\xA9/browser", "--prefix", Path("m2")});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(registered(), "\"/opt/Web Caf\xE9/browser\" %1");

    setenv("PATH", "/nowhere", 1);
    result = Call(kInstall, {"--prefix", Path("m3")});
    EXPECT_NE(result.out.find("names no default web browser"), std::string::npos);
    // A desktop whose xdg-settings names web.desktop, found in the second of XDG_DATA_DIRS,
    // whose program "web" lies in PATH.
    TempInstall::WriteFile(Path("bin/xdg-settings"), "#!/bin/sh\necho web.desktop\n");
    TempInstall::WriteFile(Path("bin/web"), "");
    fs::permissions(Path("bin/xdg-settings"), fs::perms::owner_all);
    TempInstall::WriteFile(Path("share/applications/web.desktop"),
                           "[Desktop Entry]\nExec=web %u\n");
    setenv("PATH", (Path("bin") + ":/usr/bin:/bin").c_str(), 1);
    setenv("XDG_DATA_DIRS", (":" + Path("share")).c_str(), 1);
    setenv("HOME", Path("home").c_str(), 1);
    result = Call(kInstall, {"--prefix", Path("m4")});
    EXPECT_EQ(registered(), "\"" + Path("bin/web") + "\" %1");
    TempInstall::WriteFile(Path("share/applications/web.desktop"),
                           "[Desktop Entry]\nExec=flatpak run org.example.Web\n");
    result = Call(kInstall, {"--prefix", Path("m5")});  // a sandbox's permission covers too much
    EXPECT_NE(result.out.find("started through flatpak"), std::string::npos) << result.out;
}

// The program of a desktop entry's Exec line as packagings write them, with quoting and
// escapes; only the main group counts.
TEST(DesktopEntry, TheProgramIsTheFirstWordAfterEnvUnlessALauncher) {
    const struct {
        const char* entry;
        const char* program;
        bool refused;
    } rows[] = {
        {"[Desktop Entry]\nExec=env A=1 -u LANG /opt/web/web --new-window %u", "/opt/web/web",
         false},
        {"[Desktop Entry]\nExec=env A=/b /snap/bin/firefox %u", "/snap/bin/firefox", true},
        {"[Desktop Entry]\nExec=sh -c \"exec web \\\"$@\\\"\" dummy %u", "sh", true},
        {"[Desktop Entry]\nExec=\"/opt/My Web/web\\\\s2\" %%done %f", "/opt/My Web/web\\s2", false},
        {"[Desktop Entry]\nExec=%U", "", false},
        {"[Desktop Action new]\nExec=/usr/bin/other\n[Desktop Entry]\nExec=fox %u", "fox", false},
        {"Exec=/no/group", "", false},
    };
    for (const auto& row : rows) {
        const auto found = tool::ProgramOfDesktopEntry(std::string(row.entry) + "\n");
        EXPECT_EQ(found.program, row.program) << row.entry;
        EXPECT_EQ(!found.refusal.empty(), row.refused) << row.entry;
    }
}

// Values are enciphered with the section's name; the file's path comes as the system spells it
// (UTF-8); dump lists section names longer than the first buffer of the name list.
TEST_F(ToolCommands, SetEnciphersWithTheSectionAndGetAndDumpDecipher) {
    const std::string file = Path("caf\xC3\xA9/AlertsAndLogSetting.RVL");
    fs::create_directory(Path("caf\xC3\xA9"));
    Shown({"set", "Main", "AlertEvent", "1", file});
    Shown({"set", "Main", "Path", "  C:\\Logs caf\xC3\xA9", file});
    const std::string stored = Path("caf\xE9/AlertsAndLogSetting.RVL");
    EXPECT_EQ(TempInstall::ReadFile(stored),
              "[Main]\r\nAlertEvent=" + EncryptText("1", "Main") +
                  "\r\nPath=" + EncryptText("C:\\Logs caf\xE9", "Main") + "\r\n");
    EXPECT_EQ(Shown({"get", "main", "alertevent", file}), "1\n");
    EXPECT_EQ(Shown({"dump", file}), "[Main]\nAlertEvent=1\nPath=C:\\Logs caf\xC3\xA9\n");
    Shown({"clear", "Main", file});
    EXPECT_EQ(TempInstall::ReadFile(stored), "[Main]\r\n");
    const std::string longName(5000, 's');
    TempInstall::WriteFile(stored, "[a]\r\n[" + longName + "]\r\n");
    EXPECT_EQ(Shown({"dump", file}), "[a]\n[" + longName + "]\n");
}

// Each refusal names its reason, with status 2 for a wrong command line; the files stay as
// they were.
TEST_F(ToolCommands, RefusalsSayWhyAndLeaveTheFilesAsTheyWere) {
    const std::string file = Path("ProgramControl.RVL");
    const std::string locked = Path("locked.RVL");
    TempInstall::WriteFile(file, ";Save Programs Here\r\n");
    TempInstall::WriteFile(locked, "[Main]\r\nk=v\r\n");
    ::chmod(locked.c_str(), 0444);
    const struct {
        Command command;
        Args args;
        int code;
        const char* reason;
    } rows[] = {
        // Section "ab" enciphers position 1 with 'b' (98): 171 + 98 = 269 becomes CR.
        {kProfile, {"set", "ab", "Path", "\xC2\xAB", file}, 1, "cannot be stored"},
        {kProfile, {"set", "Main", "k", "\xE4\xB8\xAD", file}, 2, "outside code page 1252"},
        {kProfile, {"set", " Main", "k", "v", file}, 1, "blanks at an end"},
        {kProfile, {"set", "Main", "k", std::string(255, 'x'), file}, 1, "255 characters long"},
        {kProfile, {"dump", Path("none.RVL")}, 1, "cannot read"},
        {kProfile, {"get", "Main", "k", Path("none.RVL")}, 1, "cannot read"},
        {kProfile, {"set", "Main", "k", "1", locked}, 1, "cannot write"},
        {kProfile, {"clear", "Main", locked}, 1, "cannot write"},
        {kProfile, {"set", "Main", "k", "1", Path("no/folder/x.RVL")}, 1, "cannot write"},
        {kProfile, {}, 2, "Usage: ravelgard-tool profile"},
        {kProfile, {"frobnicate", "x"}, 2, "unknown profile command"},
        {kProfile, {"get", "a", "f"}, 2, "takes 3 arguments, not 2"},
        {kInstall, {"--prefix"}, 2, "needs a value"},
        {kInstall, {"--prefix", ""}, 2, "--prefix needs a value"},
        {kInstall, {"--bogus", "x"}, 2, "unknown option --bogus"},
        {kInstall, {"x"}, 2, "Usage: ravelgard-tool install"},
    };
    for (const auto& row : rows) {
        const Result result = Call(row.command, row.args);
        EXPECT_EQ(result.code, row.code) << row.reason;
        EXPECT_NE(result.err.find(row.reason), std::string::npos) << result.err;
    }
    EXPECT_EQ(TempInstall::ReadFile(file), ";Save Programs Here\r\n");
    EXPECT_EQ(TempInstall::ReadFile(locked), "[Main]\r\nk=v\r\n");
}

}  // namespace
}  // namespace rg::test
