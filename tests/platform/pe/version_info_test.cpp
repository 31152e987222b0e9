// The version resource: which resource counts, the walk of its VS_VERSIONINFO blocks (letter
// case, wValueLength, wType, the scan rules) and the answers of a query on the block.
#include <gtest/gtest.h>

#include "platform/pe/version_info.h"
#include "tests/support/pe_builder.h"

namespace rg::test {
namespace {

const std::string kTable = "\\StringFileInfo\\040904B0\\";

std::string Read(const std::string& image) {
    return platform::ReadVersionResource(platform::MemoryByteSource(image)).value_or("<none>");
}

TEST(VersionResource, OnlyTheResourceNumberOneWithARootBlockCounts) {
    const std::string resource = SimpleVersion({TextEntry(u"CompanyName", u"Co")}).Bytes();
    EXPECT_EQ(Read(BuildPe({{16, 1, 0x0409, resource + "tail"}})), resource);  // the root's length
    EXPECT_EQ(Read(BuildPe({{16, -1, 0x0409, resource}})), "<none>");
    EXPECT_EQ(Read(BuildPe({{16, 1, 0x0409, resource.substr(0, 5)}})), "<none>");
    std::string renamed = resource;
    renamed[6] = 'W';  // "WS_VERSION_INFO": the version calls do not look at the root's key
    EXPECT_EQ(Read(BuildPe({{16, 1, 0x0409, renamed}})), renamed);
}

// A 16-bit NE program: its resource table leads to the version resource, whose blocks have the
// old layout with single-byte keys and texts. The table of BuildNe starts at 0x80 (the shift,
// the type at 0x82, its count at 0x84, the name entry at 0x8A: offset, length, flags, id).
TEST(VersionResource, SixteenBitProgramsAreReadThroughTheirResourceTable) {
    const std::string resource =
        SimpleAnsiVersion({{u"FileVersion", "3.1"}, {u"CompanyName", "Old Co"}}).Bytes(true);
    const std::string program = BuildNe(resource);
    ASSERT_EQ(Read(program), resource);
    EXPECT_EQ(QueryText(resource, "\\StringFileInfo\\040904e4\\companyname"), "Old Co");
    EXPECT_EQ(QueryText(resource, "\\VarFileInfo\\Translation"), "\x09\x04\xE4\x04");
    const auto patched = [&](std::size_t at, std::uint16_t value) {
        return Patched(program, at, value, 2);
    };
    EXPECT_EQ(Read(patched(0x8C, 0xFFFF)), resource);  // a length past the end: what there is
    for (const std::string& image :
         {patched(0, 'M' | 'X' << 8), patched(0x40, 'N' | 'X' << 8), patched(0x66, 0x40),
          patched(0x80, 17), patched(0x82, 0), patched(0x82, 0x800E), patched(0x90, 0x8002),
          patched(0x8A, 0x100), program.substr(0, 0x90), program.substr(0, 0x60)}) {
        EXPECT_EQ(Read(image), "<none>");
    }
}

TEST(VersionBlocks, KeysMatchInAnyCaseButWholeAndValueLengthAndTypeDecideTheText) {
    VersionBlock cut = TextEntry(u"FileVersion", u"1.2.3.4");
    cut.valueLengthOverride = 3;
    VersionBlock none = TextEntry(u"ProductVersion", u"9.9");
    none.valueLengthOverride = 0;
    VersionBlock greedy = TextEntry(u"FileDescription", u"Greedy");
    greedy.valueLengthOverride = 4000;
    const std::string resource =
        SimpleVersion({TextEntry(u"FileVersionX", u"x"), TextEntry(u"AZ", u"letters"), cut,
                       TextEntry(u"filevERSION", u"second"), TextEntry(u"\u00C9t\u00E9", u"accent"),
                       none, VersionBlock{u"CompanyName", 0, Utf16Bytes(u"Binary")}, greedy})
            .Bytes();
    EXPECT_EQ(QueryText(resource, "\\stringfileinfo\\040904B0\\FILEVERSION"), "1.2");
    EXPECT_EQ(QueryText(resource, kTable + "az"), "letters");
    EXPECT_EQ(QueryText(resource, kTable + "FileVers"), "<none>");
    EXPECT_EQ(QueryText(resource, kTable + "\xC9t\xE9"), "accent");
    EXPECT_EQ(QueryText(resource, "\\\\StringFileInfo\\\\040904B0\\FileVersion\\"), "1.2");
    EXPECT_EQ(QueryText(resource, kTable + "ProductVersion"), "");
    EXPECT_EQ(QueryText(resource, kTable + "CompanyName"), "B");           // raw UTF-16: "B", NUL
    EXPECT_EQ(QueryText(resource, kTable + "FileDescription"), "Greedy");  // inside its block
    // A root that claims more than the resource holds is read as far as it goes.
    const std::string shortened = resource.substr(0, resource.find(Utf16Bytes(u"VarFileInfo")));
    EXPECT_EQ(QueryText(shortened, kTable + "CompanyName"), "B");
    EXPECT_EQ(QueryText(shortened, "\\VarFileInfo\\Translation"), "<none>");
}

TEST(VersionBlocks, TheScanEndsAtABrokenChild) {
    VersionBlock tooShort = TextEntry(u"Comments", u"x");
    tooShort.lengthOverride = 5;
    VersionBlock overrun = TextEntry(u"Comments", u"x");
    overrun.lengthOverride = 0x7000;
    VersionBlock keyless = TextEntry(u"Comments", u"");
    keyless.lengthOverride = 22;  // ends right before the NUL of its key
    // A child that claims more than is left is read to the resource's end and hides the rest.
    const std::pair<VersionBlock, const char*> rows[] = {
        {tooShort, "<none>"}, {overrun, "x"}, {keyless, "<none>"}};
    for (const auto& [broken, comments] : rows) {
        const std::string resource = SimpleVersion({TextEntry(u"CompanyName", u"Before"), broken,
                                                    TextEntry(u"FileDescription", u"Behind")})
                                         .Bytes();
        EXPECT_EQ(QueryText(resource, kTable + "CompanyName"), "Before");
        EXPECT_EQ(QueryText(resource, kTable + "FileDescription"), "<none>");
        EXPECT_EQ(QueryText(resource, kTable + "Comments"), comments);
    }
}

}  // namespace
}  // namespace rg::test
