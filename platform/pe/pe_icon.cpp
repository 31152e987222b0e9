#include "platform/pe/pe_icon.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/pe/pe_bytes.h"
#include "platform/pe/pe_file.h"
#include "platform/pe/pe_icon_decode.h"
#include "platform/pe/pe_resources.h"

namespace rg::platform {
namespace {

// An icon group (GRPICONDIR): reserved, type, count, then entries (GRPICONDIRENTRY) of width,
// height (0 meaning 256), colour count, reserved, planes, bit count, bytes in resource, id.
constexpr std::size_t kGroupHeaderBytes = 6;
constexpr std::size_t kGroupCount = 4;
constexpr std::size_t kGroupEntryBytes = 14;
constexpr std::size_t kEntryWidth = 0;
constexpr std::size_t kEntryHeight = 1;
constexpr std::size_t kEntryBitCount = 6;
constexpr std::size_t kEntryId = 12;
constexpr int kSizeOfZero = 256;
constexpr std::size_t kMaxGroupBytes = kGroupHeaderBytes + kGroupEntryBytes * 0xFFFF;
// A 256 x 256 32-bit BMP is about 270 kB; nothing a real icon needs comes near this.
constexpr std::size_t kMaxIconBytes = 4 << 20;
// How many images of a group are tried when the preferred ones cannot be decoded.
constexpr std::size_t kMaxImagesTried = 8;

struct GroupEntry {
    int width = 0;
    int height = 0;
    int bitCount = 0;
    std::uint16_t id = 0;
    std::size_t position = 0;
};

std::vector<GroupEntry> ReadGroup(std::string_view group) {
    const LeBytes bytes(group);
    std::uint16_t count = 0;
    bytes.U16(kGroupCount, count);
    std::vector<GroupEntry> entries;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t at = kGroupHeaderBytes + i * kGroupEntryBytes;
        if (!bytes.Has(at, kGroupEntryBytes)) {
            break;  // a group cut short keeps the entries it has
        }
        GroupEntry entry;
        const auto dimension = [&](std::size_t field) {
            const std::uint8_t stored = bytes.At(at + field);
            return stored == 0 ? kSizeOfZero : stored;
        };
        entry.width = dimension(kEntryWidth);
        entry.height = dimension(kEntryHeight);
        std::uint16_t bitCount = 0;
        bytes.U16(at + kEntryBitCount, bitCount);
        entry.bitCount = bitCount;
        bytes.U16(at + kEntryId, entry.id);
        entry.position = i;
        entries.push_back(entry);
    }
    return entries;
}

// Exact size first (deepest colours first), then by closeness; earlier ones win ties.
void SortByPreference(std::vector<GroupEntry>& entries, int size) {
    const auto distance = [size](const GroupEntry& e) {
        return std::abs(e.width - size) + std::abs(e.height - size);
    };
    std::stable_sort(entries.begin(), entries.end(), [&](const GroupEntry& a, const GroupEntry& b) {
        const int da = distance(a);
        const int db = distance(b);
        if (da != db) {
            return da < db;
        }
        return da == 0 && a.bitCount > b.bitCount;
    });
}

}  // namespace

std::optional<Image> ReadPeIcon(const ByteSource& source, int size) {
    const auto pe = PeFile::Parse(source);
    if (!pe) {
        return std::nullopt;
    }
    const auto group = ReadFirstIconGroup(*pe, kMaxGroupBytes);
    if (!group) {
        return std::nullopt;
    }
    std::vector<GroupEntry> entries = ReadGroup(*group);
    SortByPreference(entries, size);
    const std::size_t tries = std::min(entries.size(), kMaxImagesTried);
    for (std::size_t i = 0; i < tries; ++i) {
        const auto bytes = ReadResource(*pe, kResourceIcon, entries[i].id, kMaxIconBytes);
        if (!bytes) {
            continue;
        }
        auto image = DecodeIconImage(*bytes);
        if (!image) {
            continue;
        }
        if (image->width == size && image->height == size) {
            return image;
        }
        return ScaleImage(*image, size, size);
    }
    return std::nullopt;
}

}  // namespace rg::platform
