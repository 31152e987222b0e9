// The save step called directly with the wizard's settings: the program list rows with their
// permission codes, the choices that write no programs, and the error paths (a read-only
// profile file, no browser command, an unstorable row, an unwritable password file, a missing
// profile folder).
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "persistence/save_settings.h"
#include "platform/os/registry.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/persistence/save_expectations.h"
#include "tests/persistence/system_programs.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::ExpectedProgram;
using test::TempInstall;

class SaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }
    void InstallSystemPrograms(bool registerBrowser) {
        system = test::InstallSystemPrograms(install, RG_SYSTEM_FIXTURES, registerBrowser);
    }
    static std::string Profile(std::string_view name) {
        return TempInstall::ReadFile(ProfilesPath + std::string(name));
    }
    std::string Log() const { return TempInstall::ReadFile(install.appPath() + "/Err.log"); }
    // Every profile file but the two the save writes into holds its reset text.
    static void ExpectOtherFilesReset() {
        for (const std::string_view name : ProfileFileNames) {
            if (name != "AlertsAndLogSetting.RVL" && name != "ProgramControl.RVL") {
                EXPECT_EQ(Profile(name), test::FactoryBytes(name)) << name;
            }
        }
    }

    TempInstall install;
    test::SystemPrograms system;
};

TEST_F(SaveTest, OwnListWritesEveryRowUnderItsListedNameWithServerThenAccessCodes) {
    InstallSystemPrograms(true);
    const std::string gone = install.root() + "/deleted since listed.exe";
    WizardSettings settings{"", 0, 3, {}};
    settings.Programs = {
        {"My Browser", system.browser, "Block", "Ask"},      // listed name, not the description
        {"Services", system.services, "ask", "ALLOW"},       // letter case does not matter
        {"Gone Tool", gone, "Allow", "no such permission"},  // deleted: empty version, code 0
    };

    saveStartupWizardSettings(settings);

    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Profile("ProgramControl.RVL"),
              test::ProgramControlBytes({
                  {"My Browser", system.browser, "6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", 2, 1},
                  {"Services", system.services, "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)", 0, 2},
                  {"Gone Tool", gone, "", 0, 0},
              }));
    EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::AlertsBytes("0"));
    ExpectOtherFilesReset();
}

// Choice 2, an own list without rows, and a value no page gives all leave the factory text,
// whatever the profile held before and whatever rows the list has.
TEST_F(SaveTest, ChoicesWithoutProgramsLeaveOnlyTheFactoryProgramProfile) {
    InstallSystemPrograms(true);
    const std::vector<ProgramRowSettings> rows = {{"Tool", system.services, "Allow", "Allow"}};
    const std::vector<WizardSettings> cases = {
        {"", 1, 2, rows}, {"", 1, 3, {}}, {"", 1, 4, rows}, {"", 1, 0, rows}};
    for (const WizardSettings& settings : cases) {
        SCOPED_TRACE(settings.ProgramChoice);
        TempInstall::WriteFile(ProgramControlFilePath,
                               ";Save Programs Here\r\n[Old]\r\nPath=x\r\n");
        saveStartupWizardSettings(settings);
        EXPECT_EQ(Profile("ProgramControl.RVL"), ";Save Programs Here\r\n");
        EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"),
                  test::FactoryBytes("AlertsAndLogSetting.RVL"));
    }
    EXPECT_EQ(Log(), "");
}

TEST_F(SaveTest, MissingProfileFolderIsCreatedWithAllThirteenFiles) {
    ASSERT_FALSE(std::filesystem::exists(ProfilesPath));
    saveStartupWizardSettings({"", 1, 2, {}});
    EXPECT_EQ(Log(), "");
    EXPECT_EQ(Profile("ProgramControl.RVL"), ";Save Programs Here\r\n");
    EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::FactoryBytes("AlertsAndLogSetting.RVL"));
    ExpectOtherFilesReset();
}

// The reset stops at the read-only file with its own log line; the save goes on writing.
TEST_F(SaveTest, ReadOnlyProfileFileStopsTheResetThereWithOneLogLine) {
    std::filesystem::create_directories(ProfilesPath);
    for (const std::string_view name : ProfileFileNames) {
        TempInstall::WriteFile(ProfilesPath + std::string(name), "user's " + std::string(name));
    }
    const std::string stuck = ProfilesPath + "Database_IPRangeSetting.RVL";  // index 5
    ASSERT_EQ(::chmod(stuck.c_str(), 0444), 0);

    saveStartupWizardSettings({"", 0, 2, {}});

    for (std::size_t i = 1; i < ProfileFileNames.size(); ++i) {
        const std::string_view name = ProfileFileNames[i];
        const std::string expected =
            i < 5 ? test::FactoryBytes(name) : "user's " + std::string(name);
        EXPECT_EQ(Profile(name), expected) << name;
    }
    EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::AlertsBytes("0"));
    const std::string log = Log();
    EXPECT_EQ(test::LogLines(log), 1) << log;
    EXPECT_EQ(log.rfind("ReloadProfiles of Module mdlMain:---->70,", 0), 0u) << log;
}

TEST_F(SaveTest, NoBrowserCommandKeepsTheSystemProgramsWithOneLogLine) {
    InstallSystemPrograms(false);

    saveStartupWizardSettings({"Pass word", 0, 1, {}});

    std::vector<ExpectedProgram> expected = test::DefaultProgramSections(system);
    expected.pop_back();
    EXPECT_EQ(Profile("ProgramControl.RVL"), test::ProgramControlBytes(expected));
    // The steps before the failing one stand.
    EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::AlertsBytes("0"));
    EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()), PasswordFileLine("Pass word") + "\r\n");
    const std::string log = Log();
    EXPECT_EQ(test::LogLines(log), 1) << log;
    EXPECT_EQ(log.rfind("saveStartupWizardSettings of frmStartupMain:---->5,", 0), 0u) << log;
}

TEST_F(SaveTest, ErrorOnTheSecondOfThreeRowsLeavesTheFirstSectionAndNoThird) {
    InstallSystemPrograms(true);
    // A path whose last character enciphers to CR under its section name cannot be stored.
    const std::string badName = "Bad Row";
    std::string stored = EncryptText(install.root() + "/tool.exe", badName);
    stored.back() = '\r';
    const std::string badPath = DecryptText(stored, badName);
    WizardSettings settings{"", 1, 3, {}};
    settings.Programs = {{"First", system.services, "Block", "Block"},
                         {badName, badPath, "Allow", "Allow"},
                         {"Third", system.browser, "Allow", "Allow"}};

    saveStartupWizardSettings(settings);

    EXPECT_EQ(Profile("ProgramControl.RVL"),
              test::ProgramControlBytes(
                  {{"First", system.services, "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)", 1, 1}}));
    const std::string log = Log();
    EXPECT_EQ(test::LogLines(log), 1) << log;
    EXPECT_EQ(log.rfind("saveStartupWizardSettings of frmStartupMain:---->5,", 0), 0u) << log;
}

// A password that cannot be stored ends the save before the alert choice and the programs.
TEST_F(SaveTest, UnwritablePasswordFileEndsTheSaveBeforeTheAlertChoice) {
    InstallSystemPrograms(true);
    std::filesystem::create_directories(PasswordFilePath());  // a folder in the file's place

    saveStartupWizardSettings({"Secret", 0, 1, {}});

    EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::FactoryBytes("AlertsAndLogSetting.RVL"));
    EXPECT_EQ(Profile("ProgramControl.RVL"), ";Save Programs Here\r\n");
    const std::string log = Log();
    EXPECT_EQ(test::LogLines(log), 1) << log;
    EXPECT_EQ(log.rfind("saveStartupWizardSettings of frmStartupMain:---->70,", 0), 0u) << log;
}

}  // namespace
}  // namespace rg
