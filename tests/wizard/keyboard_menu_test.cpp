// The permission menus from the keyboard: the Menu key or Shift+F10 on the current row opens its
// Access menu, with Ctrl its Server menu, each with the row's present value checked; the
// command chosen acts on that row as a click's would.
#include <string>

#include "tests/support/pe_builder.h"
#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

TEST_F(WizardTest, TheMenuKeyOpensTheCurrentRowsPermissionMenus) {
    Start();
    WalkToFinish("optAdvanceProgram");
    Back();
    screen.AnswerNextFileDialog(FixturePath("full"));
    ASSERT_TRUE(wizard().Click(Get("cmdAdd")));
    platform::Control& list = Get("lvwPrograms");
    ASSERT_EQ(list.list().count(), 1u);
    const auto cell = [&](std::size_t column) { return list.list().rows()[0].subItem(column); };
    const auto checked = [&](const char* prefix) {
        std::string value;
        for (const char* permission : {"Allow", "Block", "Ask"}) {
            value += Get(std::string(prefix) + permission).value() ? permission : "";
        }
        return value;
    };

    ScriptedWindowSystem::ClickCell(list, 0, 0, platform::kLeftButton);  // current, no menu
    ASSERT_TRUE(screen.popups().empty());
    const struct {
        int key, shift;
        const char *menu, *choice, *checkedBefore;
    } presses[] = {
        {platform::kKeyApplications, 0, "mnuAccess", "mnuAccessBlock", "Allow"},
        {platform::kKeyF10, platform::kShiftKey, "mnuAccess", "mnuAccessAsk", "Block"},
        {platform::kKeyApplications, platform::kCtrlKey, "mnuServer", "mnuServerBlock", "Ask"},
        {platform::kKeyF10, platform::kShiftKey | platform::kCtrlKey, "mnuServer", "", "Block"},
    };
    for (const auto& press : presses) {
        SCOPED_TRACE(press.choice);
        const std::size_t before = screen.popups().size();
        screen.ChooseInNextMenu(press.choice);
        ASSERT_TRUE(wizard().KeyDown(list, press.key, press.shift));
        ASSERT_EQ(screen.popups().size(), before + 1);
        EXPECT_EQ(screen.popups().back().menu, press.menu);
        EXPECT_EQ(checked(press.menu), press.checkedBefore);
    }
    EXPECT_EQ(cell(1) + "/" + cell(2), "Ask/Block");
    // F10 alone, other keys, and no current row open nothing.
    ASSERT_TRUE(wizard().KeyDown(list, platform::kKeyF10, 0));
    ASSERT_TRUE(wizard().KeyDown(list, 'A', platform::kShiftKey));
    list.list().Select({}, -1);
    ASSERT_TRUE(wizard().KeyDown(list, platform::kKeyApplications, 0));
    EXPECT_EQ(screen.popups().size(), 4u);
}

}  // namespace
}  // namespace rg::test
