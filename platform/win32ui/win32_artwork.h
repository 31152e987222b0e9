// The program's pictures from its resources (rendered from the artwork's SVG sources at build
// time): the banner as bitmaps at one and two times the layout's size, the icons 101 to 106 and
// the small program icons 201 to 203 as multi-size icons. Every picture is drawn sharp at the
// window's resolution: icons at the exact size from the best image of the icon, the banner from
// the bitmap closest above the size.
#pragma once

#include <windows.h>

namespace rg::platform::win32ui {

// The resource ids of the banner bitmaps (picture 1).
constexpr int kBannerBitmap1x = 1;
constexpr int kBannerBitmap2x = 2;

// Draws picture `pictureId` (see platform/ui/form.h) stretched over `rect`; nothing for 0 or
// an id the resources lack.
void DrawArtwork(HDC dc, int pictureId, const RECT& rect);

// An icon of the resources at `size` x `size` pixels, or nullptr; the caller destroys it.
HICON LoadArtworkIcon(int pictureId, int size);

}  // namespace rg::platform::win32ui
