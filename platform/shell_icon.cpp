#include "platform/shell_icon.h"
#include "platform/file_system.h"

#include <sys/stat.h>

#include <utility>

#include "platform/pe_icon.h"
#include "platform/pe_icon_decode.h"
#include "platform/pe_source.h"

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
    struct stat info {};
    if (name.empty() || ::stat(NativePath(name).c_str(), &info) != 0) {
        return std::nullopt;  // the shell cannot describe a path that does not exist
    }
    if (S_ISREG(info.st_mode)) {
        if (const auto source = FileByteSource::Open(name)) {
            if (auto own = ReadPeIcon(*source, kSmallIconSize)) {
                return own;
            }
        }
    }
    return FromProvider(name);
}

}  // namespace rg::platform
