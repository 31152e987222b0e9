#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/form.h"
#include "platform/ui/message_box.h"
#include "services/end_program.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "startup/password_store.h"
#include "startup/startup.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using platform::Form;
using test::ProgramEnded;
using test::ScriptedWindowSystem;
using test::TempInstall;

// Stands in for the wizard window: its load step shows it and asks the login gate, as the
// real one does, and records how far it got.
class GateWindow final : public Form {
  public:
    GateWindow() : Form("gate") {}
    bool passed = false;

  protected:
    void Form_Load() override {
        Show();
        if (!VerifyLogin()) {
            EndProgram();
        }
        passed = true;
    }
};

class LoginGate : public ::testing::Test {
  protected:
    void SetUp() override {
        LoginAccepted = false;
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }
    // Installs the stores with `password` and runs Main up to the wizard's load step.
    void RunMain(const std::string& password) {
        if (password.empty()) {
            TempInstall::WriteFile(install.systemDir() + "/RVPSD.SYS",
                                   PasswordFileLine("") + "\r\n");
        } else {
            SavePassword(password);
        }
        Main([this]() -> Form& {
            ++windowsCreated;
            return window;
        });
    }
    static void Type(Form& form, const std::string& text) {
        form.TypeText(form.Get("txtPassword"), text);
    }

    TempInstall install;
    ScriptedWindowSystem screen;
    GateWindow window;
    int windowsCreated = 0;
};

TEST_F(LoginGate, NoPasswordShowsNoPrompt) {
    RunMain("");
    EXPECT_TRUE(window.passed);
    EXPECT_TRUE(screen.shownModal().empty());
    EXPECT_EQ(StoredPassword, "");
}

TEST_F(LoginGate, WrongPasswordsKeepThePromptUntilTheRightOne) {
    const std::vector<std::string> wrong = {"", "secret", "Secret ", " Secret", "Secre"};
    screen.ScriptNextModal([&](Form& prompt) {
        EXPECT_EQ(prompt.focused(), &prompt.Get("txtPassword"));
        for (const std::string& attempt : wrong) {
            screen.AnswerNextBox(platform::IDOK);
            Type(prompt, attempt);
            EXPECT_TRUE(prompt.PressEnter());
            EXPECT_TRUE(prompt.loaded());
        }
        Type(prompt, "Secret");
        prompt.Click(prompt.Get("cmdOK"));
    });
    RunMain("Secret");
    EXPECT_TRUE(window.passed);
    EXPECT_TRUE(LoginAccepted);
    ASSERT_EQ(screen.boxes().size(), wrong.size());
    for (const auto& box : screen.boxes()) {
        EXPECT_EQ(box.text, "Invalid password, please try again.");
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONINFORMATION);
    }
    // After each refusal the focus returns to the box and its whole text is selected.
    const test::ControlRequest box{"frmLogin", "txtPassword"};
    EXPECT_EQ(screen.focusRequests(), std::vector<test::ControlRequest>(wrong.size(), box));
    EXPECT_EQ(screen.selectAllRequests(), std::vector<test::ControlRequest>(wrong.size(), box));
}

// Cancel, Esc and the close box all refuse; the program ends with no further message.
TEST_F(LoginGate, RefusedPromptEndsTheProgramWithoutConfirmation) {
    const std::vector<std::function<void(Form&)>> refusals = {
        [](Form& prompt) { prompt.Click(prompt.Get("cmdCancel")); },
        [](Form& prompt) { prompt.PressEscape(); },
        [](Form& prompt) { prompt.RequestClose(); },
    };
    for (std::size_t i = 0; i < refusals.size(); ++i) {
        SCOPED_TRACE(i);
        GateWindow gate;
        screen.ScriptNextModal([&](Form& prompt) {
            Type(prompt, "Secret");  // typed, but never confirmed
            refusals[i](prompt);
        });
        StoredPassword = "Secret";
        LoginAccepted = false;
        EXPECT_THROW(gate.Show(), ProgramEnded);
        EXPECT_FALSE(gate.passed);
        EXPECT_FALSE(LoginAccepted);
    }
    EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(LoginGate, PromptLooksAsDesigned) {
    LoginForm prompt;
    prompt.Show();
    EXPECT_EQ(prompt.caption(), "Password");
    EXPECT_EQ(prompt.iconId(), 101);
    EXPECT_EQ(prompt.lblLabels.caption(), "&Password:");
    EXPECT_EQ(prompt.txtPassword.passwordChar(), '*');
    EXPECT_TRUE(prompt.cmdOK.isDefault());
    EXPECT_TRUE(prompt.cmdCancel.isCancel());
    EXPECT_EQ(prompt.focused(), &prompt.txtPassword);
}

TEST_F(LoginGate, BrokenInstallationEndsBeforeTheWizardIsCreated) {
    screen.AnswerNextBox(platform::IDOK);
    EXPECT_THROW(Main([this]() -> Form& {
                     ++windowsCreated;
                     return window;
                 }),
                 ProgramEnded);
    EXPECT_EQ(windowsCreated, 0);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text, "Applicaation corrupted please reinstall it.");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK | platform::MB_ICONHAND);
}

}  // namespace
}  // namespace rg
