#include "startup/login_form.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "startup/globals.h"
#include "tests/support/scripted_window_system.h"

namespace rg::test {
namespace {

class LoginPrompt : public ::testing::Test {
  protected:
    LoginPrompt() { StoredPassword = "Secret"; }
    ~LoginPrompt() override { StoredPassword.clear(); }

    ScriptedWindowSystem screen;
};

// Only the exact text passes; after each refusal the whole text is selected for retyping.
TEST_F(LoginPrompt, WrongPasswordsKeepThePromptUntilTheRightOne) {
    const std::vector<std::string> wrong = {"", "secret", "Secret ", " Secret", "Secre"};
    LoginForm prompt;
    LoginAccepted = false;
    prompt.Show();
    EXPECT_EQ(prompt.focused(), &prompt.txtPassword);
    EXPECT_EQ(prompt.txtPassword.passwordChar(), '*');
    for (const std::string& attempt : wrong) {
        screen.AnswerNextBox(platform::IDOK);
        prompt.TypeText(prompt.txtPassword, attempt);
        EXPECT_TRUE(prompt.PressEnter());
        EXPECT_TRUE(prompt.loaded());
        EXPECT_FALSE(LoginAccepted);
    }
    ASSERT_EQ(screen.boxes().size(), wrong.size());
    for (const MessageBoxRecord& box : screen.boxes()) {
        EXPECT_EQ(box.text + "|" + box.title,
                  "Invalid password, please try again.|Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONINFORMATION);
    }
    const std::vector<ControlRequest> requests(wrong.size(), {"frmLogin", "txtPassword"});
    EXPECT_EQ(screen.focusRequests(), requests);
    EXPECT_EQ(screen.selectAllRequests(), requests);
    prompt.TypeText(prompt.txtPassword, "Secret");
    prompt.Click(prompt.cmdOK);
    EXPECT_TRUE(LoginAccepted);
    EXPECT_FALSE(prompt.loaded());
}

// Cancel, Esc and the close box refuse, whatever has been typed.
TEST_F(LoginPrompt, CancelEscAndTheCloseBoxRefuse) {
    const std::function<bool(LoginForm&)> refusals[] = {
        [](LoginForm& form) { return form.Click(form.cmdCancel); },
        [](LoginForm& form) { return form.PressEscape(); },
        [](LoginForm& form) { return form.RequestClose(); },
    };
    for (const auto& refuse : refusals) {
        LoginForm form;
        LoginAccepted = false;
        form.Show();
        form.TypeText(form.txtPassword, "Secret");
        EXPECT_TRUE(refuse(form));
        EXPECT_FALSE(LoginAccepted);
        EXPECT_FALSE(form.loaded());
    }
    EXPECT_TRUE(screen.boxes().empty());
}

}  // namespace
}  // namespace rg::test
