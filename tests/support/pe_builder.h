// Builders for the reader's tests: PE images with resources, VS_VERSIONINFO blocks, icon groups
// and icon images (PNG and BMP), for the cases no resource compiler writes; and the paths of
// the PE fixtures built from tests/fixtures/pe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace rg::test {

std::string FixturePath(const std::string& name);  // the PE built from fixtures/pe/NAME.rc

// Little-endian writes at a byte offset; UTF-16 LE text.
void PutU16(std::string& bytes, std::size_t at, std::uint16_t value);
void PutU32(std::string& bytes, std::size_t at, std::uint32_t value);
// A copy of `bytes` with `value` written at `at` in 4 (or 2) bytes.
std::string Patched(std::string bytes, std::size_t at, std::uint32_t value, int size = 4);
std::string Utf16Bytes(std::u16string_view text, bool withNul = true);

// One resource of a PE image; a `name` below 0 stands for a string name.
struct PeResource {
    std::uint16_t type;
    int name;
    std::uint16_t language;
    std::string data;
};
// A PE32+ (or PE32) image whose one section holds the resources, each directory sorted as
// resource compilers sort them (string names first). Every directory has 16 bytes of header and
// 8 per entry; the directories come in the order they are reached from the root, each data
// entry (16 bytes) right after its language directory, then the data. The resource directory
// starts at file offset kBuiltResources (RVA kBuiltResourceRva), after 0x200 bytes of headers.
std::string BuildPe(const std::vector<PeResource>& resources, bool pe32Plus = true);
constexpr std::size_t kBuiltNtHeaders = 0x40;
constexpr std::size_t kBuiltOptionalHeader = kBuiltNtHeaders + 24;
constexpr std::size_t kBuiltResources = 0x200;
constexpr std::uint32_t kBuiltResourceRva = 0x1000;

// One VS_VERSIONINFO block: key, type, value (raw bytes as stored) and children; the lengths
// are computed unless overridden. Bytes(true) writes the old 16-bit layout that the ANSI calls
// read too: no wType, wValueLength in bytes, the key in single-byte characters.
struct VersionBlock {
    VersionBlock(std::u16string k, std::uint16_t t, std::string v, std::vector<VersionBlock> c = {})
        : key(std::move(k)), type(t), value(std::move(v)), children(std::move(c)) {}
    std::u16string key;
    std::uint16_t type;
    std::string value;
    std::vector<VersionBlock> children;
    int valueLengthOverride = -1;
    int lengthOverride = -1;
    std::string Bytes(bool singleByte = false) const;
};
VersionBlock TextEntry(std::u16string key, std::u16string_view text);
// A resource with one string table (040904B0) and a Translation of 0409/04B0.
VersionBlock SimpleVersion(const std::vector<VersionBlock>& entries);
// A resource for Bytes(true) with one table of `entries` (key, text) and a Translation of
// 0409/04E4.
VersionBlock SimpleAnsiVersion(const std::vector<std::pair<std::u16string, std::string>>& entries);

// A 16-bit NE program whose resource table holds one resource, the version resource (type 16,
// name 1), with an alignment shift of 4.
std::string BuildNe(std::string_view versionResource);

// Queries a resource held in memory as the property reader does: "<none>" when the query
// fails, else the value up to its first NUL.
std::string QueryText(std::string_view resource, const std::string& query);

// A PNG: signature, IHDR, the `chunks` given, the scanlines (filter bytes included) compressed
// into one IDAT, IEND.
std::string PngChunk(std::string_view type, std::string_view data);
std::string Png(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                std::string_view scanlines, std::string_view chunks = "");

// A BMP icon image: the header of `headerSize` bytes (BI_BITFIELDS masks after a 40-byte one),
// the palette (0xXXRRGGBB, the top byte in the reserved one), the colour rows bottom-up, then
// the AND mask rows, each row padded to 4 bytes. `pixels` are palette indexes up to 8 bits and
// 0xAARRGGBB above; `mask` has a character per pixel, top row first, '1' where transparent.
std::string Bmp(int width, int height, int bitCount, const std::vector<std::uint32_t>& pixels,
                const std::vector<std::uint32_t>& palette = {}, std::string_view mask = "",
                std::uint32_t compression = 0, std::uint32_t headerSize = 40,
                std::uint32_t coloursUsed = 0);

// An icon group (GRPICONDIR) of {width, height, bit count, icon id}; 256 is stored as 0.
std::string IconGroup(const std::vector<std::vector<int>>& entries);

}  // namespace rg::test
