// The application title: the title of every message box and the wizard's default caption.
#pragma once

namespace rg {
inline constexpr const char* kAppTitle = "Ravelgard Startup Wizard";
}
