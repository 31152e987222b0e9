// ExtractIcon: the 16 x 16 icon of a program file drawn into the drawing surface pic16, from
// the shell's icon lookup (platform/shell_icon.h), or the built-in default program icon when the
// shell knows nothing of the file.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/base/image.h"

namespace rg {

inline constexpr std::string_view kExtractIconErrorSource =
    "ExtractIcon of Module mdlProgramControl";

// An empty (fully transparent) 16 x 16 surface: what pic16 holds when it is cleared.
platform::Image BlankIcon16();

// Draws the file's icon into pic16 (cleared first) and returns nonzero when it drew it; puts
// the default program icon there and returns -1 when the file has none or does not exist.
// Returns 0 after logging any failure under "ExtractIcon of Module mdlProgramControl"; pic16 is
// then blank, so that the image stored for such a row never shows another program's icon.
std::int32_t ExtractIcon(std::string_view path, platform::Image& pic16);

}  // namespace rg
