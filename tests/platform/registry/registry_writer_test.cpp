// Writing REGEDIT4 files: the exact layout regedit uses, and every value kept through a write
// and a read.
#include "platform/registry/registry_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/os/registry.h"
#include "platform/registry/registry_parser.h"

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

TEST(RegistryWriter, EveryValueSurvivesWriteAndRead) {
    RegistryKey root;
    bool created = false;
    RegistryKey& key = root.SubkeyOrCreate("K ]x[", created);
    key.SetValue("zero inside", REG_SZ, "ab\0cd\0"s);
    key.SetValue("line ends", REG_SZ, "a\r\nb\0"s);
    key.SetValue("quote\"back\\slash", REG_SZ, "\\\"\0"s);
    key.SetValue("empty", REG_SZ, "");
    key.SetValue("just zero", REG_SZ, "\0"s);
    key.SetValue("short dword", REG_DWORD, "\x01\x02");
    key.SetValue("big type", 0xFFFFFFFF, "x");
    key.SetValue("long", REG_BINARY, std::string(300, '\x0b'));
    const std::string text = SerializeRegistryFile(root, "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(ParseRegistryFile(text, "HKEY_LOCAL_MACHINE"), root);
    // Long byte lists are wrapped, as regedit does, within a screen line.
    for (std::size_t start = 0, end = 0; (end = text.find("\r\n", start)) != std::string::npos;
         start = end + 2) {
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);
    }
}

}  // namespace
}  // namespace rg::test
