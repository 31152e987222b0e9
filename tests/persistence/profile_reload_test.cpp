// The profile reset: the thirteen files return to their factory text, each replaced whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "persistence/profile_reload.h"
#include "platform/ini/profile_api.h"
#include "services/ini_access.h"
#include "tests/persistence/save_expectations.h"

namespace rg::test {
namespace {

TEST(ResetFileContents, IsTheTextWithoutPaddingAndLineEndsFollowedByOneCrLf) {
    EXPECT_EQ(ResetFileContents(std::string_view("a\r\n\r\nb\n\r\n\0", 10)), "a\r\n\r\nb\r\n");
    EXPECT_EQ(ResetFileContents(""), "\r\n");
}

// A missing installation folder is logged and nothing is created; a change the profile service
// still holds when the reset runs is not written over it later.
TEST(ReloadProfiles, CreatesOnlyTheProfileFolderAndDropsPendingWrites) {
    TempInstall install;
    ReloadProfiles(install.root() + "/gone/Profiles/");
    EXPECT_FALSE(std::filesystem::exists(install.root() + "/gone"));
    EXPECT_EQ(LogHeads(TempInstall::ReadFile(install.appPath() + "/Err.log")),
              std::vector<std::string>{"ReloadProfiles of Module mdlMain:---->76"});
    const std::string alerts = install.appPath() + "/Profiles/AlertsAndLogSetting.RVL";
    ReloadProfiles(install.appPath() + "/Profiles/");
    WriteINI("Main", "ProgramLog", "0", alerts, true);
    ReloadProfiles(install.appPath() + "/Profiles/");
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    EXPECT_EQ(TempInstall::ReadFile(alerts), FactoryBytes("AlertsAndLogSetting.RVL"));
}

}  // namespace
}  // namespace rg::test
