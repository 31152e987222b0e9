#include "persistence/save_settings.h"

namespace rg {

// The hook the save step fills: until the profile reset and the writers are joined here, the
// finish step saves nothing.
void saveStartupWizardSettings(const WizardSettings& /*settings*/) {}

}  // namespace rg
