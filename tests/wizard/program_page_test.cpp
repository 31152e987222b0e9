// Page 6 inside the wizard: its list keeps the programs across Back and Next, and the finish
// step hands the rows over to the save in list order, with their names, paths and permissions.
#include "services/ini_access.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

class ProgramPage : public WizardTest {
  protected:
    void ToPage6() {
        Start();
        Next();
        Next();
        Next();
        ASSERT_TRUE(wizard().Click(Get("optAdvanceProgram")));
        Next();
        ASSERT_EQ(wizard().CurrentPage, 6);
    }
    std::string AddFile(const std::string& name) {
        const std::string path = install.root() + "/programs/" + name;
        TempInstall::WriteFile(path, "not a PE file");
        screen.AnswerNextFileDialog(path);
        EXPECT_TRUE(wizard().Click(Get("cmdAdd")));
        return path;
    }
    std::string Stored(const std::string& section, const char* key) {
        return ReadINI(section, key, "<none>", install.appPath() + "/Profiles/ProgramControl.RVL",
                       true);
    }
};

TEST_F(ProgramPage, KeepsItsProgramsAcrossBackAndNext) {
    ToPage6();
    AddFile("tool.exe");
    Back();
    Next();
    ASSERT_EQ(wizard().CurrentPage, 6);
    EXPECT_EQ(Get("lvwPrograms").list().count(), 1u);
}

TEST_F(ProgramPage, FinishWritesEveryRowInListOrderWithItsPermissions) {
    ToPage6();
    const std::string zed = AddFile("zed.exe");
    const std::string able = AddFile("able.exe");
    platform::Control& list = Get("lvwPrograms");
    ASSERT_TRUE(wizard().ColumnClick(list, 0));  // able, zed
    screen.ChooseInNextMenu("mnuServerAsk");
    ScriptedWindowSystem::ClickCell(list, 1, 2, platform::kLeftButton);  // zed: Allow / Ask
    screen.ChooseInNextMenu("mnuAccessBlock");
    ScriptedWindowSystem::ClickCell(list, 0, 1, platform::kLeftButton);  // able: Block / Block
    Next();
    ASSERT_EQ(wizard().CurrentPage, 9);
    EXPECT_THROW(Next(), ProgramEnded);

    EXPECT_EQ(Stored("able.exe", "Path"), able);
    EXPECT_EQ(Stored("able.exe", "Column1"), "1");
    EXPECT_EQ(Stored("able.exe", "Column3"), "1");
    EXPECT_EQ(Stored("zed.exe", "Path"), zed);
    EXPECT_EQ(Stored("zed.exe", "Column1"), "2");  // Server
    EXPECT_EQ(Stored("zed.exe", "Column3"), "0");  // Access
    const std::string file =
        TempInstall::ReadFile(install.appPath() + "/Profiles/ProgramControl.RVL");
    EXPECT_LT(file.find("[able.exe]"), file.find("[zed.exe]"));
}

}  // namespace
}  // namespace rg::test
