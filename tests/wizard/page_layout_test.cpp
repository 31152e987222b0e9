// The designed pages: the page titles' style, and what lines up.
#include <string>
#include <tuple>
#include <vector>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

using platform::Bounds;
using platform::ControlKind;

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
    const auto row = [](const Bounds& b) { return std::tuple(b.top, b.width, b.height); };
    const auto column = [](const Bounds& b) { return std::tuple(b.left, b.width, b.height); };
    const auto left = [](const Bounds& b) { return b.left; };
    expectAlike({"cmdBack", "cmdNext", "cmdCancel"}, row);
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
