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

struct Result {
    int code;
    std::string out;
    std::string err;
};

class ToolCommands : public ::testing::Test {
  protected:
    ToolCommands() {
        platform::DiscardPrivateProfileCacheForTesting();
        for (const char* name : {"PATH", "HOME", "XDG_DATA_DIRS", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            environment.emplace_back(
                name, value != nullptr ? std::optional<std::string>(value) : std::nullopt);
        }
    }
    ~ToolCommands() override {
        platform::DiscardPrivateProfileCacheForTesting();
        fs::current_path(cwd);
        for (const auto& [name, value] : environment) {
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
        }
    }
    static Result Run(int (*command)(const Args&, std::ostream&, std::ostream&), const Args& args) {
        std::ostringstream out;
        std::ostringstream err;
        const int code = command(args, out, err);
        return {code, out.str(), err.str()};
    }
    static Result Install(const Args& args) { return Run(&tool::RunInstallCommand, args); }
    static Result Profile(const Args& args) { return Run(&tool::RunProfileCommand, args); }
    // What a profile command that succeeds prints.
    static std::string Shown(const Args& args) {
        const Result result = Profile(args);
        EXPECT_EQ(result.code, 0) << result.err;
        return result.out;
    }
    std::string Path(const std::string& name) const { return install.root() + "/" + name; }
    static std::string Read(const std::string& path) { return TempInstall::ReadFile(path); }
    // A desktop whose xdg-settings names web.desktop, found in the second of XDG_DATA_DIRS, whose
    // program "web" lies in PATH.
    void FakeDesktop() const {
        TempInstall::WriteFile(Path("bin/xdg-settings"), "#!/bin/sh\necho web.desktop\n");
        TempInstall::WriteFile(Path("bin/web"), "");
        fs::permissions(Path("bin/xdg-settings"), fs::perms::owner_all);
        TempInstall::WriteFile(Path("share/applications/web.desktop"),
                               "[Desktop Entry]\nExec=web %u\n");
        setenv("PATH", (Path("bin") + ":/usr/bin:/bin").c_str(), 1);
        setenv("XDG_DATA_DIRS", (":" + Path("share")).c_str(), 1);
        setenv("HOME", Path("home").c_str(), 1);
    }

    TempInstall install;
    fs::path cwd = fs::current_path();
    std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

TEST_F(ToolCommands, InstallPreparesAFreshMachineAndNeverOverwritesThePassword) {
    fs::current_path(install.root());
    const Result first = Install({"--prefix", "m/"});  // relative, trailing separator dropped
    ASSERT_EQ(first.code, 0) << first.err;
    EXPECT_TRUE(first.out.ends_with("Prepared the machine prefix m\n")) << first.out;
    const std::string passwordFile = Path("m/system32/RVPSD.SYS");
    EXPECT_EQ(Read(passwordFile), PasswordFileLine("") + "\r\n");
    // Only the owner may look into the prefix or read the password file.
    EXPECT_EQ(fs::status(Path("m")).permissions(), fs::perms::owner_all);
    EXPECT_EQ(fs::status(passwordFile).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    // Both keys exist; the password value does not.
    platform::HKEY key = 0;
    ASSERT_EQ(platform::RegOpenKeyA(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, &key), 0);
    EXPECT_EQ(platform::RegQueryValueExA(key, "RVPSD", nullptr, nullptr, nullptr),
              static_cast<platform::LONG>(platform::ERROR_FILE_NOT_FOUND));
    platform::RegCloseKey(key);
    EXPECT_EQ(platform::RegOpenKeyA(platform::HKEY_CLASSES_ROOT, "Applications", &key), 0);
    platform::RegCloseKey(key);

    TempInstall::WriteFile(passwordFile, "user's password");
    const Result second = Install({"--prefix", Path("m")});
    EXPECT_EQ(second.code, 1);
    EXPECT_NE(second.err.find("already exists"), std::string::npos);
    EXPECT_EQ(Read(passwordFile), "user's password");
}

TEST_F(ToolCommands, InstallRegistersTheGivenOrTheDesktopsBrowserAsWindowsDoes) {
    const auto registered = [] {
        return RegReadString(platform::HKEY_CLASSES_ROOT, kBrowserCommandKey, "", "<none>");
    };
    Result result = Install({"--browser", "/opt/\xE4\xB8\xAD/web", "--prefix", Path("m1")});
    EXPECT_EQ(result.code, 0);
    EXPECT_NE(result.err.find("outside code page 1252"), std::string::npos);
    EXPECT_EQ(registered(), "<none>");
    result = Install({"--browser", "/opt/Web Caf\xC3\xA9/browser", "--prefix", Path("m2")});
    ASSERT_EQ(result.code, 0) << result.err;
    EXPECT_EQ(registered(), "\"/opt/Web Caf\xE9/browser\" %1");
    EXPECT_EQ(BrowserPathFromCommand(registered()), "/opt/Web Caf\xE9/browser");

    setenv("PATH", "/nowhere", 1);
    result = Install({"--prefix", Path("m3")});
    EXPECT_NE(result.out.find("names no default web browser"), std::string::npos);
    FakeDesktop();
    result = Install({"--prefix", Path("m4")});
    EXPECT_EQ(registered(), "\"" + Path("bin/web") + "\" %1");
}

TEST_F(ToolCommands, TheDesktopsBrowserIsTheExecProgramOfItsEntry) {
    FakeDesktop();
    std::string why;
    EXPECT_EQ(tool::DesktopDefaultBrowser(why), Path("bin/web"));
    setenv("XDG_DATA_HOME", Path("share").c_str(), 1);  // found there first
    TempInstall::WriteFile(Path("bin/other"), "");
    TempInstall::WriteFile(Path("share/applications/web.desktop"), "[Desktop Entry]\nExec=other\n");
    EXPECT_EQ(tool::DesktopDefaultBrowser(why), Path("bin/other"));
    TempInstall::WriteFile(Path("share/applications/web.desktop"),
                           "[Desktop Entry]\nExec=flatpak run org.example.Web\n");
    EXPECT_EQ(tool::DesktopDefaultBrowser(why), std::nullopt);
    EXPECT_NE(why.find("started through flatpak"), std::string::npos) << why;
    // As packagings write them: deb, snap, Flatpak, AppImage, and quoting and escapes.
    const struct {
        const char* exec;
        const char* program;
        bool refused;
    } rows[] = {
        {"firefox-esr %u", "firefox-esr", false},
        {"env BAMF_DESKTOP_FILE_HINT=/var/lib/snapd/desktop/applications/firefox_firefox.desktop "
         "/snap/bin/firefox %u",
         "/snap/bin/firefox", true},
        {"/usr/bin/flatpak run --branch=stable --arch=x86_64 --command=firefox "
         "--file-forwarding org.mozilla.firefox @@u %u @@",
         "/usr/bin/flatpak", true},
        {"\"/home/u/Apps/Web Browser.AppImage\" %U", "/home/u/Apps/Web Browser.AppImage", false},
        {"env GDK_BACKEND=x11 -u LANG /opt/web/web --new-window %u", "/opt/web/web", false},
        {"sh -c \"exec web \\\"$@\\\"\" dummy %u", "sh", true},
        {"\"/opt/My Web/web\\\\s2\" %%done %f", "/opt/My Web/web\\s2", false},
        {"%U", "", false},
    };
    for (const auto& row : rows) {
        const auto found =
            tool::ProgramOfDesktopEntry(std::string("[Desktop Entry]\nExec=") + row.exec + "\n");
        EXPECT_EQ(found.program, row.program) << row.exec;
        EXPECT_EQ(!found.refusal.empty(), row.refused) << row.exec;
    }
    EXPECT_EQ(tool::ExecArguments("\"a \\\"b\\\" c\" d%% %F e"),
              (std::vector<std::string>{"a \"b\" c", "d%", "e"}));
    EXPECT_EQ(tool::ProgramOfDesktopEntry(
                  "[Desktop Action new]\nExec=/usr/bin/other\n[Desktop Entry]\nExec=fox %u\n")
                  .program,
              "fox");
    EXPECT_EQ(tool::ProgramOfDesktopEntry("Exec=/no/group\n").program, "");
}

TEST_F(ToolCommands, SetEnciphersWithTheSectionAndGetAndDumpDecipher) {
    const std::string file = Path("AlertsAndLogSetting.RVL");
    Shown({"set", "Main", "AlertEvent", "1", file});
    Shown({"set", "Main", "Path", "  C:\\Logs caf\xC3\xA9", file});
    EXPECT_EQ(Read(file), "[Main]\r\nAlertEvent=" + EncryptText("1", "Main") +
                              "\r\nPath=" + EncryptText("C:\\Logs caf\xE9", "Main") + "\r\n");
    EXPECT_EQ(Shown({"get", "main", "alertevent", file}), "1\n");
    EXPECT_EQ(Shown({"get", "Main", "Missing", file}), "\n");
    EXPECT_EQ(Shown({"dump", file}), "[Main]\nAlertEvent=1\nPath=C:\\Logs caf\xC3\xA9\n");
    Shown({"clear", "Main", file});
    EXPECT_EQ(Read(file), "[Main]\r\n");
    // The file's path comes as the system spells it (UTF-8).
    const std::string native = Path("caf\xC3\xA9/x.RVL");
    fs::create_directory(Path("caf\xC3\xA9"));
    Shown({"set", "Main", "k", "v", native});
    EXPECT_EQ(Read(Path("caf\xE9/x.RVL")), "[Main]\r\nk=" + EncryptText("v", "Main") + "\r\n");
}

TEST_F(ToolCommands, DumpListsEverySectionOfALargeFile) {
    std::string contents;
    std::string expected;
    for (int i = 0; i < 300; ++i) {
        const std::string section = "Section number " + std::to_string(i);
        contents += "[" + section + "]\r\nk=\r\n";
        expected += "[" + section + "]\nk=\n";
    }
    TempInstall::WriteFile(Path("big.RVL"), contents);
    EXPECT_EQ(Shown({"dump", Path("big.RVL")}), expected);
}

TEST_F(ToolCommands, RefusalsLeaveTheFilesAsTheyWere) {
    const std::string file = Path("ProgramControl.RVL");
    TempInstall::WriteFile(file, ";Save Programs Here\r\n");
    // Section "ab" enciphers position 1 with 'b' (98): 171 + 98 = 269 becomes CR.
    const Result refused = Profile({"set", "ab", "Path", "\xC2\xAB", file});
    EXPECT_EQ(refused.code, 1);
    EXPECT_NE(refused.err.find("cannot be stored"), std::string::npos);
    EXPECT_EQ(Profile({"set", "Main", "k", "\xE4\xB8\xAD", file}).code, 2);  // not code page 1252
    const Result tooLong = Profile({"set", "Main", "k", std::string(255, 'x'), file});
    EXPECT_EQ(tooLong.code, 1);
    EXPECT_NE(tooLong.err.find("255 characters long"), std::string::npos) << tooLong.err;
    EXPECT_EQ(Read(file), ";Save Programs Here\r\n");

    const std::string missing = Path("none.RVL");
    for (const Args& args :
         {Args{"dump", missing}, Args{"get", "a", "b", missing}, Args{"clear", "a", missing}}) {
        const Result result = Profile(args);
        EXPECT_EQ(result.code, 1) << args[0];
        EXPECT_NE(result.err.find("cannot read"), std::string::npos) << args[0];
    }
    const std::string locked = Path("locked.RVL");
    TempInstall::WriteFile(locked, "[Main]\r\nk=v\r\n");
    ::chmod(locked.c_str(), 0444);
    for (const Args& args :
         {Args{"set", "Main", "k", "1", locked}, Args{"clear", "Main", locked}}) {
        const Result result = Profile(args);
        EXPECT_EQ(result.code, 1) << args[0];
        EXPECT_NE(result.err.find("cannot write"), std::string::npos) << args[0];
    }
    EXPECT_EQ(Read(locked), "[Main]\r\nk=v\r\n");
    EXPECT_EQ(Profile({"set", "Main", "k", "1", Path("no/folder/x.RVL")}).code, 1);
}

TEST_F(ToolCommands, WrongArgumentsShowTheUsage) {
    for (const Args& args :
         {Args{}, Args{"frobnicate", "x"}, Args{"dump", "a", "f"}, Args{"get", "a", "f"},
          Args{"set", "a", "b", "f"}, Args{"clear", "f"}}) {
        const Result result = Profile(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_NE(result.err.find("Usage: ravelgard-tool profile"), std::string::npos);
    }
    for (const Args& args : {Args{"--prefix"}, Args{"--bogus", "x"}, Args{"--prefix", ""}}) {
        const Result result = Install(args);
        EXPECT_EQ(result.code, 2);
        EXPECT_NE(result.err.find("Usage: ravelgard-tool install"), std::string::npos);
    }
    EXPECT_EQ(Profile({"--help"}).out.find("Usage: ravelgard-tool profile"), 0u);
    EXPECT_EQ(Install({"--help"}).out.find("Usage: ravelgard-tool install"), 0u);
    EXPECT_NE(Install({"--bogus", "x"}).err.find("unknown option --bogus"), std::string::npos);
    EXPECT_NE(Profile({"get", "a", "f"}).err.find("takes 3 arguments, not 2"), std::string::npos);
}

}  // namespace
}  // namespace rg::test
