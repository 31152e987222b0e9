// How the Windows calls that fill a caller's character buffer answer: the text and a NUL when
// both fit, returning the text's length; otherwise the size needed, NUL included.
#pragma once

#include <cstring>
#include <string_view>

#include "platform/base/win_types.h"

namespace rg::platform {

inline UINT CopyToApiBuffer(std::string_view text, char* buffer, UINT size) {
    const auto length = static_cast<UINT>(text.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[length] = '\0';
    return length;
}

}  // namespace rg::platform
