// The finish step's save: the one place where the wizard's choices become files (the profile
// reset, the password stores, the alert choice and the program sections).
#pragma once

#include <string>

namespace rg {

// What the wizard window hands to the save step: its state fields as they stand when Next is
// pressed on the finish page. The rows of the program list join this record with the list.
struct WizardSettings {
    std::string WizardPassword;  // empty: no password was set on the password page
    float AlertChoice = 1;       // 1 alert all the time, 0 do not alert
    float ProgramChoice = 1;     // 1 default programs, 2 ask later, 3 own list
};

// Writes everything; handles its own errors and always returns.
void saveStartupWizardSettings(const WizardSettings& settings);

}  // namespace rg
