#include "tests/support/pe_builder.h"

#include <zlib.h>

#include <algorithm>
#include <map>

#include "platform/pe/version_info.h"

namespace rg::test {
namespace {

void PadTo4(std::string& bytes) {
    bytes.append((4 - bytes.size() % 4) % 4, '\0');
}

std::string BigEndian32(std::size_t value) {
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
            static_cast<char>(value >> 8), static_cast<char>(value)};
}

}  // namespace

std::string FixturePath(const std::string& name) {
    return std::string(RG_PE_FIXTURES) + "/" + name + ".exe";
}

void PutU16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<char>(value & 0xFF);
    bytes.at(at + 1) = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::string Patched(std::string bytes, std::size_t at, std::uint32_t value, int size) {
    size == 4 ? PutU32(bytes, at, value) : PutU16(bytes, at, static_cast<std::uint16_t>(value));
    return bytes;
}

std::string Utf16Bytes(std::u16string_view text, bool withNul) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    }
    return withNul ? bytes.append(2, '\0') : bytes;
}

std::string BuildPe(const std::vector<PeResource>& resources, bool pe32Plus) {
    std::map<std::uint16_t, std::map<int, std::map<std::uint16_t, const std::string*>>> tree;
    for (const PeResource& r : resources) {
        tree[r.type][r.name][r.language] = &r.data;
    }
    std::string rsrc;
    std::vector<std::pair<std::size_t, const std::string*>> data;
    // Appends a directory of `map`'s entries; `below` adds what an entry leads to.
    const auto directory = [&](const auto& map, std::uint32_t named, const auto& below) {
        const std::size_t at = rsrc.size();
        rsrc.append(16 + 8 * map.size(), '\0');
        PutU16(rsrc, at + 12, static_cast<std::uint16_t>(named));
        PutU16(rsrc, at + 14, static_cast<std::uint16_t>(map.size() - named));
        std::size_t entry = at + 16;
        for (const auto& [key, value] : map) {
            // A string name is marked by the high bit alone: the reader never reads the string.
            PutU32(rsrc, entry,
                   static_cast<int>(key) < 0 ? 0x80000000u : static_cast<std::uint32_t>(key));
            PutU32(rsrc, entry + 4, static_cast<std::uint32_t>(rsrc.size()));
            below(value, entry + 4);
            entry += 8;
        }
    };
    directory(tree, 0, [&](const auto& names, std::size_t link) {
        rsrc[link + 3] = '\x80';
        const auto named =
            std::count_if(names.begin(), names.end(), [](const auto& n) { return n.first < 0; });
        directory(names, static_cast<std::uint32_t>(named), [&](const auto& languages, auto to) {
            rsrc[to + 3] = '\x80';
            directory(languages, 0, [&](const std::string* bytes, std::size_t) {
                data.emplace_back(rsrc.size(), bytes);
                rsrc.append(16, '\0');
            });
        });
    });
    for (const auto& [entry, bytes] : data) {
        PadTo4(rsrc);
        PutU32(rsrc, entry, kBuiltResourceRva + static_cast<std::uint32_t>(rsrc.size()));
        PutU32(rsrc, entry + 4, static_cast<std::uint32_t>(bytes->size()));
        rsrc += *bytes;
    }
    const auto size = static_cast<std::uint32_t>(rsrc.size());
    const std::uint16_t optionalSize = pe32Plus ? 240 : 224;
    const std::size_t directories = kBuiltOptionalHeader + (pe32Plus ? 112 : 96);
    const std::size_t section = kBuiltOptionalHeader + optionalSize;
    std::string image(kBuiltResources, '\0');
    image.replace(0, 2, "MZ");
    PutU32(image, 0x3C, kBuiltNtHeaders);
    image.replace(kBuiltNtHeaders, 2, "PE");
    for (const auto& [at, value] : std::initializer_list<std::pair<std::size_t, std::uint32_t>>{
             {kBuiltNtHeaders + 4, pe32Plus ? 0x8664 : 0x14C},  // Machine
             {kBuiltNtHeaders + 6, 1},                          // NumberOfSections
             {kBuiltNtHeaders + 20, optionalSize},              // SizeOfOptionalHeader
             {kBuiltOptionalHeader, pe32Plus ? 0x20B : 0x10B},  // Magic
             {kBuiltOptionalHeader + 60, kBuiltResources},      // SizeOfHeaders
             {directories - 4, 16},                             // NumberOfRvaAndSizes
             {directories + 16, kBuiltResourceRva},             // the resource directory
             {directories + 20, size},
             {section + 8, size},                 // VirtualSize
             {section + 12, kBuiltResourceRva},   // VirtualAddress
             {section + 16, size},                // SizeOfRawData
             {section + 20, kBuiltResources}}) {  // PointerToRawData
        PutU32(image, at, value);  // the 16-bit fields are followed by zeros that fit
    }
    image.replace(section, 5, ".rsrc");
    return image + rsrc;
}

std::string VersionBlock::Bytes(bool singleByte) const {
    std::string out(singleByte ? 4 : 6, '\0');
    out += singleByte ? std::string(key.begin(), key.end()) + '\0' : Utf16Bytes(key);
    PadTo4(out);
    out += value;
    for (const VersionBlock& child : children) {
        PadTo4(out);
        out += child.Bytes(singleByte);
    }
    const std::size_t units = type == 1 && !singleByte ? value.size() / 2 : value.size();
    PutU16(out, 0, static_cast<std::uint16_t>(lengthOverride >= 0 ? lengthOverride : out.size()));
    PutU16(out, 2,
           static_cast<std::uint16_t>(valueLengthOverride >= 0 ? valueLengthOverride : units));
    if (!singleByte) {
        PutU16(out, 4, type);
    }
    return out;
}

VersionBlock SimpleAnsiVersion(const std::vector<std::pair<std::u16string, std::string>>& entries) {
    VersionBlock strings{u"040904E4", 0, ""};
    for (const auto& [name, text] : entries) {
        strings.children.push_back({name, 0, text + std::string(1, '\0')});
    }
    return {u"VS_VERSION_INFO",
            0,
            std::string(52, '\0'),
            {{u"StringFileInfo", 0, "", {strings}},
             {u"VarFileInfo", 0, "", {{u"Translation", 0, "\x09\x04\xE4\x04"}}}}};
}

// MZ header, the NE header at 0x40, its resource table at 0x80 (shift 4, one type of one name,
// the end), the resident name table right after it, the resource at 0x100.
std::string BuildNe(std::string_view versionResource) {
    std::string image(0x100, '\0');
    image.replace(0, 2, "MZ");
    PutU32(image, 0x3C, 0x40);
    image.replace(0x40, 2, "NE");
    PutU16(image, 0x40 + 0x24, 0x80 - 0x40);  // the resource table
    PutU16(image, 0x80, 4);                   // the alignment shift
    PutU16(image, 0x82, 0x8010);              // type RT_VERSION as a number
    PutU16(image, 0x84, 1);                   // one resource of that type
    PutU16(image, 0x8A, 0x100 >> 4);          // its offset
    PutU16(image, 0x8C, static_cast<std::uint16_t>((versionResource.size() + 15) >> 4));
    PutU16(image, 0x8E, 0x30);                // moveable, shareable
    PutU16(image, 0x90, 0x8001);              // name 1 as a number
    PutU16(image, 0x40 + 0x26, 0x98 - 0x40);  // a type of 0 at 0x96 ends the table
    std::string data(versionResource);
    data.resize((data.size() + 15) & ~std::size_t{15}, '\0');
    return image + data;
}

VersionBlock TextEntry(std::u16string key, std::u16string_view text) {
    return VersionBlock{std::move(key), 1, Utf16Bytes(text)};
}

VersionBlock SimpleVersion(const std::vector<VersionBlock>& entries) {
    return VersionBlock{u"VS_VERSION_INFO",
                        0,
                        std::string(52, '\0'),  // where the fixed file information would be
                        {{u"StringFileInfo", 1, "", {{u"040904B0", 1, "", entries}}},
                         {u"VarFileInfo", 1, "", {{u"Translation", 0, "\x09\x04\xB0\x04"}}}}};
}

std::string QueryText(std::string_view resource, const std::string& query) {
    platform::DWORD error = 0;
    std::vector<char> block(platform::VersionInfoBlockSize(resource.size()));
    platform::FillVersionInfoBlock(resource, block.data(), block.size());
    const auto value = platform::QueryVersionValue(block.data(), query, error);
    return value ? std::string(value->data) : "<none>";  // the block ends with a NUL
}

std::string PngChunk(std::string_view type, std::string_view data) {
    const std::string body = std::string(type) + std::string(data);
    return BigEndian32(data.size()) + body +
           BigEndian32(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                             static_cast<uInt>(body.size())));
}

std::string Png(std::uint32_t width, std::uint32_t height, int depth, int colourType,
                std::string_view scanlines, std::string_view chunks) {
    std::string packed(compressBound(static_cast<uLong>(scanlines.size())), '\0');
    uLongf packedSize = packed.size();
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize,
             reinterpret_cast<const Bytef*>(scanlines.data()), scanlines.size());
    packed.resize(packedSize);
    const std::string header = BigEndian32(width) + BigEndian32(height) + static_cast<char>(depth) +
                               static_cast<char>(colourType) + std::string(3, '\0');
    return "\x89PNG\r\n\x1A\n" + PngChunk("IHDR", header) + std::string(chunks) +
           PngChunk("IDAT", packed) + PngChunk("IEND", "");
}

std::string Bmp(int width, int height, int bitCount, const std::vector<std::uint32_t>& pixels,
                const std::vector<std::uint32_t>& palette, std::string_view mask,
                std::uint32_t compression, std::uint32_t headerSize, std::uint32_t coloursUsed) {
    std::string out(headerSize, '\0');
    PutU32(out, 0, headerSize);
    PutU32(out, 4, static_cast<std::uint32_t>(width));
    PutU32(out, 8, static_cast<std::uint32_t>(2 * height));
    PutU16(out, 14, static_cast<std::uint16_t>(bitCount));
    PutU32(out, 16, compression);
    PutU32(out, 32, coloursUsed);
    if (compression == 3 && headerSize == 40) {
        out += std::string("\0\0\xFF\0\0\xFF\0\0\xFF\0\0\0", 12);  // red, green, blue
    }
    for (const std::uint32_t colour : palette) {
        out.append(4, '\0');
        PutU32(out, out.size() - 4, colour);
    }
    const auto rows = [&](int bits, const auto& value) {
        for (int y = height - 1; y >= 0; --y) {
            std::string row((static_cast<std::size_t>(width) * bits + 31) / 32 * 4, '\0');
            for (int x = 0; x < width; ++x) {
                const std::uint32_t v = value(static_cast<std::size_t>(y * width + x));
                auto* byte = reinterpret_cast<unsigned char*>(&row[x * bits / 8]);
                for (int b = 0; bits >= 8 && b < bits;
                     b += 8) {  // whole bytes, least significant first
                    byte[b / 8] = static_cast<unsigned char>(v >> b);
                }
                if (bits < 8) {  // the leftmost pixel in the high bits
                    byte[0] = static_cast<unsigned char>(byte[0] | v << (8 - bits - x * bits % 8));
                }
            }
            out += row;
        }
    };
    rows(bitCount, [&](std::size_t i) { return pixels.at(i); });
    rows(1, [&](std::size_t i) { return i < mask.size() && mask[i] == '1' ? 1u : 0u; });
    return out;
}

std::string IconGroup(const std::vector<std::vector<int>>& entries) {
    std::string group(6 + 14 * entries.size(), '\0');
    PutU16(group, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::size_t at = 6 + 14 * i;
        group[at] = static_cast<char>(entries[i][0] % 256);
        group[at + 1] = static_cast<char>(entries[i][1] % 256);
        PutU16(group, at + 6, static_cast<std::uint16_t>(entries[i][2]));
        PutU16(group, at + 12, static_cast<std::uint16_t>(entries[i][3]));
    }
    return group;
}

}  // namespace rg::test
