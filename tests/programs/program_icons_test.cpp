// ExtractIcon: a file-type icon drawn with its transparency on a cleared surface, the default
// icon for a file the shell cannot describe, and a blank surface after a failure.
#include "programs/program_icons.h"
#include "resources/default_program_icon.h"
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using Pixels = std::vector<std::uint32_t>;

class ProgramIcons : public ProgramListTest {
  protected:
    platform::Image pic16{16, 16, Pixels(256, 0xFF00FF00u)};  // what an earlier call left
};

// Opaque and partly transparent pixels come through as they are; a fully transparent one
// leaves the cleared surface, whatever colour it carries.
TEST_F(ProgramIcons, DrawsTheFilesIconOnAClearedSurfaceOrElseTheDefaultIcon) {
    Pixels icon(256, 0x80336699u);
    icon[0] = 0x00123456u;
    icon[1] = 0xFFABCDEFu;
    icon[255] = 0x01FFFFFFu;
    platform::SetFileTypeIconProvider([&](const std::string&) {
        return std::optional<platform::Image>({16, 16, icon});
    });
    EXPECT_EQ(ExtractIcon(MakeFile("doc.txt"), pic16), 1);
    icon[0] = 0;
    EXPECT_EQ(pic16.argb, icon);
    EXPECT_EQ(ExtractIcon(install.root() + "/no/such/file.exe", pic16), -1);
    EXPECT_EQ(pic16.argb, DefaultProgramIcon16().argb);
    EXPECT_EQ(ErrorLog(), "");
}

TEST_F(ProgramIcons, AFailureIsLoggedAndLeavesABlankSurface) {
    platform::SetFileTypeIconProvider([](const std::string&) -> std::optional<platform::Image> {
        throw std::runtime_error("icon theme unreadable");
    });
    EXPECT_EQ(ExtractIcon(MakeFile("doc.txt"), pic16), 0);
    EXPECT_EQ(pic16.width * pic16.height, 256);
    EXPECT_EQ(pic16.argb, Pixels(256, 0));
    EXPECT_EQ(ErrorLog().rfind("ExtractIcon of Module mdlProgramControl:---->", 0), 0u);
}

}  // namespace
}  // namespace rg::test
