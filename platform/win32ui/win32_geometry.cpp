#include "platform/win32ui/win32_geometry.h"

#include <cmath>

namespace rg::platform::win32ui {
namespace {

constexpr int kTwipsPerInch = 1440;
constexpr int kPointsPerInch = 72;

}  // namespace

int TwipsToPixels(int twips, int dpi) {
    return ::MulDiv(twips, dpi, kTwipsPerInch);
}

RECT PixelRect(const Bounds& bounds, int dpi) {
    const int left = TwipsToPixels(bounds.left, dpi);
    const int top = TwipsToPixels(bounds.top, dpi);
    return RECT{left, top, TwipsToPixels(bounds.left + bounds.width, dpi),
                TwipsToPixels(bounds.top + bounds.height, dpi)};
}

int DpiOf(HWND window) {
    // GetDpiForWindow exists from Windows 10 on; older systems have one resolution for all.
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow =
        reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void*>(
            ::GetProcAddress(::GetModuleHandleA("user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr && window != nullptr) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return static_cast<int>(dpi);
        }
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen != nullptr ? ::GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
    if (screen != nullptr) {
        ::ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kBaseDpi;
}

// The layout was drawn for the 8-point dialog font; a face named by the model that Windows
// does not have as a scalable font ("MS Sans Serif" is a bitmap font) is replaced by the
// system's dialog font, which Windows maps to the current dialog face.
HFONT CreateControlFont(const Font& font, int dpi) {
    const int height = -static_cast<int>(std::lround(font.pointSize * dpi / kPointsPerInch));
    return ::CreateFontA(height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                         DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                         CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg");
}

}  // namespace rg::platform::win32ui
