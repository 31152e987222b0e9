// The registry stand-in: result codes as the Windows calls give them, every change on disk
// before the call returns, external edits seen, and files it must not write left untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "platform/registry/registry_parser.h"
#include "tests/platform/standin/temp_prefix.h"

namespace rg::platform {
namespace {

using namespace std::string_literals;
using test::TempPrefix;

constexpr LONG kOk = 0;
constexpr LONG kMissing = 2;
constexpr LONG kBadKey = 1010;

class RegistryStandIn : public ::testing::Test {
  protected:
    std::string MachineFile() const { return install_.prefix() + "/HKEY_LOCAL_MACHINE.reg"; }

    // Edits the file the way another program would: a new file renamed into place.
    void EditFile(std::string_view text) const {
        ASSERT_EQ(ReplaceFileAtomically(MachineFile(), text), ERROR_SUCCESS);
    }

    HKEY Create(std::string_view path, DWORD* disposition = nullptr) {
        HKEY key = 0;
        EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, KEY_ALL_ACCESS_0x3F,
                                  nullptr, &key, disposition),
                  kOk);
        return key;
    }

    static LONG Set(HKEY key, std::string_view name, std::string_view bytes, DWORD type = REG_SZ) {
        return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size()));
    }

    // The value's bytes read back with a buffer of the right size, or the failure code.
    static LONG Get(HKEY key, std::string_view name, std::string& bytes, DWORD* type = nullptr) {
        DWORD size = 0;
        if (const LONG asked = RegQueryValueExA(key, name, type, nullptr, &size); asked != kOk) {
            return asked;
        }
        bytes.assign(size, '?');
        return RegQueryValueExA(key, name, type, reinterpret_cast<BYTE*>(bytes.data()), &size);
    }

    // What a fresh reader of the file on disk sees at `path`, for proving a write is saved.
    RegistryKey OnDisk() const {
        auto parsed = ParseRegistryFile(TempPrefix::ReadFile(MachineFile()), "HKEY_LOCAL_MACHINE");
        EXPECT_TRUE(parsed.has_value());
        return parsed.value_or(RegistryKey{});
    }

    TempPrefix install_;
};

TEST_F(RegistryStandIn, MissingKeysAndValuesAnswerTwoAndBadHandlesTenTen) {
    HKEY key = 123;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nothing", &key), kMissing);
    EXPECT_EQ(key, 0u);  // a failed open hands out no handle
    const HKEY made = Create("SOFTWARE");
    std::string bytes;
    EXPECT_EQ(Get(made, "absent", bytes), kMissing);
    EXPECT_EQ(Get(made, "", bytes), kMissing);  // no default value set
    EXPECT_EQ(RegCloseKey(made), kOk);

    for (const HKEY bad : {HKEY{0}, made, HKEY{0x80000004}, HKEY{77}}) {
        EXPECT_EQ(Get(bad, "x", bytes), kBadKey) << bad;
        EXPECT_EQ(Set(bad, "x", "y"), kBadKey) << bad;
        EXPECT_EQ(RegCloseKey(bad), kBadKey) << bad;
        EXPECT_EQ(RegOpenKeyExA(bad, "", 0, KEY_QUERY_VALUE, &key), kBadKey) << bad;
    }
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), kOk);  // the root keys are always open
}

TEST_F(RegistryStandIn, CreateMakesEveryLevelAndSavesBeforeReturning) {
    DWORD disposition = 0;
    const HKEY key = Create("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    EXPECT_NE(FindKey(OnDisk(), {"software", "microsoft", "windows", "currentversion", "setup"}),
              nullptr);
    EXPECT_EQ(RegCloseKey(key), kOk);

    const HKEY again =
        Create("software\\MICROSOFT\\windows\\CurrentVersion\\Setup\\", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    EXPECT_EQ(OnDisk().subkeys.size(), 1u);  // no second key in another case
    EXPECT_EQ(RegCloseKey(again), kOk);

    // Handles are small numbers, and a closed one is given out again.
    const HKEY first = Create("A");
    const HKEY second = Create("B");
    EXPECT_LT(second, 100u);
    EXPECT_EQ(RegCloseKey(first), kOk);
    const HKEY third = Create("C");
    EXPECT_EQ(third, first);
    EXPECT_EQ(RegCloseKey(second), kOk);
    EXPECT_EQ(RegCloseKey(third), kOk);
}

TEST_F(RegistryStandIn, ValuesKeepTypeAndExactBytesThroughTheFile) {
    const HKEY key = Create("SOFTWARE\\Setup");
    const std::string unterminated = "\x80\xe9 x";
    EXPECT_EQ(Set(key, "RVPSD", unterminated), kOk);
    EXPECT_EQ(Set(key, "zero", "ab\0cd"s), kOk);
    EXPECT_EQ(Set(key, "n", "\x2a\0\0\0"s, REG_DWORD), kOk);
    EXPECT_EQ(Set(key, "rvpsd", "changed"), kOk);  // names match without regard to case

    const RegistryKey disk = OnDisk();
    const RegistryKey* saved = FindKey(disk, {"SOFTWARE", "Setup"});
    ASSERT_NE(saved, nullptr);
    ASSERT_EQ(saved->values.size(), 3u);
    EXPECT_EQ(saved->values[0], (RegistryValue{"RVPSD", REG_SZ, "changed"}));
    EXPECT_EQ(saved->values[1], (RegistryValue{"zero", REG_SZ, "ab\0cd"s}));
    EXPECT_EQ(saved->values[2], (RegistryValue{"n", REG_DWORD, "\x2a\0\0\0"s}));

    std::string bytes;
    DWORD type = 0;
    EXPECT_EQ(Get(key, "ZERO", bytes, &type), kOk);
    EXPECT_EQ(bytes, "ab\0cd"s);
    EXPECT_EQ(type, REG_SZ);

    // A short buffer: ERROR_MORE_DATA and the size needed, the buffer untouched.
    char small[2] = {'-', '-'};
    DWORD size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(key, "zero", nullptr, reinterpret_cast<BYTE*>(small), &size),
              static_cast<LONG>(ERROR_MORE_DATA));
    EXPECT_EQ(size, 5u);
    EXPECT_EQ(small[0], '-');
    EXPECT_EQ(RegCloseKey(key), kOk);
}

TEST_F(RegistryStandIn, NamesTheFileCannotHoldAreRefused) {
    const HKEY key = Create("K");
    const LONG invalid = static_cast<LONG>(ERROR_INVALID_PARAMETER);
    EXPECT_EQ(Set(key, "a\nb", "x"), invalid);
    EXPECT_EQ(Set(key, "a\0b"s, "x"), invalid);
    HKEY other = 0;
    EXPECT_EQ(
        RegCreateKeyExA(key, "x\ry", 0, nullptr, 0, KEY_ALL_ACCESS_0x3F, nullptr, &other, nullptr),
        invalid);
    EXPECT_EQ(RegCreateKeyExA(key, "a\\\\b", 0, nullptr, 0, KEY_ALL_ACCESS_0x3F, nullptr, &other,
                              nullptr),
              invalid);
    const RegistryKey disk = OnDisk();
    ASSERT_NE(FindKey(disk, {"K"}), nullptr);
    EXPECT_TRUE(FindKey(disk, {"K"})->values.empty());
    EXPECT_EQ(RegCloseKey(key), kOk);
}

TEST_F(RegistryStandIn, AccessMaskOfTheHandleIsEnforced) {
    RegCloseKey(Create("K"));
    HKEY readOnly = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "K", 0, KEY_QUERY_VALUE, &readOnly), kOk);
    EXPECT_EQ(Set(readOnly, "v", "x"), static_cast<LONG>(ERROR_ACCESS_DENIED));
    HKEY writeOnly = 0;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "K", 0, KEY_SET_VALUE, &writeOnly), kOk);
    EXPECT_EQ(Set(writeOnly, "v", "x"), kOk);
    std::string bytes;
    EXPECT_EQ(Get(writeOnly, "v", bytes), static_cast<LONG>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(Get(readOnly, "v", bytes), kOk);
    RegCloseKey(readOnly);
    RegCloseKey(writeOnly);
}

TEST_F(RegistryStandIn, EditsMadeOnDiskAreSeenAtTheNextCall) {
    const HKEY key = Create("K");
    ASSERT_EQ(Set(key, "v", "old"), kOk);
    EditFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"new\"\r\n");
    std::string bytes;
    EXPECT_EQ(Get(key, "v", bytes), kOk);
    EXPECT_EQ(bytes, "new\0"s);

    // The open handle's key removed by the edit.
    EditFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Other]\r\n");
    EXPECT_EQ(Get(key, "v", bytes), static_cast<LONG>(ERROR_KEY_DELETED));
    EXPECT_EQ(Set(key, "v", "x"), static_cast<LONG>(ERROR_KEY_DELETED));
    EXPECT_EQ(RegCloseKey(key), kOk);
}

TEST_F(RegistryStandIn, UnparseableFileIsNeverWritten) {
    const std::string corrupt = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"unterminated\r\n";
    EditFile(corrupt);
    const LONG badDb = static_cast<LONG>(ERROR_BADDB);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "K", &key), badDb);
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "", &key), badDb);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "New", 0, nullptr, 0, KEY_ALL_ACCESS_0x3F,
                              nullptr, &key, nullptr),
              badDb);
    EXPECT_EQ(Set(HKEY_LOCAL_MACHINE, "v", "x"), badDb);
    std::string bytes;
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, "v", bytes), badDb);
    EXPECT_EQ(TempPrefix::ReadFile(MachineFile()), corrupt);

    // Repaired on disk, the hive is usable again.
    EditFile("REGEDIT4\r\n");
    EXPECT_EQ(RegCloseKey(Create("New")), kOk);
}

TEST_F(RegistryStandIn, ReadOnlyFileRefusesWritesAndKeepsItsPicture) {
    const HKEY key = Create("K");
    ASSERT_EQ(Set(key, "v", "before"), kOk);
    const std::string before = TempPrefix::ReadFile(MachineFile());
    ASSERT_EQ(::chmod(MachineFile().c_str(), 0444), 0);

    const LONG denied = static_cast<LONG>(ERROR_ACCESS_DENIED);
    EXPECT_EQ(Set(key, "v", "after"), denied);
    HKEY created = 0;
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "New", 0, nullptr, 0, KEY_ALL_ACCESS_0x3F,
                              nullptr, &created, nullptr),
              denied);
    EXPECT_EQ(created, 0u);
    EXPECT_EQ(TempPrefix::ReadFile(MachineFile()), before);
    std::string bytes;
    EXPECT_EQ(Get(key, "v", bytes), kOk);
    EXPECT_EQ(bytes, "before");  // the refused write did not reach the picture in memory
    HKEY missing = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "New", &missing), kMissing);
    EXPECT_EQ(RegCloseKey(key), kOk);
}

TEST_F(RegistryStandIn, MissingPrefixReadsEmptyAndRefusesWrites) {
    setenv("RAVELGARD_PREFIX", (install_.root() + "/no-such-prefix").c_str(), 1);
    HKEY key = 0;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "K", &key), kMissing);
    EXPECT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "K", 0, nullptr, 0, KEY_ALL_ACCESS_0x3F, nullptr,
                              &key, nullptr),
              static_cast<LONG>(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "K", &key), kMissing);
}

}  // namespace
}  // namespace rg::platform
