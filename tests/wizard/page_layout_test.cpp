// The designed pages under the language file, the page titles' style and what lines up.
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

using platform::ControlKind;

TEST_F(WizardTest, TheLanguageFileReplacesEveryTaggedCaptionButNothingElse) {
    std::string file = "[Startup Wizard]\r\n";
    for (int id = 5000; id < 6000; ++id) {
        file += std::to_string(id) + "=text " + std::to_string(id) + "\r\n";
    }
    WriteLanguageFile(file);
    Start();
    EXPECT_EQ(wizard().caption(), "text 5000");
    for (const auto& control : wizard().controls()) {
        const ControlKind kind = control->kind();
        const bool translated = !control->tag().empty() &&
                                (kind == ControlKind::Label || kind == ControlKind::OptionButton ||
                                 kind == ControlKind::CommandButton);
        EXPECT_EQ(control->caption().starts_with("text "), translated) << control->name();
        if (translated) {
            EXPECT_EQ(control->caption(), "text " + control->tag());
        }
    }
}

// Page titles (lbPageNHeader) are bold 12-point and centred; every other control keeps the
// window's font at the left. Labels, options and the page frames are white.
TEST_F(WizardTest, PageTitlesStandOutAndEverythingSitsOnWhitePages) {
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
}

// Controls that belong together line up: Back, Next and Cancel side by side below the
// separator; page 6's buttons, page 4's password boxes and page 5's options one above the
// other; and the subtitles of all pages, so that they do not jump as the pages change.
TEST_F(WizardTest, ControlsThatBelongTogetherLineUp) {
    Start();
    using platform::Bounds;
    const auto expectAlike = [this](std::vector<std::string> names, auto part) {
        for (const std::string& name : names) {
            EXPECT_EQ(part(Get(name).bounds()), part(Get(names[0]).bounds())) << name;
        }
    };
    const auto row = [](const Bounds& b) { return std::tuple(b.top, b.width, b.height); };
    const auto column = [](const Bounds& b) { return std::tuple(b.left, b.width, b.height); };
    expectAlike({"cmdBack", "cmdNext", "cmdCancel"}, row);
    expectAlike({"cmdAdd", "cmdRemove"}, column);
    expectAlike({"txtPassword", "txtConfirmPass"}, column);
    expectAlike({"optAllowProgram", "optNoProgramAdd", "optAdvanceProgram"},
                [](const Bounds& b) { return b.left; });
    expectAlike({"lbPage1Header2", "lbPage3Header2", "lbPage4Header2", "lbPage5Header2",
                 "lbPage6Header2", "lbPage9Header2"},
                [](const Bounds& b) { return std::pair(b.left, b.width); });
    const Bounds back = wizard().cmdBack.bounds();
    const Bounds next = wizard().cmdNext.bounds();
    EXPECT_LT(back.left + back.width, next.left);
    EXPECT_LT(next.left + next.width, wizard().cmdCancel.bounds().left);
    EXPECT_GT(back.top, wizard().Line1.lineEnds().y1);
}

}  // namespace
}  // namespace rg::test
