// The Linux backend of the file calls: Windows result codes, code page 1252 paths, the
// read-only attribute, and replacement that never leaves a torn file. Files read by offset are
// tested through the PE reader (tests/fileinfo, tests/platform/standin). Exclusive updates and
// writers killed mid-save are tested through the profile and the save (tests/tools,
// tests/persistence); special files met by start-up in tests/startup.
#include "platform/os/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

namespace fs = std::filesystem;
using namespace platform;

class FileSystem : public ::testing::Test {
  protected:
    std::size_t Entries() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder_.path()), {}));
    }
    TempFolder folder_;
};

// Paths are code page 1252 and name UTF-8 files on disk. A character the code page lacks is one
// "?" in the program's text, and the paths built on the name find the real folder again. (The
// wizard installed under such folders is tested in tests/wizard.)
TEST_F(FileSystem, PathsAsTheProgramBuildsThemFindTheirFiles) {
    SetMachinePrefix("/opt/caf\xE9");
    char buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, length + 2), std::string("/opt/caf\xE9/system32\0 ", 20));
    EXPECT_EQ(GetSystemDirectoryA(buffer, length + 1), length);
    EXPECT_EQ(GetSystemDirectoryA(buffer, length), length + 1);  // too short: the size needed
    SetMachinePrefix("");
    EXPECT_EQ(MachinePrefix(), std::string(std::getenv("HOME")) + "/.ravelgard");
    EXPECT_TRUE(PathFileExistsA(AppPath() + "/file_system_test"));
    const std::pair<const char*, const char*> folders[] = {
        {"/opt/a/b.ini", "/opt/a"}, {"/b", "/"}, {"b.ini", "."}, {"a/b/", "a/b"}};
    for (const auto& [path, folder] : folders) {
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    }
    const std::string folder = folder_.path() + "/caf\xC3\xA9\xE4\xB8\xAD";  // café中
    fs::create_directory(folder);
    const std::string path = PathFromNative(folder);
    EXPECT_EQ(path, folder_.path() + "/caf\xE9?");
    EXPECT_EQ(ReplaceFileAtomically(JoinPath(path, "a.RVL"), "x"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::exists(folder + "/a.RVL"));          // the native name, not the code page one
    EXPECT_EQ(PathFromNative("/opt/x\xC3"), "/opt/x?");  // not UTF-8
    EXPECT_EQ(NativePath("/opt/caf\xE9\x80"), "/opt/caf\xC3\xA9\xE2\x82\xAC");
}

// Special files: read without blocking and only when regular and within the cap; replaced only
// when regular and single-linked; links followed to their target.
TEST_F(FileSystem, SpecialFilesAreRefusedAndLinksFollowed) {
    const std::string fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string full = folder_.Write("full.ini", std::string(10, 'x'));
    const std::string big = folder_.Write("big.ini", std::string(11, 'x'));
    std::string contents = "stale";
    EXPECT_EQ(ReadWholeFile(big, contents, 10), ERROR_FILE_TOO_LARGE);
    EXPECT_EQ(contents, "");
    EXPECT_EQ(ReadWholeFile(full, contents, 10), ERROR_SUCCESS);
    EXPECT_EQ(contents, std::string(10, 'x'));
    EXPECT_EQ(ReplaceFileAtomically(fifo, "x"), ERROR_BAD_FILE_TYPE);
    const std::string twin = folder_ / "twin.ini";
    fs::create_hard_link(big, twin);
    EXPECT_EQ(ReplaceFileAtomically(twin, "x"), ERROR_NOT_SUPPORTED);
    const std::string link = folder_ / "link.ini";
    fs::create_symlink("full.ini", link);
    ASSERT_EQ(ReplaceFileAtomically(link, "new"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TempFolder::ReadFile(full), "new");
}

// New private files and folders stay private; a replacement, also one written beside and moved
// into place, keeps the file's permissions and owner (the owner only where a file can be given
// away); nothing temporary is left.
TEST_F(FileSystem, ReplacementKeepsRightsAndOwnerAndLeavesNoTemporaryFile) {
    const std::string file = folder_.Write("theirs.RVL", "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_EQ(ReplaceFileAtomically(file, std::string("new\0bytes", 9)), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), std::string("new\0bytes", 9));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(Entries(), 1u);
    if (::chown(file.c_str(), 4321, 4322) != 0) {
        GTEST_SKIP() << "giving a file away needs root";
    }
    ASSERT_EQ(WriteReplacementBeside(file, folder_ / "theirs.new", "newer"), ERROR_SUCCESS);
    ASSERT_EQ(MoveFileReplacing(folder_ / "theirs.new", file), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), "newer");
    struct stat info {};
    ::stat(file.c_str(), &info);
    EXPECT_EQ(std::pair(info.st_uid, info.st_gid), std::pair(4321u, 4322u));
}

// Read-only files and folders refuse changes, even for root; missing files and folders give
// the Windows codes. (Replacing and deleting read-only profile files is tested through the
// profile and the save.)
TEST_F(FileSystem, RefusalsGiveWindowsCodes) {
    const std::string file = folder_.Write("locked.RVL", "keep");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(file));
    EXPECT_FALSE(IsReadOnlyFile(folder_.path()));
    EXPECT_EQ(AppendToFile(file, "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(TempFolder::ReadFile(file), "keep");
    std::string contents;
    EXPECT_EQ(ReadWholeFile(folder_.path(), contents, 10), ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteFileA(folder_.path()), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadWholeFile(folder_ / "none", contents, 10), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(LockForUpdate(folder_ / "no/such/file"), nullptr);
    EXPECT_EQ(DeleteFileA(folder_ / "none"), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryA(folder_ / "no/two"), FALSE);  // only one level is created
    EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(CreateDirectoryA(folder_.path()), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

// Before a replacement, the temporary files that writers now gone left beside the file are
// removed; those of living writers, and names of another pattern, stay.
TEST_F(FileSystem, ReplacementRemovesTheTemporariesOfGoneWriters) {
    const std::string stem = folder_ / ".torn.RVL.tmp";
    const std::string gone = "2147483647";  // no process has this id
    const std::string dead = folder_.Write(".torn.RVL.tmp" + gone + "_7", "");
    for (const std::string& kept :
         {stem + std::to_string(::getpid()) + "_1", stem + "_1", stem + gone + "x_1",
          folder_ / (".other.RVL.tmp" + gone + "_1")}) {
        TempFolder::WriteFile(kept, "");
    }
    ASSERT_EQ(ReplaceFileAtomically(folder_ / "torn.RVL", "final"), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_EQ(Entries(), 5u);
}

}  // namespace
}  // namespace rg::test
