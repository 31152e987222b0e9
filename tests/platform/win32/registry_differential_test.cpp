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

// "type:bytes" of a value as Windows reads it in one view of the registry, or "missing".
std::string ReadWithWindows(REGSAM view, const char* name) {
    HKEY key = nullptr;
    char bytes[64];
    DWORD size = sizeof bytes;
    DWORD type = 0;
    const bool found = ::RegOpenKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, KEY_QUERY_VALUE | view, &key) ==
                           ERROR_SUCCESS &&
                       ::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(bytes),
                                          &size) == ERROR_SUCCESS;
    ::RegCloseKey(key);
    return found ? std::to_string(type) + ":" + std::string(bytes, size) : "missing";
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
    EXPECT_EQ(ReadWithWindows(KEY_WOW64_32KEY, "RVPSD"), "missing");
    RegCreateString(kKey, kLocalMachine, "  default text ");
    RegWriteString(kLocalMachine, kKey, "RVPSD", "  enciphered ");
    EXPECT_EQ(ReadWithWindows(KEY_WOW64_32KEY, "RVPSD"), "1:enciphered");  // trimmed, no zero
    EXPECT_EQ(ReadWithWindows(KEY_WOW64_32KEY, ""),
              std::string("1:  default text \0", 18));  // kept, one zero added
    EXPECT_EQ(ReadWithWindows(KEY_WOW64_64KEY, "RVPSD"), "missing")
        << "the value went to the 64-bit view, where the 32-bit firewall does not look";
    EXPECT_EQ(RegReadString(kLocalMachine, kKey, "RVPSD", "fallback"), "enciphered");
}

}  // namespace
}  // namespace rg::test
