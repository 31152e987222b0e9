// Files that are not what they claim: the password file, the language file and the registry file
// as a FIFO nobody writes to, a link to an endless device, or a file of 1.5 GB. Start-up reads
// each without blocking and within its size cap, and treats it as a damaged file: the stores
// count as corrupted, the language falls back to the built-in texts, the registry reads as
// holding nothing. None of them may hang (the test's timeout) or abort.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>

#include "services/language.h"
#include "services/registry_access.h"
#include "startup/fatal.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

using Hostile = std::function<void(const std::string&)>;

const std::pair<const char*, Hostile> kHostileFiles[] = {
    {"a FIFO", [](const std::string& path) { ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0); }},
    {"a link to /dev/zero",
     [](const std::string& path) { ASSERT_EQ(::symlink("/dev/zero", path.c_str()), 0); }},
    {"a file of 1.5 GB",
     [](const std::string& path) {
         TempInstall::WriteFile(path, "");
         ASSERT_EQ(::truncate(path.c_str(), 1536LL << 20), 0);  // sparse: no disk space used
     }},
};

class HostileFiles : public ::testing::Test {
  protected:
    HostileFiles() {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
        SavePassword("Secret");
    }
    // Replaces `path` by the hostile file and runs `read`, which must end within a second.
    template <typename Read>
    void EachHostileFile(const std::string& path, Read read) {
        for (const auto& [what, make] : kHostileFiles) {
            SCOPED_TRACE(what);
            std::filesystem::remove(path);
            make(path);
            const auto start = std::chrono::steady_clock::now();
            read();
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        }
    }

    TempInstall install;
    ScriptedWindowSystem screen;
};

TEST_F(HostileFiles, APasswordFileThatIsNoFileMakesTheStoresCorrupted) {
    EachHostileFile(PasswordFilePath(), [&] {
        screen.AnswerNextBox(platform::IDOK);
        EXPECT_THROW(LoadStoredPassword(), ProgramEnded);
        EXPECT_EQ(screen.boxes().back().text, StoresCorruptedText());
    });
}

TEST_F(HostileFiles, ALanguageFileThatIsNoFileGivesTheBuiltInTexts) {
    std::filesystem::create_directories(install.appPath() + "/Lang");
    EachHostileFile(LangFilePath, [] { EXPECT_EQ(GetLangString("1001", "built-in"), "built-in"); });
}

TEST_F(HostileFiles, ARegistryFileThatIsNoFileHoldsNothing) {
    EachHostileFile(install.prefix() + "/HKEY_LOCAL_MACHINE.reg", [] {
        EXPECT_EQ(RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                kPasswordValueName, "absent"),
                  "absent");
    });
}

}  // namespace
}  // namespace rg::test
