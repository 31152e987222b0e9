// The wizard window around its pages: the load step behind the login prompt, the exit
// confirmation, and the finish step that hands page 6's programs to the save.
#include <filesystem>
#include <string>
#include <vector>

#include "services/ini_access.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

// Presses Next on the finish page; returns the exit status the program ended with.
int FinishExitCode(StartupMainForm& wizard) {
    try {
        wizard.PressEnter();
    } catch (const ProgramEnded& ended) {
        return ended.exitCode;
    }
    return -1;  // the program did not end
}

// The wizard is on screen on its first page behind the prompt. Only the exact password passes:
// a wrong one keeps the prompt with its whole text selected for retyping. The choices take
// their defaults only once the login has passed.
TEST_F(WizardTest, TheLoginPromptRunsOverTheVisibleWizard) {
    screen.ScriptNextModal([&](platform::Form& prompt) {
        EXPECT_EQ(screen.shownModeless(), std::vector<std::string>{"frmStartupMain"});
        EXPECT_EQ(VisiblePage(), "fraPage1");
        EXPECT_FALSE(wizard().cmdBack.enabled());
        EXPECT_EQ(wizard().AlertChoice, 0);
        screen.AnswerNextBox(platform::IDOK);
        prompt.TypeText(prompt.Get("txtPassword"), "Secret ");
        prompt.PressEnter();
        ASSERT_EQ(screen.boxes().size(), 1u);
        EXPECT_EQ(screen.boxes()[0].text, "Invalid password, please try again.");
        EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK | platform::MB_ICONINFORMATION);
        const std::vector<ControlRequest> requests{{"frmLogin", "txtPassword"}};
        EXPECT_EQ(screen.focusRequests(), requests);
        EXPECT_EQ(screen.selectAllRequests(), requests);
        prompt.TypeText(prompt.Get("txtPassword"), "Secret");
        prompt.PressEnter();
    });
    Start("Secret");
    EXPECT_EQ(wizard().AlertChoice, 1);
    EXPECT_EQ(wizard().ProgramChoice, 1);
}

// Esc (the prompt's Cancel) refuses too, whatever has been typed.
TEST_F(WizardTest, ARefusedLoginEndsWithoutTheExitConfirmation) {
    screen.ScriptNextModal([](platform::Form& prompt) {
        prompt.TypeText(prompt.Get("txtPassword"), "Secret");
        prompt.PressEscape();
    });
    EXPECT_THROW(Start("Secret"), ProgramEnded);
    EXPECT_TRUE(screen.boxes().empty());
    EXPECT_EQ(screen.unloaded(), std::vector<std::string>{"frmLogin"});
}

// Cancel and the close box ask first and No keeps the page; Yes (here after Esc) closes the
// window with nothing written.
TEST_F(WizardTest, ExitAsksFirstAndOnlyYesCloses) {
    Start();
    Next();
    for (const int answer : {platform::IDNO, platform::IDNO, platform::IDYES}) {
        screen.AnswerNextBox(answer);
    }
    EXPECT_TRUE(wizard().Click(wizard().cmdCancel));
    EXPECT_FALSE(wizard().RequestClose());
    EXPECT_EQ(VisiblePage(), "fraPage3");
    EXPECT_TRUE(wizard().PressEscape());
    EXPECT_FALSE(wizard().loaded());
    ASSERT_EQ(screen.boxes().size(), 3u);
    const MessageBoxRecord& box = screen.boxes().back();
    EXPECT_EQ(
        box.text + "|" + box.title,
        "Are you sure you want to exit from Ravelgard Startup Wizard|Ravelgard Startup Wizard");
    EXPECT_EQ(box.style, platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    EXPECT_FALSE(std::filesystem::exists(install.appPath() + "/Profiles"));
}

// A save that could not write every file ends with exit status 1 (here the profile folder's
// place is taken by a file).
TEST_F(WizardTest, FinishEndsWithAnExitStatusThatTellsWhetherEverythingWasSaved) {
    TempInstall::WriteFile(install.appPath() + "/Profiles", "a file in the folder's place");
    Start();
    WalkToFinish("optAllowProgram");
    EXPECT_EQ(FinishExitCode(wizard()), kSaveFailedExitCode);
}

// Page 6's list keeps its programs across Back and Next; Next on the finish page hands its rows
// to the save in list order (here sorted by name) and ends with status 0, without asking.
TEST_F(WizardTest, FinishSavesTheProgramListInItsOrder) {
    Start();
    WalkToFinish("optAdvanceProgram");
    Back();
    for (const std::string name : {"zed.exe", "able.exe"}) {
        TempInstall::WriteFile(install.root() + "/" + name, "not a PE file");
        screen.AnswerNextFileDialog(install.root() + "/" + name);
        ASSERT_TRUE(wizard().Click(Get("cmdAdd")));
    }
    Back();
    Next();
    ASSERT_TRUE(wizard().ColumnClick(Get("lvwPrograms"), 0));  // able, zed
    Next();
    EXPECT_EQ(FinishExitCode(wizard()), 0);
    EXPECT_TRUE(screen.boxes().empty());
    const std::string saved =
        TempInstall::ReadFile(install.appPath() + "/Profiles/ProgramControl.RVL");
    EXPECT_LT(saved.find("[able.exe]"), saved.find("[zed.exe]"));
    EXPECT_NE(saved.find("[zed.exe]"), std::string::npos);
}

// What the user chose on pages 3 and 4 reaches the files: the alert choice enciphered in the
// alerts profile and the password in the password file.
TEST_F(WizardTest, FinishStoresTheAlertChoiceAndThePasswordTypedInTheWizard) {
    Start();
    Next();  // 1 -> 3
    Choose("optAlertAlltime");
    Next();  // 3 -> 4
    ASSERT_TRUE(wizard().TypeText(Get("txtPassword"), "s3cret"));
    ASSERT_TRUE(wizard().TypeText(Get("txtConfirmPass"), "s3cret"));
    Next();  // 4 -> 5
    Choose("optNoProgramAdd");
    Next();
    ASSERT_EQ(wizard().CurrentPage, 9);
    EXPECT_EQ(FinishExitCode(wizard()), 0);
    EXPECT_EQ(ReadINI("Main", "AlertEvent", "<none>",
                      install.appPath() + "/Profiles/AlertsAndLogSetting.RVL", true),
              "1");
    EXPECT_EQ(TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS"),
              PasswordFileLine("s3cret") + "\r\n");
}

}  // namespace
}  // namespace rg::test
