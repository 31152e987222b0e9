// The Windows backend of the small-icon lookup: the shell's system image list (SHGetFileInfoA)
// and ImageList_Draw. The icon is drawn twice, over black and over white, which gives each
// pixel's colour and its transparency whatever kind of icon the shell holds.
#include "platform/os/shell_icon.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/os/file_system.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

namespace rg::platform {
namespace {

// A 16 x 16 drawing surface of 32-bit pixels, filled with one colour.
class Surface {
  public:
    explicit Surface(std::uint32_t fill) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = kSmallIconSize;
        info.bmiHeader.biHeight = -kSmallIconSize;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = ::CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        pixels_ = static_cast<std::uint32_t*>(bits);
        if (dc_ != nullptr && bitmap_ != nullptr) {
            old_ = ::SelectObject(dc_, bitmap_);
            std::fill(pixels_, pixels_ + kSmallIconSize * kSmallIconSize, fill);
        }
    }
    ~Surface() {
        if (old_ != nullptr) {
            ::SelectObject(dc_, old_);
        }
        if (bitmap_ != nullptr) {
            ::DeleteObject(bitmap_);
        }
        if (dc_ != nullptr) {
            ::DeleteDC(dc_);
        }
    }
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    bool Draw(HIMAGELIST list, int index) {
        if (old_ == nullptr || !::ImageList_Draw(list, index, dc_, 0, 0, ILD_TRANSPARENT)) {
            return false;
        }
        ::GdiFlush();
        return true;
    }
    std::uint32_t Pixel(int i) const { return pixels_[i]; }

  private:
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
};

int Channel(std::uint32_t pixel, int shift) {
    return static_cast<int>((pixel >> shift) & 0xFF);
}

// Over black a pixel shows alpha * colour, over white alpha * colour + (1 - alpha) * 255.
std::uint32_t Unblend(std::uint32_t overBlack, std::uint32_t overWhite) {
    int difference = 0;
    for (const int shift : {0, 8, 16}) {
        difference += Channel(overWhite, shift) - Channel(overBlack, shift);
    }
    const int alpha = std::clamp(255 - difference / 3, 0, 255);
    if (alpha == 0) {
        return 0;
    }
    std::uint32_t argb = static_cast<std::uint32_t>(alpha) << 24;
    for (const int shift : {0, 8, 16}) {
        const int colour = std::min(255, Channel(overBlack, shift) * 255 / alpha);
        argb |= static_cast<std::uint32_t>(colour) << shift;
    }
    return argb;
}

}  // namespace

void SetFileTypeIconProvider(FileTypeIconProvider) {
    // The Windows shell knows the icon of every file type itself.
}

std::optional<Image> LookUpSmallIcon(std::string_view path) {
    SHFILEINFOA info{};
    constexpr UINT kFlags = SHGFI_SYSICONINDEX | SHGFI_EXETYPE | SHGFI_TYPENAME |
                            SHGFI_DISPLAYNAME | SHGFI_SHELLICONSIZE | SHGFI_SMALLICON;
    const auto list = reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA(NativePath(path).c_str(), 0, &info, sizeof info, kFlags));
    if (list == nullptr) {
        return std::nullopt;  // the shell cannot describe the file
    }
    Surface black(0xFF000000u);
    Surface white(0xFFFFFFFFu);
    if (!black.Draw(list, info.iIcon) || !white.Draw(list, info.iIcon)) {
        return std::nullopt;
    }
    Image image;
    image.width = kSmallIconSize;
    image.height = kSmallIconSize;
    image.argb.resize(kSmallIconSize * kSmallIconSize);
    for (int i = 0; i < kSmallIconSize * kSmallIconSize; ++i) {
        image.argb[static_cast<std::size_t>(i)] = Unblend(black.Pixel(i), white.Pixel(i));
    }
    return image;
}

}  // namespace rg::platform
