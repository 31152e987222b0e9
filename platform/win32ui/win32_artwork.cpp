#include "platform/win32ui/win32_artwork.h"

namespace rg::platform::win32ui {
namespace {

constexpr int kFirstIcon = 100;

void DrawBanner(HDC dc, const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HINSTANCE module = ::GetModuleHandleA(nullptr);
    auto bitmap = static_cast<HBITMAP>(
        ::LoadImageA(module, MAKEINTRESOURCEA(kBannerBitmap2x), IMAGE_BITMAP, 0, 0, 0));
    BITMAP info{};
    if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0 ||
        info.bmWidth < width) {
        // The small bitmap serves where the large one is missing or not larger than needed.
        if (bitmap != nullptr) {
            ::DeleteObject(bitmap);
        }
        bitmap = static_cast<HBITMAP>(
            ::LoadImageA(module, MAKEINTRESOURCEA(kBannerBitmap1x), IMAGE_BITMAP, 0, 0, 0));
        if (bitmap == nullptr || ::GetObjectA(bitmap, sizeof info, &info) == 0) {
            return;
        }
    }
    HDC source = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(source, bitmap);
    ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    ::StretchBlt(dc, rect.left, rect.top, width, height, source, 0, 0, info.bmWidth, info.bmHeight,
                 SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(bitmap);
}

}  // namespace

HICON LoadArtworkIcon(int pictureId, int size) {
    return static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(pictureId),
                                           IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

void DrawArtwork(HDC dc, int pictureId, const RECT& rect) {
    if (pictureId <= 0) {
        return;
    }
    if (pictureId < kFirstIcon) {
        DrawBanner(dc, rect);
        return;
    }
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (HICON icon = LoadArtworkIcon(pictureId, width)) {
        ::DrawIconEx(dc, rect.left, rect.top, icon, width, height, 0, nullptr, DI_NORMAL);
        ::DestroyIcon(icon);
    }
}

}  // namespace rg::platform::win32ui
