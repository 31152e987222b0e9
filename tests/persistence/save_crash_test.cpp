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
#include <functional>
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

// Forks a child that calls save(first), save(first + 1) ... and reports how long its first call
// took, measured under the machine's load of the moment; kills it at a random moment up to twice
// that length later, inside a later call or between two. Returns that length in microseconds.
long long KillWhileSaving(int first, const std::function<void(int)>& save, std::mt19937& random) {
    platform::DiscardPrivateProfileCacheForTesting();
    int channel[2];
    if (::pipe(channel) != 0) {
        ADD_FAILURE() << "no pipe";
        return 0;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(30);  // never outlive a parent that died
        for (int round = first;; ++round) {
            const auto start = std::chrono::steady_clock::now();
            save(round);
            const long long us = std::chrono::duration_cast<std::chrono::microseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count();
            if (round == first && ::write(channel[1], &us, sizeof us) < 0) {
                ::_exit(1);
            }
        }
    }
    ::close(channel[1]);
    long long us = 0;
    const bool reported = ::read(channel[0], &us, sizeof us) == static_cast<ssize_t>(sizeof us);
    ::close(channel[0]);
    ::usleep(static_cast<useconds_t>(std::uniform_int_distribution<long long>(0, 2 * us)(random)));
    ::kill(child, SIGKILL);
    int status = 0;
    EXPECT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(reported && WIFSIGNALED(status));  // the child never ends on its own
    return us;
}

class SaveCrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        for (int row = 0; row < kRows; ++row) {
            TempInstall::WriteFile(install.root() + "/tool" + std::to_string(row), "not a program");
        }
    }
    // Each round lists other section names and makes the other alert choice, so that the files
    // show which round's save completed them.
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
    // (hidden temporaries and lock files of killed saves aside); returns the round whose save
    // the program profile shows, 0 for its reset text.
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
        const std::size_t first = bytes.find("[Tool r");
        const int round = first == std::string::npos ? 0 : std::stoi(bytes.substr(first + 7));
        EXPECT_EQ(bytes, round == 0 ? FactoryBytes("ProgramControl.RVL")
                                    : ProgramControlBytes(ProgramsOfRound(round)));
        return round;
    }

    TempInstall install;
    std::mt19937 random{20240601};
};

// Kills go on until the reset text and two complete rounds were seen.
TEST_F(SaveCrashTest, KilledSavesNeverLeaveATornFileAndALaterSaveRestoresEverything) {
    Save(1);
    ASSERT_EQ(CheckFiles(), 1);
    std::set<int> roundsSeen;
    int kills = 0;
    long long saveUs = 0;
    while (kills < 40 || ((roundsSeen.count(0) == 0 || roundsSeen.size() < 3) && kills < 200)) {
        SCOPED_TRACE("kill " + std::to_string(++kills));
        saveUs = KillWhileSaving(
            kills * 1000, [this](int round) { Save(round); }, random);
        roundsSeen.insert(CheckFiles());
    }
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
    EXPECT_EQ(roundsSeen.count(0), 1u);
    EXPECT_GE(roundsSeen.size(), 3u);
    std::printf("kills: %d; a save in the last child: %lld us; rounds seen: %zu\n", kills, saveUs,
                roundsSeen.size());
    platform::DiscardPrivateProfileCacheForTesting();
    Save(7);
    EXPECT_EQ(CheckFiles(), 7);
}

// A child sets a new password round after round and is killed at a random moment: every start
// afterwards must find one password in force, one of the killed child's, and never call the
// stores corrupted.
TEST_F(SaveCrashTest, KilledPasswordSavesNeverLockTheUserOut) {
    ScriptedWindowSystem screen;
    for (int kill = 1; kill <= 200; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        KillWhileSaving(
            kill * 1000, [](int round) { SavePassword("Round " + std::to_string(round)); }, random);
        screen.AnswerNextBox(platform::IDOK);
        std::string password;
        try {
            password = LoadStoredPassword();
        } catch (const ProgramEnded&) {
            FAIL() << "locked out: " << screen.boxes().back().text;
        }
        ASSERT_TRUE(password.starts_with("Round ")) << password;
        EXPECT_GE(std::stoi(password.substr(6)), kill * 1000);
        EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()), PasswordFileLine(password) + "\r\n");
    }
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
}

}  // namespace
}  // namespace rg::test
