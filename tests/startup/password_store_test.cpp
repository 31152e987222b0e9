#include "startup/password_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include "services/cipher.h"
#include "services/registry_access.h"
#include "services/run_error.h"
#include "startup/fatal.h"
#include "startup/globals.h"
#include "tests/support/scripted_window_system.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

class PasswordStore : public ::testing::Test {
  protected:
    PasswordStore() {
        InitPaths();
        TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    }
    static std::string RegistryValue() {
        return RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                             "");
    }
    static void SetRegistryValue(std::string_view value) {
        RegWriteString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, kPasswordValueName,
                       value);
    }
    // The text of the box with which LoadStoredPassword ends the program, or "" when it returns.
    std::string LoadFailure() {
        screen.AnswerNextBox(platform::IDOK);
        try {
            LoadStoredPassword();
        } catch (const ProgramEnded&) {
            return screen.boxes().back().text;
        }
        return "";
    }

    TempInstall install;
    ScriptedWindowSystem screen;
    const std::string file = install.systemDir() + "/RVPSD.SYS";
};

// The file holds one line: the password between a 25-character prefix and a 75-character
// trailer, all enciphered, then CR LF. Only the first line counts.
TEST_F(PasswordStore, SaveWritesBothCopiesAndLoadReadsThemBack) {
    EXPECT_EQ(DecryptText(PasswordFileLine("pw"), kPasswordKey),
              "Ravelgard is a firewall. pwOur team members are listed in the product "
              "documentation for this release. ");
    for (const char* password : {"with space inside", "Secret", "", "x!~{}|"}) {
        SavePassword(password);
        EXPECT_EQ(DecryptText(RegistryValue(), kPasswordKey), password);
        EXPECT_EQ(LoadStoredPassword(), password);
    }
    EXPECT_EQ(TempInstall::ReadFile(file), PasswordFileLine("x!~{}|") + "\r\n");
    TempInstall::WriteFile(file, PasswordFileLine("x!~{}|") + "\r\n" + PasswordFileLine("o"));
    EXPECT_EQ(LoadStoredPassword(), "x!~{}|");
    EXPECT_TRUE(screen.boxes().empty());
}

TEST_F(PasswordStore, CopiesThatDisagreeOrAFileWithoutTheFrameAreCorrupted) {
    const std::string corrupted = "Ravelgard Startup Wizard is corrupted.";
    EXPECT_EQ(LoadFailure(), "Applicaation corrupted please reinstall it.");
    std::filesystem::create_directory(file);
    EXPECT_EQ(LoadFailure(), corrupted);  // a file that cannot be read
    std::filesystem::remove(file);
    SetRegistryValue(EncryptText("Secret", kPasswordKey));
    for (const char* other : {"secret", ""}) {
        TempInstall::WriteFile(file, PasswordFileLine(other) + "\r\n");
        EXPECT_EQ(LoadFailure(), corrupted) << other;
    }
    const std::string frame = PasswordFileLine("Secret");
    for (const std::string& contents :
         {std::string(), frame.substr(0, 99) + "\r\n", frame.substr(0, 105), "\r" + frame}) {
        TempInstall::WriteFile(file, contents);
        EXPECT_EQ(LoadFailure(), corrupted) << contents.size();
    }
    TempInstall::WriteFile(file, frame);
    SetRegistryValue(std::string(32768, 'x'));  // too long to decipher
    EXPECT_EQ(LoadFailure(), corrupted);
}

// A save that fails at its first or second step leaves the old password in force in both copies.
TEST_F(PasswordStore, AFailedSaveLeavesTheOldPasswordInBothCopies) {
    SavePassword("Old");
    const std::string registry = install.prefix() + "/HKEY_LOCAL_MACHINE.reg";
    const std::string registryBytes = TempInstall::ReadFile(registry);
    TempInstall::WriteFile(registry, "not a registry file");  // the stand-in refuses to write it
    try {
        SavePassword("New");
        ADD_FAILURE() << "no error raised";
    } catch (const RunError&) {
    }
    EXPECT_FALSE(std::filesystem::exists(PendingPasswordFilePath()));
    TempInstall::WriteFile(registry, registryBytes);
    EXPECT_EQ(LoadStoredPassword(), "Old");

    std::filesystem::remove_all(install.systemDir());
    EXPECT_THROW(SavePassword("New"), RunError);
    EXPECT_EQ(DecryptText(RegistryValue(), kPasswordKey), "Old");
}

// The save writes the new file beside the old one, then the registry, then renames the new file
// into place. Whichever step a crash interrupts, the next start finds one password in force;
// a pending file that explains nothing is removed, and a disagreement it cannot explain is
// still tampering.
TEST_F(PasswordStore, TheNextStartFinishesOrUndoesACutShortSave) {
    const auto arrange = [&](const char* inFile, const char* inRegistry, const char* pending) {
        SavePassword(inFile);
        SetRegistryValue(EncryptText(inRegistry, kPasswordKey));
        if (pending != nullptr) {
            TempInstall::WriteFile(PendingPasswordFilePath(), PasswordFileLine(pending) + "\r\n");
        }
    };
    const struct {
        const char *inFile, *inRegistry, *pending, *loaded;
    } rows[] = {
        {"Old", "Old", "New", "Old"},      // cut short before the registry write
        {"Old", "New", "New", "New"},      // cut short before the rename
        {"New", "New", nullptr, "New"},    // complete
        {"Old", "Tampered", "New", ""},    // a pending file that explains nothing
        {"Old", "New", nullptr, ""},       // copies disagree, no pending file
        {"Same", "Same", "Stray", "Same"}  // a stray pending file beside agreeing copies
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.inFile) + "/" + row.inRegistry);
        arrange(row.inFile, row.inRegistry, row.pending);
        if (*row.loaded == '\0') {
            EXPECT_EQ(LoadFailure(), StoresCorruptedText());
        } else {
            EXPECT_EQ(LoadStoredPassword(), row.loaded);
            EXPECT_EQ(TempInstall::ReadFile(file), PasswordFileLine(row.loaded) + "\r\n");
        }
        EXPECT_FALSE(std::filesystem::exists(PendingPasswordFilePath()));
    }
}

// Characters of 128 and above can encipher into what the stores lose: a space at either end of
// the registry copy (key characters Q, V... from its first position), a NUL, or a CR or LF in
// the file line (key characters V, space... from the password's first position).
TEST_F(PasswordStore, OnlyPasswordsBothStoresGiveBackUnchangedAreAccepted) {
    const auto to = [](char target, char key) { return std::string(1, char(target - key)); };
    EXPECT_TRUE(CanStorePassword("Printable ~ text 123"));
    EXPECT_TRUE(CanStorePassword(std::string(32667, 'a')));  // 32767 with the frame
    EXPECT_FALSE(CanStorePassword(std::string(32668, 'a')));
    for (const std::string& refused :
         {to(' ', 'Q'), "a" + to(' ', 'V'), to('\0', 'Q'), "a" + to('\r', ' '), to('\n', 'V')}) {
        EXPECT_FALSE(CanStorePassword(refused)) << refused;
    }
    std::mt19937 random(1994);
    std::uniform_int_distribution<int> byte(1, 255);
    int accepted = 0;
    for (int i = 0; i < 100; ++i) {
        std::string password(static_cast<std::size_t>(1 + i % 12), ' ');
        for (char& c : password) {
            c = static_cast<char>(byte(random));
        }
        if (CanStorePassword(password)) {
            ++accepted;
            SavePassword(password);
            EXPECT_EQ(LoadStoredPassword(), password);
        }
    }
    EXPECT_GT(accepted, 40);
    EXPECT_LT(accepted, 100);
}

}  // namespace
}  // namespace rg::test
