#include "services/error_log.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/os/file_system.h"

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

// "YYYY-MM-DD HH:MM:SS": digits where the pattern has 9, the separators as they stand.
bool IsDateAndTime(const std::string& text) {
    const std::string pattern = "9999-99-99 99:99:99";
    if (text.size() != pattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const bool digit = text[i] >= '0' && text[i] <= '9';
        if (pattern[i] == '9' ? !digit : text[i] != pattern[i]) {
            return false;
        }
    }
    return true;
}

TEST_F(ErrorLogTest, FirstErrorCreatesTheLogAndLaterOnesAppend) {
    LogError(RunError(53, "File not found"), "getFileProperty of mdlFileProperty");
    LogError(RunError(-2147024894, "Automation error, with a comma"),
             "saveStartupWizardSettings of frmStartupMain");
    const std::string text = LogText();
    const std::string first = "getFileProperty of mdlFileProperty:---->53,File not found, On ";
    const std::string second =
        "saveStartupWizardSettings of frmStartupMain:---->-2147024894,Automation error, with a "
        "comma, On ";
    const std::size_t stamp = 19;  // "YYYY-MM-DD HH:MM:SS"
    ASSERT_EQ(text.size(), first.size() + stamp + 2 + second.size() + stamp + 2) << text;
    EXPECT_EQ(text.substr(0, first.size()), first);
    EXPECT_TRUE(IsDateAndTime(text.substr(first.size(), stamp))) << text;
    const std::size_t secondLine = first.size() + stamp + 2;
    EXPECT_EQ(text.substr(first.size() + stamp, 2), "\r\n");
    EXPECT_EQ(text.substr(secondLine, second.size()), second);
    EXPECT_TRUE(IsDateAndTime(text.substr(secondLine + second.size(), stamp))) << text;
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
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
