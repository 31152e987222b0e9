#include "platform/os/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace rg::platform {
namespace {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("rg_fs_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
    }
    void TearDown() override { fs::remove_all(folder_); }
    std::string Path(const std::string& name) const { return (folder_ / name).string(); }
    static std::string Read(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }
    static void Write(const std::string& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }
    fs::path folder_;
};

TEST_F(FileSystemTest, SystemDirectoryLivesInThePrefix) {
    ::setenv("RAVELGARD_PREFIX", folder_.c_str(), 1);
    char buffer[1024];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    const std::string expected = folder_.string() + "/system32";
    EXPECT_EQ(length, expected.size());
    EXPECT_EQ(std::string(buffer, length), expected);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(buffer[length + 1], ' ');  // the rest of the buffer is untouched
    EXPECT_EQ(GetSystemDirectoryA(buffer, 3), expected.size() + 1);
    ::unsetenv("RAVELGARD_PREFIX");
    EXPECT_EQ(MachinePrefix(), std::string(std::getenv("HOME")) + "/.ravelgard");
}

TEST_F(FileSystemTest, AppPathIsTheExecutablesFolder) {
    const std::string path = AppPath();
    EXPECT_TRUE(IsDirectory(path));
    EXPECT_NE(path.back(), '/');
    EXPECT_TRUE(PathFileExistsA(path + "/file_system_test"));
    OverrideAppPathForTesting("/");
    EXPECT_EQ(AppPath(), "/");
    OverrideAppPathForTesting(std::nullopt);
}

TEST_F(FileSystemTest, ReplaceKeepsPermissionsAndLeavesNoTemporaryFile) {
    const std::string file = Path("a.RVL");
    Write(file, "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_EQ(ReplaceFileAtomically(file, std::string("new\0bytes", 9)), ERROR_SUCCESS);
    EXPECT_EQ(Read(file), std::string("new\0bytes", 9));
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
}

TEST_F(FileSystemTest, ReadOnlyFilesRefuseEveryChangeEvenForRoot) {
    const std::string file = Path("locked.RVL");
    Write(file, "keep");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(file));
    EXPECT_EQ(ReplaceFileAtomically(file, "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(AppendToFile(file, "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteFileA(file), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(Read(file), "keep");
}

TEST_F(FileSystemTest, MissingFilesAndFoldersGiveWindowsCodes) {
    std::string contents = "stale";
    EXPECT_EQ(ReadWholeFile(Path("none"), contents), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(contents.empty());
    EXPECT_EQ(ReplaceFileAtomically(Path("no/such/file"), "x"), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(DeleteFileA(Path("none")), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryA(Path("no/two")), FALSE);  // only one level is created
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryA(Path("Profiles/")), TRUE);
    EXPECT_TRUE(IsDirectory(Path("Profiles")));
    EXPECT_EQ(CreateDirectoryA(Path("Profiles")), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

TEST_F(FileSystemTest, Cp1252PathsNameUtf8FilesOnDisk) {
    Write(Path("caf\xC3\xA9.exe"), "MZ");  // the name as the Linux file system holds it
    const std::string cp1252 = Path("caf\xE9.exe");
    EXPECT_TRUE(PathFileExistsA(cp1252));
    std::string contents;
    EXPECT_EQ(ReadWholeFile(cp1252, contents), ERROR_SUCCESS);
    EXPECT_EQ(contents, "MZ");
    EXPECT_EQ(ReplaceFileAtomically(Path("r\xE9sum\xE9.RVL"), "x"), ERROR_SUCCESS);
    EXPECT_EQ(Read(Path("r\xC3\xA9sum\xC3\xA9.RVL")), "x");
    EXPECT_EQ(PathFromNative("/opt/caf\xC3\xA9"), "/opt/caf\xE9");
    EXPECT_EQ(PathFromNative("/opt/\xE4\xB8\xAD"), "/opt/???");  // outside the code page
    EXPECT_EQ(NativePath("/opt/caf\xE9"), "/opt/caf\xC3\xA9");
}

TEST_F(FileSystemTest, AppendCreatesThenAppends) {
    const std::string file = Path("Err.log");
    EXPECT_EQ(AppendToFile(file, "one\r\n"), ERROR_SUCCESS);
    EXPECT_EQ(AppendToFile(file, "two\r\n"), ERROR_SUCCESS);
    EXPECT_EQ(Read(file), "one\r\ntwo\r\n");
}

// A process killed at random moments while replacing a file leaves either an old or a new
// content, never a mixture or a short file.
TEST_F(FileSystemTest, KilledWriterNeverLeavesATornFile) {
    const std::string file = Path("torn.RVL");
    const auto contentOf = [](int round) { return std::string(200000, char('a' + round % 26)); };
    ASSERT_EQ(ReplaceFileAtomically(file, contentOf(0)), ERROR_SUCCESS);
    for (int attempt = 0; attempt < 15; ++attempt) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int round = 1;; ++round) {
                ReplaceFileAtomically(file, contentOf(round));
            }
        }
        ::usleep(static_cast<useconds_t>(2000 + (attempt * 7919) % 30000));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string text = Read(file);
        ASSERT_EQ(text.size(), 200000u);
        EXPECT_EQ(text.find_first_not_of(text[0]), std::string::npos);
    }
    // The killed writers' temporary files go with the next replacement; a live writer's stays.
    const std::string live = Path(".torn.RVL.tmp" + std::to_string(::getpid()) + "_1");
    Write(live, "in progress");
    ASSERT_EQ(ReplaceFileAtomically(file, "final"), ERROR_SUCCESS);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 2);
    EXPECT_TRUE(fs::exists(live));
}

}  // namespace
}  // namespace rg::platform
