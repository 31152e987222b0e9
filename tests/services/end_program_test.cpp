// Ending the program: what the profile service still holds reaches the disk first.
#include "services/end_program.h"

#include <gtest/gtest.h>

#include "platform/ini/profile_api.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

TEST(EndProgram, WritesPendingProfileValuesThenEndsWithTheExitCode) {
    TempFolder folder;
    const std::string file = folder / "a.ini";
    ASSERT_NE(platform::WritePrivateProfileStringA("Main", "k", "v", file), 0);
    ASSERT_EQ(TempFolder::ReadFile(file), "");  // held, not yet written
    const EndProgramHook previous = SetEndProgramHook([](int code) { throw code; });
    try {
        EndProgram(3);  // a hook that returned would end the test process
    } catch (int code) {
        EXPECT_EQ(code, 3);
    }
    SetEndProgramHook(previous);
    EXPECT_EQ(TempFolder::ReadFile(file), "[Main]\r\nk=v\r\n");
}

}  // namespace
}  // namespace rg::test
