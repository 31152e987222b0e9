// The registry stand-in: result codes as the Windows calls give them, every change on disk
// before the call returns, edits made on disk seen, and files it must not write left untouched.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <string>

#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "platform/registry/registry_parser.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using namespace std::string_view_literals;
using namespace platform;

constexpr LONG kOk = 0;
constexpr LONG kMissing = 2;
constexpr LONG kBadKey = 1010;
constexpr LONG kInvalid = ERROR_INVALID_PARAMETER;
constexpr LONG kDenied = ERROR_ACCESS_DENIED;

class RegistryStandIn : public ::testing::Test {
  protected:
    std::string MachineFile() const { return install_.prefix() + "/HKEY_LOCAL_MACHINE.reg"; }
    // Edits the file as another program would: a new file renamed into place.
    void EditFile(std::string_view text) const {
        ASSERT_EQ(ReplaceFileAtomically(MachineFile(), text), ERROR_SUCCESS);
    }
    static LONG Create(HKEY parent, std::string_view path, HKEY& key,
                       DWORD* disposition = nullptr) {
        return RegCreateKeyExA(parent, path, 0, nullptr, 0, KEY_ALL_ACCESS_0x3F, nullptr, &key,
                               disposition);
    }
    HKEY Create(std::string_view path) {
        HKEY key = 0;
        EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, path, key), kOk);
        return key;
    }
    static LONG Set(HKEY key, std::string_view name, std::string_view bytes, DWORD type = REG_SZ) {
        return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                              static_cast<DWORD>(bytes.size()));
    }
    // "type:bytes", or "error <code>".
    static std::string Get(HKEY key, std::string_view name) {
        DWORD type = 0;
        char bytes[64];
        DWORD size = sizeof bytes;
        const LONG result =
            RegQueryValueExA(key, name, &type, reinterpret_cast<BYTE*>(bytes), &size);
        return result == kOk ? std::to_string(type) + ":" + std::string(bytes, size)
                             : "error " + std::to_string(result);
    }

    TempInstall install_;
};

TEST_F(RegistryStandIn, HandlesAreSmallNumbersAndBadOnesAnswerTenTen) {
    HKEY key = 123;
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Nothing", &key), kMissing);
    EXPECT_EQ(key, 0u);  // a failed open hands out no handle
    const HKEY first = Create("A");
    const HKEY second = Create("B");
    EXPECT_EQ(RegOpenKeyA(second, "", &key), kOk);  // an empty path answers the handle given
    EXPECT_EQ(key, second);
    EXPECT_EQ(RegCloseKey(first), kOk);
    EXPECT_EQ(Create("C"), first);  // the lowest free number is given out again
    EXPECT_EQ(RegCloseKey(first), kOk);
    for (const HKEY bad : {HKEY{0}, first, HKEY{0x80000004}}) {
        EXPECT_EQ(Get(bad, "x"), "error 1010") << bad;
        EXPECT_EQ(RegCloseKey(bad), kBadKey) << bad;
        key = 9;
        EXPECT_EQ(RegOpenKeyA(bad, "", &key), kBadKey) << bad;
        EXPECT_EQ(key, 0u) << bad;
    }
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT) + RegCloseKey(HKEY_USERS), kOk);  // always open
}

TEST_F(RegistryStandIn, CreateMakesEveryLevelAndSavesBeforeReturning) {
    const HKEY software = Create("SOFTWARE");
    HKEY setup = 0;
    DWORD disposition = 0;
    ASSERT_EQ(Create(software, "Vendor\\Setup\\", setup, &disposition), kOk);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, "software\\VENDOR\\setup", setup, &disposition), kOk);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    // Names the file cannot hold, and paths deeper than Windows allows (512 levels).
    std::string deep = "K";
    for (int level = 3 + 1; level < 512; ++level) {  // below the three levels of `setup`
        deep += "\\k";
    }
    const std::string tooDeep = deep + "\\k";
    HKEY key = 0;
    for (const std::string_view bad : {"x\ry"sv, "a\\\\b"sv, std::string_view(tooDeep)}) {
        EXPECT_EQ(Create(setup, bad, key), kInvalid) << bad;
    }
    EXPECT_EQ(Set(setup, "a\0b"s, "x"), kInvalid);
    EXPECT_EQ(RegSetValueExA(setup, "n", 0, REG_SZ, nullptr, 1), kInvalid);
    BYTE byte = 0;
    EXPECT_EQ(RegQueryValueExA(setup, "v", nullptr, &byte, nullptr), kInvalid);
    EXPECT_EQ(Create(setup, deep, key), kOk);
}

TEST_F(RegistryStandIn, ValuesKeepTypeAndExactBytesAndNeedTheirAccessRight) {
    const HKEY key = Create("SOFTWARE\\Setup");
    EXPECT_EQ(Set(key, "RVPSD", "\x80\xe9 x"), kOk);
    EXPECT_EQ(Set(key, "zero", "ab\0cd"s), kOk);
    EXPECT_EQ(Set(key, "n", "\x2a\0\0\0"s, REG_DWORD), kOk);
    EXPECT_EQ(RegSetValueExA(key, "", 0, REG_BINARY, nullptr, 0), kOk);
    EXPECT_EQ(Set(key, "rvpsd", "changed"), kOk);  // names match without regard to case
    // What a fresh reader of the file on disk sees.
    const auto disk = ParseRegistryFile(TempInstall::ReadFile(MachineFile()), "HKEY_LOCAL_MACHINE");
    const RegistryKey* saved = disk ? FindKey(*disk, {"SOFTWARE", "Setup"}) : nullptr;
    ASSERT_NE(saved, nullptr);
    EXPECT_EQ(saved->values, (std::vector<RegistryValue>{{"RVPSD", REG_SZ, "changed"},
                                                         {"zero", REG_SZ, "ab\0cd"s},
                                                         {"n", REG_DWORD, "\x2a\0\0\0"s},
                                                         {"", REG_BINARY, ""}}));
    // A short buffer: ERROR_MORE_DATA and the size needed, the buffer untouched; a buffer that
    // fits: the size used. A missing value leaves type and size as they were.
    const auto query = [&](std::string_view name, DWORD size) {
        char buffer[6] = {'-', '-', '-', '-', '-', '-'};
        DWORD type = 77;
        const LONG result =
            RegQueryValueExA(key, name, &type, reinterpret_cast<BYTE*>(buffer), &size);
        return std::to_string(result) + " " + std::to_string(size) + " " + std::to_string(type) +
               " " + std::string(buffer, 6);
    };
    EXPECT_EQ(query("zero", 4), "234 5 1 ------");
    EXPECT_EQ(query("zero", 5), "0 5 1 ab\0cd-"s);
    EXPECT_EQ(query("absent", 6), "2 6 77 ------");
    HKEY readOnly = 0;
    HKEY writeOnly = 0;
    ASSERT_EQ(RegOpenKeyExA(key, "", 0, KEY_QUERY_VALUE, &readOnly), kOk);
    ASSERT_EQ(RegOpenKeyExA(key, "", 0, KEY_SET_VALUE, &writeOnly), kOk);
    EXPECT_EQ(Set(readOnly, "n", "x"), kDenied);
    EXPECT_EQ(Get(writeOnly, "n"), "error 5");
    HKEY sub = 0;
    EXPECT_EQ(Create(readOnly, "Sub", sub), kDenied);  // creating needs KEY_CREATE_SUB_KEY
    EXPECT_EQ(Create(readOnly, "", sub), kOk);         // opening an existing key does not
}

// Edits another program makes on disk are seen at the next call; a file that cannot be read
// or written is never written.
TEST_F(RegistryStandIn, TheFileOnDiskIsTheTruthAndIsNeverDamaged) {
    HKEY key = Create("K");
    EditFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"new\"\r\n");
    EXPECT_EQ(Get(key, "v"), "1:new\0"s);
    EditFile("REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Other]\r\n");  // the handle's key removed
    EXPECT_EQ(Get(key, "v"), "error 1018");
    const std::string corrupt = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n\"v\"=\"unterminated\r\n";
    EditFile(corrupt);
    EXPECT_EQ(Set(HKEY_LOCAL_MACHINE, "v", "x"), static_cast<LONG>(ERROR_BADDB));
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, "v"), "error 1009");
    EXPECT_EQ(TempInstall::ReadFile(MachineFile()), corrupt);
    EditFile("REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\K]\r\n");  // repaired on disk: usable again
    key = Create("K");
    ASSERT_EQ(Set(key, "v", "before"), kOk);
    const std::string before = TempInstall::ReadFile(MachineFile());
    ASSERT_EQ(::chmod(MachineFile().c_str(), 0444), 0);
    HKEY created = 0;
    EXPECT_EQ(Set(key, "v", "after"), kDenied);
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "New", created), kDenied);
    EXPECT_EQ(created, 0u);
    EXPECT_EQ(TempInstall::ReadFile(MachineFile()), before);
    EXPECT_EQ(Get(key, "v"), "1:before");  // the refused write did not reach the picture
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "New", &created), kMissing);
    // A machine prefix that is missing reads as empty and refuses writes.
    ::setenv("RAVELGARD_PREFIX", (install_.root() + "/no-such-prefix").c_str(), 1);
    EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "K", &key), kMissing);
    EXPECT_EQ(Create(HKEY_LOCAL_MACHINE, "K", key), static_cast<LONG>(ERROR_PATH_NOT_FOUND));
}

}  // namespace
}  // namespace rg::test
