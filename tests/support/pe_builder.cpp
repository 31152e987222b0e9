#include "tests/support/pe_builder.h"

#include <stdlib.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "platform/os/version_api.h"
#include "platform/pe/version_info.h"

namespace rg::test {

std::string FixturePath(const std::string& name) {
    return std::string(RG_PE_FIXTURES) + "/" + name + ".exe";
}

std::string IconPath(const std::string& name) {
    return std::string(RG_ICON_FIXTURES) + "/" + name;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

ScratchFolder::ScratchFolder(const std::string& parent) {
    std::string pattern = parent + "/rg_fileinfo_XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("mkdtemp failed in " + parent);
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, std::string_view bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return file;
}

void PatchUtf16(std::string& bytes, std::u16string_view from, std::u16string_view to) {
    const std::string needle = Utf16Bytes(from, false);
    const std::size_t at = bytes.find(needle);
    if (at == std::string::npos || from.size() != to.size()) {
        throw std::runtime_error("patch target not found");
    }
    const std::string replacement = Utf16Bytes(to, false);
    bytes.replace(at, replacement.size(), replacement);
}

void PutU16(std::string& bytes, std::size_t at, std::uint16_t value) {
    bytes.at(at) = static_cast<char>(value & 0xFF);
    bytes.at(at + 1) = static_cast<char>(value >> 8);
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value) {
    PutU16(bytes, at, static_cast<std::uint16_t>(value & 0xFFFF));
    PutU16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

std::uint32_t GetU32(const std::string& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(at + i)))
                 << (8 * i);
    }
    return value;
}

std::string Utf16Bytes(std::u16string_view text, bool withNul) {
    std::string bytes;
    for (const char16_t unit : text) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    if (withNul) {
        bytes.append(2, '\0');
    }
    return bytes;
}

namespace {
void PadTo4(std::string& bytes) {
    bytes.append((4 - bytes.size() % 4) % 4, '\0');
}
}  // namespace

std::string VersionBlock::Bytes() const {
    std::string out(6, '\0');
    out += Utf16Bytes(key);
    PadTo4(out);
    out += value;
    for (const VersionBlock& child : children) {
        PadTo4(out);
        out += child.Bytes();
    }
    const std::size_t units = type == 1 ? value.size() / 2 : value.size();
    PutU16(out, 0, static_cast<std::uint16_t>(lengthOverride >= 0 ? lengthOverride : out.size()));
    PutU16(out, 2,
           static_cast<std::uint16_t>(valueLengthOverride >= 0 ? valueLengthOverride : units));
    PutU16(out, 4, type);
    return out;
}

VersionBlock TextEntry(std::u16string key, std::u16string_view text) {
    return VersionBlock{std::move(key), 1, Utf16Bytes(text), {}};
}

VersionBlock SimpleVersion(const std::vector<VersionBlock>& entries, std::u16string table) {
    VersionBlock translation{u"Translation", 0, std::string("\x09\x04\xB0\x04", 4), {}};
    return VersionBlock{
        u"VS_VERSION_INFO",
        0,
        std::string(52, '\0'),  // where the fixed file information would be
        {VersionBlock{u"StringFileInfo", 1, "", {VersionBlock{std::move(table), 1, "", entries}}},
         VersionBlock{u"VarFileInfo", 1, "", {translation}}}};
}

std::string QueryText(std::string_view resource, const std::string& query) {
    platform::DWORD error = 0;
    std::vector<char> block(platform::VersionInfoBlockSize(resource.size()));
    platform::FillVersionInfoBlock(resource, block.data(), block.size());
    const auto value = platform::QueryVersionValue(block.data(), query, error);
    if (!value) {
        return "<none>";
    }
    const char* end = block.data() + block.size();
    const void* nul = std::memchr(value->data, 0, static_cast<std::size_t>(end - value->data));
    return std::string(value->data, nul ? static_cast<const char*>(nul) : end);
}

}  // namespace rg::test
