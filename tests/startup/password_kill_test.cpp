// A password save killed at each of its writes, syncs and renames in turn (strace stops the
// saving process there with SIGKILL): every start afterwards finds the old or the new password
// in force in both copies, never stores it calls corrupted.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

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
        int when = 1;
        for (;; ++when) {
            SCOPED_TRACE(calls + " #" + std::to_string(when));
            const std::string before = "Before " + std::to_string(++round);
            const std::string after = "After " + std::to_string(round);
            SavePassword(before);
            // The probe saves `after`; strace kills it at the when-th of `calls`.
            const int status = std::system(("strace -f -qq -o /dev/null -e trace=" + calls +
                                            " -e inject=" + calls +
                                            ":signal=SIGKILL:when=" + std::to_string(when) +
                                            " " RG_PASSWORD_PROBE " '" + after + "' 2>/dev/null")
                                               .c_str());
            screen.AnswerNextBox(platform::IDOK);
            std::string loaded;
            try {
                loaded = LoadStoredPassword();  // the copies agree, or the start ends
            } catch (const ProgramEnded&) {
                FAIL() << "locked out: " << screen.boxes().back().text;
            }
            const bool completed = WIFEXITED(status) && WEXITSTATUS(status) == 0;
            EXPECT_TRUE(loaded == after || (!completed && loaded == before)) << loaded;
            if (completed || when == 100) {
                break;
            }
        }
        EXPECT_GT(when, 1) << calls << ": the save makes no such call";
    }
}

}  // namespace
}  // namespace rg::test
