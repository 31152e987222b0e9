// The save killed at random moments: every profile file must afterwards hold its reset text or
// the text of one complete save, and a later save must set everything up again.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <set>

#include "persistence/save_settings.h"
#include "platform/ini/profile_api.h"
#include "resources/builtin_profiles.h"
#include "startup/globals.h"
#include "tests/persistence/save_expectations.h"

namespace rg::test {
namespace {

constexpr int kRows = 12;

class SaveCrashTest : public ::testing::Test {
  protected:
    // Each round lists other section names and makes the other alert choice, so that the files
    // show which round's save completed them.
    std::vector<ExpectedProgram> ProgramsOfRound(int round) const {
        std::vector<ExpectedProgram> programs;
        for (int row = 0; row < kRows; ++row) {
            const std::string tail = std::to_string(round) + " n" + std::to_string(row);
            programs.push_back({"Tool r" + tail, install.root() + "/tool" + tail, "", 1, 2});
        }
        return programs;
    }
    void Save(int round) const {
        WizardSettings settings{"", static_cast<float>(round % 2), 3, {}};
        for (const ExpectedProgram& p : ProgramsOfRound(round)) {
            settings.Programs.push_back({p.name, p.path, "Ask", "Block"});
        }
        saveStartupWizardSettings(settings);
    }
    // Every file whole; returns the round whose save the program profile shows, 0 for its reset
    // text.
    int CheckFiles() const {
        for (const std::string_view name : ProfileFileNames) {
            const std::string bytes = TempInstall::ReadFile(ProfilesPath + std::string(name));
            if (name == "AlertsAndLogSetting.RVL") {
                EXPECT_TRUE(bytes == AlertsBytes("0") || bytes == AlertsBytes("1")) << bytes;
            } else if (name != "ProgramControl.RVL") {
                EXPECT_EQ(bytes, FactoryBytes(name)) << name;
            }
        }
        const std::string bytes = TempInstall::ReadFile(ProgramControlFilePath);
        const std::size_t first = bytes.find("[Tool r");
        const int round = first == std::string::npos ? 0 : std::stoi(bytes.substr(first + 7));
        EXPECT_EQ(bytes, round == 0 ? FactoryBytes("ProgramControl.RVL")
                                    : ProgramControlBytes(ProgramsOfRound(round)));
        return round;
    }

    TempInstall install;
    std::mt19937 random{20240601};
};

// A child saves round after round and reports how long its first save took, under the
// machine's load of the moment; it is killed at a random moment up to twice that length later,
// inside a later save or between two. Kills go on until the reset text and two complete rounds
// were seen.
TEST_F(SaveCrashTest, KilledSavesNeverLeaveATornFileAndALaterSaveRestoresEverything) {
    InitPaths();
    Save(1);
    ASSERT_EQ(CheckFiles(), 1);
    std::set<int> roundsSeen;
    const auto enough = [&roundsSeen] { return roundsSeen.count(0) == 1 && roundsSeen.size() > 2; };
    for (int kills = 1; kills <= 40 || (!enough() && kills <= 200); ++kills) {
        SCOPED_TRACE("kill " + std::to_string(kills));
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        platform::DiscardPrivateProfileCacheForTesting();
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(30);  // never outlive a parent that died
            const auto start = std::chrono::steady_clock::now();
            Save(kills * 1000);
            const auto us = std::chrono::duration_cast<std::chrono::microseconds>(
                                std::chrono::steady_clock::now() - start)
                                .count();
            if (::write(channel[1], &us, sizeof us) < 0) {
                ::_exit(1);
            }
            for (int round = kills * 1000 + 1;; ++round) {
                Save(round);
            }
        }
        ::close(channel[1]);
        long long us = 0;
        EXPECT_EQ(::read(channel[0], &us, sizeof us), static_cast<ssize_t>(sizeof us));
        ::close(channel[0]);
        ::usleep(
            static_cast<useconds_t>(std::uniform_int_distribution<long long>(0, 2 * us)(random)));
        ::kill(child, SIGKILL);
        ASSERT_EQ(::waitpid(child, nullptr, 0), child);
        roundsSeen.insert(CheckFiles());
    }
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
    EXPECT_TRUE(enough());
    platform::DiscardPrivateProfileCacheForTesting();
    Save(7);
    EXPECT_EQ(CheckFiles(), 7);
}

}  // namespace
}  // namespace rg::test
