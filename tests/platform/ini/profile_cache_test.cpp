// The held copies of profile files: deferred writes, flushing (also on the way out through
// EndProgram), changes made on disk behind the API's back, and flush failures.
#include <sys/stat.h>

#include <stdexcept>
#include <string>

#include "services/end_program.h"
#include "tests/platform/ini/profile_test_support.h"

namespace rg::testing {
namespace {

class ProfileCacheTest : public ProfileTest {};

TEST_F(ProfileCacheTest, WritesWaitForTheFlushAndAreReadBackMeanwhile) {
    Given("[a]\r\nx=1\r\n");
    EXPECT_TRUE(Set("a", "x", "2"));
    EXPECT_EQ(Value("a", "x"), "2");
    EXPECT_EQ(ReadRaw(file_), "[a]\r\nx=1\r\n");
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
    EXPECT_EQ(ReadRaw(file_), "[a]\r\nx=2\r\n");
    // All three NULL is the Windows way of asking for a flush.
    EXPECT_TRUE(Set("a", "x", "3"));
    EXPECT_TRUE(Set(std::nullopt, std::nullopt, std::nullopt));
    EXPECT_EQ(ReadRaw(file_), "[a]\r\nx=3\r\n");
}

TEST_F(ProfileCacheTest, EndProgramPutsPendingWritesOnDisk) {
    EXPECT_TRUE(Set("Main", "AlertEvent", "1"));
    const auto previous = SetEndProgramHook(
        [](int code) { throw std::runtime_error("ended " + std::to_string(code)); });
    EXPECT_THROW(EndProgram(0), std::runtime_error);
    SetEndProgramHook(previous);
    EXPECT_EQ(ReadRaw(file_), "[Main]\r\nAlertEvent=1\r\n");
}

TEST_F(ProfileCacheTest, ChangesOnDiskAreSeenWhenNothingIsPending) {
    Given("[a]\r\nx=1\r\n");
    EXPECT_EQ(Value("a", "x"), "1");
    WriteRaw(file_, "[a]\r\nx=22\r\n");  // same inode, other size
    EXPECT_EQ(Value("a", "x"), "22");
    const std::string replacement = folder_ + "/other.ini";
    WriteRaw(replacement, "[a]\r\nx=33\r\n");
    std::filesystem::rename(replacement, file_);  // same size, other inode
    EXPECT_EQ(Value("a", "x"), "33");
    EXPECT_TRUE(Set("a", "y", "1"));
    EXPECT_EQ(ReadRaw(file_), "[a]\r\nx=33\r\n");
    EXPECT_EQ(Disk(), "[a]\r\nx=33\r\ny=1\r\n");
}

TEST_F(ProfileCacheTest, PendingChangesWinOverChangesOnDisk) {
    Given("[a]\r\nx=1\r\n");
    EXPECT_TRUE(Set("a", "y", "2"));
    WriteRaw(file_, "[a]\r\nother=9\r\n");
    EXPECT_EQ(Value("a", "other"), "def");
    EXPECT_EQ(Disk(), "[a]\r\nx=1\r\ny=2\r\n");
}

TEST_F(ProfileCacheTest, AFailedFlushIsReportedAndDropsItsChanges) {
    Given("[a]\r\nx=1\r\n");
    EXPECT_TRUE(Set("a", "x", "2"));
    ::chmod(file_.c_str(), 0444);
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::FALSE);
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadRaw(file_), "[a]\r\nx=1\r\n");
    EXPECT_EQ(Value("a", "x"), "1");
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);

    const std::string subfolder = folder_ + "/sub";
    std::filesystem::create_directory(subfolder);
    file_ = subfolder + "/x.ini";
    EXPECT_TRUE(Set("a", "x", "1"));
    std::filesystem::remove(subfolder);
    EXPECT_EQ(platform::FlushPrivateProfiles(), platform::FALSE);
    EXPECT_EQ(platform::GetLastError(), platform::ERROR_PATH_NOT_FOUND);
}

TEST_F(ProfileCacheTest, FlushKeepsTheFilesPermissions) {
    Given("[a]\r\nx=1\r\n");
    ::chmod(file_.c_str(), 0640);
    EXPECT_TRUE(Set("a", "x", "2"));
    EXPECT_EQ(Disk(), "[a]\r\nx=2\r\n");
    struct stat info {};
    ASSERT_EQ(::stat(file_.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
}

}  // namespace
}  // namespace rg::testing
