// The wizard window around its pages: the load step behind the login prompt, the exit
// confirmation, and the finish step that hands page 6's programs to the save.
#include <filesystem>
#include <string>
#include <vector>

#include "services/ini_access.h"
#include "startup/startup.h"
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
    ADD_FAILURE() << "the program did not end";
    return -1;
}

// The wizard is on screen on its first page behind the prompt; the choices take their defaults
// only once the login has passed.
TEST_F(WizardTest, TheLoginPromptRunsOverTheVisibleWizard) {
    screen.ScriptNextModal([&](platform::Form& prompt) {
        EXPECT_EQ(screen.shownModeless(), std::vector<std::string>{"frmStartupMain"});
        EXPECT_EQ(VisiblePage(), "fraPage1");
        EXPECT_FALSE(wizard().cmdBack.enabled());
        EXPECT_EQ(wizard().AlertChoice, 0);
        prompt.TypeText(prompt.Get("txtPassword"), "Secret");
        prompt.PressEnter();
    });
    Start("Secret");
    EXPECT_EQ(wizard().caption(), "Ravelgard Startup Wizard");
    EXPECT_EQ(wizard().cmdNext.caption(), "&Next >");
    EXPECT_EQ(wizard().AlertChoice, 1);
    EXPECT_EQ(wizard().ProgramChoice, 1);
    EXPECT_EQ(wizard().CurrentPage, 1);
    screen.ScriptNextModal([](platform::Form& prompt) {  // a later gate asks afresh
        EXPECT_EQ(prompt.Get("txtPassword").text(), "");
        prompt.PressEscape();
    });
    EXPECT_FALSE(VerifyLogin());
}

TEST_F(WizardTest, ARefusedLoginEndsWithoutTheExitConfirmation) {
    screen.ScriptNextModal([](platform::Form& prompt) { prompt.PressEscape(); });
    EXPECT_THROW(Start("Secret"), ProgramEnded);
    EXPECT_TRUE(screen.boxes().empty());
    EXPECT_EQ(screen.unloaded(), std::vector<std::string>{"frmLogin"});
}

// Cancel, Esc and the close box ask first; No keeps page and choices, Yes closes the window
// with nothing written.
TEST_F(WizardTest, ExitAsksFirstAndOnlyYesCloses) {
    Start();
    Next();
    Choose("optAlertDoNot");
    Next();
    TypePasswords("abc", "abc");
    const std::string storeBefore = TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS");
    for (const int answer : {platform::IDNO, platform::IDNO, platform::IDNO, platform::IDYES}) {
        screen.AnswerNextBox(answer);
    }
    EXPECT_TRUE(wizard().Click(wizard().cmdCancel));
    EXPECT_TRUE(wizard().PressEscape());
    EXPECT_FALSE(wizard().RequestClose());
    EXPECT_EQ(VisiblePage(), "fraPage4");
    EXPECT_EQ(wizard().AlertChoice, 0);
    EXPECT_EQ(Get("txtPassword").text(), "abc");
    EXPECT_TRUE(wizard().PressEscape());
    EXPECT_FALSE(wizard().loaded());
    ASSERT_EQ(screen.boxes().size(), 4u);
    for (const MessageBoxRecord& box : screen.boxes()) {
        EXPECT_EQ(box.text, "Are you sure you want to exit from Ravelgard Startup Wizard");
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_EQ(box.style,
                  platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    }
    EXPECT_FALSE(std::filesystem::exists(install.appPath() + "/Profiles"));
    EXPECT_EQ(TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS"), storeBefore);
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
// to the save in list order with their permissions, and ends without asking.
TEST_F(WizardTest, FinishSavesTheProgramListInItsOrder) {
    Start();
    WalkToFinish("optAdvanceProgram");
    Back();
    const std::string zed = install.root() + "/zed.exe";
    const std::string able = install.root() + "/able.exe";
    for (const std::string& path : {zed, able}) {
        TempInstall::WriteFile(path, "not a PE file");
        screen.AnswerNextFileDialog(path);
        ASSERT_TRUE(wizard().Click(Get("cmdAdd")));
    }
    Back();
    Next();
    platform::Control& list = Get("lvwPrograms");
    ASSERT_EQ(list.list().count(), 2u);
    ASSERT_TRUE(wizard().ColumnClick(list, 0));  // able, zed
    screen.ChooseInNextMenu("mnuServerAsk");
    ScriptedWindowSystem::ClickCell(list, 1, 2, platform::kLeftButton);  // zed: Allow / Ask
    screen.ChooseInNextMenu("mnuAccessBlock");
    ScriptedWindowSystem::ClickCell(list, 0, 1, platform::kLeftButton);  // able: Block / Block
    Next();
    EXPECT_EQ(FinishExitCode(wizard()), 0);
    EXPECT_TRUE(screen.boxes().empty());

    const std::string file = install.appPath() + "/Profiles/ProgramControl.RVL";
    const auto stored = [&](const char* section, const char* key) {
        return ReadINI(section, key, "<none>", file, true);
    };
    EXPECT_EQ(stored("able.exe", "Path"), able);
    EXPECT_EQ(stored("able.exe", "Column1") + stored("able.exe", "Column3"), "11");
    EXPECT_EQ(stored("zed.exe", "Path"), zed);
    EXPECT_EQ(stored("zed.exe", "Column1") + stored("zed.exe", "Column3"), "20");
    const std::string bytes = TempInstall::ReadFile(file);
    EXPECT_LT(bytes.find("[able.exe]"), bytes.find("[zed.exe]"));
}

}  // namespace
}  // namespace rg::test
