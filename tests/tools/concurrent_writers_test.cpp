// Separate ravelgard-tool processes setting values in one profile file at the same time: each
// write is a read-modify-write under the file's lock, so none may drop another's committed value.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/ini/profile_api.h"
#include "services/ini_access.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

constexpr int kWriters = 4;
constexpr int kCallsPerWriter = 60;

TEST(ConcurrentWriters, EveryWriterKeepsEveryValue) {
    TempFolder folder;
    const std::string file = folder.Write("shared.RVL", "[S]\r\n");
    std::vector<pid_t> children;
    for (int writer = 0; writer < kWriters; ++writer) {
        // A shell loop of `profile set` calls: writer W sets key wW_I to vW_I for I = 1..60.
        const std::string w = std::to_string(writer);
        const std::string loop = "i=1; while [ $i -le " + std::to_string(kCallsPerWriter) +
                                 " ]; do \"$0\" profile set S w" + w + "_$i v" + w +
                                 "_$i \"$1\" || exit 1; i=$((i+1)); done";
        children.push_back(::fork());
        if (children.back() == 0) {
            ::execl("/bin/sh", "sh", "-c", loop.c_str(), RG_TOOL, file.c_str(), nullptr);
            ::_exit(127);
        }
    }
    for (const pid_t child : children) {
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
    platform::DiscardPrivateProfileCacheForTesting();
    int missing = 0;
    for (int writer = 0; writer < kWriters; ++writer) {
        for (int i = 1; i <= kCallsPerWriter; ++i) {
            const std::string suffix = std::to_string(writer) + "_" + std::to_string(i);
            missing += ReadINI("S", "w" + suffix, "", file, true) == "v" + suffix ? 0 : 1;
        }
    }
    EXPECT_EQ(missing, 0) << "of " << kWriters * kCallsPerWriter;
}

}  // namespace
}  // namespace rg::test
