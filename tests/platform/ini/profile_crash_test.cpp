// A writer killed at random moments: every profile file must afterwards hold exactly the state
// of one complete flush (or still be missing), never a torn or mixed file.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "tests/platform/ini/profile_test_support.h"

namespace rg::testing {
namespace {

constexpr int kKeys = 10;
constexpr int kFiles = 3;
constexpr int kKills = 40;

std::string Tag(int writer, int round) {
    return "w" + std::to_string(writer) + "r" + std::to_string(round);
}

std::string KeyValue(const std::string& tag, int key, int round) {
    return tag + "_" + std::to_string(key) + std::string(static_cast<std::size_t>(round % 7), '+');
}

int RoundOf(const std::string& tag) {
    return std::stoi(tag.substr(tag.find('r') + 1));
}

// The file after a complete flush of one round of the writer below.
std::string ExpectedFile(const std::string& tag) {
    std::string bytes = "[S]\r\n";
    for (int k = 0; k < kKeys; ++k) {
        bytes += "k" + std::to_string(k) + "=" + KeyValue(tag, k, RoundOf(tag)) + "\r\n";
    }
    return bytes + "[T]\r\nround=" + tag + "\r\n";
}

// Rewrites every file, round after round, until killed: the section list call empties [S],
// the keys are appended again, and [T]'s one key is replaced in place.
// After each flush it sends one byte on `progress`.
[[noreturn]] void RunWriter(const std::vector<std::string>& files, int writer, int progress) {
    ::alarm(20);  // never outlive a parent that died
    for (int round = 1;; ++round) {
        const std::string tag = Tag(writer, round);
        for (const std::string& file : files) {
            platform::WritePrivateProfileSectionA("S", std::string_view("\0\0", 2), file);
            for (int k = 0; k < kKeys; ++k) {
                platform::WritePrivateProfileStringA("S", "k" + std::to_string(k),
                                                     KeyValue(tag, k, round), file);
            }
            platform::WritePrivateProfileStringA("T", "round", tag, file);
        }
        platform::FlushPrivateProfiles();
        const char flushed = 'f';
        if (::write(progress, &flushed, 1) != 1) {
            ::_exit(1);
        }
    }
}

class ProfileCrashTest : public ProfileTest {};

TEST_F(ProfileCrashTest, KilledWriterLeavesWholeFiles) {
    std::vector<std::string> files;
    for (int f = 0; f < kFiles; ++f) {
        files.push_back(folder_ + "/file" + std::to_string(f) + ".ini");
    }
    std::mt19937 random(12345);  // fixed seed: the same kill moments on every run
    std::uniform_int_distribution<int> delayMs(0, 30);
    std::set<std::string> seen;
    for (int writer = 1; writer <= kKills; ++writer) {
        platform::DiscardPrivateProfileCacheForTesting();
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(progress[0]);
            RunWriter(files, writer, progress[1]);
        }
        ::close(progress[1]);
        // Wait for one complete flush, so that every writer makes progress however slow the
        // disk is, then kill it at a random moment of its following rounds.
        char flushed = 0;
        ASSERT_EQ(::read(progress[0], &flushed, 1), 1);
        ::usleep(static_cast<useconds_t>(delayMs(random) * 1000));
        ::kill(child, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        ::close(progress[0]);
        platform::DiscardPrivateProfileCacheForTesting();
        for (const std::string& file : files) {
            char tag[64] = {};
            platform::GetPrivateProfileStringA("T", "round", "", tag, sizeof tag, file);
            ASSERT_NE(tag[0], '\0') << file << " has no round after writer " << writer;
            ASSERT_EQ(ReadRaw(file), ExpectedFile(tag)) << file << " after writer " << writer;
            // The writer flushed at least once, so its own state (or a later one) is there.
            const std::string own = "w" + std::to_string(writer) + "r";
            ASSERT_EQ(std::string(tag).substr(0, own.size()), own) << file;
            seen.insert(tag);
        }
    }
    // Every writer flushed at least once, so each left a state of its own.
    EXPECT_GE(seen.size(), static_cast<std::size_t>(kKills));
    std::printf("distinct flushed states seen: %zu\n", seen.size());
}

}  // namespace
}  // namespace rg::testing
