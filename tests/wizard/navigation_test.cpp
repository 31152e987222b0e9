#include <filesystem>
#include <string>
#include <vector>

#include "platform/ui/message_box.h"
#include "startup/globals.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

class Navigation : public WizardTest {
  protected:
    // One row of the button-state table.
    void ExpectButtons(const char* page, bool backEnabled, const std::string& nextCaption) {
        SCOPED_TRACE(page);
        EXPECT_EQ(VisiblePage(), page);
        EXPECT_EQ(wizard().cmdBack.enabled(), backEnabled);
        EXPECT_EQ(wizard().cmdNext.caption(), nextCaption);
        EXPECT_TRUE(wizard().cmdNext.enabled());
        EXPECT_TRUE(wizard().cmdCancel.enabled());
    }
};

TEST_F(Navigation, StartsOnTheWelcomePageWithDefaults) {
    Start();
    EXPECT_EQ(wizard().caption(), "Ravelgard Startup Wizard");
    EXPECT_EQ(wizard().CurrentPage, 1);
    EXPECT_EQ(wizard().AlertChoice, 1);
    EXPECT_EQ(wizard().ProgramChoice, 1);
    EXPECT_EQ(wizard().WizardPassword, "");
    EXPECT_EQ(wizard().cmdBack.caption(), "< &Back");
    ExpectButtons("fraPage1", false, "&Next >");
    EXPECT_EQ(screen.shownModeless(), std::vector<std::string>{"frmStartupMain"});
    EXPECT_TRUE(screen.shownModal().empty());
    EXPECT_FALSE(wizard().Click(wizard().cmdBack));  // disabled on page 1
}

// Without a language file the finish caption and the caption after Back from it are empty.
TEST_F(Navigation, ButtonStatesForwardAndBackWithoutLanguageFile) {
    Start();
    Next();
    ExpectButtons("fraPage3", true, "&Next >");
    Next();
    ExpectButtons("fraPage4", true, "&Next >");
    Next();
    ExpectButtons("fraPage5", true, "&Next >");
    ASSERT_TRUE(wizard().Click(Get("optAdvanceProgram")));
    Next();
    ExpectButtons("fraPage6", true, "&Next >");
    Next();
    ExpectButtons("fraPage9", true, "");
    Back();
    ExpectButtons("fraPage6", true, "");
    Back();
    ExpectButtons("fraPage5", true, "");
    Back();
    ExpectButtons("fraPage4", true, "");
    Back();
    ExpectButtons("fraPage3", true, "");
    Back();
    ExpectButtons("fraPage1", false, "");
    EXPECT_EQ(wizard().CurrentPage, 1);
}

TEST_F(Navigation, FinishCaptionAndNextCaptionComeFromTheLanguageFile) {
    WriteLanguageFile("[Startup Wizard]\r\n5001=&Next >>\r\n5004=&Finish\r\n");
    Start();
    ExpectButtons("fraPage1", false, "&Next >>");
    WalkToFinish("optAllowProgram");
    ExpectButtons("fraPage9", true, "&Finish");
    Back();
    ExpectButtons("fraPage5", true, "&Next >>");
}

TEST_F(Navigation, ProgramChoiceDecidesTheBranchAroundTheProgramList) {
    Start();
    WalkToFinish("optAdvanceProgram");
    EXPECT_EQ(wizard().ProgramChoice, 3);
    Back();
    EXPECT_EQ(wizard().CurrentPage, 6);
    Back();
    EXPECT_EQ(wizard().CurrentPage, 5);
    ASSERT_TRUE(wizard().Click(Get("optNoProgramAdd")));
    Next();
    EXPECT_EQ(wizard().CurrentPage, 9);
    EXPECT_EQ(wizard().ProgramChoice, 2);
    Back();
    EXPECT_EQ(wizard().CurrentPage, 5);
    ASSERT_TRUE(wizard().Click(Get("optAllowProgram")));
    Next();
    EXPECT_EQ(wizard().CurrentPage, 9);
    EXPECT_EQ(wizard().ProgramChoice, 1);
}

TEST_F(Navigation, NextOnTheFinishPageEndsWithoutConfirmation) {
    Start();
    WalkToFinish("optAllowProgram");
    EXPECT_THROW(Next(), ProgramEnded);
    EXPECT_TRUE(screen.boxes().empty());
}

// Cancel, Esc and the close box ask first; No keeps page and choices.
TEST_F(Navigation, ExitConfirmationNoKeepsEverything) {
    Start();
    Next();
    ASSERT_TRUE(wizard().Click(Get("optAlertDoNot")));
    Next();
    TypePasswords("abc", "abc");
    for (int i = 0; i < 3; ++i) {
        screen.AnswerNextBox(platform::IDNO);
    }
    wizard().Click(wizard().cmdCancel);
    wizard().PressEscape();
    EXPECT_FALSE(wizard().RequestClose());
    ASSERT_EQ(screen.boxes().size(), 3u);
    for (const auto& box : screen.boxes()) {
        EXPECT_EQ(box.text, "Are you sure you want to exit from Ravelgard Startup Wizard");
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_YESNO | platform::MB_ICONQUESTION);
        EXPECT_EQ(box.defaultButton(), platform::MB_DEFBUTTON1);
    }
    EXPECT_TRUE(wizard().loaded());
    EXPECT_EQ(VisiblePage(), "fraPage4");
    EXPECT_EQ(wizard().AlertChoice, 0);
    EXPECT_EQ(Get("txtPassword").text(), "abc");
}

TEST_F(Navigation, ExitConfirmationYesClosesWithNothingWritten) {
    Start();
    const std::string storeBefore = TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS");
    screen.AnswerNextBox(platform::IDYES);
    wizard().PressEscape();
    EXPECT_FALSE(wizard().loaded());
    EXPECT_EQ(screen.unloaded().back(), "frmStartupMain");
    EXPECT_FALSE(std::filesystem::exists(install.appPath() + "/Profiles"));
    EXPECT_EQ(TempInstall::ReadFile(install.systemDir() + "/RVPSD.SYS"), storeBefore);
}

TEST_F(Navigation, LoginPromptRunsOverTheVisibleWizard) {
    screen.ScriptNextModal([&](platform::Form& prompt) {
        EXPECT_EQ(screen.shownModeless().back(), "frmStartupMain");
        prompt.TypeText(prompt.Get("txtPassword"), "Secret");
        prompt.PressEnter();
    });
    Start("Secret");
    EXPECT_EQ(screen.shownModal(), std::vector<std::string>{"frmLogin"});
    EXPECT_EQ(wizard().AlertChoice, 1);
    EXPECT_EQ(wizard().CurrentPage, 1);
}

TEST_F(Navigation, RefusedLoginEndsWithoutTheExitConfirmation) {
    screen.ScriptNextModal([](platform::Form& prompt) { prompt.PressEscape(); });
    EXPECT_THROW(Start("Secret"), ProgramEnded);
    EXPECT_TRUE(screen.boxes().empty());
    EXPECT_TRUE(screen.unloaded() == std::vector<std::string>{"frmLogin"});
}

}  // namespace
}  // namespace rg::test
