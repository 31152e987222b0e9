// frmLogin, the login prompt: a small modal window in which the user types the settings
// password before the wizard opens. OK compares the text with StoredPassword and sets
// LoginAccepted; Cancel (or closing the window) leaves LoginAccepted False.
#pragma once

#include "platform/ui/form.h"

namespace rg {

inline constexpr const char* kInvalidPasswordText = "Invalid password, please try again.";
inline constexpr int kProgramIcon = 101;

class LoginForm final : public platform::Form {
  public:
    LoginForm();

    platform::Control& lblLabels;
    platform::Control& txtPassword;
    platform::Control& cmdOK;
    platform::Control& cmdCancel;

  protected:
    void Form_Load() override;

  private:
    void cmdOK_Click();
    void cmdCancel_Click();
};

}  // namespace rg
