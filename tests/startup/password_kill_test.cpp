// A password save killed at each of its writes, syncs and renames in turn (strace stops the
// saving process there with SIGKILL): every start afterwards finds the old or the new password
// in force in both copies, never stores it calls corrupted.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "services/cipher.h"
#include "services/registry_access.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

// The probe's exit status when strace kills it at the `when`-th call of one of `calls`; -1
// when it was killed.
int SaveKilledAt(const std::string& calls, int when, const std::string& password) {
    const std::string command = "strace -f -qq -o /dev/null -e trace=" + calls +
                                " -e inject=" + calls +
                                ":signal=SIGKILL:when=" + std::to_string(when) +
                                " " RG_PASSWORD_PROBE " '" + password + "' 2>/dev/null";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) != 128 + SIGKILL ? WEXITSTATUS(status) : -1;
}

TEST(PasswordKill, EveryCutShortSaveLeavesOnePasswordInForce) {
    if (std::system("strace -qq -o /dev/null true 2>/dev/null") != 0) {
        GTEST_SKIP() << "strace cannot trace here";
    }
    TempInstall install;
    InitPaths();
    TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    ScriptedWindowSystem screen;
    int round = 0;
    for (const std::string calls :
         {"write", "fsync,fdatasync", "rename,renameat,renameat2", "openat,unlink"}) {
        int killedAt = 0;
        for (int when = 1; when < 100; ++when) {
            SCOPED_TRACE(calls + " #" + std::to_string(when));
            const std::string before = "Before " + std::to_string(++round);
            const std::string after = "After " + std::to_string(round);
            SavePassword(before);
            const int status = SaveKilledAt(calls, when, after);
            screen.AnswerNextBox(platform::IDOK);
            std::string loaded;
            try {
                loaded = LoadStoredPassword();
            } catch (const ProgramEnded&) {
                FAIL() << "locked out: " << screen.boxes().back().text;
            }
            EXPECT_TRUE(loaded == before || loaded == after) << loaded;
            EXPECT_EQ(DecryptText(RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                                kPasswordValueName, ""),
                                  kPasswordKey),
                      loaded);
            if (status == 0) {
                EXPECT_EQ(loaded, after);
                break;
            }
            killedAt = when;
        }
        EXPECT_GE(killedAt, 1) << calls << ": the save makes no such call";
        std::printf("%s: killed at each of %d calls\n", calls.c_str(), killedAt);
    }
}

}  // namespace
}  // namespace rg::test
