// Twips of the window model in pixels of a window's resolution, and the fonts the controls
// are drawn with: the system's dialog font, at the model's point size.
#pragma once

#include "platform/ui/form.h"

#include <windows.h>

namespace rg::platform::win32ui {

// 96 dots per inch, at which 15 twips make one pixel.
constexpr int kBaseDpi = 96;

// Twips to pixels at `dpi`, rounded to the nearest pixel.
int TwipsToPixels(int twips, int dpi);

// A rectangle of the model (twips, relative to its container) in pixels at `dpi`.
RECT PixelRect(const Bounds& bounds, int dpi);

// The resolution of the window's monitor (96 when the system cannot tell).
int DpiOf(HWND window);

// The system's dialog font ("MS Shell Dlg") at the font's point size and weight, for `dpi`.
// The caller owns the font (DeleteObject).
HFONT CreateControlFont(const Font& font, int dpi);

}  // namespace rg::platform::win32ui
