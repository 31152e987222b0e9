#include <set>
#include <string>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

using platform::ControlKind;

bool Translatable(const platform::Control& control) {
    return control.kind() == ControlKind::Label || control.kind() == ControlKind::OptionButton ||
           control.kind() == ControlKind::CommandButton;
}

// Identifier 5Nxx belongs on page N; a misplaced or repeated tag would show a wrong text.
TEST_F(WizardTest, EveryPageControlCarriesAnIdentifierOfItsOwnPage) {
    Start();
    EXPECT_EQ(wizard().tag(), "5000");
    std::set<std::string> seen;
    for (const auto& control : wizard().controls()) {
        if (control->tag().empty()) {
            continue;
        }
        EXPECT_TRUE(seen.insert(control->tag()).second) << control->tag();
        const platform::Control* frame = control->container();
        if (frame == nullptr) {
            EXPECT_EQ(control->tag().substr(0, 2), "50") << control->name();
            continue;
        }
        const std::string page = frame->name().substr(std::string("fraPage").size());
        EXPECT_EQ(control->tag().substr(0, 2), "5" + page) << control->name();
    }
    EXPECT_EQ(seen.count("5304"), 0u);
    EXPECT_EQ(seen.size(), 52u);
}

TEST_F(WizardTest, LanguageFileReplacesEveryTaggedCaptionButNoTypedText) {
    std::string file = "[Startup Wizard]\r\n";
    for (int id = 5000; id < 6000; ++id) {
        file += std::to_string(id) + "=text " + std::to_string(id) + "\r\n";
    }
    WriteLanguageFile(file);
    Start();
    EXPECT_EQ(wizard().caption(), "text 5000");
    for (const auto& control : wizard().controls()) {
        SCOPED_TRACE(control->name());
        if (Translatable(*control) && !control->tag().empty()) {
            EXPECT_EQ(control->caption(), "text " + control->tag());
        } else {
            EXPECT_EQ(control->caption().find("text "), std::string::npos);
        }
    }
    EXPECT_EQ(Get("Label1").caption(), "Windows web component: Generic Host Process (svchost.exe)");
}

TEST_F(WizardTest, WithoutLanguageFileTheDesignCaptionsStay) {
    Start();
    EXPECT_EQ(Get("optAlertAlltime").caption(), "-----");
    EXPECT_EQ(Get("optAlertDoNot").caption(), "-----");
    EXPECT_EQ(Get("lbPage3Header").caption(), "Alerts && Logs");
    // The design caption's trailing space goes the way the profile API treats a fallback:
    // trailing spaces of the default are stripped, so the caption ends at "programs".
    EXPECT_EQ(Get("optAllowProgram").caption(),
              "Yes, allow access && server permission for following programs");
    EXPECT_EQ(Get("lbAutoProgram1").caption(),
              " Default web browser: Internet Explorer (IEXPLORER.EXE)");
    EXPECT_EQ(Get("lbPage9Desc").caption(), "");
}

TEST_F(WizardTest, EachPageIsPlacedAndGetsItsIconWhenShown) {
    Start();
    const platform::Bounds pageArea{2560, 0, 5400, 4000};
    EXPECT_EQ(Get("imgPage1").pictureId(), 101);
    Next();
    EXPECT_EQ(Get("imgPage3").pictureId(), 103);
    Next();
    EXPECT_EQ(Get("imgPage4").pictureId(), 104);
    Next();
    EXPECT_EQ(Get("imgPage5").pictureId(), 106);
    ASSERT_TRUE(wizard().Click(Get("optAdvanceProgram")));
    Next();
    EXPECT_EQ(Get("imgPage6").pictureId(), 106);
    Next();
    EXPECT_EQ(Get("imgPage9").pictureId(), 105);
    for (const char* frame :
         {"fraPage1", "fraPage3", "fraPage4", "fraPage5", "fraPage6", "fraPage9"}) {
        EXPECT_EQ(Get(frame).bounds(), pageArea) << frame;
    }
}

TEST_F(WizardTest, PageTitlesAreBoldTwelvePointAndCentredClearOfTheIcon) {
    Start();
    for (const char* title : {"lbPage1Header", "lbPage3Header", "lbPage4Header", "lbPage5Header",
                              "lbPage6Header", "lbPage9Header"}) {
        EXPECT_TRUE(Get(title).font().bold) << title;
        EXPECT_EQ(Get(title).font().pointSize, 12) << title;
        EXPECT_EQ(Get(title).alignment(), platform::TextAlignment::Center) << title;
    }
    EXPECT_EQ(Get("lbPage1Desc").alignment(), platform::TextAlignment::Left);
}

}  // namespace
}  // namespace rg::test
