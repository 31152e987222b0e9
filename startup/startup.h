// The start-up sequence: resolve the paths, refuse to run without the password file, read and
// cross-check the stored password, then open the wizard window, whose load step calls the login
// gate VerifyLogin. Main receives the wizard window from its caller, so that start-up does not
// depend on the wizard at link level.
#pragma once

#include <functional>

namespace rg {

namespace platform {
class Form;
}

// Returns the wizard window, creating it on first use.
using WizardWindowProvider = std::function<platform::Form&()>;

// InitPaths, CheckPasswordFile, StoredPassword := LoadStoredPassword, then shows the wizard
// window modeless (its load step runs and may end the program). Returns; the program then lives
// in the window system's event loop.
void Main(const WizardWindowProvider& wizardWindow);

// Returns only when the password file exists; otherwise shows the message and ends the program.
void CheckPasswordFile();

// True when the wizard may run: no password is stored, or the login prompt accepted it.
bool VerifyLogin();

}  // namespace rg
