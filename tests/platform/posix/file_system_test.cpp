// The Linux backend of the file calls: Windows result codes, code page 1252 paths, the
// read-only attribute, and replacement that never leaves a torn file.
#include "platform/os/file_system.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/base/byte_source.h"
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

TEST_F(FileSystem, SystemDirectoryLivesInTheMachinePrefix) {
    ::setenv("RAVELGARD_PREFIX", (folder_.path() + "/caf\xC3\xA9").c_str(), 1);
    const std::string expected = folder_.path() + "/caf\xE9/system32";
    char buffer[1024];
    std::fill(std::begin(buffer), std::end(buffer), ' ');
    const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, length + 2), expected + std::string("\0 ", 2));
    EXPECT_EQ(GetSystemDirectoryA(buffer, length + 1), length);
    EXPECT_EQ(GetSystemDirectoryA(buffer, length), length + 1);  // too short: the size needed
    EXPECT_EQ(GetSystemDirectoryA(nullptr, 0), length + 1);
    ::unsetenv("RAVELGARD_PREFIX");
    EXPECT_EQ(MachinePrefix(), std::string(std::getenv("HOME")) + "/.ravelgard");
    SetMachinePrefix("/opt/prefix");
    EXPECT_EQ(MachinePrefix(), "/opt/prefix");
    OverrideSystemDirectoryForTesting("/opt/system");
    EXPECT_EQ(GetSystemDirectoryA(buffer, sizeof buffer), 11u);
    EXPECT_STREQ(buffer, "/opt/system");
    OverrideSystemDirectoryForTesting(std::nullopt);
    SetMachinePrefix("");
    EXPECT_EQ(MachinePrefix(), std::string(std::getenv("HOME")) + "/.ravelgard");
    ::setenv("RAVELGARD_APP_DIR", "/opt/app", 1);
    EXPECT_EQ(AppPath(), "/opt/app");
    ::unsetenv("RAVELGARD_APP_DIR");
}

TEST_F(FileSystem, PathsAreJoinedAndSplitAtTheLastSlash) {
    EXPECT_EQ(JoinPath("/opt/a", "b.ini"), "/opt/a/b.ini");
    EXPECT_EQ(JoinPath("/", "b"), "//b");
    const std::pair<const char*, const char*> folders[] = {
        {"/opt/a/b.ini", "/opt/a"}, {"/b", "/"}, {"b.ini", "."}, {"a/b/", "a/b"}};
    for (const auto& [path, folder] : folders) {
        EXPECT_EQ(FolderOfPath(path), folder) << path;
    }
    const std::string app = AppPath();
    EXPECT_TRUE(IsDirectory(app));
    EXPECT_TRUE(PathFileExistsA(app + "/file_system_test"));
    OverrideAppPathForTesting("/x");
    EXPECT_EQ(AppPath(), "/x");
    OverrideAppPathForTesting(std::nullopt);
    EXPECT_EQ(AppPath(), app);
}

// Paths are code page 1252 and name UTF-8 files on disk. Folders named in any script: a
// character the code page lacks is one "?" in the program's text, and the paths built on the
// name find the real folder again.
TEST_F(FileSystem, FoldersNamedInAnyScriptAreFoundAgain) {
    const std::pair<const char*, const char*> names[] = {
        {"r\xC3\xA9sum\xC3\xA9", "r\xE9sum\xE9"},  // résumé
        {"caf\xC3\xA9\xE4\xB8\xAD", "caf\xE9?"},   // café中
        {"\xD0\x9F\xD1\x80\xD0\xB8", "???"},       // При
        {"\xCE\xB1\xCE\xB2 \xCE\xB3", "?? ?"}};    // αβ γ
    for (const auto& [native, shown] : names) {
        const std::string folder = folder_.path() + "/" + native;
        fs::create_directory(folder);
        std::ofstream(folder + "/in.exe") << "MZ";
        const std::string path = PathFromNative(folder);
        EXPECT_EQ(path, folder_.path() + "/" + shown);
        EXPECT_EQ(NativePath(path), folder);
        std::string contents;
        EXPECT_EQ(ReadWholeFile(JoinPath(path, "in.exe"), contents, 10), ERROR_SUCCESS);
        EXPECT_EQ(contents, "MZ");
        EXPECT_EQ(ReplaceFileAtomically(JoinPath(path, "a.RVL"), "x"), ERROR_SUCCESS);
        EXPECT_TRUE(fs::exists(folder + "/a.RVL")) << native;  // native path, not code page
    }
    EXPECT_EQ(PathFromNative("/opt/x\xC3"), "/opt/x?");  // not UTF-8
    EXPECT_EQ(NativePath("/opt/caf\xE9\x80"), "/opt/caf\xC3\xA9\xE2\x82\xAC");
}

// Special files: read without blocking and only when regular and not too large; replaced only
// when regular and single-linked; links followed to their target.
TEST_F(FileSystem, SpecialFilesAreRefusedAndLinksFollowed) {
    const std::string fifo = folder_ / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::string device = folder_ / "zero";
    ASSERT_EQ(::symlink("/dev/zero", device.c_str()), 0);
    const std::string big = folder_.Write("big.ini", std::string(11, 'x'));
    std::string contents = "stale";
    EXPECT_EQ(ReadWholeFile(fifo, contents, 10), ERROR_BAD_FILE_TYPE);  // and no hang
    EXPECT_EQ(ReadWholeFile(device, contents, 10), ERROR_BAD_FILE_TYPE);
    EXPECT_EQ(ReadWholeFile(big, contents, 10), ERROR_FILE_TOO_LARGE);
    EXPECT_EQ(contents, "");
    EXPECT_EQ(ReplaceFileAtomically(fifo, "x"), ERROR_BAD_FILE_TYPE);
    EXPECT_EQ(ReplaceFileAtomically(device, "x"), ERROR_BAD_FILE_TYPE);
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
// into place, keeps the file's owner (checked only where a file can be given away).
TEST_F(FileSystem, NewPrivateFilesStayPrivateAndReplacementKeepsOwner) {
    ASSERT_EQ(ReplaceFileAtomically(folder_ / "RVPSD.SYS", "p", Privacy::OwnerOnly), ERROR_SUCCESS);
    EXPECT_EQ(fs::status(folder_ / "RVPSD.SYS").permissions(), fs::perms(0600));
    ASSERT_EQ(CreateDirectoryA(folder_ / "prefix", Privacy::OwnerOnly), TRUE);
    EXPECT_EQ(fs::status(folder_ / "prefix").permissions(), fs::perms(0700));
    const std::string file = folder_.Write("theirs.RVL", "old");
    if (::chown(file.c_str(), 4321, 4322) != 0) {
        GTEST_SKIP() << "giving a file away needs root";
    }
    const auto owner = [&] {
        struct stat info {};
        ::stat(file.c_str(), &info);
        return std::pair(info.st_uid, info.st_gid);
    };
    ASSERT_EQ(ReplaceFileAtomically(file, "new"), ERROR_SUCCESS);
    EXPECT_EQ(owner(), std::pair(4321u, 4322u));
    ASSERT_EQ(WriteReplacementBeside(file, folder_ / "theirs.new", "newer"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), "new");
    ASSERT_EQ(MoveFileReplacing(folder_ / "theirs.new", file), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), "newer");
    EXPECT_EQ(owner(), std::pair(4321u, 4322u));
}

// The update lock is exclusive between processes: the parent gets it only once the child,
// which took it first, has let it go.
TEST_F(FileSystem, UpdateLockIsExclusiveBetweenProcesses) {
    const std::string file = folder_ / "shared.ini";
    const std::string released = folder_ / "released";
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        auto lock = LockForUpdate(file);
        ::write(ready[1], "x", 1);
        ::usleep(200000);
        TempFolder::WriteFile(released, "");
        lock.reset();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    const auto lock = LockForUpdate(file);
    ASSERT_NE(lock, nullptr);
    EXPECT_TRUE(fs::exists(released));
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(LockForUpdate(folder_ / "no/such/file.ini"), nullptr);
}

TEST_F(FileSystem, ReplacementKeepsPermissionsAndLeavesNoTemporaryFile) {
    const std::string file = folder_.Write("a.RVL", "old");
    ::chmod(file.c_str(), 0640);
    ASSERT_EQ(ReplaceFileAtomically(file, std::string("new\0bytes", 9)), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(file), std::string("new\0bytes", 9));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0640));
    EXPECT_EQ(Entries(), 1u);
    EXPECT_EQ(AppendToFile(folder_ / "Err.log", "one\r\n"), ERROR_SUCCESS);
    EXPECT_EQ(AppendToFile(folder_ / "Err.log", "two\r\n"), ERROR_SUCCESS);
    EXPECT_EQ(TempFolder::ReadFile(folder_ / "Err.log"), "one\r\ntwo\r\n");
    EXPECT_EQ(DeleteFileA(file), TRUE);
    EXPECT_FALSE(PathFileExistsA(file));
}

TEST_F(FileSystem, ReadOnlyFilesAndFoldersRefuseChangesEvenForRoot) {
    const std::string file = folder_.Write("locked.RVL", "keep");
    ::chmod(file.c_str(), 0444);
    EXPECT_TRUE(IsReadOnlyFile(file));
    EXPECT_FALSE(IsReadOnlyFile(folder_.path()));
    for (const std::string& path : {file, folder_.path()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(ReplaceFileAtomically(path, "x"), ERROR_ACCESS_DENIED);
        SetLastError(0);
        EXPECT_EQ(DeleteFileA(path), FALSE);
        EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    }
    EXPECT_EQ(AppendToFile(file, "x"), ERROR_ACCESS_DENIED);
    std::string contents;
    EXPECT_EQ(ReadWholeFile(folder_.path(), contents, 10), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadWholeFile(file, contents, 10), ERROR_SUCCESS);
    EXPECT_EQ(contents, "keep");
}

TEST_F(FileSystem, MissingFilesAndFoldersGiveWindowsCodes) {
    std::string contents = "stale";
    EXPECT_EQ(ReadWholeFile(folder_ / "none", contents, 10), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(contents, "");
    EXPECT_EQ(ReplaceFileAtomically(folder_ / "no/such/file", "x"), ERROR_PATH_NOT_FOUND);
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
    for (const auto& [offset, length] : {std::pair<std::size_t, std::size_t>{0, 64},
                                         {4094, 4},
                                         {4096, 100},
                                         {5000, 4},
                                         {5004, 0}}) {
        EXPECT_TRUE(source->ReadString(offset, length, got) && got == bytes.substr(offset, length))
            << offset;
    }
    EXPECT_FALSE(source->ReadString(5003, 2, got));
    EXPECT_FALSE(source->ReadString(~std::uint64_t{0}, 2, got));
    fs::resize_file(file, 4500);  // the file shrinks under the reader
    EXPECT_FALSE(source->ReadString(5000, 4, got));
    EXPECT_EQ(got, "");
    EXPECT_TRUE(source->ReadString(4092, 4, got));
    EXPECT_EQ(got, "xxhe");
    EXPECT_EQ(OpenFileByteSource(folder_ / "none.exe"), nullptr);
    EXPECT_EQ(OpenFileByteSource(folder_.path()), nullptr);
}

// A writer killed at random moments leaves the old or the new content, never a torn file.
TEST_F(FileSystem, KilledWriterNeverLeavesATornFile) {
    const std::string file = folder_ / "torn.RVL";
    const auto contentOf = [](int round) { return std::string(200000, char('a' + round % 26)); };
    ASSERT_EQ(ReplaceFileAtomically(file, contentOf(0)), ERROR_SUCCESS);
    pid_t lastChild = 0;
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
        lastChild = child;
        const std::string text = TempFolder::ReadFile(file);
        ASSERT_EQ(text.size(), 200000u);
        EXPECT_EQ(text.find_first_not_of(text[0]), std::string::npos);
    }
    // Before a replacement, the temporary files of writers that are gone are removed.
    const std::string stem = folder_ / ".torn.RVL.tmp";
    const std::string gone = std::to_string(lastChild);
    const std::string dead = stem + gone + "_7";
    TempFolder::WriteFile(dead, "");
    for (const std::string& kept :
         {stem + std::to_string(::getpid()) + "_1", stem + "_1", stem + gone + "x_1",
          folder_ / (".other.RVL.tmp" + gone + "_1")}) {
        TempFolder::WriteFile(kept, "");
    }
    ASSERT_EQ(ReplaceFileAtomically(file, "final"), ERROR_SUCCESS);
    EXPECT_FALSE(fs::exists(dead));
    EXPECT_EQ(Entries(), 5u);
}

}  // namespace
}  // namespace rg::test
