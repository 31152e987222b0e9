#include <gtest/gtest.h>

#include <string>

#include "platform/ui/form.h"
#include "services/language.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using platform::ControlKind;
using test::TempInstall;

class Language : public ::testing::Test {
  protected:
    void SetUp() override { LangFilePath = install.appPath() + "/Lang/English.INI"; }
    void WriteLanguageFile(const std::string& contents) {
        TempInstall::WriteFile(LangFilePath, contents);
    }
    // A window with one control of each kind that matters to the walk, all tagged "5101"
    // except the untagged label.
    platform::Form& MakeWindow() {
        auto add = [&](ControlKind kind, const char* name, const char* tag) {
            platform::Control& control = window.AddControl(kind, name);
            control.setCaption("design");
            control.setTag(tag);
        };
        add(ControlKind::Label, "label", "5101");
        add(ControlKind::CommandButton, "button", "5101");
        add(ControlKind::OptionButton, "option", "5101");
        add(ControlKind::Label, "untagged", "");
        add(ControlKind::TextBox, "text", "5101");
        add(ControlKind::Frame, "frame", "5101");
        window.Get("text").setText("typed");
        return window;
    }
    std::string Caption(const char* name) const { return window.Get(name).caption(); }

    TempInstall install;
    platform::Form window{"window"};
};

TEST_F(Language, MissingFileGivesFallbacksAndKeepsCaptions) {
    EXPECT_EQ(GetLangString("5001", "&Next >"), "&Next >");
    EXPECT_EQ(GetLangString("5004", ""), "");
    ApplyLanguage(MakeWindow(), kLangSection);
    EXPECT_EQ(Caption("label"), "design");
    EXPECT_EQ(Caption("button"), "design");
}

TEST_F(Language, TranslatesOnlyTaggedButtonsLabelsAndOptions) {
    WriteLanguageFile("[Startup Wizard]\r\n5101=Welcome && hello\r\n");
    EXPECT_EQ(GetLangString("5101", "x"), "Welcome && hello");
    ApplyLanguage(MakeWindow(), kLangSection);
    EXPECT_EQ(Caption("label"), "Welcome && hello");
    EXPECT_EQ(Caption("button"), "Welcome && hello");
    EXPECT_EQ(Caption("option"), "Welcome && hello");
    EXPECT_EQ(Caption("untagged"), "design");
    EXPECT_EQ(Caption("text"), "design");
    EXPECT_EQ(Caption("frame"), "design");
    EXPECT_EQ(window.Get("text").text(), "typed");
}

TEST_F(Language, EmptyValueEmptiesTheCaptionInsteadOfFallingBack) {
    WriteLanguageFile("[Startup Wizard]\r\n5101=\r\n");
    EXPECT_EQ(GetLangString("5101", "&Next >"), "");
    ApplyLanguage(MakeWindow(), kLangSection);
    EXPECT_EQ(Caption("button"), "");
}

TEST_F(Language, LongValueIsCutTo254Characters) {
    const std::string value = std::string(250, 'a') + std::string(50, 'b');
    WriteLanguageFile("[Startup Wizard]\r\n5101=" + value + "\r\n");
    EXPECT_EQ(GetLangString("5101", ""), value.substr(0, 254));
    ApplyLanguage(MakeWindow(), kLangSection);
    EXPECT_EQ(Caption("label"), value.substr(0, 254));
}

TEST_F(Language, SectionAndKeyMatchInAnyLetterCase) {
    WriteLanguageFile("[startup WIZARD]\r\n5101=found\r\n");
    EXPECT_EQ(GetLangString("5101", "fallback"), "found");
    ApplyLanguage(MakeWindow(), "STARTUP WIZARD");
    EXPECT_EQ(Caption("label"), "found");
}

TEST_F(Language, OtherSectionsAndKeysAreNotUsed) {
    WriteLanguageFile("[Other]\r\n5101=wrong\r\n[Startup Wizard]\r\n5102=other key\r\n");
    EXPECT_EQ(GetLangString("5101", "fallback"), "fallback");
    ApplyLanguage(MakeWindow(), kLangSection);
    EXPECT_EQ(Caption("label"), "design");
}

}  // namespace
}  // namespace rg
