#include "platform/os/shell_icon.h"
#include "platform/os/file_system.h"

#include <utility>

#include "platform/pe/pe_icon.h"
#include "platform/pe/pe_icon_decode.h"

namespace rg::platform {
namespace {

FileTypeIconProvider& Provider() {
    static FileTypeIconProvider provider;
    return provider;
}

std::optional<Image> FromProvider(const std::string& path) {
    if (!Provider()) {
        return std::nullopt;
    }
    auto image = Provider()(path);
    if (!image || image->empty() ||
        image->argb.size() !=
            static_cast<std::size_t>(image->width) * static_cast<std::size_t>(image->height)) {
        return std::nullopt;
    }
    if (image->width != kSmallIconSize || image->height != kSmallIconSize) {
        return ScaleImage(*image, kSmallIconSize, kSmallIconSize);
    }
    return image;
}

}  // namespace

void SetFileTypeIconProvider(FileTypeIconProvider provider) {
    Provider() = std::move(provider);
}

std::optional<Image> LookUpSmallIcon(std::string_view path) {
    const std::string name(path);
    FileStamp stamp;
    if (name.empty() || GetFileStamp(name, stamp) != ERROR_SUCCESS || !stamp.exists) {
        return std::nullopt;  // the shell cannot describe a path that does not exist
    }
    if (const auto source = OpenFileByteSource(name)) {
        if (auto own = ReadPeIcon(*source, kSmallIconSize)) {
            return own;
        }
    }
    return FromProvider(name);
}

}  // namespace rg::platform
