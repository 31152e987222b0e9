// The save killed at random moments: every profile file must afterwards hold its reset text or
// the text of one complete save, both password copies must still agree, and a later save must
// set everything up again.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <set>

#include "persistence/save_settings.h"
#include "platform/ini/profile_api.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/persistence/save_expectations.h"
#include "tests/support/scripted_window_system.h"

namespace rg::test {
namespace {

constexpr int kRows = 12;
constexpr const char* kPassword = "Crash proof 1";

class SaveCrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }
    // Each round lists other section names and makes the other alert choice, so that the files
    // show which round's save completed them. Server is the second text, Access the first.
    std::vector<ExpectedProgram> ProgramsOfRound(int round) const {
        std::vector<ExpectedProgram> programs;
        for (int row = 0; row < kRows; ++row) {
            programs.push_back({"Tool r" + std::to_string(round) + " n" + std::to_string(row),
                                install.root() + "/tool" + std::to_string(row), "", row / 3 % 3,
                                row % 3});
        }
        return programs;
    }
    void Save(int round) const {
        const char* const texts[] = {"Allow", "Block", "Ask"};
        WizardSettings settings{kPassword, static_cast<float>(round % 2), 3, {}};
        for (const ExpectedProgram& p : ProgramsOfRound(round)) {
            settings.Programs.push_back({p.name, p.path, texts[p.accessCode], texts[p.serverCode]});
        }
        saveStartupWizardSettings(settings);
    }

    // Every file whole and both password copies agreeing, no stray file beside the profiles
    // (hidden temporaries of killed saves aside); the round whose save the program profile
    // shows, 0 for its reset text.
    int CheckFiles() const {
        for (const std::string_view name : ProfileFileNames) {
            const std::string bytes = TempInstall::ReadFile(ProfilesPath + std::string(name));
            if (name == "AlertsAndLogSetting.RVL") {
                EXPECT_TRUE(bytes == AlertsBytes("0") || bytes == AlertsBytes("1")) << bytes;
            } else if (name != "ProgramControl.RVL") {
                EXPECT_EQ(bytes, FactoryBytes(name)) << name;
            }
        }
        for (const auto& entry : std::filesystem::directory_iterator(ProfilesPath)) {
            const std::string name = entry.path().filename().string();
            const bool hidden = name.starts_with('.') &&
                                (name.find(".tmp") != std::string::npos || name.ends_with(".lock"));
            EXPECT_TRUE(hidden || std::ranges::count(ProfileFileNames, name) == 1) << name;
        }
        EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()), PasswordFileLine(kPassword) + "\r\n");
        EXPECT_EQ(DecryptText(RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                            kPasswordValueName, ""),
                              kPasswordKey),
                  kPassword);
        const std::string bytes = TempInstall::ReadFile(ProgramControlFilePath);
        const std::vector<std::string> headers = SectionHeaders(bytes);
        const int round = headers.empty() ? 0 : std::stoi(headers[0].substr(6));
        EXPECT_EQ(bytes, round == 0 ? FactoryBytes("ProgramControl.RVL")
                                    : ProgramControlBytes(ProgramsOfRound(round)));
        return round;
    }

    TempInstall install;
};

// Each child saves round after round and reports the length of its first save, measured under
// the machine's load of the moment; the kill falls at a random moment up to twice that length
// later, inside a later save or between two. Kills go on until the reset text and two complete
// rounds were seen.
TEST_F(SaveCrashTest, KilledSavesNeverLeaveATornFileAndALaterSaveRestoresEverything) {
    for (int row = 0; row < kRows; ++row) {
        TempInstall::WriteFile(install.root() + "/tool" + std::to_string(row), "not a program");
    }
    Save(1);
    ASSERT_EQ(CheckFiles(), 1);
    std::mt19937 random(20240601);
    std::set<int> roundsSeen;
    int resetSeen = 0;
    int kills = 0;
    long long saveUs = 0;
    while (kills < 40 || ((resetSeen == 0 || roundsSeen.size() < 2) && kills < 200)) {
        SCOPED_TRACE("kill " + std::to_string(++kills));
        platform::DiscardPrivateProfileCacheForTesting();
        int channel[2];
        ASSERT_EQ(::pipe(channel), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(30);  // never outlive a parent that died
            for (int round = kills * 1000;; ++round) {
                const auto start = std::chrono::steady_clock::now();
                Save(round);
                saveUs = std::chrono::duration_cast<std::chrono::microseconds>(
                             std::chrono::steady_clock::now() - start)
                             .count();
                if (round == kills * 1000 && ::write(channel[1], &saveUs, sizeof saveUs) < 0) {
                    ::_exit(1);
                }
            }
        }
        ::close(channel[1]);
        const auto got = ::read(channel[0], &saveUs, sizeof saveUs);
        ::close(channel[0]);
        ASSERT_EQ(got, static_cast<ssize_t>(sizeof saveUs));
        ::usleep(static_cast<useconds_t>(
            std::uniform_int_distribution<long long>(0, 2 * saveUs)(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));  // the child never ends on its own
        const int round = CheckFiles();
        resetSeen += round == 0 ? 1 : 0;
        roundsSeen.insert(round);
    }
    roundsSeen.erase(0);
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
    EXPECT_GE(resetSeen, 1);
    EXPECT_GE(roundsSeen.size(), 2u);
    std::printf(
        "kills: %d; a save in the last child: %lld us; showing the reset text: %d; "
        "complete rounds seen: %zu\n",
        kills, saveUs, resetSeen, roundsSeen.size());

    platform::DiscardPrivateProfileCacheForTesting();
    Save(7);
    EXPECT_EQ(CheckFiles(), 7);
}

// A child sets a new password round after round and is killed at a random moment: every start
// afterwards must find one password in force, the one of the last save that reached its
// registry write, and never call the stores corrupted.
TEST_F(SaveCrashTest, KilledPasswordSavesNeverLockTheUserOut) {
    ScriptedWindowSystem screen;
    SavePassword("Round 0");
    std::mt19937 random(7);
    int lastRound = 0;
    for (int kill = 1; kill <= 200; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        const pid_t child = ::fork();
        if (child == 0) {
            ::alarm(30);
            for (int round = kill * 1000;; ++round) {
                SavePassword("Round " + std::to_string(round));
            }
        }
        ::usleep(std::uniform_int_distribution<useconds_t>(0, 3000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        screen.AnswerNextBox(platform::IDOK);
        std::string password;
        try {
            password = LoadStoredPassword();
        } catch (const ProgramEnded&) {
            FAIL() << "locked out: " << screen.boxes().back().text;
        }
        ASSERT_TRUE(password.starts_with("Round ")) << password;
        const int round = std::stoi(password.substr(6));
        EXPECT_TRUE(round == lastRound || round >= kill * 1000) << round;
        EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()), PasswordFileLine(password) + "\r\n");
        lastRound = round;
    }
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
}

}  // namespace
}  // namespace rg::test
