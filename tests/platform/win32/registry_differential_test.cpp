// What the registry routines write, read back with the real registry calls: the bytes and types
// the password store and the browser key rely on, in the 32-bit view the firewall reads.
#include <gtest/gtest.h>

#include <string>

#include "services/registry_access.h"

namespace rg::test {
// The program's name for the root key, taken before the Windows headers make it a macro.
constexpr platform::HKEY kLocalMachine = platform::HKEY_LOCAL_MACHINE;
}  // namespace rg::test

#include <windows.h>

namespace rg::test {
namespace {

constexpr const char* kKey = "SOFTWARE\\RavelgardTests\\Registry";

struct Stored {
    bool found = false;
    DWORD type = 0;
    std::string bytes;
};

Stored ReadWithWindows(REGSAM view, const char* name) {
    Stored stored;
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | view, &key) !=
        ERROR_SUCCESS) {
        return stored;
    }
    DWORD size = 0;
    if (::RegQueryValueExA(key, name, nullptr, &stored.type, nullptr, &size) == ERROR_SUCCESS) {
        stored.bytes.resize(size);
        stored.found = ::RegQueryValueExA(key, name, nullptr, &stored.type,
                                          reinterpret_cast<BYTE*>(stored.bytes.data()),
                                          &size) == ERROR_SUCCESS;
    }
    ::RegCloseKey(key);
    return stored;
}

class RegistryDifferential : public ::testing::Test {
  protected:
    void TearDown() override {
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            ::RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kKey, view, 0);
        }
    }
};

TEST_F(RegistryDifferential, ValuesLandInTheThirtyTwoBitViewWithTheirExactBytes) {
    // RegWriteString writes only into a key that exists; RegCreateString makes it.
    EXPECT_NE(TryRegWriteString(kLocalMachine, kKey, "RVPSD", "x"), 0);
    EXPECT_FALSE(ReadWithWindows(KEY_WOW64_32KEY, "RVPSD").found);
    RegCreateString(kKey, kLocalMachine, "  default text ");
    RegWriteString(kLocalMachine, kKey, "RVPSD", "  enciphered ");

    const Stored value = ReadWithWindows(KEY_WOW64_32KEY, "RVPSD");
    EXPECT_EQ(value.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value.bytes, "enciphered");  // trimmed, no terminating zero
    const Stored byDefault = ReadWithWindows(KEY_WOW64_32KEY, "");
    EXPECT_EQ(byDefault.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(byDefault.bytes, std::string("  default text \0", 16));  // kept, one zero added
    EXPECT_FALSE(ReadWithWindows(KEY_WOW64_64KEY, "RVPSD").found)
        << "the value went to the 64-bit view, where the 32-bit firewall does not look";
    EXPECT_EQ(RegReadString(kLocalMachine, kKey, "RVPSD", "fallback"), "enciphered");
}

}  // namespace
}  // namespace rg::test
