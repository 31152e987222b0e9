// GetLangString and ApplyLanguage over the language file; the wizard's tests apply it to every
// page of the real window.
#include "services/language.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/ui/form.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

TEST(Language, TextsComeFromTheirSectionInAnyCaseOrFromTheFallback) {
    TempInstall install;
    LangFilePath = install.appPath() + "/Lang/English.INI";
    const std::string value = std::string(250, 'a') + std::string(50, 'b');
    TempInstall::WriteFile(LangFilePath,
                           "[Other]\r\n5102=wrong\r\n[startup WIZARD]\r\n5101=\r\n5103=" + value);
    EXPECT_EQ(GetLangString("5101", "&Next >"), "");  // an empty text stays empty
    EXPECT_EQ(GetLangString("5102", "fallback"), "fallback");
    EXPECT_EQ(GetLangString("5103", ""), value.substr(0, 254));
    platform::Form window("window");
    for (const char* tag : {"5101", "5104"}) {
        platform::Control& label = window.AddControl(platform::ControlKind::Label, tag);
        label.setCaption("design");
        label.setTag(tag);
    }
    ApplyLanguage(window, "STARTUP wizard");
    EXPECT_EQ(window.Get("5101").caption(), "");
    EXPECT_EQ(window.Get("5104").caption(), "design");  // a missing key keeps the caption
}

}  // namespace
}  // namespace rg::test
