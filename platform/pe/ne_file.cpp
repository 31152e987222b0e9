#include "platform/pe/ne_file.h"

#include <algorithm>
#include <cstdint>

#include "platform/pe/pe_bytes.h"

namespace rg::platform {
namespace {

constexpr std::size_t kDosHeaderSize = 64;
constexpr std::size_t kDosNewHeaderOffset = 0x3C;  // e_lfanew
constexpr std::size_t kNeHeaderSize = 64;          // IMAGE_OS2_HEADER
constexpr std::size_t kNeResourceTable = 0x24;     // ne_rsrctab, from the NE header
constexpr std::size_t kNeResidentNames = 0x26;     // ne_restab, which ends the resource table
constexpr std::size_t kTypeInfoSize = 8;           // type id, count, reserved
constexpr std::size_t kNameInfoSize = 12;          // offset, length, flags, id, handle, usage
constexpr std::uint16_t kIntegerId = 0x8000;       // an id that is a number, not a name
constexpr std::uint16_t kVersionType = 16 | kIntegerId;
constexpr std::uint16_t kVersionName = 1 | kIntegerId;
constexpr std::uint16_t kLargestShift = 16;

}  // namespace

std::optional<std::string> ReadNeVersionResource(const ByteSource& source, std::size_t maxBytes) {
    std::string dos;
    if (!source.ReadString(0, kDosHeaderSize, dos) || dos[0] != 'M' || dos[1] != 'Z') {
        return std::nullopt;
    }
    std::uint32_t neOffset = 0;
    LeBytes(dos).U32(kDosNewHeaderOffset, neOffset);
    std::string header;
    if (!source.ReadString(neOffset, kNeHeaderSize, header) || header[0] != 'N' ||
        header[1] != 'E') {
        return std::nullopt;
    }
    std::uint16_t tableStart = 0;
    std::uint16_t tableEnd = 0;
    LeBytes(header).U16(kNeResourceTable, tableStart);
    LeBytes(header).U16(kNeResidentNames, tableEnd);
    std::string table;
    if (tableEnd <= tableStart ||
        !source.ReadString(std::uint64_t{neOffset} + tableStart, tableEnd - tableStart, table)) {
        return std::nullopt;  // no resources
    }
    const LeBytes entries(table);
    std::uint16_t shift = 0;
    entries.U16(0, shift);
    if (shift > kLargestShift) {
        return std::nullopt;
    }
    // The types follow the shift, each with its names; a type id of 0 ends the table.
    for (std::size_t at = 2;;) {
        std::uint16_t type = 0;
        std::uint16_t count = 0;
        if (!entries.U16(at, type) || type == 0 || !entries.U16(at + 2, count)) {
            return std::nullopt;
        }
        const std::size_t names = at + kTypeInfoSize;
        if (type == kVersionType) {
            for (std::size_t i = 0; i < count; ++i) {
                const std::size_t name = names + i * kNameInfoSize;
                std::uint16_t offset = 0;
                std::uint16_t length = 0;
                std::uint16_t id = 0;
                if (!entries.U16(name, offset) || !entries.U16(name + 2, length) ||
                    !entries.U16(name + 6, id)) {
                    return std::nullopt;
                }
                if (id != kVersionName) {
                    continue;
                }
                const std::uint64_t start = std::uint64_t{offset} << shift;
                if (start >= source.Size()) {
                    return std::nullopt;
                }
                const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(
                    {std::uint64_t{length} << shift, maxBytes, source.Size() - start}));
                std::string data;
                if (!source.ReadString(start, size, data)) {
                    return std::nullopt;
                }
                return data;
            }
            return std::nullopt;
        }
        at = names + std::size_t{count} * kNameInfoSize;
    }
}

}  // namespace rg::platform
