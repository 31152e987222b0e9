// Little-endian reads from a byte block with the bounds checked at every read: the PE, icon and
// version-resource parsers read untrusted bytes only through these.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace rg::platform {

class LeBytes {
  public:
    explicit LeBytes(std::string_view bytes) : bytes_(bytes) {}

    std::size_t size() const { return bytes_.size(); }
    std::string_view view() const { return bytes_; }
    bool Has(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    // Each read answers false and leaves `out` as 0 when the bytes are not all there.
    bool U8(std::size_t offset, std::uint8_t& out) const { return Read(offset, 1, out); }
    bool U16(std::size_t offset, std::uint16_t& out) const { return Read(offset, 2, out); }
    bool U32(std::size_t offset, std::uint32_t& out) const { return Read(offset, 4, out); }
    bool I32(std::size_t offset, std::int32_t& out) const {
        std::uint32_t raw = 0;
        const bool ok = U32(offset, raw);
        out = static_cast<std::int32_t>(raw);
        return ok;
    }
    // Unchecked byte access for loops whose range was checked with Has() beforehand.
    std::uint8_t At(std::size_t offset) const { return static_cast<std::uint8_t>(bytes_[offset]); }

  private:
    template <typename T>
    bool Read(std::size_t offset, std::size_t length, T& out) const {
        out = 0;
        if (!Has(offset, length)) {
            return false;
        }
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < length; ++i) {
            value |= static_cast<std::uint64_t>(At(offset + i)) << (8 * i);
        }
        out = static_cast<T>(value);
        return true;
    }

    std::string_view bytes_;
};

}  // namespace rg::platform
