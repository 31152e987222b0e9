// Where the PE reader gets its bytes: a file read by offset (the system's file source, see
// platform/os/file_system.h: nothing mapped, nothing read that is not asked for) or a block of
// memory (tests and the fuzz target). Every read names its offset and length and fails as a
// whole when any byte of it lies outside the source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rg::platform {

class ByteSource {
  public:
    virtual ~ByteSource() = default;
    virtual std::uint64_t Size() const = 0;
    // Reads exactly `length` bytes at `offset`; false when the range leaves the source or the
    // read fails (the file may also have shrunk since it was opened).
    virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const = 0;

    // True when [offset, offset + length) lies inside the source; safe against overflow.
    bool Contains(std::uint64_t offset, std::uint64_t length) const {
        const std::uint64_t size = Size();
        return offset <= size && length <= size - offset;
    }
    // Reads the range into `out`; false (and `out` empty) when it cannot.
    bool ReadString(std::uint64_t offset, std::size_t length, std::string& out) const;
};

class MemoryByteSource final : public ByteSource {
  public:
    explicit MemoryByteSource(std::string_view bytes) : bytes_(bytes) {}
    std::uint64_t Size() const override { return bytes_.size(); }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const override;

  private:
    std::string_view bytes_;
};

}  // namespace rg::platform
