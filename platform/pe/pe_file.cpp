#include "platform/pe/pe_file.h"

#include <algorithm>
#include <string>

#include "platform/pe/pe_bytes.h"

namespace rg::platform {
namespace {

// The DOS header (IMAGE_DOS_HEADER): "MZ", and where the NT headers begin.
constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kDosNtHeadersOffset = 0x3C;  // e_lfanew

// The NT headers: the signature, the file header (IMAGE_FILE_HEADER), the optional header.
constexpr std::uint32_t kPeSignature = 0x00004550;  // "PE\0\0"
constexpr std::size_t kPeSignatureSize = 4;
constexpr std::size_t kFileHeaderSize = 20;
constexpr std::size_t kFileHeaderSectionCount = 2;         // NumberOfSections
constexpr std::size_t kFileHeaderOptionalHeaderSize = 16;  // SizeOfOptionalHeader

// The optional header (IMAGE_OPTIONAL_HEADER32 / 64).
constexpr std::uint16_t kMagicPe32 = 0x10B;
constexpr std::uint16_t kMagicPe32Plus = 0x20B;
constexpr std::size_t kOptionalSizeOfHeaders = 60;  // the same in both layouts
constexpr std::size_t kDataDirectorySize = 8;       // VirtualAddress, Size
constexpr std::uint32_t kResourceDirectoryIndex = 2;

// The section table (IMAGE_SECTION_HEADER).
constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kSectionVirtualSize = 8;
constexpr std::size_t kSectionVirtualAddress = 12;
constexpr std::size_t kSectionRawSize = 16;    // SizeOfRawData
constexpr std::size_t kSectionRawOffset = 20;  // PointerToRawData

// The resource directory (IMAGE_RESOURCE_DIRECTORY), its entries and data entries.
constexpr std::size_t kResourceDirectorySize = 16;
constexpr std::size_t kResourceNamedCount = 12;  // NumberOfNamedEntries
constexpr std::size_t kResourceIdCount = 14;     // NumberOfIdEntries
constexpr std::size_t kResourceEntrySize = 8;    // Name, OffsetToData
constexpr std::size_t kResourceDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000u;  // a named entry; an entry naming a directory
constexpr std::uint32_t kIdMask = 0xFFFF;

// Where NumberOfRvaAndSizes and the data directories sit; they differ between PE32 and PE32+.
struct OptionalHeaderLayout {
    std::size_t rvaCountOffset;
    std::size_t directoriesOffset;
};

std::optional<OptionalHeaderLayout> LayoutFor(std::uint16_t magic) {
    if (magic == kMagicPe32) {
        return OptionalHeaderLayout{92, 96};
    }
    if (magic == kMagicPe32Plus) {
        return OptionalHeaderLayout{108, 112};
    }
    return std::nullopt;
}

}  // namespace

std::optional<PeFile> PeFile::Parse(const ByteSource& source) {
    std::string dos;
    if (!source.ReadString(0, kDosHeaderSize, dos) || dos[0] != 'M' || dos[1] != 'Z') {
        return std::nullopt;
    }
    std::uint32_t ntOffset = 0;
    LeBytes(dos).U32(kDosNtHeadersOffset, ntOffset);

    std::string head;
    if (!source.ReadString(ntOffset, kPeSignatureSize + kFileHeaderSize, head)) {
        return std::nullopt;
    }
    const LeBytes headBytes(head);
    std::uint32_t signature = 0;
    std::uint16_t sectionCount = 0;
    std::uint16_t optionalSize = 0;
    headBytes.U32(0, signature);
    headBytes.U16(kPeSignatureSize + kFileHeaderSectionCount, sectionCount);
    headBytes.U16(kPeSignatureSize + kFileHeaderOptionalHeaderSize, optionalSize);
    if (signature != kPeSignature) {
        return std::nullopt;
    }

    const std::uint64_t optionalOffset =
        std::uint64_t{ntOffset} + kPeSignatureSize + kFileHeaderSize;
    std::string optional;
    if (!source.ReadString(optionalOffset, optionalSize, optional)) {
        return std::nullopt;
    }
    const LeBytes opt(optional);
    std::uint16_t magic = 0;
    opt.U16(0, magic);
    const auto layout = LayoutFor(magic);
    if (!layout) {
        return std::nullopt;
    }

    PeFile pe(source);
    pe.pe32Plus_ = magic == kMagicPe32Plus;
    opt.U32(kOptionalSizeOfHeaders, pe.sizeOfHeaders_);
    if (!pe.ReadSections(optionalOffset + optionalSize, sectionCount)) {
        return std::nullopt;
    }

    // A header too short for the resource entry simply means: no resources.
    std::uint32_t rvaCount = 0;
    std::uint32_t resourceRva = 0;
    std::uint32_t resourceSize = 0;
    const std::size_t entry =
        layout->directoriesOffset + kDataDirectorySize * kResourceDirectoryIndex;
    if (opt.U32(layout->rvaCountOffset, rvaCount) && rvaCount > kResourceDirectoryIndex &&
        opt.U32(entry, resourceRva) && opt.U32(entry + sizeof(std::uint32_t), resourceSize)) {
        pe.LocateResources(resourceRva, resourceSize);
    }
    return pe;
}

bool PeFile::ReadSections(std::uint64_t tableOffset, std::uint16_t count) {
    const std::uint32_t readable = std::min<std::uint32_t>(count, kMaxSections);
    std::string table;
    if (!source_->ReadString(tableOffset, readable * kSectionHeaderSize, table)) {
        return false;
    }
    const LeBytes bytes(table);
    sections_.reserve(readable);
    for (std::uint32_t i = 0; i < readable; ++i) {
        const std::size_t at = i * kSectionHeaderSize;
        PeSection section;
        bytes.U32(at + kSectionVirtualSize, section.virtualSize);
        bytes.U32(at + kSectionVirtualAddress, section.virtualAddress);
        bytes.U32(at + kSectionRawSize, section.rawSize);
        bytes.U32(at + kSectionRawOffset, section.rawOffset);
        sections_.push_back(section);
    }
    return true;
}

std::optional<std::uint64_t> PeFile::FileOffsetOf(std::uint32_t rva) const {
    for (const PeSection& section : sections_) {
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
            const std::uint64_t offset =
                std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
            if (offset < source_->Size()) {
                return offset;
            }
            return std::nullopt;
        }
    }
    // An image without sections for this address may keep it in its headers.
    if (rva < sizeOfHeaders_ && rva < source_->Size()) {
        return rva;
    }
    return std::nullopt;
}

void PeFile::LocateResources(std::uint32_t rva, std::uint32_t size) {
    if (size == 0) {
        return;  // a size of 0 means the image has no resources
    }
    for (const PeSection& section : sections_) {
        if (rva >= section.virtualAddress && rva - section.virtualAddress < section.rawSize) {
            const std::uint64_t start =
                std::uint64_t{section.rawOffset} + (rva - section.virtualAddress);
            const std::uint64_t sectionEnd = std::uint64_t{section.rawOffset} + section.rawSize;
            const std::uint64_t end = std::min(sectionEnd, source_->Size());
            if (start < end) {
                resourceStart_ = start;
                resourceLength_ = end - start;
            }
            return;
        }
    }
}

bool PeFile::ReadResourceBytes(std::uint32_t offset, std::size_t length, std::string& out) const {
    if (offset > resourceLength_ || length > resourceLength_ - offset) {
        out.clear();
        return false;
    }
    return source_->ReadString(resourceStart_ + offset, length, out);
}

std::vector<ResourceEntry> PeFile::ReadDirectory(std::uint32_t offset) const {
    std::vector<ResourceEntry> entries;
    std::string header;
    if (!HasResources() || !ReadResourceBytes(offset, kResourceDirectorySize, header)) {
        return entries;
    }
    std::uint16_t namedCount = 0;
    std::uint16_t idCount = 0;
    LeBytes(header).U16(kResourceNamedCount, namedCount);
    LeBytes(header).U16(kResourceIdCount, idCount);

    // Only the entries that exist inside the section are read, whatever the counts claim.
    const std::uint64_t first = std::uint64_t{offset} + kResourceDirectorySize;
    const std::uint64_t room =
        resourceLength_ > first ? (resourceLength_ - first) / kResourceEntrySize : 0;
    const std::uint64_t count =
        std::min<std::uint64_t>({std::uint64_t{namedCount} + idCount, kMaxDirectoryEntries, room});
    std::string table;
    if (count == 0 ||
        !ReadResourceBytes(static_cast<std::uint32_t>(first), count * kResourceEntrySize, table)) {
        return entries;
    }
    const LeBytes bytes(table);
    entries.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t name = 0;
        std::uint32_t target = 0;
        bytes.U32(i * kResourceEntrySize, name);
        bytes.U32(i * kResourceEntrySize + sizeof(std::uint32_t), target);
        ResourceEntry item;
        item.named = (name & kHighBit) != 0;
        item.id = item.named ? 0 : static_cast<std::uint16_t>(name & kIdMask);
        item.isDirectory = (target & kHighBit) != 0;
        item.offset = target & ~kHighBit;
        entries.push_back(item);
    }
    return entries;
}

std::optional<ResourceData> PeFile::ReadDataEntry(std::uint32_t offset) const {
    std::string entry;
    if (!ReadResourceBytes(offset, kResourceDataEntrySize, entry)) {
        return std::nullopt;
    }
    std::uint32_t rva = 0;
    ResourceData data;
    LeBytes(entry).U32(0, rva);                            // OffsetToData
    LeBytes(entry).U32(sizeof(std::uint32_t), data.size);  // Size
    const auto fileOffset = FileOffsetOf(rva);
    if (!fileOffset) {
        return std::nullopt;
    }
    data.fileOffset = *fileOffset;
    return data;
}

}  // namespace rg::platform
