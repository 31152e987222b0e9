#include "programs/program_icons.h"

#include <optional>
#include <string>

#include "platform/os/shell_icon.h"
#include "resources/default_program_icon.h"
#include "services/error_log.h"

namespace rg {
namespace {

using platform::Image;
using platform::kSmallIconSize;

std::uint8_t Channel(std::uint32_t argb, int shift) {
    return static_cast<std::uint8_t>((argb >> shift) & 0xFFu);
}

// Source-over blending of one straight-alpha pixel onto another.
std::uint32_t Blend(std::uint32_t under, std::uint32_t over) {
    const unsigned a = Channel(over, 24);
    if (a == 255) {
        return over;
    }
    if (a == 0) {
        return under;
    }
    const unsigned b = Channel(under, 24);
    const unsigned outA = a + b * (255 - a) / 255;
    std::uint32_t out = static_cast<std::uint32_t>(outA) << 24;
    for (const int shift : {16, 8, 0}) {
        const unsigned mixed =
            (Channel(over, shift) * a + Channel(under, shift) * b * (255 - a) / 255) / outA;
        out |= static_cast<std::uint32_t>(mixed & 0xFFu) << shift;
    }
    return out;
}

// ImageList_Draw with ILD_TRANSPARENT at (0, 0): the icon's transparent parts let the surface
// show through. False (nothing drawn) for an image whose pixels do not match its size.
bool DrawIcon(Image& surface, const Image& icon) {
    const auto expected = static_cast<std::size_t>(icon.width > 0 ? icon.width : 0) *
                          static_cast<std::size_t>(icon.height > 0 ? icon.height : 0);
    if (icon.empty() || icon.argb.size() != expected) {
        return false;
    }
    for (int y = 0; y < surface.height && y < icon.height; ++y) {
        for (int x = 0; x < surface.width && x < icon.width; ++x) {
            std::uint32_t& target = surface.argb[platform::PixelIndex(x, y, surface.width)];
            target = Blend(target, icon.pixel(x, y));
        }
    }
    return true;
}

}  // namespace

Image BlankIcon16() {
    Image blank;
    blank.width = kSmallIconSize;
    blank.height = kSmallIconSize;
    blank.argb.assign(static_cast<std::size_t>(kSmallIconSize) * kSmallIconSize, 0u);
    return blank;
}

std::int32_t ExtractIcon(std::string_view path, Image& pic16) {
    std::int32_t result = 0;
    const bool done = RunTrapped(kExtractIconErrorSource, [&] {
        // The shell's answer: the file's small icon, or nothing when it cannot describe it.
        const std::optional<Image> icon = platform::LookUpSmallIcon(path);
        if (icon) {
            pic16 = BlankIcon16();
            result = DrawIcon(pic16, *icon) ? 1 : 0;
        } else {
            pic16 = DefaultProgramIcon16();
            result = -1;
        }
    });
    if (!done) {
        pic16 = BlankIcon16();
        return 0;
    }
    return result;
}

}  // namespace rg
