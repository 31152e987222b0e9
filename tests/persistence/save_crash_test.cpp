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
#include <string>
#include <vector>

#include "persistence/save_settings.h"
#include "platform/ini/profile_api.h"
#include "platform/os/registry.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/persistence/save_expectations.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::TempInstall;

constexpr int kRows = 12;
constexpr int kKills = 40;
constexpr const char* kPassword = "Crash proof 1";  // the same every round: see the report

const char* const kPermissions[] = {"Allow", "Block", "Ask"};

// Each round writes other section names and the other alert choice, so that the file shows
// which round's save completed it.
std::string RowName(int round, int row) {
    return "Tool r" + std::to_string(round) + " n" + std::to_string(row);
}

class SaveCrashTest : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        for (int row = 0; row < kRows; ++row) {
            const std::string path = ProgramPath(row);
            TempInstall::WriteFile(path, "not a program file " + std::to_string(row));
        }
    }

    std::string ProgramPath(int row) const {
        return install.root() + "/programs/tool" + std::to_string(row) + ".exe";
    }

    WizardSettings SettingsOfRound(int round) const {
        WizardSettings settings{kPassword, static_cast<float>(round % 2), 3, {}};
        for (int row = 0; row < kRows; ++row) {
            settings.Programs.push_back({RowName(round, row), ProgramPath(row),
                                         kPermissions[row % 3], kPermissions[(row / 3) % 3]});
        }
        return settings;
    }

    std::string ProgramControlOfRound(int round) const {
        std::vector<test::ExpectedProgram> sections;
        for (int row = 0; row < kRows; ++row) {
            // Server is the second text, Access the first; codes are the texts' positions.
            sections.push_back({RowName(round, row), ProgramPath(row), "", (row / 3) % 3, row % 3});
        }
        return test::ProgramControlBytes(sections);
    }

    // Saves round after round until killed.
    [[noreturn]] void RunSaves(int firstRound) const {
        ::alarm(30);  // never outlive a parent that died
        for (int round = firstRound;; ++round) {
            saveStartupWizardSettings(SettingsOfRound(round));
        }
    }

    // The round whose complete save the program profile shows; 0 for the reset text.
    int CheckProgramControl() const {
        const std::string bytes = TempInstall::ReadFile(ProgramControlFilePath);
        if (bytes == test::FactoryBytes("ProgramControl.RVL")) {
            return 0;
        }
        const std::vector<std::string> headers = test::SectionHeaders(bytes);
        EXPECT_FALSE(headers.empty()) << bytes;
        if (headers.empty()) {
            return -1;
        }
        const int round = std::stoi(headers.front().substr(std::string("Tool r").size()));
        EXPECT_EQ(bytes, ProgramControlOfRound(round));
        return round;
    }

    // Every file whole: the reset or a complete state; the two password copies agree.
    int CheckFiles() const {
        for (const std::string_view name : ProfileFileNames) {
            const std::string bytes = TempInstall::ReadFile(ProfilesPath + std::string(name));
            if (name == "AlertsAndLogSetting.RVL") {
                EXPECT_TRUE(bytes == test::AlertsBytes("0") || bytes == test::AlertsBytes("1"))
                    << bytes;
            } else if (name != "ProgramControl.RVL") {
                EXPECT_EQ(bytes, test::FactoryBytes(name)) << name;
            }
        }
        EXPECT_EQ(TempInstall::ReadFile(PasswordFilePath()), PasswordFileLine(kPassword) + "\r\n");
        const std::string value = RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                                kPasswordValueName, "");
        EXPECT_EQ(DecryptText(value, kPasswordKey), kPassword);
        return CheckProgramControl();
    }

    // Files in the profile folder that are neither profile files nor hidden temporaries.
    static std::vector<std::string> StrayFiles(int& hiddenTemporaries) {
        std::vector<std::string> stray;
        hiddenTemporaries = 0;
        for (const auto& entry : std::filesystem::directory_iterator(ProfilesPath)) {
            const std::string name = entry.path().filename().string();
            if (name.front() == '.' && name.find(".tmp") != std::string::npos) {
                ++hiddenTemporaries;
            } else if (std::find(ProfileFileNames.begin(), ProfileFileNames.end(), name) ==
                       ProfileFileNames.end()) {
                stray.push_back(name);
            }
        }
        return stray;
    }

    TempInstall install;
};

TEST_F(SaveCrashTest, KilledSaveNeverLeavesATornFileAndALaterSaveRestoresEverything) {
    // A complete save first, to time it and to start from whole files.
    const auto start = std::chrono::steady_clock::now();
    saveStartupWizardSettings(SettingsOfRound(1));
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
                              std::chrono::steady_clock::now() - start)
                              .count();
    ASSERT_EQ(CheckFiles(), 1);

    std::mt19937 random(20240601);  // fixed seed: the same kill moments on every run
    std::uniform_int_distribution<long> delayUs(0, 3 * saveTime + 1000);
    std::set<int> roundsSeen;
    int resetSeen = 0;
    for (int kill = 1; kill <= kKills; ++kill) {
        SCOPED_TRACE("kill " + std::to_string(kill));
        platform::DiscardPrivateProfileCacheForTesting();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            RunSaves(kill * 1000);
        }
        ::usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status));  // the child never ends on its own
        const int round = CheckFiles();
        if (round == 0) {
            ++resetSeen;
        } else {
            roundsSeen.insert(round);
        }
        int hidden = 0;
        EXPECT_EQ(StrayFiles(hidden), std::vector<std::string>{});
    }
    EXPECT_EQ(TempInstall::ReadFile(install.appPath() + "/Err.log"), "");
    // The test only means something when the kills fell both inside and between saves.
    EXPECT_GE(resetSeen, 1);
    EXPECT_GE(roundsSeen.size(), 2u);

    platform::DiscardPrivateProfileCacheForTesting();
    saveStartupWizardSettings(SettingsOfRound(7));
    EXPECT_EQ(CheckFiles(), 7);
    int hidden = 0;
    EXPECT_EQ(StrayFiles(hidden), std::vector<std::string>{});
    std::printf(
        "one save: %lld us; kills showing the reset text: %d; complete rounds seen: %zu; "
        "hidden temporaries left by killed saves: %d\n",
        static_cast<long long>(saveTime), resetSeen, roundsSeen.size(), hidden);
}

}  // namespace
}  // namespace rg
