// The permission menus of the list: when a mouse release opens them, and what their commands do
// to the current row, through the scripted window system.
#include <random>

#include "tests/programs/program_list_fixture.h"

namespace rg::test {
namespace {

using platform::kLeftButton;
using platform::kMiddleButton;
using platform::kRightButton;

int Rank(const std::string& permission) {
    return permission == "Block" ? 0 : (permission == "Ask" ? 1 : 2);
}

bool IsPermission(const std::string& text) {
    return text == "Allow" || text == "Block" || text == "Ask";
}

class ProgramMenus : public ProgramListTest {
  protected:
    void SetUp() override { AddFiles({"alpha.bin", "beta.bin"}); }

    // Sets the row's permissions through the menus (Access first, then Server).
    void SetPermissions(int row, const char* access, const char* server) {
        Choose(row, 1, std::string("mnuAccess") + access);
        Choose(row, 2, std::string("mnuServer") + server);
    }
    void Choose(int row, int column, const std::string& item) {
        screen.ChooseInNextMenu(item);
        ScriptedWindowSystem::ClickCell(lvw(), row, column, kLeftButton);
        ASSERT_EQ(screen.pendingMenuChoices(), 0u) << "no menu opened for " << item;
    }
};

TEST_F(ProgramMenus, OpenOnlyOnReleaseOfTheLeftButtonOverAnAccessOrServerCell) {
    for (const int button : {kLeftButton, kRightButton, kMiddleButton}) {
        for (const int row : {0, 1, 2}) {  // row 2 lies below the last row
            for (const int column : {0, 1, 2}) {
                const std::size_t before = screen.popups().size();
                ScriptedWindowSystem::ClickCell(lvw(), row, column, button);
                const bool opens = button == kLeftButton && row < 2 && column > 0;
                ASSERT_EQ(screen.popups().size(), before + (opens ? 1 : 0))
                    << "button " << button << " row " << row << " column " << column;
                if (opens) {
                    const PopupRecord& popup = screen.popups().back();
                    EXPECT_EQ(popup.menu, column == 1 ? "mnuAccess" : "mnuServer");
                    EXPECT_EQ(popup.anchor, "lvwPrograms");
                    const ListPoint at = ScriptedWindowSystem::CellPoint(lvw(), row, column);
                    EXPECT_EQ(popup.x, at.x);
                    EXPECT_EQ(popup.y, at.y);
                }
            }
        }
    }
}

TEST_F(ProgramMenus, OpenNothingWithoutACurrentRowOrOverTheHeader) {
    const ListPoint cell = ScriptedWindowSystem::CellPoint(lvw(), 0, 1);
    ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton, 0, cell.x, cell.y));  // nothing selected yet
    SelectRows({0}, 0);
    ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton, 0, cell.x, 5 * platform::kTwipsPerPixelY));
    ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton | kRightButton, 0, cell.x, cell.y));
    EXPECT_TRUE(screen.popups().empty());
}

TEST_F(ProgramMenus, CommandsFollowTheTableOnTheClickedRow) {
    struct Case {
        const char* access;
        const char* server;
        int column;
        const char* item;
        const char* accessAfter;
        const char* serverAfter;
    };
    const Case cases[] = {
        {"Allow", "Block", 1, "mnuAccessAsk", "Ask", "Ask"},
        {"Allow", "Block", 1, "mnuAccessAllow", "Allow", "Block"},
        {"Allow", "Allow", 1, "mnuAccessBlock", "Block", "Block"},
        {"Block", "Block", 2, "mnuServerAsk", "Ask", "Ask"},
        {"Block", "Block", 2, "mnuServerAllow", "Allow", "Allow"},
        {"Allow", "Allow", 2, "mnuServerAsk", "Allow", "Ask"},
        {"Ask", "Ask", 2, "mnuServerBlock", "Ask", "Block"},
        {"Ask", "Block", 1, "mnuAccessAsk", "Ask", "Ask"},
    };
    for (const Case& c : cases) {
        SetPermissions(1, c.access, c.server);
        ASSERT_EQ(Access(1), c.access);
        ASSERT_EQ(Server(1), c.server);
        Choose(1, c.column, c.item);
        EXPECT_EQ(Access(1), c.accessAfter) << c.access << "/" << c.server << " " << c.item;
        EXPECT_EQ(Server(1), c.serverAfter) << c.access << "/" << c.server << " " << c.item;
        EXPECT_EQ(Access(0), "Allow");  // the other row is untouched
        EXPECT_EQ(Server(0), "Allow");
    }
}

TEST_F(ProgramMenus, ActOnTheCurrentRowOnlyWhenSeveralAreSelected) {
    AddFiles({"gamma.bin"});
    SelectRows({0, 1, 2}, 1);
    const ListPoint cell = ScriptedWindowSystem::CellPoint(lvw(), 1, 1);
    screen.ChooseInNextMenu("mnuAccessBlock");
    ASSERT_TRUE(form.MouseUp(lvw(), kLeftButton, 0, cell.x, cell.y));
    EXPECT_EQ(Access(1), "Block");
    EXPECT_EQ(Server(1), "Block");
    for (const std::size_t other : {0u, 2u}) {
        EXPECT_EQ(Access(other), "Allow");
        EXPECT_EQ(Server(other), "Allow");
    }
}

// Random clicks with any button on any cell (also below the rows), with a random item chosen
// whenever a menu opens: no row ever lets Server permit more than Access.
TEST_F(ProgramMenus, RandomSequencesKeepServerAtMostAsPermissiveAsAccess) {
    AddFiles({"gamma.bin", "delta.bin"});
    std::mt19937 random(20240611);
    const int buttons[] = {kLeftButton, kRightButton, kMiddleButton};
    const char* const items[] = {"Allow", "Block", "Ask"};
    for (int step = 0; step < 2000; ++step) {
        const int row = static_cast<int>(random() % 5);  // row 4 lies below the last row
        const int column = static_cast<int>(random() % 3);
        const int button = buttons[random() % 3];
        const bool opens = button == kLeftButton && row < 4 && column > 0;
        if (opens) {
            const std::string menu = column == 1 ? "mnuAccess" : "mnuServer";
            screen.ChooseInNextMenu(random() % 7 == 0 ? "" : menu + items[random() % 3]);
        }
        const std::size_t popups = screen.popups().size();
        ScriptedWindowSystem::ClickCell(lvw(), row, column, button);
        ASSERT_EQ(screen.popups().size(), popups + (opens ? 1 : 0)) << "step " << step;
        for (std::size_t i = 0; i < rows().count(); ++i) {
            ASSERT_LE(Rank(Server(i)), Rank(Access(i))) << "step " << step << " row " << i;
            ASSERT_TRUE(IsPermission(Access(i)) && IsPermission(Server(i)));
        }
    }
}

}  // namespace
}  // namespace rg::test
