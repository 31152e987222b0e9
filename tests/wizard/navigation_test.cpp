// Next and Back through the pages: which page shows, the buttons' states and the captions of
// the language file, each page's icon, and the branch around the program list.
#include <set>
#include <string>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

class Navigation : public WizardTest {
  protected:
    void ExpectPage(int page, bool backEnabled, const std::string& nextCaption) {
        SCOPED_TRACE(page);
        EXPECT_EQ(VisiblePage(), "fraPage" + std::to_string(page));
        EXPECT_EQ(wizard().CurrentPage, page);
        EXPECT_EQ(wizard().cmdBack.enabled(), backEnabled);
        EXPECT_EQ(wizard().cmdNext.caption(), nextCaption);
    }
};

// A page's icon is loaded when the page is first shown; pages 5 and 6 share theirs.
TEST_F(Navigation, NextAndBackWalkEveryPageWithItsIconAndTheCaptionsOfTheLanguageFile) {
    TempInstall::WriteFile(install.appPath() + "/Lang/English.INI",
                           "[Startup Wizard]\r\n5001=&Next >>\r\n5004=&Finish\r\n");
    Start();
    ExpectPage(1, false, "&Next >>");
    std::set<int> icons{Get("imgPage1").pictureId()};
    for (const int page : {3, 4, 5, 6, 9}) {
        platform::Control& icon = Get("imgPage" + std::to_string(page));
        EXPECT_EQ(icon.pictureId(), 0) << page;
        if (page == 6) {
            Choose("optAdvanceProgram");
        }
        Next();
        ExpectPage(page, true, page == 9 ? "&Finish" : "&Next >>");
        icons.insert(icon.pictureId());
    }
    EXPECT_EQ(Get("imgPage5").pictureId(), Get("imgPage6").pictureId());
    EXPECT_EQ(icons.size(), 5u);
    EXPECT_FALSE(icons.contains(0));
    for (const int page : {6, 5, 4, 3, 1}) {
        Back();
        ExpectPage(page, page != 1, "&Next >>");
    }
}

// The program option counts at Next: Back from the finish page leads to the page before it.
// Without a language file the finish caption is blank, and so is Next's after Back from there.
TEST_F(Navigation, TheProgramOptionDecidesTheBranchAroundTheProgramList) {
    Start();
    WalkToFinish("optAdvanceProgram");
    Back();
    ExpectPage(6, true, "");
    Back();
    Choose("optNoProgramAdd");
    Next();
    ExpectPage(9, true, "");
    Back();
    ExpectPage(5, true, "");
}

}  // namespace
}  // namespace rg::test
