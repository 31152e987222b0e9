#include "services/error_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <new>
#include <regex>
#include <stdexcept>

#include "platform/os/file_system.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

// Each line: <source>:----><number>,<description>, On YYYY-MM-DD HH:MM:SS and CR LF. Any other
// exception is logged as error 7 (out of memory) or 5 (invalid call); the count follows.
TEST(ErrorLog, EveryTrappedErrorAppendsOneStampedLine) {
    TempFolder folder;
    const std::size_t before = LoggedErrorCount();
    platform::OverrideAppPathForTesting(folder.path());
    EXPECT_FALSE(RunTrapped("a of b", [] { throw RunError(-2147024894, "Automation, comma"); }));
    platform::OverrideAppPathForTesting(folder.path() + "/");
    EXPECT_FALSE(RunTrapped("c", [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(RunTrapped("d", [] { throw std::out_of_range("row 7"); }));
    EXPECT_TRUE(RunTrapped("e", [] {}));
    EXPECT_EQ(LoggedErrorCount(), before + 3);
    const std::string stamp = ", On \\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\r\n";
    EXPECT_TRUE(std::regex_match(
        TempFolder::ReadFile(folder / "Err.log"),
        std::regex("a of b:---->-2147024894,Automation, comma" + stamp + "c:---->7,Out of memory" +
                   stamp + "d:---->5,Invalid procedure call or argument: row 7" + stamp)))
        << TempFolder::ReadFile(folder / "Err.log");

    // A log that cannot be written (a folder stands in its place) neither raises nor stops the
    // routine that is logging: the line goes to standard error.
    std::filesystem::create_directories(folder / "sub/Err.log");
    platform::OverrideAppPathForTesting(folder / "sub");
    ::testing::internal::CaptureStderr();
    LogError(RunError(5, "Invalid call"), "cmdRemove_Click");
    const std::string shown = ::testing::internal::GetCapturedStderr();
    platform::OverrideAppPathForTesting(std::nullopt);
    EXPECT_NE(shown.find("Err.log could not be written"), std::string::npos) << shown;
    EXPECT_NE(shown.find("cmdRemove_Click:---->5,Invalid call, On "), std::string::npos) << shown;
}

}  // namespace
}  // namespace rg::test
