// The default browser's path, cut from the command line the registry keeps for it.
#include <gtest/gtest.h>

#include "programs/default_programs.h"
#include "services/run_error.h"

namespace rg::test {
namespace {

TEST(BrowserPathFromCommand, DropsTheLastFourCharactersAndTheFirstOrFailsWhenTooShort) {
    EXPECT_EQ(BrowserPathFromCommand("\"C:\\Program Files\\Browser\\iexplore.exe\" %1"),
              "C:\\Program Files\\Browser\\iexplore.exe");
    EXPECT_EQ(BrowserPathFromCommand("C:\\browser.exe -nohome"), ":\\browser.exe -no");
    EXPECT_EQ(BrowserPathFromCommand("\"\" %1"), "");
    EXPECT_THROW(BrowserPathFromCommand("\" %1"), RunError);
    EXPECT_THROW(BrowserPathFromCommand(""), RunError);
}

}  // namespace
}  // namespace rg::test
