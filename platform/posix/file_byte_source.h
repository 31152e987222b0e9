// A regular file read by offset with pread: nothing mapped, nothing read that is not asked for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/base/byte_source.h"

namespace rg::platform {

// Keeps the file's first 4 KiB, read at once on opening, where every PE reader lookup begins
// (headers, section table, usually the top of the resource directory): one read instead of
// several small ones.
class FileByteSource final : public ByteSource {
  public:
    static constexpr std::size_t kHeadBytes = 4096;

    // Opens a regular file (a UTF-8 path) for reading; nullptr for a missing file, a folder, a
    // device or a file that cannot be opened.
    static std::unique_ptr<FileByteSource> Open(const std::string& nativePath);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::uint64_t Size() const override { return size_; }
    bool ReadAt(std::uint64_t offset, void* buffer, std::size_t length) const override;

  private:
    FileByteSource(int fd, std::uint64_t size) : fd_(fd), size_(size) {}
    bool ReadFromFile(std::uint64_t offset, void* buffer, std::size_t length) const;
    int fd_;
    std::uint64_t size_;
    std::string head_;
};

}  // namespace rg::platform
