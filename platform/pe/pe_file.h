// The headers and the resource directory of a PE image (PE32 and PE32+), read from a ByteSource
// without trusting it: every offset, size and count is checked against the file before use, and
// only the headers and the directory blocks asked for are read.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/base/byte_source.h"

namespace rg::platform {

// One entry of a resource directory. `offset` is relative to the start of the resource
// directory, as stored; `isDirectory` tells whether it leads to a directory or a data entry.
struct ResourceEntry {
    bool named = false;
    std::uint16_t id = 0;  // the number when not named
    bool isDirectory = false;
    std::uint32_t offset = 0;
};

// Where a resource's bytes start in the file, and the size its data entry claims.
struct ResourceData {
    std::uint64_t fileOffset = 0;
    std::uint32_t size = 0;
};

struct PeSection {
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

class PeFile {
  public:
    // Bounds on what a hostile header can make us read.
    static constexpr std::uint32_t kMaxSections = 1024;
    static constexpr std::uint32_t kMaxDirectoryEntries = 4096;

    // Reads the headers; nullopt when the source is no PE image or its headers are damaged.
    // The source must outlive the PeFile.
    static std::optional<PeFile> Parse(const ByteSource& source);

    bool IsPe32Plus() const { return pe32Plus_; }
    const std::vector<PeSection>& Sections() const { return sections_; }
    // False when the resource directory's size is 0 or it lies outside every section's data.
    bool HasResources() const { return resourceLength_ > 0; }
    // The file offset of the resource directory, to which directory offsets are relative.
    std::uint64_t ResourceStart() const { return resourceStart_; }

    // The entries of the directory at `offset`, named ones first as stored; at most
    // kMaxDirectoryEntries, and only those that lie inside the resource section.
    std::vector<ResourceEntry> ReadDirectory(std::uint32_t offset) const;
    std::optional<ResourceData> ReadDataEntry(std::uint32_t offset) const;
    // The file offset of a relative virtual address that lies in a section's file data.
    std::optional<std::uint64_t> FileOffsetOf(std::uint32_t rva) const;

    const ByteSource& Source() const { return *source_; }

  private:
    explicit PeFile(const ByteSource& source) : source_(&source) {}
    bool ReadSections(std::uint64_t tableOffset, std::uint16_t count);
    void LocateResources(std::uint32_t rva, std::uint32_t size);
    // Reads `length` bytes at `offset` inside the resource section.
    bool ReadResourceBytes(std::uint32_t offset, std::size_t length, std::string& out) const;

    const ByteSource* source_;
    bool pe32Plus_ = false;
    std::uint32_t sizeOfHeaders_ = 0;
    std::vector<PeSection> sections_;
    std::uint64_t resourceStart_ = 0;   // file offset of the resource directory
    std::uint64_t resourceLength_ = 0;  // bytes of the section from there, within the file
};

}  // namespace rg::platform
