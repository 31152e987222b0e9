// The password page: focus and masking, and the check at Next.
#include <string>
#include <tuple>
#include <vector>

#include "tests/wizard/wizard_fixture.h"

namespace rg::test {
namespace {

// Page 4 puts the focus into the first box; both masked boxes select their text on focus.
// Boxes that disagree, or a password the stores cannot hold ("\xCF" enciphers to a space at the
// registry copy's first position, which the store trims), keep the page and the password that
// was accepted before.
TEST_F(WizardTest, ThePasswordPageTakesOnlyAgreeingStorablePasswords) {
    Start();
    Next();
    Next();
    const ControlRequest first{"frmStartupMain", "txtPassword"};
    EXPECT_EQ(screen.focusRequests(), std::vector<ControlRequest>{first});
    ASSERT_TRUE(wizard().GotFocus(Get("txtConfirmPass")));
    EXPECT_EQ(screen.selectAllRequests(),
              (std::vector<ControlRequest>{first, {"frmStartupMain", "txtConfirmPass"}}));
    EXPECT_EQ(Get("txtPassword").passwordChar(), '*');
    EXPECT_EQ(Get("txtConfirmPass").passwordChar(), '*');
    ASSERT_TRUE(wizard().TypeText(Get("txtPassword"), "kept"));
    ASSERT_TRUE(wizard().TypeText(Get("txtConfirmPass"), "kept"));
    Next();
    Back();
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
    EXPECT_EQ(wizard().WizardPassword, "kept");
}

}  // namespace
}  // namespace rg::test
