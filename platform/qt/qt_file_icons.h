// The desktop's icon for a file's type (for files that carry no icon of their own), supplied to
// the shell-icon stand-in of platform/shell_icon.h through QFileIconProvider.
#pragma once

#include <QImage>
#include <optional>
#include <string>

#include "platform/base/image.h"

namespace rg::platform::qt {

// The image as the core holds pictures: 0xAARRGGBB with straight alpha, rows top to bottom.
platform::Image ImageFromQImage(const QImage& image);

// The 16 x 16 icon of the file's type, or nothing when the desktop has none. The path is in
// code page 1252, as the core holds it.
std::optional<platform::Image> FileTypeIcon(const std::string& cp1252Path);

void InstallQtFileTypeIconProvider();

}  // namespace rg::platform::qt
