// The controls of the wizard's page frames, as designed: name, kind, position within the page
// frame (twips), design caption and text identifier of every control on pages 1, 3, 4, 5, 6
// and 9. The captions are the fallbacks that stay when the language file has no text. Also the
// two permission pop-up menus of page 6's list.
#pragma once

#include "platform/ui/form.h"

namespace rg::wizard {

// Where every page frame sits in the wizard window (twips): right of the banner, full height.
inline constexpr platform::Bounds kPageArea{2560, 0, 5400, 4000};

// Adds the frame `fraPageN` and its controls to the form; returns the frame.
platform::Control& AddPage1(platform::Form& form);
platform::Control& AddPage3(platform::Form& form);
platform::Control& AddPage4(platform::Form& form);
platform::Control& AddPage5(platform::Form& form);
platform::Control& AddPage6(platform::Form& form);
platform::Control& AddPage9(platform::Form& form);

// Adds a pop-up menu `name` (never shown in a menu bar) with its items nameAllow "Allow",
// nameBlock "Block" and nameAsk "Ask"; returns the menu.
platform::Control& AddPermissionMenu(platform::Form& form, const char* name, const char* caption);

}  // namespace rg::wizard
