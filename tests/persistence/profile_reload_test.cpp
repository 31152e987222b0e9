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
    const std::pair<std::string_view, std::string_view> cases[] = {
        {std::string_view("a=1\0\0\0", 6), "a=1\r\n"},
        {"a=1\r\n", "a=1\r\n"},
        {std::string_view("a\r\n\r\nb\n\r\n\0", 10), "a\r\n\r\nb\r\n"},
        {"ab\n", "ab\r\n"},
        {std::string_view("\r\0", 2), "\r\n"},
        {"", "\r\n"},
    };
    for (const auto& [copy, reset] : cases) {
        EXPECT_EQ(ResetFileContents(copy), reset) << copy;
    }
}

TEST(ReloadProfiles, AMissingInstallationFolderIsLoggedAndNothingIsCreated) {
    TempInstall install;
    ReloadProfiles(install.root() + "/gone/Profiles/");
    EXPECT_FALSE(std::filesystem::exists(install.root() + "/gone"));
    EXPECT_EQ(LogHeads(TempInstall::ReadFile(install.appPath() + "/Err.log")),
              std::vector<std::string>{"ReloadProfiles of Module mdlMain:---->76"});
}

// A change the profile service still holds when the reset runs is not written over it later.
TEST(ReloadProfiles, PendingWritesDoNotOutliveAReset) {
    TempInstall install;
    const std::string alerts = install.appPath() + "/Profiles/AlertsAndLogSetting.RVL";
    ReloadProfiles(install.appPath() + "/Profiles/");
    WriteINI("Main", "ProgramLog", "0", alerts, true);
    ReloadProfiles(install.appPath() + "/Profiles/");
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    EXPECT_EQ(TempInstall::ReadFile(alerts), FactoryBytes("AlertsAndLogSetting.RVL"));
}

}  // namespace
}  // namespace rg::test
