// The handlers of the option pages: the alert options of page 3, and the password check and
// select-all-on-focus of page 4.
#include "platform/ui/message_box.h"
#include "services/app_title.h"
#include "startup/password_store.h"
#include "wizard/startup_main_form.h"

namespace rg {

// The choice is taken at the click, so it survives Back and is read only by the save step.
void StartupMainForm::optAlertAlltime_Click() {
    AlertChoice = 1;
}

void StartupMainForm::optAlertDoNot_Click() {
    AlertChoice = 0;
}

void StartupMainForm::txtPassword_GotFocus() {
    SelectAllText(Get("txtPassword"));
}

void StartupMainForm::txtConfirmPass_GotFocus() {
    SelectAllText(Get("txtConfirmPass"));
}

// Only agreement is required: no minimum length, and two empty boxes mean "no password".
// A password that agrees but that the password stores could not give back unchanged is
// refused too: saving it would lock the user out at the next start.
bool StartupMainForm::CheckPasswordPage() {
    const std::string& confirm = Get("txtConfirmPass").text();
    const std::string& password = Get("txtPassword").text();
    if (confirm != password) {
        platform::MessageBoxA(kPasswordNotMatchedText, kAppTitle,
                              platform::MB_OK | platform::MB_ICONHAND);
        return false;
    }
    if (!CanStorePassword(password)) {
        platform::MessageBoxA(kPasswordNotStorableText, kAppTitle,
                              platform::MB_OK | platform::MB_ICONHAND);
        return false;
    }
    return true;
}

}  // namespace rg
