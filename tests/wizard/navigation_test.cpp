// Next and Back through the pages: which page shows, the buttons' states and captions, the
// branch around the program list, and each page's icon.
#include <set>
#include <string>

#include "tests/wizard/wizard_fixture.h"
#include "wizard/page_layout.h"

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

TEST_F(Navigation, NextAndBackWalkEveryPageWithTheCaptionsOfTheLanguageFile) {
    WriteLanguageFile("[Startup Wizard]\r\n5001=&Next >>\r\n5004=&Finish\r\n");
    Start();
    ExpectPage(1, false, "&Next >>");
    for (const int page : {3, 4, 5, 6}) {
        if (page == 6) {
            Choose("optAdvanceProgram");
        }
        Next();
        ExpectPage(page, true, "&Next >>");
    }
    Next();
    ExpectPage(9, true, "&Finish");
    for (const int page : {6, 5, 4, 3}) {
        Back();
        ExpectPage(page, true, "&Next >>");
    }
    Back();
    ExpectPage(1, false, "&Next >>");
}

// The program option counts at Next; without a language file the finish caption is blank, and
// so is Next's after Back from there.
TEST_F(Navigation, TheProgramOptionDecidesTheBranchAroundTheProgramList) {
    Start();
    WalkToFinish("optAdvanceProgram");
    EXPECT_EQ(wizard().ProgramChoice, 3);
    Back();
    ExpectPage(6, true, "");
    Back();
    Choose("optNoProgramAdd");
    EXPECT_EQ(wizard().ProgramChoice, 3);
    Next();
    ExpectPage(9, true, "");
    EXPECT_EQ(wizard().ProgramChoice, 2);
    Back();
    ExpectPage(5, true, "");
    Choose("optAllowProgram");
    Next();
    EXPECT_EQ(wizard().ProgramChoice, 1);
}

// Pages 5 and 6 share an icon; every other page has its own, loaded when the page is shown.
TEST_F(Navigation, EachPageIsPlacedInThePageAreaWithItsIcon) {
    Start();
    std::set<int> icons;
    for (const std::string page : {"1", "3", "4", "5", "6", "9"}) {
        if (page != "1") {
            EXPECT_EQ(Get("imgPage" + page).pictureId(), 0) << page;
            if (page == "6") {
                Choose("optAdvanceProgram");
            }
            Next();
        }
        EXPECT_EQ(Get("fraPage" + page).bounds(), wizard::kPageArea);
        icons.insert(Get("imgPage" + page).pictureId());
    }
    EXPECT_EQ(Get("imgPage5").pictureId(), Get("imgPage6").pictureId());
    EXPECT_EQ(icons.size(), 5u);
    EXPECT_EQ(icons.count(0), 0u);
}

}  // namespace
}  // namespace rg::test
