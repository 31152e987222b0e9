#include <gtest/gtest.h>

#include <string>

#include "platform/os/file_system.h"
#include "startup/globals.h"
#include "startup/startup.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::TempInstall;

TEST(InitPaths, DerivesEveryPathFromTheInstallationAndTheSystemDirectory) {
    TempInstall install;
    InitPaths();
    EXPECT_EQ(LangFilePath, install.appPath() + "/Lang/English.INI");
    EXPECT_EQ(ProfilesPath, install.appPath() + "/Profiles/");
    EXPECT_EQ(ProgramControlFilePath, install.appPath() + "/Profiles/ProgramControl.RVL");
    EXPECT_EQ(AlertsFilePath, install.appPath() + "/Profiles/AlertsAndLogSetting.RVL");
    EXPECT_EQ(SystemDirPath, install.systemDir() + "/");
}

TEST(InitPaths, KeepsTheDoubledSeparatorOfTheRootFolder) {
    TempInstall install;
    platform::OverrideAppPathForTesting("/");
    InitPaths();
    EXPECT_EQ(LangFilePath, "//Lang/English.INI");
    EXPECT_EQ(ProfilesPath, "//Profiles/");
}

// A system directory too long for the 1024-character buffer leaves nothing to cut; the
// password file then counts as missing instead of being looked for in the root folder.
TEST(InitPaths, UnknownSystemDirectoryMakesThePasswordFileMissing) {
    TempInstall install;
    const std::string longPrefix = install.root() + "/" + std::string(1100, 'p');
    setenv("RAVELGARD_PREFIX", longPrefix.c_str(), 1);
    InitPaths();
    EXPECT_EQ(SystemDirPath, "");

    test::ScriptedWindowSystem screen;
    screen.AnswerNextBox(platform::IDOK);
    EXPECT_THROW(CheckPasswordFile(), test::ProgramEnded);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text, "Applicaation corrupted please reinstall it.");
}

}  // namespace
}  // namespace rg
