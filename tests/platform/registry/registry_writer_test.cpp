// Writing REGEDIT4 files: the exact layout regedit uses. That every value form is kept through
// a write and a read is checked on the sample files (registry_parser_test).
#include "platform/registry/registry_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/registry.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using namespace platform;

std::string Repeat(const std::string& text, int times) {
    std::string out;
    while (times-- > 0) {
        out += text;
    }
    return out;
}

TEST(RegistryWriter, WritesRegeditLayoutWithCrLf) {
    RegistryKey root;
    bool created = false;
    RegistryKey& setup = root.SubkeyOrCreate("SOFTWARE", created).SubkeyOrCreate("Setup", created);
    setup.SetValue("", REG_SZ, "say \"hi\" C:\\\0"s);
    setup.SetValue("RVPSD", REG_SZ, "ab");  // no terminating zero: must keep its exact bytes
    setup.SetValue("N", REG_DWORD, "\x2a\x01\0\x80"s);
    setup.SetValue("Small", REG_DWORD, "\x2a\0\0\0"s);
    setup.SetValue("E", REG_EXPAND_SZ, "%\0"s);
    setup.SetValue("B", REG_BINARY, std::string(30, '\xab'));
    setup.SetValue("Odd", 0x1234, "");
    root.SubkeyOrCreate("SYSTEM", created);
    EXPECT_TRUE(created);
    EXPECT_EQ(&root.SubkeyOrCreate("software", created), &root.subkeys[0]);  // no second key
    EXPECT_FALSE(created);
    EXPECT_EQ(SerializeRegistryFile(root, "HKEY_LOCAL_MACHINE"),
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Setup]\r\n"
              "@=\"say \\\"hi\\\" C:\\\\\"\r\n"
              "\"RVPSD\"=hex(1):61,62\r\n"
              "\"N\"=dword:8000012a\r\n"
              "\"Small\"=dword:0000002a\r\n"
              "\"E\"=hex(2):25,00\r\n"
              "\"B\"=hex:" +
                  Repeat("ab,", 23) + "\\\r\n  " + Repeat("ab,", 6) +
                  "ab\r\n"
                  "\"Odd\"=hex(1234):\r\n\r\n"
                  "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\r\n");
}

}  // namespace
}  // namespace rg::test
