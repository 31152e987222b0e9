// The list itself: sorting by a header click, when a mouse release or a key opens a permission
// menu (with the row's permission checked), and the menu items acting on the current row.
#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using platform::kLeftButton;

TEST_F(ProgramListTest, StartsUnsortedAndEachHeaderSortsAscendingFirstThenFlips) {
    AddFiles({"b.bin", "C.bin", "a.bin"});
    lvw().list().SetSubItem(0, 1, "Block");  // Access: b Block, C Allow, a Ask
    lvw().list().SetSubItem(2, 1, "Ask");
    lvw().list().SetSubItem(0, 2, "Ask");  // Server: b Ask, C Allow, a Block
    lvw().list().SetSubItem(2, 2, "Block");
    EXPECT_FALSE(rows().sorted());
    EXPECT_EQ(Names(), (std::vector<std::string>{"b.bin", "C.bin", "a.bin"}));
    const std::pair<int, const char*> clicks[] = {{0, "abC"}, {0, "Cba"}, {1, "Cab"}, {1, "baC"},
                                                  {2, "Cba"}, {0, "abC"}, {0, "Cba"}};
    for (const auto& [column, order] : clicks) {
        ASSERT_TRUE(form.ColumnClick(lvw(), column));
        std::string names;
        for (const std::string& name : Names()) {
            names += name.front();
        }
        EXPECT_EQ(names, order) << "column " << column;
    }
}

TEST_F(ProgramListTest, MenusOpenOnReleaseOfTheLeftButtonOverAnAccessOrServerCellOfARow) {
    AddFiles({"alpha.bin", "beta.bin"});
    for (const int button : {kLeftButton, platform::kRightButton, platform::kMiddleButton,
                             kLeftButton | platform::kRightButton}) {
        for (const int row : {-1, 0, 1, 2}) {  // -1: the header; 2: below the last row
            for (const int column : {0, 1, 2}) {
                SCOPED_TRACE(testing::Message() << button << " " << row << " " << column);
                Select({0}, 0);
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
    Select({}, -1);  // without a current row no menu opens
    const ListPoint cell = ScriptedWindowSystem::CellPoint(lvw(), 0, 1);
    ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton, 0, cell.x, cell.y));
    EXPECT_EQ(screen.popups().size(), 4u);
}

// The Menu key or Shift+F10 opens the current row's Access menu, with Ctrl its Server menu; the
// menu shows the row's permission checked.
TEST_F(ProgramListTest, TheMenuKeyOpensTheCurrentRowsMenuWithItsPermissionChecked) {
    using platform::kCtrlKey, platform::kShiftKey, platform::kKeyApplications;
    AddFiles({"alpha.bin", "beta.bin"});
    lvw().list().SetSubItem(0, 1, "Block");
    lvw().list().SetSubItem(0, 2, "Ask");
    const struct {
        int key, shift;
        const char* menu;
    } keys[] = {{kKeyApplications, 0, "mnuAccess"},
                {platform::kKeyF10, kShiftKey, "mnuAccess"},
                {kKeyApplications, kCtrlKey, "mnuServer"},
                {platform::kKeyF10, 0, nullptr},
                {'M', kShiftKey, nullptr},
                {platform::kKeyF10, kCtrlKey, nullptr}};
    for (const auto& key : keys) {
        SCOPED_TRACE(testing::Message() << key.key << " " << key.shift);
        Select({0}, 0);
        const std::size_t before = screen.popups().size();
        ASSERT_TRUE(form.KeyDown(lvw(), key.key, key.shift));
        ASSERT_EQ(screen.popups().size(), before + (key.menu ? 1 : 0));
        if (key.menu) {
            EXPECT_EQ(screen.popups().back().menu, key.menu);
            const std::string checked = std::string(key.menu) == "mnuAccess" ? "Block" : "Ask";
            for (const char* permission : {"Allow", "Block", "Ask"}) {
                EXPECT_EQ(form.Get(key.menu + std::string(permission)).value(),
                          permission == checked);
            }
        }
    }
    Select({}, -1);
    ASSERT_TRUE(form.KeyDown(lvw(), kKeyApplications, 0));
    EXPECT_EQ(screen.popups().size(), 3u);
}

// Each of the six items, in the order of the commands, from every row, with a second row
// selected but not current.
TEST_F(ProgramListTest, MenuItemsApplyTheirCommandToTheCurrentRowOnly) {
    AddFiles({"alpha.bin", "beta.bin"});
    const char* const items[] = {"mnuAccessAllow", "mnuAccessBlock", "mnuAccessAsk",
                                 "mnuServerAllow", "mnuServerBlock", "mnuServerAsk"};
    const char* const texts[] = {"Allow", "Block", "Ask"};
    for (int item = 0; item < 6; ++item) {
        for (const char* access : texts) {
            for (const char* server : texts) {
                SCOPED_TRACE(std::string(items[item]) + " on " + access + "/" + server);
                lvw().list().SetSubItem(0, 1, access);
                lvw().list().SetSubItem(0, 2, server);
                Select({0, 1}, 0);
                screen.ChooseInNextMenu(items[item]);
                const ListPoint cell = ScriptedWindowSystem::CellPoint(lvw(), 0, item < 3 ? 1 : 2);
                ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton, 0, cell.x, cell.y));
                const RowPermissions expected =
                    ApplyPermissionCommand(static_cast<PermissionCommand>(item), {access, server});
                const std::vector<ProgramRowSettings> settings = programs->RowSettings();
                EXPECT_EQ(settings[0].Access + "/" + settings[0].Server,
                          expected.Access + "/" + expected.Server);
                EXPECT_EQ(settings[1].Access + "/" + settings[1].Server, "Allow/Allow");
            }
        }
    }
    EXPECT_EQ(screen.pendingMenuChoices(), 0u);
}

}  // namespace
}  // namespace rg::test
