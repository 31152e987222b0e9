// The wizard installed in, and its machine prefix under, folders named in scripts that code page
// 1252 lacks: it finds its language file, adds programs whose paths the profile can keep, refuses
// with a reason one whose path it cannot keep, and Finish writes every file where it belongs.
#include <filesystem>
#include <string>

#include "platform/os/file_system.h"
#include "services/ini_access.h"
#include "tests/support/pe_builder.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

namespace fs = std::filesystem;

class AnyScriptFolders : public WizardTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // The installation and the machine prefix move below a folder named in the parameter's
    // script; the program learns both names from the environment, as an installed one does.
    AnyScriptFolders() : native_(install.root() + "/" + GetParam()) {
        fs::create_directories(native_ + "/app/Lang");
        fs::create_directories(native_ + "/machine/system32");
        setenv("RAVELGARD_APP_DIR", (native_ + "/app").c_str(), 1);
        setenv("RAVELGARD_PREFIX", (native_ + "/machine").c_str(), 1);
        platform::OverrideAppPathForTesting(std::nullopt);
        platform::SetMachinePrefix("");
    }
    ~AnyScriptFolders() override { unsetenv("RAVELGARD_APP_DIR"); }
    // The program's own name of a file below the folder: "?" for each character it lacks.
    std::string Path(const std::string& inFolder) const {
        return platform::PathFromNative(native_ + inFolder);
    }

    const std::string native_;
};

TEST_P(AnyScriptFolders, TheWizardWalksToFinishAndWritesEveryFile) {
    TempInstall::WriteFile(Path("/app/Lang/English.INI"), "[Startup Wizard]\r\n5000=Found\r\n");
    Start();
    EXPECT_EQ(wizard().caption(), "Found");  // the language file in its folder was read
    WalkToFinish("optAdvanceProgram");
    Back();
    const std::string unstorable = Path("/app/tool.exe");
    TempInstall::WriteFile(unstorable, "not a PE file");
    screen.AnswerNextFileDialog(unstorable);
    screen.AnswerNextBox(platform::IDOK);
    ASSERT_TRUE(wizard().Click(Get("cmdAdd")));
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_NE(screen.boxes()[0].text.find("Western European"), std::string::npos);
    screen.AnswerNextFileDialog(FixturePath("full"));
    ASSERT_TRUE(wizard().Click(Get("cmdAdd")));
    EXPECT_EQ(Get("lvwPrograms").list().count(), 1u);
    Next();
    EXPECT_THROW(Next(), ProgramEnded);
    EXPECT_EQ(screen.boxes().size(), 1u);

    EXPECT_EQ(
        ReadINI("Sample Tool", "Path", "<none>", Path("/app/Profiles/ProgramControl.RVL"), true),
        FixturePath("full"));
    EXPECT_TRUE(fs::exists(native_ + "/app/Profiles/AlertsAndLogSetting.RVL"));
    EXPECT_EQ(TempInstall::ReadFile(Path("/machine/system32/RVPSD.SYS")),
              PasswordFileLine("") + "\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, AnyScriptFolders,
    ::testing::Values("\xD0\xA0\xD0\xB0\xD0\xB1\xD0\xBE\xD1\x87\xD0\xB8\xD0\xB9",
                      "\xCE\x95\xCF\x80\xCE\xB9\xCF\x86\xCE\xAC\xCE\xBD",
                      "\xE6\xA1\x8C\xE9\x9D\xA2 caf\xC3\xA9"));

}  // namespace
}  // namespace rg::test
