// The alert options of page 3 and the password check of page 4.
#include <string>
#include <utility>
#include <vector>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

TEST_F(WizardTest, TheAlertChoiceIsTakenAtTheClickAndSurvivesBack) {
    Start();
    Next();
    Choose("optAlertDoNot");
    EXPECT_EQ(wizard().AlertChoice, 0);
    Back();
    Next();
    EXPECT_TRUE(Get("optAlertDoNot").value());
    EXPECT_EQ(wizard().AlertChoice, 0);
    Choose("optAlertAlltime");
    EXPECT_EQ(wizard().AlertChoice, 1);
}

class PasswordPage : public WizardTest {
  protected:
    void SetUp() override {
        Start();
        Next();
        Next();
    }
    // Next on page 4 is refused with a critical box carrying `text`.
    void ExpectRefused(const std::string& text) {
        screen.AnswerNextBox(platform::IDOK);
        Next();
        EXPECT_EQ(screen.boxes().back().text, text);
        EXPECT_EQ(screen.boxes().back().style, platform::MB_OK | platform::MB_ICONHAND);
        EXPECT_EQ(VisiblePage(), "fraPage4");
        EXPECT_EQ(wizard().CurrentPage, 4);
    }
};

// Only agreement is required: no minimum length, and two empty boxes mean no password. Only
// Next on the page replaces the accepted password; the boxes keep their texts.
TEST_F(PasswordPage, AnyAgreeingPasswordIsTakenAtNext) {
    for (const char* password : {"x", "", "Secret"}) {
        TypePasswords(password, password);
        Next();
        EXPECT_EQ(wizard().CurrentPage, 5);
        EXPECT_EQ(wizard().WizardPassword, password);
        Back();
    }
    TypePasswords("second", "second");
    Back();
    Next();
    EXPECT_EQ(wizard().WizardPassword, "Secret");
    EXPECT_EQ(Get("txtPassword").text(), "second");
}

// "\xCF" enciphers to a space at the registry copy's first position, which the store trims.
TEST_F(PasswordPage, BoxesThatDisagreeOrAPasswordTheStoresCannotHoldAreRefused) {
    TypePasswords("kept", "kept");
    Next();
    Back();
    for (const auto& [password, confirm] : std::vector<std::pair<std::string, std::string>>{
             {"Other", "other"}, {"", "Other"}, {"Other", ""}, {"Other", "Other "}}) {
        TypePasswords(password, confirm);
        ExpectRefused("Password not matched.");
    }
    TypePasswords("\xCF", "\xCF");
    ExpectRefused(kPasswordNotStorableText);
    EXPECT_EQ(screen.boxes().size(), 5u);
    EXPECT_EQ(wizard().WizardPassword, "kept");
}

// Page 4 puts the focus into the first box; both masked boxes select their text on focus.
TEST_F(PasswordPage, BothMaskedBoxesSelectTheirWholeTextOnFocus) {
    const ControlRequest first{"frmStartupMain", "txtPassword"};
    EXPECT_EQ(screen.focusRequests(), std::vector<ControlRequest>{first});
    ASSERT_TRUE(wizard().GotFocus(Get("txtConfirmPass")));
    EXPECT_EQ(screen.selectAllRequests(),
              (std::vector<ControlRequest>{first, {"frmStartupMain", "txtConfirmPass"}}));
    EXPECT_EQ(Get("txtPassword").passwordChar(), '*');
    EXPECT_EQ(Get("txtConfirmPass").passwordChar(), '*');
}

}  // namespace
}  // namespace rg::test
