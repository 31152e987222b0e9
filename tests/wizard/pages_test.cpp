// The pages: Next and Back through them (which page shows, the buttons' states and captions,
// each page's icon, the branch around the program list), the password page's check, and the
// designed pages' style and what lines up.
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

using platform::Bounds;
using platform::ControlKind;

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

// Page 4 puts the focus into the first box; both boxes select their text on focus.
// Boxes that disagree, or a password the stores cannot hold ("\xCF" enciphers to a space at the
// registry copy's first position, which the store trims), keep the page.
TEST_F(WizardTest, ThePasswordPageTakesOnlyAgreeingStorablePasswords) {
    Start();
    Next();
    Next();
    const ControlRequest first{"frmStartupMain", "txtPassword"};
    EXPECT_EQ(screen.focusRequests(), std::vector<ControlRequest>{first});
    ASSERT_TRUE(wizard().GotFocus(Get("txtConfirmPass")));
    EXPECT_EQ(screen.selectAllRequests(),
              (std::vector<ControlRequest>{first, {"frmStartupMain", "txtConfirmPass"}}));
    using Row = std::tuple<std::string, std::string, std::string>;
    for (const auto& [password, confirm, refusal] :
         {Row{"Other", "other", "Password not matched."}, Row{"", "Other", "Password not matched."},
          Row{"\xCF", "\xCF", kPasswordNotStorableText}}) {
        ASSERT_TRUE(wizard().TypeText(Get("txtPassword"), password));
        ASSERT_TRUE(wizard().TypeText(Get("txtConfirmPass"), confirm));
        screen.AnswerNextBox(platform::IDOK);
        Next();
        EXPECT_EQ(wizard().CurrentPage, 4);
        EXPECT_EQ(screen.boxes().back().text, refusal);
        EXPECT_EQ(screen.boxes().back().style, platform::MB_OK | platform::MB_ICONHAND);
    }
    EXPECT_EQ(screen.boxes().size(), 3u);
}

// Page titles (lbPageNHeader) are bold 12-point and centred; every other control keeps the
// window's font at the left. Labels, options and the page frames are white. Controls that
// belong together line up: Back, Next and Cancel in a row below the separator; page 6's
// buttons, the password boxes and each page's options one above the other; and the titles
// (but page 3's, which leaves more room to the icon) and subtitles, so that they do not jump
// as the pages change.
TEST_F(WizardTest, PageTitlesStandOutOnWhitePagesAndWhatBelongsTogetherLinesUp) {
    Start();
    int titles = 0;
    for (const auto& control : wizard().controls()) {
        SCOPED_TRACE(control->name());
        const std::string& name = control->name();
        const bool title = name.starts_with("lbPage") && name.ends_with("Header");
        titles += title ? 1 : 0;
        EXPECT_EQ(control->font().bold, title);
        EXPECT_EQ(control->font().pointSize, title ? 12 : platform::Font().pointSize);
        EXPECT_EQ(control->alignment(),
                  title ? platform::TextAlignment::Center : platform::TextAlignment::Left);
        const ControlKind kind = control->kind();
        const bool white = kind == ControlKind::Label || kind == ControlKind::OptionButton ||
                           (kind == ControlKind::Frame && control->container() == nullptr);
        EXPECT_EQ(control->backColor(), white ? platform::kWhite : platform::kSystemColor);
    }
    EXPECT_EQ(titles, 6);

    const auto expectAlike = [this](std::vector<std::string> names, auto part) {
        for (const std::string& name : names) {
            EXPECT_EQ(part(Get(name).bounds()), part(Get(names[0]).bounds())) << name;
        }
    };
    const auto column = [](const Bounds& b) { return std::tuple(b.left, b.width, b.height); };
    const auto left = [](const Bounds& b) { return b.left; };
    expectAlike({"cmdBack", "cmdNext", "cmdCancel"},
                [](const Bounds& b) { return std::tuple(b.top, b.width, b.height); });
    expectAlike({"cmdAdd", "cmdRemove"}, column);
    expectAlike({"txtPassword", "txtConfirmPass"}, column);
    expectAlike({"optAlertAlltime", "optAlertDoNot"}, left);
    expectAlike({"optAllowProgram", "optNoProgramAdd", "optAdvanceProgram"}, left);
    expectAlike(
        {"lbPage1Header", "lbPage4Header", "lbPage5Header", "lbPage6Header", "lbPage9Header"},
        [](const Bounds& b) { return std::tuple(b.left, b.top, b.width, b.height); });
    expectAlike({"lbPage1Header2", "lbPage3Header2", "lbPage4Header2", "lbPage5Header2",
                 "lbPage6Header2", "lbPage9Header2"},
                [](const Bounds& b) { return std::tuple(b.left, b.top, b.width); });
    EXPECT_GT(wizard().cmdBack.bounds().top, wizard().Line1.lineEnds().y1);
}

}  // namespace
}  // namespace rg::test
