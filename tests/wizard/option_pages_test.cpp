#include <string>
#include <vector>

#include "platform/ui/message_box.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

class PasswordPage : public WizardTest {
  protected:
    void SetUp() override {
        Start();
        Next();
        Next();
        ASSERT_EQ(wizard().CurrentPage, 4);
    }
    // Next on page 4 must be refused with one critical box carrying `text`.
    void ExpectRefused(const std::string& text) {
        const std::size_t before = screen.boxes().size();
        screen.AnswerNextBox(platform::IDOK);
        Next();
        ASSERT_EQ(screen.boxes().size(), before + 1);
        EXPECT_EQ(screen.boxes().back().text, text);
        EXPECT_EQ(screen.boxes().back().title, "Ravelgard Startup Wizard");
        EXPECT_EQ(screen.boxes().back().style, platform::MB_OK | platform::MB_ICONHAND);
        EXPECT_EQ(wizard().CurrentPage, 4);
        EXPECT_EQ(VisiblePage(), "fraPage4");
    }
};

TEST_F(PasswordPage, BoxesThatDisagreeKeepThePageAndTheEarlierPassword) {
    TypePasswords("Secret", "Secret");
    Next();
    EXPECT_EQ(wizard().WizardPassword, "Secret");
    Back();
    for (const auto& [password, confirm] : std::vector<std::pair<std::string, std::string>>{
             {"Other", "other"}, {"", "Other"}, {"Other", ""}, {"Other", "Other "}}) {
        TypePasswords(password, confirm);
        ExpectRefused("Password not matched.");
        EXPECT_EQ(Get("txtPassword").text(), password);
        EXPECT_EQ(Get("txtConfirmPass").text(), confirm);
        EXPECT_EQ(wizard().WizardPassword, "Secret");
    }
}

TEST_F(PasswordPage, AnyAgreeingPasswordIsTakenEvenShortOrEmpty) {
    TypePasswords("x", "x");
    Next();
    EXPECT_EQ(wizard().WizardPassword, "x");
    Back();
    TypePasswords("", "");
    Next();
    EXPECT_EQ(wizard().CurrentPage, 5);
    EXPECT_EQ(wizard().WizardPassword, "");
}

TEST_F(PasswordPage, OnlyNextOnThePageReplacesTheAcceptedPassword) {
    TypePasswords("first", "first");
    Next();
    Back();
    TypePasswords("second", "second");
    Back();
    EXPECT_EQ(wizard().WizardPassword, "first");
    Next();
    EXPECT_EQ(Get("txtPassword").text(), "second");  // the boxes keep their texts
    Next();
    EXPECT_EQ(wizard().WizardPassword, "second");
}

// "\xCF" enciphers to a space at the registry form's first position: the stores could not
// give it back, so the user must not be able to lock himself out with it.
TEST_F(PasswordPage, PasswordTheStoresCannotHoldIsRefused) {
    TypePasswords("kept", "kept");
    Next();
    Back();
    TypePasswords(
        "\xCF"
        "abc",
        "\xCF"
        "abc");
    ExpectRefused(kPasswordNotStorableText);
    EXPECT_EQ(wizard().WizardPassword, "kept");
}

TEST_F(PasswordPage, BothBoxesSelectTheirWholeTextOnFocus) {
    const ControlRequest first{"frmStartupMain", "txtPassword"};
    const ControlRequest second{"frmStartupMain", "txtConfirmPass"};
    EXPECT_EQ(screen.focusRequests(), std::vector<ControlRequest>{first});
    EXPECT_EQ(screen.selectAllRequests(), std::vector<ControlRequest>{first});
    ASSERT_TRUE(wizard().GotFocus(Get("txtConfirmPass")));
    EXPECT_EQ(screen.selectAllRequests(), (std::vector<ControlRequest>{first, second}));
    EXPECT_EQ(Get("txtPassword").passwordChar(), '*');
    EXPECT_EQ(Get("txtConfirmPass").passwordChar(), '*');
}

TEST_F(WizardTest, AlertChoiceIsTakenAtTheClickAndSurvivesBack) {
    Start();
    Next();
    EXPECT_TRUE(Get("optAlertAlltime").value());
    ASSERT_TRUE(wizard().Click(Get("optAlertDoNot")));
    EXPECT_EQ(wizard().AlertChoice, 0);
    EXPECT_FALSE(Get("optAlertAlltime").value());
    Back();
    Next();
    EXPECT_EQ(wizard().AlertChoice, 0);
    EXPECT_TRUE(Get("optAlertDoNot").value());
    ASSERT_TRUE(wizard().Click(Get("optAlertAlltime")));
    EXPECT_EQ(wizard().AlertChoice, 1);
}

TEST_F(WizardTest, ProgramOptionsExcludeEachOtherAndCountOnlyAtNext) {
    Start();
    Next();
    Next();
    Next();
    EXPECT_TRUE(Get("optAllowProgram").value());
    ASSERT_TRUE(wizard().Click(Get("optAdvanceProgram")));
    EXPECT_FALSE(Get("optAllowProgram").value());
    EXPECT_FALSE(Get("optNoProgramAdd").value());
    EXPECT_EQ(wizard().ProgramChoice, 1);
    Next();
    EXPECT_EQ(wizard().ProgramChoice, 3);
}

}  // namespace
}  // namespace rg::test
