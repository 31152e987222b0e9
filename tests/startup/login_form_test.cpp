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
    LoginPrompt() {
        StoredPassword = "Secret";
        LoginAccepted = false;
    }
    ~LoginPrompt() override { StoredPassword.clear(); }

    ScriptedWindowSystem screen;
    LoginForm prompt;
};

// Only the exact text passes; after each refusal the whole text is selected for retyping.
TEST_F(LoginPrompt, WrongPasswordsKeepThePromptUntilTheRightOne) {
    const std::vector<std::string> wrong = {"", "secret", "Secret ", " Secret", "Secre"};
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
        EXPECT_EQ(box.text, "Invalid password, please try again.");
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONINFORMATION);
    }
    const ControlRequest box{"frmLogin", "txtPassword"};
    EXPECT_EQ(screen.focusRequests(), std::vector<ControlRequest>(wrong.size(), box));
    EXPECT_EQ(screen.selectAllRequests(), std::vector<ControlRequest>(wrong.size(), box));
    prompt.TypeText(prompt.txtPassword, "Secret");
    prompt.Click(prompt.cmdOK);
    EXPECT_TRUE(LoginAccepted);
    EXPECT_FALSE(prompt.loaded());
}

// Cancel, Esc and the close box refuse, whatever has been typed.
TEST_F(LoginPrompt, CancelEscAndTheCloseBoxRefuse) {
    const std::function<void(LoginForm&)> refusals[] = {
        [](LoginForm& form) { form.Click(form.cmdCancel); },
        [](LoginForm& form) { EXPECT_TRUE(form.PressEscape()); },
        [](LoginForm& form) { EXPECT_TRUE(form.RequestClose()); },
    };
    for (const auto& refuse : refusals) {
        LoginForm form;
        form.Show();
        form.TypeText(form.txtPassword, "Secret");
        refuse(form);
        EXPECT_FALSE(LoginAccepted);
        EXPECT_FALSE(form.loaded());
    }
    EXPECT_TRUE(screen.boxes().empty());
}

}  // namespace
}  // namespace rg::test
