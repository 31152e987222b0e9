#include "startup/startup.h"

#include <exception>
#include <memory>

#include "platform/os/file_system.h"
#include "platform/ui/form.h"
#include "startup/fatal.h"
#include "startup/globals.h"
#include "startup/login_form.h"
#include "startup/password_store.h"

namespace rg {

void Main(const WizardWindowProvider& wizardWindow) {
    InitPaths();
    CheckPasswordFile();
    StoredPassword = LoadStoredPassword();
    wizardWindow().Show();
}

void CheckPasswordFile() {
    const std::string path = PasswordFilePath();
    if (!path.empty() && platform::PathFileExistsA(path)) {
        return;
    }
    FailStartup(kInstallationCorruptedText,
                path.empty() ? "the system directory is unknown, so is the password file"
                             : "the password file " + path + " is missing");
}

namespace {

// The prompt lives as long as the program, as its window may still refer to it after it has
// been unloaded. A prompt left unloaded by an earlier gate is replaced by a fresh one, so that
// it opens with an empty box; the program itself passes the gate once.
LoginForm& FreshLoginPrompt() {
    static std::unique_ptr<LoginForm> prompt;
    if (!prompt || !prompt->loaded()) {
        prompt = std::make_unique<LoginForm>();
    }
    return *prompt;
}

}  // namespace

// Errors inside the gate are ignored: the prompt's outcome is whatever LoginAccepted holds.
bool VerifyLogin() {
    if (StoredPassword.empty()) {
        return true;
    }
    LoginForm& frmLogin = FreshLoginPrompt();
    try {
        frmLogin.ShowModal();
    } catch (const std::exception&) {
        // ignored, as every error of this routine
    }
    // A modal loop that returned with the prompt still open (no window system) refuses.
    if (frmLogin.loaded()) {
        frmLogin.Unload();
    }
    return LoginAccepted;
}

}  // namespace rg
