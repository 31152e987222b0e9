#include "platform/base/byte_source.h"

#include <cstring>

namespace rg::platform {

bool ByteSource::ReadString(std::uint64_t offset, std::size_t length, std::string& out) const {
    out.clear();
    if (!Contains(offset, length)) {
        return false;
    }
    out.resize(length);
    if (!ReadAt(offset, out.data(), length)) {
        out.clear();
        return false;
    }
    return true;
}

bool MemoryByteSource::ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const {
    if (!Contains(offset, length)) {
        return false;
    }
    if (length > 0) {
        std::memcpy(buffer, bytes_.data() + offset, length);
    }
    return true;
}

}  // namespace rg::platform
