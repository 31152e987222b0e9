// Page 6's program list with the scripted window system standing in for the screen and the user:
// sorting, the permission menus by mouse and key, adding a program (its row, the duplicate check
// by display name, the refusal of an entry that could not be stored), removing the selected
// programs, and the row icons. Also the permission codes and the default browser's path.
#include "programs/program_list.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/os/shell_icon.h"
#include "programs/default_programs.h"
#include "programs/program_icons.h"
#include "resources/default_program_icon.h"
#include "services/run_error.h"
#include "tests/support/pe_builder.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"
#include "wizard/page_layout.h"

namespace rg::test {
namespace {

using platform::kLeftButton;
using Names = std::vector<std::string>;

class ProgramListTest : public ::testing::Test {
  protected:
    ProgramListTest() {
        wizard::AddPage6(form).setVisible(true);
        programs = std::make_unique<ProgramList>(
            ProgramListControls{lvw(), form.Get("cmdAdd"), form.Get("cmdRemove"),
                                wizard::AddPermissionMenu(form, "mnuAccess", "Access"),
                                wizard::AddPermissionMenu(form, "mnuServer", "Server")});
    }
    ~ProgramListTest() override {
        platform::SetFileTypeIconProvider({});
        EXPECT_EQ(screen.pendingAnswers() + screen.pendingFileDialogs(), 0u);
    }

    // A file without a version resource: its display name is its file name.
    std::string MakeFile(const std::string& name) {
        const std::string path = install.root() + "/files/" + name;
        TempInstall::WriteFile(path, "data");
        return path;
    }
    void Add(const std::string& path) {  // cmdAdd, the dialog answering `path`
        screen.AnswerNextFileDialog(path);
        ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    }
    platform::Control& lvw() { return form.Get("lvwPrograms"); }
    const platform::ListViewContent& rows() { return lvw().list(); }
    Names RowNames() {
        Names names;
        for (const platform::ListRow& row : rows().rows()) {
            names.push_back(row.text);
        }
        return names;
    }
    std::string ErrorLog() const { return TempInstall::ReadFile(install.appPath() + "/Err.log"); }

    TempInstall install;
    ScriptedWindowSystem screen;
    platform::Form form{"frmStartupMain"};
    std::unique_ptr<ProgramList> programs;
};

TEST_F(ProgramListTest, StartsUnsortedAndEachHeaderSortsAscendingFirstThenFlips) {
    for (const char* name : {"b.bin", "C.bin", "a.bin"}) {
        Add(MakeFile(name));
    }
    lvw().list().SetSubItem(0, 1, "Block");  // Access: b Block, C Allow, a Ask
    lvw().list().SetSubItem(2, 1, "Ask");
    EXPECT_FALSE(rows().sorted());
    const std::pair<int, const char*> clicks[] = {{0, "abC"}, {0, "Cba"}, {1, "Cab"}, {1, "baC"}};
    for (const auto& [column, order] : clicks) {
        ASSERT_TRUE(form.ColumnClick(lvw(), column));
        std::string names;
        for (const std::string& name : RowNames()) {
            names += name.front();
        }
        EXPECT_EQ(names, order) << "column " << column;
    }
}

TEST_F(ProgramListTest, MenusOpenOnReleaseOfTheLeftButtonOverAnAccessOrServerCellOfARow) {
    Add(MakeFile("alpha.bin"));
    Add(MakeFile("beta.bin"));
    for (const int button :
         {kLeftButton, platform::kRightButton, kLeftButton | platform::kRightButton}) {
        for (const int row : {-1, 0, 1, 2}) {  // -1: the header; 2: below the last row
            for (const int column : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message() << button << " " << row << " " << column);
                ASSERT_TRUE(form.SelectListRows(lvw(), {0}, 0));
                const std::size_t before = screen.popups().size();
                ScriptedWindowSystem::ClickCell(lvw(), row, column, button);
                const bool opens = button == kLeftButton && row >= 0 && row < 2 && column > 0;
                ASSERT_EQ(screen.popups().size(), before + (opens ? 1 : 0));
                const ListPoint at = ScriptedWindowSystem::CellPoint(lvw(), row, column);
                if (opens) {
                    const PopupRecord& popup = screen.popups().back();
                    EXPECT_EQ(popup.menu + " " + popup.anchor,
                              column == 1 ? "mnuAccess lvwPrograms" : "mnuServer lvwPrograms");
                    EXPECT_EQ(std::pair(popup.x, popup.y), std::pair(at.x, at.y));
                }
            }
        }
    }
    EXPECT_EQ(screen.popups().size(), 4u);
}

// The Menu key or Shift+F10 opens the current row's Access menu, with Ctrl its Server menu, with
// the row's permission checked. Each item then acts on the current row only: Access Block and
// Ask set both permissions, Server Allow too, Server Ask turns a blocked access into Ask.
TEST_F(ProgramListTest, TheMenuKeyOpensTheCurrentRowsMenuAndItsItemsActOnThatRowOnly) {
    using platform::kCtrlKey, platform::kShiftKey, platform::kKeyApplications, platform::kKeyF10;
    Add(MakeFile("alpha.bin"));
    Add(MakeFile("beta.bin"));
    const struct {
        int key, shift;
        const char *item, *after;
    } steps[] = {{kKeyApplications, 0, "mnuAccessBlock", "Block/Block"},
                 {kKeyApplications, kCtrlKey, "mnuServerAsk", "Ask/Ask"},
                 {kKeyF10, kShiftKey, "mnuAccessAllow", "Allow/Ask"},
                 {kKeyApplications, 0, "mnuAccessAsk", "Ask/Ask"},
                 {kKeyF10, kShiftKey | kCtrlKey, "mnuServerAllow", "Allow/Allow"},
                 {kKeyApplications, kCtrlKey, "mnuServerBlock", "Allow/Block"},
                 {kKeyApplications, kCtrlKey, "mnuServerAsk", "Allow/Ask"}};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.item);
        const ProgramRowSettings before = programs->RowSettings()[0];
        const std::string menu = std::string(step.item).substr(0, 9);
        ASSERT_TRUE(form.SelectListRows(lvw(), {0, 1}, 0));
        screen.ChooseInNextMenu(step.item);
        ASSERT_TRUE(form.KeyDown(lvw(), step.key, step.shift));
        EXPECT_EQ(screen.popups().back().menu, menu);
        const std::string checked = menu == "mnuAccess" ? before.Access : before.Server;
        for (const char* permission : {"Allow", "Block", "Ask"}) {
            EXPECT_EQ(form.Get(menu + permission).value(), permission == checked);
        }
        const std::vector<ProgramRowSettings> after = programs->RowSettings();
        EXPECT_EQ(after[0].Access + "/" + after[0].Server, step.after);
        EXPECT_EQ(after[1].Access + "/" + after[1].Server, "Allow/Allow");
    }
    for (const auto& [key, shift, current] :
         {std::tuple(kKeyF10, 0, 0), std::tuple(int('M'), kShiftKey, 0),
          std::tuple(kKeyApplications, 0, -1)}) {
        ASSERT_TRUE(form.SelectListRows(lvw(), {}, current));
        ASSERT_TRUE(form.KeyDown(lvw(), key, shift));
    }
    EXPECT_EQ(screen.popups().size(), 7u);
}

// The row holds the path as key, tag and icon key and both permissions "Allow"; a file the shell
// cannot describe shows the default icon.
TEST_F(ProgramListTest, AddsTheChosenFileAllowedBothWaysUnlessTheDialogIsCancelled) {
    const std::string tool = FixturePath("full");  // display name "Sample Tool"
    const std::string missing = install.root() + "/gone/Missing.exe";
    Add(tool);
    screen.AnswerNextFileDialog(std::nullopt);
    ASSERT_TRUE(form.Click(form.Get("cmdAdd")));
    Add("");  // an empty file name counts as a cancel
    Add(missing);
    EXPECT_EQ(RowNames(), (Names{"Sample Tool", "Missing.exe"}));
    for (std::size_t i = 0; i < 2; ++i) {
        const platform::ListRow& row = rows().rows()[i];
        const std::string& path = i == 0 ? tool : missing;
        EXPECT_EQ(row.key + row.tag + row.iconKey, path + path + path);
        EXPECT_EQ(row.subItems, (Names{"Allow", "Allow"}));
    }
    ASSERT_NE(rows().IconOf(1), nullptr);
    EXPECT_EQ(rows().IconOf(1)->argb, DefaultProgramIcon16().argb);
    EXPECT_TRUE(screen.boxes().empty());
}

// A name already listed in any letter case is skipped without a word; a name that could not
// name the program's entry is refused with the reason.
TEST_F(ProgramListTest, SkipsAListedNameAndRefusesAnEntryThatCouldNotBeStored) {
    Add(MakeFile("one.exe"));
    Add(MakeFile("two.exe"));
    EXPECT_EQ(FindProgramByName(lvw(), "TWO.EXE"), 2);
    Add(MakeFile("One.EXE"));
    const std::string odd = MakeFile(" odd.exe");  // reading would trim the section's blank
    screen.AnswerNextBox(platform::IDOK);
    Add(odd);
    EXPECT_EQ(rows().count() + programs->images().count(), 4u);
    ASSERT_EQ(screen.boxes().size(), 1u);
    EXPECT_EQ(screen.boxes()[0].text,
              "This program cannot be added to the list: its name \" odd.exe\" is empty or starts "
              "or ends with a space, and cannot name its entry in the program settings.\r\n\r\n" +
                  odd);
    EXPECT_EQ(screen.boxes()[0].title, "Ravelgard Startup Wizard");
    EXPECT_EQ(screen.boxes()[0].style, platform::MB_OK | platform::MB_ICONEXCLAMATION);
}

// Each reason in the order the checks are made; "" where the entry can be stored.
TEST(WhyProgramCannotBeStored, NamesTheFirstValueThatWouldNotReadBackUnchanged) {
    const struct {
        std::string name, path, version, reason;
    } cases[] = {
        {"Long", std::string(254, 'a'), std::string(254, 'v'), ""},
        {"", "/home/caf?/a.exe", std::string(255, 'v'), "its folder or file name holds"},
        {"", std::string(255, 'a'), "",
         "its path is 255 characters long; the program settings keep at most 254."},
        {"", "C:\\a.exe", std::string(255, 'v'), "its version text is longer"},
        {"x", "p", "1.0\x95", "the program settings encipher"},  // 0x95 + "x" is a CR
    };
    for (const auto& c : cases) {
        const std::string reason = WhyProgramCannotBeStored(c.name, c.path, c.version).value_or("");
        EXPECT_EQ(reason.substr(0, c.reason.size()), c.reason);
        EXPECT_EQ(CanStoreProgramEntry(c.name, c.path, c.version), c.reason.empty());
    }
}

std::string Prog(std::size_t i) {
    return "prog" + std::string(i < 10 ? "0" : "") + std::to_string(i) + ".exe";
}

// The question names the first sixteen selected rows, the sixteenth followed by " .....". The
// image list stays attached while images are left, every row's icon its own, and is attached
// again by the next add.
TEST_F(ProgramListTest, RemovalAsksForTheSelectedRowsAndRemovesThemOnYes) {
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < 20; ++i) {
        Add(MakeFile(Prog(i)));
        if (i >= 2 && i < 19) {
            selected.push_back(i);
        }
    }
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    // Nothing selected, then a current row that is not selected: no question.
    ASSERT_TRUE(form.SelectListRows(lvw(), {}, 0));
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_TRUE(screen.boxes().empty());
    ASSERT_TRUE(form.SelectListRows(lvw(), selected, 5));
    screen.AnswerNextBox(platform::IDNO);
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_EQ(rows().count() + programs->images().count(), 40u);
    screen.AnswerNextBox(platform::IDYES);
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    std::string question = "Do you want to remove following application(s)?\r\n";
    for (std::size_t i = 2; i < 17; ++i) {
        question += Prog(i) + "\r\n";
    }
    ASSERT_EQ(screen.boxes().size(), 2u);
    EXPECT_EQ(screen.boxes()[1].text, question + "prog17.exe .....\r\n");
    EXPECT_EQ(screen.boxes()[1].style,
              platform::MB_YESNO | platform::MB_ICONQUESTION | platform::MB_DEFBUTTON1);
    EXPECT_EQ(RowNames(), (Names{Prog(0), Prog(1), Prog(19)}));
    EXPECT_EQ(programs->images().count(), 3u);
    for (std::size_t i = 0; i < rows().count(); ++i) {
        EXPECT_EQ(rows().IconOf(i), programs->images().Find(rows().rows()[i].tag));
    }
    ASSERT_TRUE(form.SelectListRows(lvw(), {0, 1, 2}, 0));
    screen.AnswerNextBox(platform::IDYES);
    ASSERT_TRUE(form.Click(form.Get("cmdRemove")));
    EXPECT_EQ(rows().count() + programs->images().count(), 0u);
    EXPECT_EQ(rows().smallIcons(), nullptr);
    Add(MakeFile("c.exe"));  // the next add attaches it again
    EXPECT_EQ(rows().smallIcons(), &programs->images());
    EXPECT_NE(rows().IconOf(0), nullptr);
}

// Opaque and partly transparent pixels come through as they are; a fully transparent one
// leaves the cleared surface, whatever colour it carries. A failure is logged and leaves a
// blank surface.
TEST_F(ProgramListTest, ExtractIconDrawsTheFilesIconOnAClearedSurfaceOrElseTheDefaultIcon) {
    using Pixels = std::vector<std::uint32_t>;
    platform::Image pic16{16, 16, Pixels(256, 0xFF00FF00u)};  // what an earlier call left
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
    platform::SetFileTypeIconProvider([](const std::string&) -> std::optional<platform::Image> {
        throw std::runtime_error("icon theme unreadable");
    });
    EXPECT_EQ(ExtractIcon(MakeFile("doc.txt"), pic16), 0);
    EXPECT_EQ(pic16.argb, Pixels(256, 0));
    EXPECT_EQ(ErrorLog().rfind("ExtractIcon of Module mdlProgramControl:---->", 0), 0u);
}

TEST(PermissionToCode, KnowsTheThreeTextsInAnyLetterCaseAndGivesAllowForAnythingElse) {
    EXPECT_EQ(PermissionToCode("BlocK"), 1);
    EXPECT_EQ(PermissionToCode("aSK"), 2);
    EXPECT_EQ(PermissionToCode("Asks"), 0);
    EXPECT_EQ(PermissionToCode("Asx"), 0);
}

// The closing quote, " %1" and the opening quote go; a command of fewer than five characters
// holds no path.
TEST(BrowserPathFromCommand, DropsTheLastFourCharactersAndTheFirstOrFailsWhenTooShort) {
    EXPECT_EQ(BrowserPathFromCommand("\"\" %1"), "");
    EXPECT_THROW(BrowserPathFromCommand("\" %1"), RunError);
}

}  // namespace
}  // namespace rg::test
