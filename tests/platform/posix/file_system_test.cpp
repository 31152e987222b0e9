// The Linux backend of the file calls: Windows result codes, code page 1252 paths, the
// read-only attribute, and replacement that never leaves a torn file. Exclusive updates and
// writers killed mid-save are tested through the profile and the save (tests/tools,
// tests/persistence); special files met by start-up in tests/startup.
#include "platform/os/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
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
    EXPECT_EQ(JoinPath("/", "b"), "//b");
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
    EXPECT_TRUE(fs::exists(folder + "/a.RVL"));  // the native name, not the code page one
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
    EXPECT_EQ(ReadWholeFile(fifo, contents, 10), ERROR_BAD_FILE_TYPE);  // and no hang
    EXPECT_EQ(ReadWholeFile(big, contents, 10), ERROR_FILE_TOO_LARGE);
    EXPECT_EQ(contents, "");
    EXPECT_EQ(ReadWholeFile(full, contents, 10), ERROR_SUCCESS);
    EXPECT_EQ(contents, std::string(10, 'x'));
    EXPECT_EQ(ReplaceFileAtomically(fifo, "x"), ERROR_BAD_FILE_TYPE);
    EXPECT_TRUE(fs::is_fifo(fifo));
    const std::string twin = folder_ / "twin.ini";
    fs::create_hard_link(big, twin);
    EXPECT_EQ(ReplaceFileAtomically(twin, "x"), ERROR_NOT_SUPPORTED);
    fs::remove(twin);
    const std::string link = folder_ / "link.ini";
    fs::create_symlink("big.ini", link);
    ASSERT_EQ(ReplaceFileAtomically(link, "new"), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(TempFolder::ReadFile(big), "new");
}

// New private files and folders stay private; a replacement, also one written beside and moved
// into place, keeps the file's permissions and owner (the owner only where a file can be given
// away); nothing temporary is left.
TEST_F(FileSystem, ReplacementKeepsRightsAndOwnerAndLeavesNoTemporaryFile) {
    ASSERT_EQ(ReplaceFileAtomically(folder_ / "RVPSD.SYS", "p", Privacy::OwnerOnly), ERROR_SUCCESS);
    EXPECT_EQ(fs::status(folder_ / "RVPSD.SYS").permissions(), fs::perms(0600));
    ASSERT_EQ(CreateDirectoryA(folder_ / "prefix", Privacy::OwnerOnly), TRUE);
    EXPECT_EQ(fs::status(folder_ / "prefix").permissions(), fs::perms(0700));
    const std::string file = folder_.Write("theirs.RVL", "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_EQ(ReplaceFileAtomically(file, std::string("new\0bytes", 9)), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), std::string("new\0bytes", 9));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(Entries(), 3u);
    if (::chown(file.c_str(), 4321, 4322) != 0) {
        GTEST_SKIP() << "giving a file away needs root";
    }
    ASSERT_EQ(WriteReplacementBeside(file, folder_ / "theirs.new", "newer"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), std::string("new\0bytes", 9));
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
    EXPECT_EQ(CreateDirectoryA(folder_ / "Profiles/"), TRUE);
    EXPECT_TRUE(IsDirectory(folder_ / "Profiles"));
    EXPECT_EQ(CreateDirectoryA(folder_ / "Profiles"), FALSE);
    EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
}

// A file source reads like memory, across the 4 KiB head it keeps and up to the end; what the
// file no longer holds fails, what the head holds is still read.
TEST_F(FileSystem, AByteSourceReadsWhatTheFileHoldsAndNoMore) {
    const std::string bytes = std::string(4094, 'x') + "head" + std::string(902, 'y') + "tail";
    const std::string file = folder_.Write("big.exe", bytes);
    const auto source = OpenFileByteSource(file);
    ASSERT_EQ(source->Size(), 5004u);
    std::string got;
    for (const auto& [offset, length] : {std::pair<std::size_t, std::size_t>{4094, 4},
                                         {4096, 100},
                                         {5000, 4}}) {
        EXPECT_TRUE(source->ReadString(offset, length, got) && got == bytes.substr(offset, length))
            << offset;
    }
    EXPECT_FALSE(source->ReadString(5003, 2, got));
    EXPECT_FALSE(source->ReadString(~std::uint64_t{0}, 2, got));
    fs::resize_file(file, 1000);  // the file shrinks under the reader
    EXPECT_FALSE(source->ReadString(5000, 4, got));
    EXPECT_TRUE(source->ReadString(4092, 4, got));
    EXPECT_EQ(got, "xxhe");
    EXPECT_EQ(OpenFileByteSource(folder_ / "none.exe"), nullptr);
    EXPECT_EQ(OpenFileByteSource(folder_.path()), nullptr);
}

// Before a replacement, the temporary files that writers now gone left beside the file are
// removed; those of living writers, and names of another pattern, stay.
TEST_F(FileSystem, ReplacementRemovesTheTemporariesOfGoneWriters) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::_exit(0);
    }
    ::waitpid(child, nullptr, 0);
    const std::string stem = folder_ / ".torn.RVL.tmp";
    const std::string gone = std::to_string(child);
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
