// The shell's small-icon lookup that ExtractIcon stands on: for a PE file its own icon at
// 16 x 16 (pe_icon.h); for any other existing file or folder the desktop's icon for its type,
// which the Qt front end supplies through a provider hook; for a path that does not exist, no
// icon, so that the caller falls back to the built-in default program icon.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/image.h"

namespace rg::platform {

constexpr int kSmallIconSize = 16;

using FileTypeIconProvider = std::function<std::optional<Image>(const std::string& path)>;

// Installs (or, with an empty function, removes) the provider of file-type icons. Without one,
// files that carry no icon of their own get none (nullopt), and the caller's default icon
// stands in for them.
void SetFileTypeIconProvider(FileTypeIconProvider provider);

// The 16 x 16 icon for `path`, or nullopt when there is none. A provider's answer of another
// size is scaled to 16 x 16.
std::optional<Image> LookUpSmallIcon(std::string_view path);

}  // namespace rg::platform
