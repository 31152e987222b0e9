// ExtractIcon and the icons of new rows: a PE program's own icon, a file-type icon, the default
// icon for a file the shell cannot describe, and the failure path.
#include "programs/program_icons.h"
#include "platform/os/shell_icon.h"
#include "resources/default_program_icon.h"
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using ProgramIcons = ProgramListTest;

platform::Image Solid(int size, std::uint32_t argb) {
    platform::Image image;
    image.width = image.height = size;
    image.argb.assign(static_cast<std::size_t>(size * size), argb);
    return image;
}

TEST_F(ProgramIcons, APeProgramGetsItsOwnSmallIconDrawnAtTheTopLeft) {
    const std::string path = FixtureProgram("full");
    const std::optional<platform::Image> own = platform::LookUpSmallIcon(path);
    ASSERT_TRUE(own.has_value());
    platform::Image pic16 = Solid(16, 0xFF00FF00u);  // what an earlier call left
    EXPECT_NE(ExtractIcon(path, pic16), 0);
    ASSERT_EQ(pic16.width, 16);
    ASSERT_EQ(pic16.height, 16);
    EXPECT_EQ(pic16.argb, own->argb);  // drawn onto a cleared surface: nothing of the old one
    EXPECT_NE(pic16.argb, DefaultProgramIcon16().argb);
}

TEST_F(ProgramIcons, AFileTheShellCannotDescribeGetsTheDefaultIcon) {
    platform::Image pic16 = Solid(16, 0xFF00FF00u);
    EXPECT_EQ(ExtractIcon(install.root() + "/no/such/file.exe", pic16), -1);
    EXPECT_EQ(pic16.argb, DefaultProgramIcon16().argb);
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramIcons, AFileWithoutAnIconOfItsOwnGetsItsTypeIconOrElseTheDefault) {
    const std::string path = MakeFile("readme.txt", "plain text");
    platform::Image pic16;
    EXPECT_EQ(ExtractIcon(path, pic16), -1);  // no desktop icons installed
    EXPECT_EQ(pic16.argb, DefaultProgramIcon16().argb);

    platform::SetFileTypeIconProvider([](const std::string&) -> std::optional<platform::Image> {
        return Solid(32, 0xFF336699u);
    });
    EXPECT_NE(ExtractIcon(path, pic16), 0);
    EXPECT_EQ(pic16.argb, Solid(16, 0xFF336699u).argb);
}

// Half-transparent icon pixels let the cleared (transparent) surface through, unchanged.
TEST_F(ProgramIcons, KeepsTheTransparencyOfTheIcon) {
    const std::string path = MakeFile("doc.txt");
    platform::SetFileTypeIconProvider([](const std::string&) -> std::optional<platform::Image> {
        platform::Image image = Solid(16, 0x80FF0000u);
        image.argb[0] = 0x00000000u;
        return image;
    });
    platform::Image pic16;
    ASSERT_NE(ExtractIcon(path, pic16), 0);
    EXPECT_EQ(pic16.argb[0], 0x00000000u);
    EXPECT_EQ(pic16.argb[1], 0x80FF0000u);
}

TEST_F(ProgramIcons, AFailureIsLoggedAndLeavesABlankSurface) {
    const std::string path = MakeFile("doc.txt");
    platform::SetFileTypeIconProvider([](const std::string&) -> std::optional<platform::Image> {
        throw std::runtime_error("icon theme unreadable");
    });
    platform::Image pic16 = Solid(16, 0xFF00FF00u);
    EXPECT_EQ(ExtractIcon(path, pic16), 0);
    EXPECT_EQ(pic16.argb, BlankIcon16().argb);
    EXPECT_NE(ErrorLog().find("ExtractIcon of Module mdlProgramControl:---->"), std::string::npos);
}

// The rows: with the file's icon, with the default icon, and without an icon (but with its
// image stored all the same).
TEST_F(ProgramIcons, RowsShowTheIconExtractIconLeftOrNoneAfterAFailure) {
    platform::SetFileTypeIconProvider(
        [](const std::string& path) -> std::optional<platform::Image> {
            if (path.ends_with("broken.txt")) {
                throw std::runtime_error("icon theme unreadable");
            }
            return Solid(16, 0xFF336699u);
        });
    const std::string own = FixtureProgram("full");
    const std::string typed = MakeFile("notes.txt");
    const std::string broken = MakeFile("broken.txt");
    const std::string missing = install.root() + "/gone.exe";
    for (const std::string& path : {own, typed, broken, missing}) {
        AddThroughDialog(path);
    }
    ASSERT_EQ(rows().count(), 4u);
    EXPECT_EQ(rows().IconOf(0)->argb, platform::LookUpSmallIcon(own)->argb);
    EXPECT_EQ(rows().IconOf(1)->argb, Solid(16, 0xFF336699u).argb);
    EXPECT_EQ(rows().IconOf(2), nullptr);
    EXPECT_EQ(rows().rows()[2].iconKey, "");
    ASSERT_NE(programs->images().Find(broken), nullptr);
    EXPECT_EQ(programs->images().Find(broken)->argb, BlankIcon16().argb);
    EXPECT_EQ(rows().IconOf(3)->argb, DefaultProgramIcon16().argb);
    EXPECT_EQ(programs->images().count(), 4u);
}

}  // namespace
}  // namespace rg::test
