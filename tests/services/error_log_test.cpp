#include "services/error_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "platform/file_system.h"

namespace rg {
namespace {

namespace fs = std::filesystem;

class ErrorLogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("rg_errlog_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        platform::OverrideAppPathForTesting(folder_.string());
    }
    void TearDown() override {
        platform::OverrideAppPathForTesting(std::nullopt);
        fs::permissions(folder_, fs::perms::owner_all);
        fs::remove_all(folder_);
    }
    std::string LogText() const {
        std::ifstream in(folder_ / "Err.log", std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path folder_;
};

TEST_F(ErrorLogTest, FirstErrorCreatesTheLogAndLaterOnesAppend) {
    LogError(RunError(53, "File not found"), "getFileProperty of mdlFileProperty");
    LogError(RunError(-2147024894, "Automation error, with a comma"),
             "saveStartupWizardSettings of frmStartupMain");
    const std::string text = LogText();
    const std::regex line(
        "getFileProperty of mdlFileProperty:---->53,File not found, On "
        "\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\r\n"
        "saveStartupWizardSettings of frmStartupMain:---->-2147024894,Automation error, with a "
        "comma, On \\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}\r\n");
    EXPECT_TRUE(std::regex_match(text, line)) << text;
}

TEST_F(ErrorLogTest, RunTrappedLogsOnceAndSkipsTheRest) {
    bool reachedEnd = false;
    const bool completed = RunTrapped("ReloadProfiles of Module mdlMain", [&] {
        throw RunError(75, "Path/File access error");
        reachedEnd = true;  // NOLINT: shows that the rest of the routine is skipped
    });
    EXPECT_FALSE(completed);
    EXPECT_FALSE(reachedEnd);
    EXPECT_EQ(
        LogText().rfind("ReloadProfiles of Module mdlMain:---->75,Path/File access error, On ", 0),
        0u);
    EXPECT_TRUE(RunTrapped("x", [] {}));
    const std::string text = LogText();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1);
}

TEST_F(ErrorLogTest, UnwritableLogNeitherThrowsNorStopsTheCaller) {
    if (::geteuid() == 0) {
        // root ignores folder permissions; a read-only log file stands in for them.
        std::ofstream(folder_ / "Err.log") << "old\r\n";
        fs::permissions(folder_ / "Err.log", fs::perms::owner_read);
    } else {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
    }
    EXPECT_NO_THROW(RunTrapped("cmdRemove_Click of frmProgramControl",
                               [] { throw RunError(5, "Invalid procedure call or argument"); }));
    if (::geteuid() == 0) {
        EXPECT_EQ(LogText(), "old\r\n");
    }
}

}  // namespace
}  // namespace rg
