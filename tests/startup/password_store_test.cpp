#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "platform/os/registry.h"
#include "platform/ui/message_box.h"
#include "services/cipher.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::ProgramEnded;
using test::TempInstall;

class PasswordStore : public ::testing::Test {
  protected:
    void SetUp() override {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }

    std::string FilePath() const { return install.systemDir() + "/RVPSD.SYS"; }
    std::string RegistryValue() const {
        return RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                             "<none>");
    }
    void SetRegistryCopy(std::string_view password) {
        RegWriteString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                       EncryptText(password, kPasswordKey));
    }
    void SetFileCopy(std::string_view password) {
        TempInstall::WriteFile(FilePath(), PasswordFileLine(password) + "\r\n");
    }
    // Expects LoadStoredPassword to end the program after one critical box with `text`.
    void ExpectLoadFailsWith(const std::string& text) {
        const std::size_t before = screen.boxes().size();
        screen.AnswerNextBox(platform::IDOK);
        EXPECT_THROW(LoadStoredPassword(), ProgramEnded);
        ASSERT_EQ(screen.boxes().size(), before + 1);
        const test::MessageBoxRecord& box = screen.boxes().back();
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.title, "Ravelgard Startup Wizard");
        EXPECT_EQ(box.style, platform::MB_OK | platform::MB_ICONHAND);
    }

    TempInstall install;
    test::ScriptedWindowSystem screen;  // nothing may end the test program
};

TEST_F(PasswordStore, SavedPasswordIsReadBackFromBothCopies) {
    for (const char* password : {"Secret", "a", "with space inside", "x!~{}|"}) {
        SavePassword(password);
        EXPECT_EQ(LoadStoredPassword(), password);
    }
    // The file holds exactly one line: the framed password and CR LF, nothing left over from
    // the longer passwords written before.
    const std::string file = TempInstall::ReadFile(FilePath());
    EXPECT_EQ(file.size(), 100u + 6u + 2u);
    EXPECT_EQ(file, PasswordFileLine("x!~{}|") + "\r\n");
    EXPECT_EQ(DecryptText(RegistryValue(), kPasswordKey), "x!~{}|");
}

TEST_F(PasswordStore, TheFileFrameHoldsThePasswordFromPosition26) {
    const std::string line = PasswordFileLine("pw");
    ASSERT_EQ(line.size(), 102u);
    EXPECT_EQ(DecryptText(line, kPasswordKey),
              "Ravelgard is a firewall. pwOur team members are listed in the product "
              "documentation for this release. ");
}

TEST_F(PasswordStore, FrameWithoutRegistryValueMeansNoPassword) {
    SetFileCopy("");
    EXPECT_EQ(LoadStoredPassword(), "");
}

TEST_F(PasswordStore, OnlyTheFirstLineCounts) {
    SetRegistryCopy("first");
    TempInstall::WriteFile(FilePath(),
                           PasswordFileLine("first") + "\r\n" + PasswordFileLine("other") + "\r\n");
    EXPECT_EQ(LoadStoredPassword(), "first");
}

TEST_F(PasswordStore, CopiesThatDisagreeAreReportedAsCorrupted) {
    SetRegistryCopy("Secret");
    SetFileCopy("secret");
    ExpectLoadFailsWith("Ravelgard Startup Wizard is corrupted.");
}

TEST_F(PasswordStore, RegistryPasswordWithoutFileCopyIsCorrupted) {
    SetRegistryCopy("Secret");
    SetFileCopy("");
    ExpectLoadFailsWith("Ravelgard Startup Wizard is corrupted.");
}

TEST_F(PasswordStore, MissingFileAsksForReinstallation) {
    ExpectLoadFailsWith("Applicaation corrupted please reinstall it.");
}

// Files that do not hold the 100-character frame: no out-of-range read, a corrupted store.
TEST_F(PasswordStore, FileWithoutTheFrameIsCorrupted) {
    const std::string frame = PasswordFileLine("");
    for (const std::string& contents :
         {std::string(), std::string("\r\n"), frame.substr(0, 99) + "\r\n", frame.substr(0, 99),
          std::string("\r") + frame}) {
        SCOPED_TRACE(contents.size());
        TempInstall::WriteFile(FilePath(), contents);
        ExpectLoadFailsWith("Ravelgard Startup Wizard is corrupted.");
    }
}

TEST_F(PasswordStore, UnreadableFileIsCorrupted) {
    std::filesystem::create_directory(FilePath());
    ExpectLoadFailsWith("Ravelgard Startup Wizard is corrupted.");
}

TEST_F(PasswordStore, FileThatCannotBeWrittenRaisesAfterTheRegistryWrite) {
    std::filesystem::remove_all(install.systemDir());
    try {
        SavePassword("Secret");
        FAIL() << "no error raised";
    } catch (const RunError& error) {
        EXPECT_EQ(error.number(), RunError::kPathNotFound);
    }
}

// Characters of 128 and above can encipher into what the stores lose: a space at either end
// of the registry form, a NUL, or a CR/LF in the file line.
TEST_F(PasswordStore, RefusesPasswordsTheStoresWouldNotGiveBack) {
    EXPECT_TRUE(CanStorePassword(""));
    EXPECT_TRUE(CanStorePassword("Printable ~ text 123"));
    const char key1 = kPasswordKey[1];  // the key character of the first password position
    EXPECT_FALSE(CanStorePassword(std::string(1, static_cast<char>(' ' - key1 + 256))));
    EXPECT_FALSE(CanStorePassword(std::string(1, static_cast<char>(256 - key1))));  // NUL
    // In the file line the password starts at position 26, which takes key character 2.
    EXPECT_FALSE(
        CanStorePassword("a" + std::string(1, static_cast<char>('\r' - kPasswordKey[3] + 256))));
    EXPECT_FALSE(CanStorePassword(std::string(32767 - 99, 'a')));
}

// Whatever CanStorePassword accepts must come back unchanged through both real stores.
TEST_F(PasswordStore, EveryAcceptedPasswordSurvivesTheRoundTrip) {
    std::mt19937 random(1994);
    std::uniform_int_distribution<int> byte(1, 255);
    std::uniform_int_distribution<int> length(1, 12);
    int accepted = 0;
    int refused = 0;
    for (int i = 0; i < 120; ++i) {
        std::string password(static_cast<std::size_t>(length(random)), ' ');
        for (char& c : password) {
            c = static_cast<char>(byte(random));
        }
        if (!CanStorePassword(password)) {
            ++refused;
            continue;
        }
        ++accepted;
        SavePassword(password);
        EXPECT_EQ(LoadStoredPassword(), password);
    }
    EXPECT_TRUE(screen.boxes().empty());  // a corrupted store would have shown a box
    EXPECT_GT(accepted, 40);
    EXPECT_GT(refused, 0);
}

}  // namespace
}  // namespace rg
