#include "startup/password_store.h"

#include <gtest/gtest.h>

#include <filesystem>
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
    // The password the registry copy holds, or sets it.
    static std::string InRegistry() {
        return DecryptText(RegReadString(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey,
                                         kPasswordValueName, ""),
                           kPasswordKey);
    }
    static void SetInRegistry(std::string_view value) {
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
    SavePassword("caf\xE9 with space");
    EXPECT_EQ(InRegistry(), "caf\xE9 with space");
    TempInstall::WriteFile(file, TempInstall::ReadFile(file) + PasswordFileLine("o"));
    EXPECT_EQ(LoadStoredPassword(), "caf\xE9 with space");
}

// A missing file, one that cannot be read, copies that disagree, a line too short for the frame
// or none before the CR, and a registry value too long to decipher end the start with a box.
TEST_F(PasswordStore, AMissingFileOrCopiesThatDisagreeEndTheStart) {
    EXPECT_EQ(LoadFailure(), kInstallationCorruptedText);
    std::filesystem::create_directory(file);
    EXPECT_EQ(LoadFailure(), StoresCorruptedText());
    std::filesystem::remove(file);
    SetInRegistry(EncryptText("Secret", kPasswordKey));
    const std::string frame = PasswordFileLine("Secret");
    for (const std::string& contents : {PasswordFileLine("secret"), frame.substr(0, 99) + "\r\n",
                                        frame.substr(0, 105), "\r" + frame}) {
        TempInstall::WriteFile(file, contents);
        EXPECT_EQ(LoadFailure(), StoresCorruptedText()) << contents.size();
    }
    TempInstall::WriteFile(file, frame);
    EXPECT_EQ(LoadFailure(), "");
    SetInRegistry(std::string(32768, 'x'));
    EXPECT_EQ(LoadFailure(), StoresCorruptedText());
    // A system directory too long for the 1024-character buffer: the password file is unknown
    // rather than looked for in the root folder.
    setenv("RAVELGARD_PREFIX", (install.root() + std::string(1100, 'p')).c_str(), 1);
    InitPaths();
    EXPECT_EQ(SystemDirPath + PasswordFilePath(), "");
    EXPECT_EQ(LoadFailure(), kInstallationCorruptedText);
}

// The save writes the new file beside the old one, then the registry, then renames the new file
// into place. A save that fails at its first or second step leaves the old password in force
// in both copies. Whichever step a crash interrupts, the next start finds one password in
// force; a pending file that explains nothing is removed, and a disagreement it cannot
// explain is still tampering.
TEST_F(PasswordStore, AFailedOrCutShortSaveLeavesOnePasswordInForce) {
    SavePassword("Old");
    const std::string registry = install.prefix() + "/HKEY_LOCAL_MACHINE.reg";
    const std::string registryBytes = TempInstall::ReadFile(registry);
    TempInstall::WriteFile(registry, "not a registry file");  // the stand-in refuses to write it
    EXPECT_THROW(SavePassword("New"), RunError);
    EXPECT_FALSE(std::filesystem::exists(PendingPasswordFilePath()));
    TempInstall::WriteFile(registry, registryBytes);
    EXPECT_EQ(LoadStoredPassword(), "Old");
    std::filesystem::remove_all(install.systemDir());
    EXPECT_THROW(SavePassword("New"), RunError);
    EXPECT_EQ(InRegistry(), "Old");
    std::filesystem::create_directory(install.systemDir());

    const struct {
        const char *inFile, *inRegistry, *pending, *loaded;
    } rows[] = {
        {"Old", "Old", "New", "Old"},    // cut short before the registry write
        {"Old", "New", "New", "New"},    // cut short before the rename
        {"Old", "Tampered", "New", ""},  // a pending file that explains nothing
        {"Old", "New", nullptr, ""},     // copies disagree, no pending file
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.inFile) + "/" + row.inRegistry);
        SavePassword(row.inFile);
        SetInRegistry(EncryptText(row.inRegistry, kPasswordKey));
        if (row.pending != nullptr) {
            TempInstall::WriteFile(PendingPasswordFilePath(),
                                   PasswordFileLine(row.pending) + "\r\n");
        }
        EXPECT_EQ(LoadFailure(), *row.loaded ? "" : StoresCorruptedText());
        if (*row.loaded) {
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
    EXPECT_TRUE(CanStorePassword("caf\xE9 ~ 123"));
    EXPECT_TRUE(CanStorePassword(std::string(32667, 'a')));  // 32767 with the frame
    EXPECT_FALSE(CanStorePassword(std::string(32668, 'a')));
    for (const std::string& refused :
         {to(' ', 'Q'), "a" + to(' ', 'V'), to('\0', 'Q'), "a" + to('\r', ' '), to('\n', 'V')}) {
        EXPECT_FALSE(CanStorePassword(refused)) << refused;
    }
}

}  // namespace
}  // namespace rg::test
