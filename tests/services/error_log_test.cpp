#include "services/error_log.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <new>
#include <stdexcept>

#include "platform/os/file_system.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

// The log with each time stamp after ", On " shown as <stamp>, once its form is checked.
std::string WithoutStamps(std::string log) {
    for (std::size_t at = log.find(", On "); at != std::string::npos; at = log.find(", On ", at)) {
        at += 5;
        std::string stamp = log.substr(at, 19);
        for (char& c : stamp) {
            c = std::isdigit(static_cast<unsigned char>(c)) ? '9' : c;
        }
        EXPECT_EQ(stamp, "9999-99-99 99:99:99");
        log.replace(at, 19, "<stamp>");
    }
    return log;
}

// Each line: <source>:----><number>,<description>, On YYYY-MM-DD HH:MM:SS and CR LF. Any other
// exception is logged as error 7 (out of memory) or 5 (invalid call).
TEST(ErrorLog, EveryTrappedErrorAppendsOneStampedLine) {
    TempFolder folder;
    platform::OverrideAppPathForTesting(folder.path());
    EXPECT_FALSE(RunTrapped("a of b", [] { throw RunError(-2147024894, "Automation, comma"); }));
    platform::OverrideAppPathForTesting(folder.path() + "/");
    EXPECT_FALSE(RunTrapped("c", [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(RunTrapped("d", [] { throw std::out_of_range("row 7"); }));
    EXPECT_TRUE(RunTrapped("e", [] {}));
    EXPECT_EQ(WithoutStamps(TempFolder::ReadFile(folder / "Err.log")),
              "a of b:---->-2147024894,Automation, comma, On <stamp>\r\n"
              "c:---->7,Out of memory, On <stamp>\r\n"
              "d:---->5,Invalid procedure call or argument: row 7, On <stamp>\r\n");

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
