// The designed pages under the language file, the page titles' style and the button rows.
#include <string>
#include <tuple>

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

// Back, Next and Cancel are alike, side by side below the separator; page 6's Add and Remove
// are alike, one above the other.
TEST_F(WizardTest, TheButtonsOfARowShareOneSize) {
    Start();
    const auto size = [](const platform::Control& button) {
        return std::tuple(button.bounds().width, button.bounds().height);
    };
    const platform::Bounds back = wizard().cmdBack.bounds();
    const platform::Bounds next = wizard().cmdNext.bounds();
    const platform::Bounds cancel = wizard().cmdCancel.bounds();
    EXPECT_EQ(size(wizard().cmdNext), size(wizard().cmdBack));
    EXPECT_EQ(size(wizard().cmdCancel), size(wizard().cmdBack));
    EXPECT_EQ(next.top, back.top);
    EXPECT_EQ(cancel.top, back.top);
    EXPECT_LT(back.left + back.width, next.left);
    EXPECT_LT(next.left + next.width, cancel.left);
    EXPECT_GT(back.top, wizard().Line1.lineEnds().y1);
    EXPECT_EQ(size(Get("cmdRemove")), size(Get("cmdAdd")));
    EXPECT_EQ(Get("cmdRemove").bounds().left, Get("cmdAdd").bounds().left);
}

}  // namespace
}  // namespace rg::test
