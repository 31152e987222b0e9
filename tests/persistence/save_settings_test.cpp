// The save step for each program choice and its error paths, with every file checked byte for
// byte.
#include "persistence/save_settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "programs/default_programs.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/persistence/save_expectations.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

using Lines = std::vector<std::string>;
const std::string kSaveError = "saveStartupWizardSettings of frmStartupMain:---->";
const std::string kBrowserVersion = "6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)";

class SaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }
    // services.exe (with a version resource) and svchost.exe (without one) in the system folder,
    // and the browser, named by the registry's command line when `registered`.
    void InstallSystemPrograms(bool registered) {
        std::filesystem::create_directories(std::filesystem::path(browser).parent_path());
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/services.exe", services);
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/svchost.exe", svchost);
        std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/iexplore.exe", browser);
        if (registered) {
            RegCreateString(kBrowserCommandKey, platform::HKEY_CLASSES_ROOT,
                            "\"" + browser + "\" %1");
        }
    }
    static std::string Profile(std::string_view name) {
        return TempInstall::ReadFile(ProfilesPath + std::string(name));
    }
    Lines Log() const { return LogHeads(TempInstall::ReadFile(install.appPath() + "/Err.log")); }
    // The alerts file and the program profile as given, the eleven others their reset text.
    static void ExpectProfiles(const std::string& alerts, const std::string& programControl) {
        EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), alerts);
        EXPECT_EQ(Profile("ProgramControl.RVL"), programControl);
        for (const std::string_view name : ProfileFileNames) {
            if (name != "AlertsAndLogSetting.RVL" && name != "ProgramControl.RVL") {
                EXPECT_EQ(Profile(name), FactoryBytes(name)) << name;
            }
        }
    }

    TempInstall install;
    const std::string services = install.systemDir() + "/services.exe";
    const std::string svchost = install.systemDir() + "/svchost.exe";
    const std::string browser = install.prefix() + "/Program Files/Internet Explorer/iexplore.exe";
};

TEST_F(SaveTest, OwnListWritesEachRowUnderItsListedNameUntilARowCannotBeStored) {
    InstallSystemPrograms(true);
    const std::string gone = install.root() + "/deleted since listed.exe";
    std::string stored = EncryptText(install.root() + "/tool.exe", "Bad Row");
    stored.back() = '\r';  // a path that enciphers to a text ending in CR cannot be stored
    WizardSettings settings{"", 0, 3, {}};
    settings.Programs = {{"My Browser", browser, "Block", "Ask"},  // the listed name
                         {"Gone Tool", gone, "Allow", "no such permission"},
                         {"Bad Row", DecryptText(stored, "Bad Row"), "Allow", "Allow"},
                         {"Never", svchost, "Allow", "Allow"}};
    EXPECT_FALSE(saveStartupWizardSettings(settings));
    ExpectProfiles(AlertsBytes("0"),
                   ProgramControlBytes({{"My Browser", browser, kBrowserVersion, 2, 1},
                                        {"Gone Tool", gone, "", 0, 0}}));  // no file: no version
    EXPECT_EQ(Log(), Lines{kSaveError + "5"});
}

TEST_F(SaveTest, AReadOnlyProfileFileStopsTheResetThereAndTheSaveGoesOn) {
    for (const std::string_view name : ProfileFileNames) {
        TempInstall::WriteFile(ProfilesPath + std::string(name), "user's " + std::string(name));
    }
    const std::string stuck = ProfilesPath + std::string(ProfileFileNames[5]);
    ASSERT_EQ(::chmod(stuck.c_str(), 0444), 0);
    EXPECT_FALSE(saveStartupWizardSettings({"", 0, 2, {}}));
    EXPECT_EQ(Profile(ProfileFileNames[0]), AlertsBytes("0"));
    for (std::size_t i = 1; i < ProfileFileNames.size(); ++i) {
        const std::string_view name = ProfileFileNames[i];
        EXPECT_EQ(Profile(name), i < 5 ? FactoryBytes(name) : "user's " + std::string(name));
    }
    EXPECT_EQ(Log(), Lines{"ReloadProfiles of Module mdlMain:---->70"});
}

// A system program whose name cannot name a section (here one that ends in a tab) is logged and
// skipped, and the next one is written all the same; without a browser command the save ends
// after the system programs.
TEST_F(SaveTest, DefaultProgramsSkipARefusedNameAndEndWithoutABrowserCommand) {
    InstallSystemPrograms(false);
    TempInstall::WriteFile(
        services,
        BuildPe({{16, 1, 0x409,
                  SimpleVersion({TextEntry(u"FileDescription", u"Services\t")}).Bytes()}}));
    EXPECT_FALSE(saveStartupWizardSettings({"", 0, 1, {}}));
    ExpectProfiles(AlertsBytes("0"), ProgramControlBytes({{"svchost.exe", svchost, "", 0, 0}}));
    EXPECT_EQ(Log(), (Lines{kSaveError + "5", kSaveError + "5"}));
}

TEST_F(SaveTest, AnUnwritablePasswordFileEndsTheSaveBeforeTheAlertChoice) {
    InstallSystemPrograms(true);
    std::filesystem::create_directories(PasswordFilePath());  // a folder in the file's place
    EXPECT_FALSE(saveStartupWizardSettings({"Secret", 0, 1, {}}));
    ExpectProfiles(AlertsBytes("1"), ";Save Programs Here\r\n");
    EXPECT_EQ(Log(), Lines{kSaveError + "70"});
}

TEST_F(SaveTest, DefaultProgramsAreWrittenAllowedByTheirNamesAndVersionsWithThePassword) {
    InstallSystemPrograms(true);
    EXPECT_TRUE(saveStartupWizardSettings({"Open Sesame 7", 0, 1, {}}));
    ExpectProfiles(AlertsBytes("0"),
                   ProgramControlBytes({{"Services and Controller app", services,
                                         "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)", 0, 0},
                                        {"svchost.exe", svchost, "", 0, 0},  // the file name
                                        {"Internet Explorer", browser, kBrowserVersion, 0, 0}}));
    EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()),
              PasswordFileLine("Open Sesame 7") + "\r\n");
    EXPECT_EQ(Log(), Lines{});
}

}  // namespace
}  // namespace rg::test
