// The finish step's save: the one place where the wizard's choices become files (the profile
// reset, the password stores, the alert choice and the program sections).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "programs/program_row.h"

namespace rg {

// What the wizard window hands to the save step: its state fields as they stand when Next is
// pressed on the finish page. The rows of the program list join this record with the list.
struct WizardSettings {
    std::string WizardPassword;                // empty: no password was set on the password page
    float AlertChoice = 1;                     // 1 alert all the time, 0 do not alert
    float ProgramChoice = 1;                   // 1 default programs, 2 ask later, 3 own list
    std::vector<ProgramRowSettings> Programs;  // the rows of the program list, in list order
};

// The source text under which an error of the save is logged.
inline constexpr std::string_view kSaveSettingsSource =
    "saveStartupWizardSettings of frmStartupMain";

// Resets the thirteen profile files, then writes the password (when one was given), the alert
// choice and the program sections (ProgramChoice 1: the default programs; 3: every row of
// Programs; otherwise none). The first error of those writes ends them with one line in the
// error log. Every profile write is on disk when it returns; a file that could not be written
// then is logged as an error of the save too. Handles its own errors and always returns: true
// when nothing had to be logged, false when some setting did not reach its file.
bool saveStartupWizardSettings(const WizardSettings& settings);

}  // namespace rg
