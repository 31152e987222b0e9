// The save step: called directly for the program rows and the error paths, and end to end
// through the wizard window for every choice, with every file checked byte for byte.
#include "persistence/save_settings.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <memory>
#include <tuple>

#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "startup/startup.h"
#include "tests/persistence/save_expectations.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scripted_window_system.h"
#include "wizard/startup_main_form.h"

namespace rg::test {
namespace {

using Lines = std::vector<std::string>;
const std::string kSaveError = "saveStartupWizardSettings of frmStartupMain:---->";

class SaveTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
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
    SystemPrograms system;
};

TEST_F(SaveTest, OwnListWritesEachRowUnderItsListedNameUntilARowCannotBeStored) {
    system = InstallSystemPrograms(install, true);
    const std::string gone = install.root() + "/deleted since listed.exe";
    std::string stored = EncryptText(install.root() + "/tool.exe", "Bad Row");
    stored.back() = '\r';  // a path that enciphers to a text ending in CR cannot be stored
    WizardSettings settings{"", 0, 3, {}};
    settings.Programs = {{"My Browser", system.browser, "Block", "Ask"},  // the listed name
                         {"Services", system.services, "ask", "ALLOW"},   // in any letter case
                         {"Gone Tool", gone, "Allow", "no such permission"},
                         {"Bad Row", DecryptText(stored, "Bad Row"), "Allow", "Allow"},
                         {"Never", system.svchost, "Allow", "Allow"}};
    EXPECT_FALSE(saveStartupWizardSettings(settings));
    const std::vector<ExpectedProgram> defaults = DefaultProgramSections(system);
    ExpectProfiles(AlertsBytes("0"),
                   ProgramControlBytes({{"My Browser", system.browser, defaults[2].version, 2, 1},
                                        {"Services", system.services, defaults[0].version, 0, 2},
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
// skipped, and the others are written all the same; without a browser command the save ends
// after the system programs.
TEST_F(SaveTest, DefaultProgramsSkipARefusedNameAndEndWithoutABrowserCommand) {
    for (const bool browser : {true, false}) {
        SCOPED_TRACE(browser);
        TempInstall fresh;
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        system = InstallSystemPrograms(fresh, browser);
        std::vector<ExpectedProgram> expected = DefaultProgramSections(system);
        if (browser) {
            TempInstall::WriteFile(
                system.svchost,
                BuildPe({{16, 1, 0x409,
                          SimpleVersion({TextEntry(u"FileDescription", u"Host\t")}).Bytes()}}));
            expected.erase(expected.begin() + 1);
        } else {
            expected.pop_back();
        }
        EXPECT_FALSE(saveStartupWizardSettings({"Pass word", 0, 1, {}}));
        ExpectProfiles(AlertsBytes("0"), ProgramControlBytes(expected));
        EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()),
                  PasswordFileLine("Pass word") + "\r\n");
        EXPECT_EQ(LogHeads(TempInstall::ReadFile(fresh.appPath() + "/Err.log")),
                  Lines{kSaveError + "5"});
    }
}

TEST_F(SaveTest, AnUnwritablePasswordFileEndsTheSaveBeforeTheAlertChoice) {
    system = InstallSystemPrograms(install, true);
    std::filesystem::create_directories(PasswordFilePath());  // a folder in the file's place
    EXPECT_FALSE(saveStartupWizardSettings({"Secret", 0, 1, {}}));
    ExpectProfiles(AlertsBytes("1"), ";Save Programs Here\r\n");
    EXPECT_EQ(Log(), Lines{kSaveError + "70"});
}

// The whole run through the scripted window system: start, walk the real wizard's pages with one
// alert choice, password and program choice, press Next on the finish page; then start again
// (with the login prompt when a password was set) and run once more with the other alert choice,
// the password page left empty and no programs.
using WalkParam = std::tuple<int, std::string, std::string>;
const char* const kAlertOptions[] = {"optAlertDoNot", "optAlertAlltime"};  // stored as 0, 1

class SaveWalk : public SaveTest, public ::testing::WithParamInterface<WalkParam> {
  protected:
    void SetUp() override {
        SaveTest::SetUp();
        LoginAccepted = false;
        TempInstall::WriteFile(install.systemDir() + "/RVPSD.SYS", PasswordFileLine("") + "\r\n");
        TempInstall::WriteFile(tool, "not a program file");
        system = InstallSystemPrograms(install, true);
    }

    // Runs the start-up sequence with a new wizard window, answering the login prompt.
    StartupMainForm& Start(const std::string& loginPassword) {
        if (!loginPassword.empty()) {
            screen.ScriptNextModal([loginPassword](platform::Form& prompt) {
                prompt.TypeText(prompt.Get("txtPassword"), loginPassword);
                prompt.Click(prompt.Get("cmdOK"));
            });
        }
        windows.push_back(std::make_unique<StartupMainForm>());
        Main([this]() -> platform::Form& { return *windows.back(); });
        return *windows.back();
    }

    // From the welcome page to the finish page and Next there: the program ends. Page 6 is
    // worked as the user does: programs added through the open-file dialog (one of them twice),
    // permissions set through the pop-up menus of the Access and Server cells.
    void WalkAndFinish(StartupMainForm& wizard, int alert, const std::string& password,
                       const std::string& programOption) {
        ASSERT_TRUE(wizard.PressEnter());  // 1 -> 3
        ASSERT_TRUE(wizard.Click(wizard.Get(kAlertOptions[alert])));
        ASSERT_TRUE(wizard.PressEnter());  // 3 -> 4
        ASSERT_TRUE(wizard.TypeText(wizard.Get("txtPassword"), password));
        ASSERT_TRUE(wizard.TypeText(wizard.Get("txtConfirmPass"), password));
        ASSERT_TRUE(wizard.PressEnter());  // 4 -> 5
        ASSERT_TRUE(wizard.Click(wizard.Get(programOption)));
        ASSERT_TRUE(wizard.PressEnter());  // 5 -> 9, or 5 -> 6
        if (wizard.CurrentPage == 6) {
            for (const std::string& path :
                 {system.services, system.browser, tool, system.services}) {
                screen.AnswerNextFileDialog(path);
                ASSERT_TRUE(wizard.Click(wizard.Get("cmdAdd")));
            }
            const std::tuple<int, int, const char*> choices[] = {{0, 1, "mnuAccessBlock"},
                                                                 {1, 2, "mnuServerAsk"},
                                                                 {2, 1, "mnuAccessAsk"},
                                                                 {2, 2, "mnuServerBlock"}};
            for (const auto& [row, column, item] : choices) {
                screen.ChooseInNextMenu(item);
                ScriptedWindowSystem::ClickCell(wizard.Get("lvwPrograms"), row, column,
                                                platform::kLeftButton);
            }
            EXPECT_EQ(screen.pendingMenuChoices(), 0u);
            ASSERT_TRUE(wizard.PressEnter());
        }
        ASSERT_EQ(wizard.CurrentPage, 9);
        EXPECT_THROW(wizard.PressEnter(), ProgramEnded);
    }

    std::string ExpectedPrograms(const std::string& programOption) const {
        std::vector<ExpectedProgram> sections = DefaultProgramSections(system);
        if (programOption == "optNoProgramAdd") {
            sections.clear();
        } else if (programOption == "optAdvanceProgram") {
            sections = {{sections[0].name, system.services, sections[0].version, 1, 1},
                        {sections[2].name, system.browser, sections[2].version, 2, 0},
                        {"tool.exe", tool, "", 1, 2}};  // no version resource: the file name
        }
        return ProgramControlBytes(sections);
    }

    // Both stores hold `password`, each read on its own.
    void ExpectStoredPassword(const std::string& password) const {
        EXPECT_EQ(DecryptText(RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                            kPasswordValueName, ""),
                              kPasswordKey),
                  password);
        EXPECT_EQ(TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS"),
                  PasswordFileLine(password) + "\r\n");
    }

    const std::string tool = install.root() + "/Tools/tool.exe";
    ScriptedWindowSystem screen;
    std::vector<std::unique_ptr<StartupMainForm>> windows;
};

TEST_P(SaveWalk, FinishWritesExactlyTheChoicesAndTheNextRunStartsAgainFromTheFactoryState) {
    const auto& [alert, password, programOption] = GetParam();
    WalkAndFinish(Start(""), alert, password, programOption);
    EXPECT_EQ(Log(), Lines{});
    ExpectProfiles(AlertsBytes(std::to_string(alert)), ExpectedPrograms(programOption));
    ExpectStoredPassword(password);

    const std::size_t prompts = screen.shownModal().size();
    StartupMainForm& next = Start(password);
    ASSERT_EQ(screen.shownModal().size(), prompts + (password.empty() ? 0 : 1));
    EXPECT_TRUE(password.empty() || screen.shownModal().back() == "frmLogin");
    EXPECT_EQ(StoredPassword, password);
    EXPECT_EQ(next.CurrentPage, 1);
    WalkAndFinish(next, 1 - alert, "", "optNoProgramAdd");
    EXPECT_EQ(Log(), Lines{});
    ExpectProfiles(AlertsBytes(std::to_string(1 - alert)), ";Save Programs Here\r\n");
    ExpectStoredPassword(password);
    EXPECT_EQ(screen.pendingModals(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Walks, SaveWalk,
                         ::testing::Combine(::testing::Values(0, 1),
                                            ::testing::Values("", "Open Sesame 7"),
                                            ::testing::Values("optAllowProgram", "optNoProgramAdd",
                                                              "optAdvanceProgram")));

}  // namespace
}  // namespace rg::test
