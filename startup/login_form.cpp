#include "startup/login_form.h"

#include "platform/ui/message_box.h"
#include "services/app_title.h"
#include "startup/globals.h"

namespace rg {
namespace {

using platform::Bounds;
using platform::ControlKind;

constexpr int kTwipsPerPixel = 15;

// The prompt's layout is given in pixels.
Bounds Pixels(int left, int top, int width, int height) {
    return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
            height * kTwipsPerPixel};
}

platform::Control& Add(platform::Form& form, ControlKind kind, const char* name,
                       const char* caption, const Bounds& bounds) {
    platform::Control& control = form.AddControl(kind, name);
    control.setCaption(caption);
    control.setBounds(bounds);
    return control;
}

}  // namespace

// Creation order is the tab order: label, text box, OK, Cancel.
LoginForm::LoginForm()
    : Form("frmLogin"),
      lblLabels(Add(*this, ControlKind::Label, "lblLabels", "&Password:", Pixels(7, 10, 72, 18))),
      txtPassword(Add(*this, ControlKind::TextBox, "txtPassword", "", Pixels(86, 9, 155, 23))),
      cmdOK(Add(*this, ControlKind::CommandButton, "cmdOK", "OK", Pixels(35, 54, 76, 26))),
      cmdCancel(
          Add(*this, ControlKind::CommandButton, "cmdCancel", "Cancel", Pixels(142, 54, 76, 26))) {
    setCaption("Password");
    setClientSize(250 * kTwipsPerPixel, 92 * kTwipsPerPixel);
    txtPassword.setPasswordChar('*');
    cmdOK.setDefault(true);
    cmdCancel.setCancel(true);
    cmdOK.onClick = [this] { cmdOK_Click(); };
    cmdCancel.onClick = [this] { cmdCancel_Click(); };
}

void LoginForm::Form_Load() {
    setIconId(kProgramIcon);
}

// Exact comparison: case matters and nothing is trimmed. A wrong password keeps the prompt
// open with the whole text selected, so that the next typing replaces it.
void LoginForm::cmdOK_Click() {
    if (txtPassword.text() == StoredPassword) {
        LoginAccepted = true;
        Unload();
        return;
    }
    platform::MessageBoxA(kInvalidPasswordText, kAppTitle,
                          platform::MB_OK | platform::MB_ICONINFORMATION);
    SetFocus(txtPassword);
    SelectAllText(txtPassword);
}

void LoginForm::cmdCancel_Click() {
    LoginAccepted = false;
    Unload();
}

}  // namespace rg
