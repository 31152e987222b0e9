// The whole run, end to end through the scripted window system: start, walk the real wizard's
// pages with each alert choice, with and without a password and with each program choice,
// press Next on the finish page, then check every file byte for byte and start again.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "platform/os/registry.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "startup/startup.h"
#include "tests/persistence/save_expectations.h"
#include "tests/persistence/system_programs.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"
#include "wizard/startup_main_form.h"

namespace rg {
namespace {

using platform::Form;
using test::ProgramEnded;
using test::TempInstall;

class SaveWalkBase : public ::testing::Test {
  protected:
    void SetUp() override {
        LoginAccepted = false;
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        TempInstall::WriteFile(install.systemDir() + "/RVPSD.SYS", PasswordFileLine("") + "\r\n");
        system = test::InstallSystemPrograms(install, RG_SYSTEM_FIXTURES, true);
    }

    // Runs the start-up sequence with a new wizard window. When a password is stored the login
    // prompt must appear; it is answered with `loginPassword`.
    StartupMainForm& Start(const std::string& loginPassword) {
        if (!loginPassword.empty()) {
            screen.ScriptNextModal([loginPassword](Form& prompt) {
                prompt.TypeText(prompt.Get("txtPassword"), loginPassword);
                prompt.Click(prompt.Get("cmdOK"));
            });
        }
        windows.push_back(std::make_unique<StartupMainForm>());
        Main([this]() -> Form& { return *windows.back(); });
        return *windows.back();
    }

    // Walks from the welcome page to the finish page and presses Next there: the program ends.
    // `onPage6` acts on the program list when the walk passes page 6.
    static void WalkAndFinish(StartupMainForm& wizard, const char* alertOption,
                              const std::string& password, const char* programOption,
                              const std::function<void()>& onPage6 = {}) {
        ASSERT_TRUE(wizard.PressEnter());  // 1 -> 3
        ASSERT_TRUE(wizard.Click(wizard.Get(alertOption)));
        ASSERT_TRUE(wizard.PressEnter());  // 3 -> 4
        ASSERT_TRUE(wizard.TypeText(wizard.Get("txtPassword"), password));
        ASSERT_TRUE(wizard.TypeText(wizard.Get("txtConfirmPass"), password));
        ASSERT_TRUE(wizard.PressEnter());  // 4 -> 5
        ASSERT_TRUE(wizard.Click(wizard.Get(programOption)));
        ASSERT_TRUE(wizard.PressEnter());  // 5 -> 9, or 5 -> 6
        if (wizard.CurrentPage == 6) {
            if (onPage6) {
                onPage6();
            }
            ASSERT_TRUE(wizard.PressEnter());
        }
        ASSERT_EQ(wizard.CurrentPage, 9);
        EXPECT_THROW(wizard.PressEnter(), ProgramEnded);
    }

    static std::string Profile(std::string_view name) {
        return TempInstall::ReadFile(ProfilesPath + std::string(name));
    }
    std::string Log() const { return TempInstall::ReadFile(install.appPath() + "/Err.log"); }

    // Both stores decipher to `password`, each read on its own (no registry value: none).
    void ExpectStoredPassword(const std::string& password) const {
        const std::string value = RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                                kPasswordValueName, "");
        EXPECT_EQ(DecryptText(value, kPasswordKey), password);
        const std::string file = TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS");
        ASSERT_GE(file.size(), 2u);
        EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
        EXPECT_EQ(DecryptText(file.substr(0, file.size() - 2), kPasswordKey),
                  std::string(kPasswordFilePrefix) + password + std::string(kPasswordFileTrailer));
    }

    // The profile folder after a save: the program profile and the alerts file as given, the
    // other eleven files their reset text, nothing else.
    static void ExpectProfiles(const std::string& alertChoice, const std::string& programControl) {
        EXPECT_EQ(Profile("AlertsAndLogSetting.RVL"), test::AlertsBytes(alertChoice));
        EXPECT_EQ(Profile("ProgramControl.RVL"), programControl);
        for (const std::string_view name : ProfileFileNames) {
            if (name != "AlertsAndLogSetting.RVL" && name != "ProgramControl.RVL") {
                EXPECT_EQ(Profile(name), test::FactoryBytes(name)) << name;
            }
        }
    }

    TempInstall install;
    test::ScriptedWindowSystem screen;
    test::SystemPrograms system;
    std::vector<std::unique_ptr<StartupMainForm>> windows;
};

struct AlertCase {
    const char* option;
    const char* stored;
};
struct ProgramCase {
    const char* option;
    bool writesDefaults;
};

using WalkParam = std::tuple<AlertCase, std::string, ProgramCase>;

class EveryChoice : public SaveWalkBase, public ::testing::WithParamInterface<WalkParam> {};

TEST_P(EveryChoice, FinishWritesExactlyTheChoicesAndTheNextStartAsksForThePassword) {
    const auto& [alert, password, program] = GetParam();
    StartupMainForm& wizard = Start("");
    WalkAndFinish(wizard, alert.option, password, program.option);

    EXPECT_EQ(Log(), "");
    ExpectProfiles(
        alert.stored,
        test::ProgramControlBytes(program.writesDefaults ? test::DefaultProgramSections(system)
                                                         : std::vector<test::ExpectedProgram>{}));
    ExpectStoredPassword(password);

    const std::size_t promptsBefore = screen.shownModal().size();
    StartupMainForm& next = Start(password);
    const std::vector<std::string>& prompts = screen.shownModal();
    if (password.empty()) {
        EXPECT_EQ(prompts.size(), promptsBefore);
    } else {
        ASSERT_EQ(prompts.size(), promptsBefore + 1);
        EXPECT_EQ(prompts.back(), "frmLogin");
    }
    EXPECT_EQ(StoredPassword, password);
    EXPECT_EQ(next.CurrentPage, 1);
    EXPECT_EQ(screen.pendingModals(), 0u);
}

std::string WalkName(const ::testing::TestParamInfo<WalkParam>& walk) {
    const auto& [alert, password, program] = walk.param;
    // The option names without their "opt" prefix.
    return std::string(alert.option + 3) + (password.empty() ? "_NoPassword_" : "_Password_") +
           std::string(program.option + 3);
}

INSTANTIATE_TEST_SUITE_P(
    Walks, EveryChoice,
    ::testing::Combine(::testing::Values(AlertCase{"optAlertAlltime", "1"},
                                         AlertCase{"optAlertDoNot", "0"}),
                       ::testing::Values(std::string(), std::string("Open Sesame 7")),
                       ::testing::Values(ProgramCase{"optAllowProgram", true},
                                         ProgramCase{"optNoProgramAdd", false},
                                         ProgramCase{"optAdvanceProgram", false})),
    WalkName);

// The password page left empty keeps the password of an earlier run in force.
TEST_F(SaveWalkBase, EmptyPasswordPageKeepsTheEarlierPassword) {
    SavePassword("Earlier");
    StartupMainForm& wizard = Start("Earlier");
    WalkAndFinish(wizard, "optAlertDoNot", "", "optNoProgramAdd");

    EXPECT_EQ(Log(), "");
    ExpectProfiles("0", ";Save Programs Here\r\n");
    ExpectStoredPassword("Earlier");
    Start("Earlier");
    EXPECT_EQ(screen.shownModal(), (std::vector<std::string>{"frmLogin", "frmLogin"}));
}

// A second run starts again from the factory state: the first run's programs are gone.
TEST_F(SaveWalkBase, SecondRunResetsWhatTheFirstWrote) {
    WalkAndFinish(Start(""), "optAlertDoNot", "First pass", "optAllowProgram");
    WalkAndFinish(Start("First pass"), "optAlertAlltime", "", "optNoProgramAdd");

    EXPECT_EQ(Log(), "");
    ExpectProfiles("1", ";Save Programs Here\r\n");
    ExpectStoredPassword("First pass");
}

// Page 6 as the user works it: programs added through the open-file dialog (one of them twice),
// permissions set through the pop-up menus of the Access and Server cells.
TEST_F(SaveWalkBase, OwnListWithSeveralRowsAndMixedPermissions) {
    const std::string tool = install.root() + "/Tools/tool.exe";
    TempInstall::WriteFile(tool, "not a program file");
    StartupMainForm& wizard = Start("");
    platform::Control& list = wizard.Get("lvwPrograms");
    const auto add = [&](const std::string& path) {
        screen.AnswerNextFileDialog(path);
        ASSERT_TRUE(wizard.Click(wizard.Get("cmdAdd")));
    };
    const auto choose = [&](int row, int column, const char* item) {
        screen.ChooseInNextMenu(item);
        test::ScriptedWindowSystem::ClickCell(list, row, column, platform::kLeftButton);
    };
    WalkAndFinish(wizard, "optAlertDoNot", "List pass", "optAdvanceProgram", [&] {
        add(system.services);
        add(system.browser);
        add(tool);
        add(system.services);            // listed already: not added again
        choose(0, 1, "mnuAccessBlock");  // Block / Block
        choose(1, 2, "mnuServerAsk");    // Allow / Ask
        choose(2, 1, "mnuAccessAsk");    // Ask / Ask
        choose(2, 2, "mnuServerBlock");  // Ask / Block
        ASSERT_EQ(list.list().count(), 3u);
        EXPECT_EQ(screen.pendingMenuChoices(), 0u);
    });

    EXPECT_EQ(Log(), "");
    std::vector<test::ExpectedProgram> expected = test::DefaultProgramSections(system);
    expected[0].serverCode = 1;  // services.exe: Block, Block
    expected[0].accessCode = 1;
    expected[1] = expected[2];  // the browser, listed second: Access Allow, Server Ask
    expected[1].serverCode = 2;
    expected[2] = {"tool.exe", tool, "", 1, 2};  // no version resource: named by its file name
    ExpectProfiles("0", test::ProgramControlBytes(expected));
    ExpectStoredPassword("List pass");
    Start("List pass");
    EXPECT_EQ(screen.shownModal(), std::vector<std::string>{"frmLogin"});
}

}  // namespace
}  // namespace rg
