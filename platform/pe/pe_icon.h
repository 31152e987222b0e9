// The small icon of a PE image as the Windows shell shows it: the first icon group (see
// pe_resources.h), in it the 16 x 16 image (of the greatest colour depth when there are
// several) or else the one closest in size (the earlier one on a tie), decoded and scaled.
#pragma once

#include <optional>

#include "platform/base/byte_source.h"
#include "platform/base/image.h"

namespace rg::platform {

// nullopt when the source is no PE image or has no icon that can be decoded.
std::optional<Image> ReadPeIcon(const ByteSource& source, int size = 16);

}  // namespace rg::platform
