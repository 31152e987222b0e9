// The profile reset: the thirteen files return to their factory text, whole or not at all, and
// a failure stops the reset with one line in the error log.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

#include "persistence/profile_reload.h"
#include "platform/ini/profile_api.h"
#include "resources/builtin_profiles.h"
#include "services/ini_access.h"
#include "tests/resources/plain_profile.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::TempInstall;

class ReloadTest : public ::testing::Test {
  protected:
    std::string Profiles() const { return install.appPath() + "/Profiles/"; }
    std::string ProfileFile(std::string_view name) const { return Profiles() + std::string(name); }
    std::string ErrorLog() const { return TempInstall::ReadFile(install.appPath() + "/Err.log"); }
    std::string FactoryText(std::string_view name) const {
        return ResetFileContents(*BuiltInProfileCopy(name));
    }

    TempInstall install;
};

int CountOccurrences(std::string_view text, std::string_view piece) {
    int count = 0;
    for (auto at = text.find(piece); at != std::string_view::npos; at = text.find(piece, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(ReloadTest, CreatesMissingFolderAndWritesEveryFileWithOneLineEnd) {
    ASSERT_FALSE(std::filesystem::exists(Profiles()));
    ReloadProfiles(Profiles());

    EXPECT_EQ(ErrorLog(), "");
    EXPECT_EQ(TempInstall::ReadFile(ProfileFile("ProgramControl.RVL")), ";Save Programs Here\r\n");
    for (const std::string_view name : ProfileFileNames) {
        SCOPED_TRACE(std::string(name));
        const std::string bytes = TempInstall::ReadFile(ProfileFile(name));
        // The port database's text has its own line end; every other text gets one.
        const std::string text(CopyText(*BuiltInProfileCopy(name)));
        EXPECT_EQ(bytes, name == "Database_PortSetting.RVL" ? text : text + "\r\n");
        EXPECT_EQ(bytes.find('\0'), std::string::npos);
        EXPECT_EQ(CountOccurrences(bytes, "\r"), CountOccurrences(bytes, "\r\n"));
    }
}

TEST_F(ReloadTest, ReplacesEditedFilesAndLeavesOtherFilesAlone) {
    std::filesystem::create_directories(Profiles());
    TempInstall::WriteFile(ProfileFile("ProgramControl.RVL"),
                           ";Save Programs Here\r\n[Old Program]\r\nVersion=x\r\n");
    TempInstall::WriteFile(ProfileFile("rvdb.rvl"), "edited");  // other spelling: another file
    TempInstall::WriteFile(ProfileFile("RVDB.RVL"), "[ZoneMaster]\r\nLOCALNET=mine\r\n");
    TempInstall::WriteFile(ProfileFile("Notes.txt"), "keep me");

    ReloadProfiles(Profiles());

    EXPECT_EQ(TempInstall::ReadFile(ProfileFile("ProgramControl.RVL")), ";Save Programs Here\r\n");
    EXPECT_EQ(TempInstall::ReadFile(ProfileFile("RVDB.RVL")), FactoryText("RVDB.RVL"));
    EXPECT_EQ(TempInstall::ReadFile(ProfileFile("rvdb.rvl")), "edited");
    EXPECT_EQ(TempInstall::ReadFile(ProfileFile("Notes.txt")), "keep me");
    // No temporary file of the replacement is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Profiles())) {
        ++files;
    }
    EXPECT_EQ(files, 13 + 2);
}

TEST_F(ReloadTest, ReadOnlyFileStopsTheResetThereWithOneLogLine) {
    std::filesystem::create_directories(Profiles());
    for (const std::string_view name : ProfileFileNames) {
        TempInstall::WriteFile(ProfileFile(name), "user's " + std::string(name));
    }
    const std::string stuck = ProfileFile("Database_IPRangeSetting.RVL");  // index 5
    ASSERT_EQ(::chmod(stuck.c_str(), 0444), 0);

    ReloadProfiles(Profiles());

    for (std::size_t i = 0; i < ProfileFileNames.size(); ++i) {
        const std::string_view name = ProfileFileNames[i];
        SCOPED_TRACE(std::string(name));
        const std::string expected = i < 5 ? FactoryText(name) : "user's " + std::string(name);
        EXPECT_EQ(TempInstall::ReadFile(ProfileFile(name)), expected);
    }
    const std::string log = ErrorLog();
    EXPECT_EQ(CountOccurrences(log, "\r\n"), 1);
    EXPECT_EQ(log.rfind("ReloadProfiles of Module mdlMain:---->70,Permission denied, On ", 0), 0u)
        << log;
}

TEST_F(ReloadTest, MissingInstallationFolderIsLoggedAndNothingIsCreated) {
    const std::string nowhere = install.root() + "/gone/Profiles/";
    ReloadProfiles(nowhere);
    EXPECT_FALSE(std::filesystem::exists(install.root() + "/gone"));
    EXPECT_EQ(CountOccurrences(ErrorLog(), "ReloadProfiles of Module mdlMain:---->76,"), 1);
}

TEST_F(ReloadTest, EveryFactoryValueReadsBackThroughTheProfileReader) {
    ReloadProfiles(Profiles());
    for (const std::string_view name : ProfileFileNames) {
        for (const auto& entry : testing::PlainEntries(std::string(name))) {
            SCOPED_TRACE(std::string(name) + " [" + entry.section + "] " + entry.key);
            EXPECT_EQ(ReadINI(entry.section, entry.key, "<absent>", ProfileFile(name), true),
                      entry.value);
        }
    }
}

TEST_F(ReloadTest, ProfileReaderAndPendingWritesNeverOutliveAReset) {
    const std::string alerts = ProfileFile("AlertsAndLogSetting.RVL");
    ReloadProfiles(Profiles());
    WriteINI("Main", "AlertEvent", "0", alerts, true);
    ASSERT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    ASSERT_EQ(ReadINI("Main", "AlertEvent", "", alerts, true), "0");  // now held by the reader

    // A change still pending when the reset runs must not be written over the reset file.
    WriteINI("Main", "ProgramLog", "0", alerts, true);
    ReloadProfiles(Profiles());
    EXPECT_EQ(ReadINI("Main", "AlertEvent", "", alerts, true), "1");
    EXPECT_EQ(ReadINI("Main", "ProgramLog", "", alerts, true), "1");
    platform::FlushPrivateProfiles();
    EXPECT_EQ(TempInstall::ReadFile(alerts), FactoryText("AlertsAndLogSetting.RVL"));
}

}  // namespace
}  // namespace rg
