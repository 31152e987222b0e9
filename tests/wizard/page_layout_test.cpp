// The designed pages under the language file, and the page titles' style.
#include <string>

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

}  // namespace
}  // namespace rg::test
