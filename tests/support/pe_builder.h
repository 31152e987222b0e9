// Helpers shared by the reader's tests: the built fixtures, scratch folders, byte patches and
// a builder of VS_VERSIONINFO blocks for the cases no resource compiler writes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace rg::test {

std::string FixturePath(const std::string& name);  // a PE built from fixtures/NAME.rc
std::string IconPath(const std::string& name);     // a committed .ico file
std::string ReadBytes(const std::string& path);

// A fresh folder under `parent`, removed with its files at the end of the test.
class ScratchFolder {
  public:
    explicit ScratchFolder(const std::string& parent = "/tmp");
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return path_; }
    std::string Write(const std::string& name, std::string_view bytes) const;

  private:
    std::string path_;
};

// Replaces the first occurrence of `from` (as UTF-16 LE) by `to` of the same length.
void PatchUtf16(std::string& bytes, std::u16string_view from, std::u16string_view to);
void PutU16(std::string& bytes, std::size_t at, std::uint16_t value);
void PutU32(std::string& bytes, std::size_t at, std::uint32_t value);
std::uint32_t GetU32(const std::string& bytes, std::size_t at);

// One VS_VERSIONINFO block: key, type, value (UTF-16 text or raw bytes) and children; the
// lengths are computed unless overridden.
struct VersionBlock {
    std::u16string key;
    std::uint16_t type = 1;
    std::string value;  // raw bytes as stored
    std::vector<VersionBlock> children;
    int valueLengthOverride = -1;
    int lengthOverride = -1;
    std::string Bytes() const;
};
std::string Utf16Bytes(std::u16string_view text, bool withNul = true);
// A resource with one table, its entries and a Translation of 0409/04B0.
VersionBlock SimpleVersion(const std::vector<VersionBlock>& entries,
                           std::u16string table = u"040904B0");
VersionBlock TextEntry(std::u16string key, std::u16string_view text);

// Queries a resource held in memory the way the property reader does; "<none>" when the
// query fails, else the text up to its first NUL.
std::string QueryText(std::string_view resource, const std::string& query);

}  // namespace rg::test
