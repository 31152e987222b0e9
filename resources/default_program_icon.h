// The built-in default program icon, shown for a program whose own icon cannot be had: a
// generic program window (grey frame, blue title bar with three small buttons at its right
// end, white client area), drawn in the 16 colours of the standard VGA palette at 32 x 32 and
// 16 x 16, with a transparent surround.
#pragma once

#include "platform/base/image.h"

namespace rg {

const platform::Image& DefaultProgramIcon32();
const platform::Image& DefaultProgramIcon16();

}  // namespace rg
