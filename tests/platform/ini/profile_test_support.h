// Shared helpers of the profile tests: a scratch folder per test, raw file access that goes
// around the profile API, and short forms of the API calls that return what a caller sees.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"

namespace rg::testing {

using platform::OptText;

inline std::string ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteRaw(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// What a read call gives: its return value and the buffer up to and including that position.
struct ReadResult {
    platform::DWORD count;
    std::string buffer;
};

class ProfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::DiscardPrivateProfileCacheForTesting();
        char pattern[] = "/tmp/rg_ini_XXXXXX";
        folder_ = ::mkdtemp(pattern);
        file_ = folder_ + "/test.ini";
    }
    void TearDown() override {
        platform::DiscardPrivateProfileCacheForTesting();
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add);
        std::filesystem::remove_all(folder_);
    }

    // Puts the bytes on disk and forgets any held copy, as a fresh process would see them.
    void Given(const std::string& bytes) {
        platform::DiscardPrivateProfileCacheForTesting();
        WriteRaw(file_, bytes);
    }

    ReadResult Get(OptText section, OptText key, OptText fallback = "def",
                   platform::DWORD size = 1000) {
        std::vector<char> buffer(size + 1, '\x7F');
        const platform::DWORD count =
            platform::GetPrivateProfileStringA(section, key, fallback, buffer.data(), size, file_);
        const std::size_t shown = std::min<std::size_t>(count + 1, size);
        return {count, std::string(buffer.data(), shown)};
    }

    // The value as ReadINI-like callers see it: the first `count` characters.
    std::string Value(OptText section, OptText key, OptText fallback = "def") {
        const ReadResult result = Get(section, key, fallback);
        return result.buffer.substr(0, result.count);
    }

    bool Set(OptText section, OptText key, OptText value) {
        return platform::WritePrivateProfileStringA(section, key, value, file_) != 0;
    }

    bool SetSection(std::string_view section, OptText entries) {
        return platform::WritePrivateProfileSectionA(section, entries, file_) != 0;
    }

    // Flushes and returns the file's bytes as they are on disk.
    std::string Disk() {
        EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
        return ReadRaw(file_);
    }

    std::string folder_;
    std::string file_;
};

}  // namespace rg::testing
