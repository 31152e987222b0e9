// The start-up sequence: the paths and the password file check. The stored password read before
// the wizard is shown, and the login gate that the window's load step asks, are tested with the
// wizard and by the end-to-end walks of the save.
#include "startup/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/file_system.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

class Startup : public ::testing::Test {
  protected:
    Startup() { InitPaths(); }
    ~Startup() override { StoredPassword.clear(); }
    void RunMain() {
        Main([this]() -> platform::Form& {
            ++windowsCreated;
            return window;
        });
    }

    TempInstall install;
    ScriptedWindowSystem screen;
    platform::Form window{"wizard"};
    int windowsCreated = 0;
};

TEST_F(Startup, PathsComeFromTheInstallationAndTheSystemDirectory) {
    const std::string profiles = install.appPath() + "/Profiles/";
    EXPECT_EQ(LangFilePath, install.appPath() + "/Lang/English.INI");
    EXPECT_EQ(
        ProfilesPath + "|" + ProgramControlFilePath + "|" + AlertsFilePath,
        profiles + "|" + profiles + "ProgramControl.RVL|" + profiles + "AlertsAndLogSetting.RVL");
    EXPECT_EQ(PasswordFilePath(), install.systemDir() + "/RVPSD.SYS");
    platform::OverrideAppPathForTesting("/");  // the root folder keeps its doubled separator
    InitPaths();
    EXPECT_EQ(LangFilePath + "|" + ProfilesPath, "//Lang/English.INI|//Profiles/");
}

// Also when the system directory is too long for the 1024-character buffer: then the password
// file is unknown instead of being looked for in the root folder.
TEST_F(Startup, WithoutThePasswordFileTheProgramEndsBeforeTheWizardIsCreated) {
    for (const std::string& prefix : {install.prefix(), install.root() + std::string(1100, 'p')}) {
        setenv("RAVELGARD_PREFIX", prefix.c_str(), 1);
        InitPaths();
        screen.AnswerNextBox(platform::IDOK);
        EXPECT_THROW(RunMain(), ProgramEnded);
    }
    EXPECT_EQ(SystemDirPath + PasswordFilePath(), "");
    EXPECT_EQ(windowsCreated, 0);
    ASSERT_EQ(screen.boxes().size(), 2u);
    for (const MessageBoxRecord& box : screen.boxes()) {
        EXPECT_EQ(box.text + "|" + box.title,
                  "Applicaation corrupted please reinstall it.|Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONHAND);
    }
}

}  // namespace
}  // namespace rg::test
