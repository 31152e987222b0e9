// REGEDIT4 files: every value form read as regedit writes it, files that cannot be fully
// understood refused whole, the exact layout regedit uses written, and every value form kept
// through a write and a read (the sample files).
#include "platform/registry/registry_parser.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/os/registry.h"
#include "platform/registry/registry_writer.h"
#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

using namespace std::string_literals;
using namespace platform;

RegistryKey ParseOrFail(std::string_view text) {
    RegistryParseError error;
    auto parsed = ParseRegistryFile(text, "HKEY_LOCAL_MACHINE", &error);
    EXPECT_TRUE(parsed.has_value()) << "line " << error.line << ": " << error.reason;
    return parsed.value_or(RegistryKey{});
}

TEST(RegistryParser, ReadsEveryValueFormAsRegeditWritesIt) {
    const RegistryKey root = ParseOrFail(
        "REGEDIT4\n\n; a comment\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
        "@=\"C:\\\\Program Files\\\\x.exe \\\"%1\\\"\"\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Path\"=hex(2):25,00\r\n"
        "\"Blob\"=hex:01,2,\\\r\n"
        "  03,FF\r\n"
        "\"Raw\"=HEX(1):61,62\r\n"
        "\r\n"
        "[hkey_local_machine\\software\\VENDOR\\Sub]\n"
        "  \"high\"=dword:FFFFFFFF\t\n"
        "[HKEY_LOCAL_MACHINE\\software\\vendor]\n"
        "\"COUNT\"=\"later lines win\"\n");
    const RegistryKey* vendor = FindKey(root, {"SOFTWARE", "Vendor"});
    ASSERT_NE(vendor, nullptr);
    EXPECT_EQ(vendor->values,
              (std::vector<RegistryValue>{{"", REG_SZ, "C:\\Program Files\\x.exe \"%1\"\0"s},
                                          {"Count", REG_SZ, "later lines win\0"s},
                                          {"Path", REG_EXPAND_SZ, "%\0"s},
                                          {"Blob", REG_BINARY, "\x01\x02\x03\xff"},
                                          {"Raw", REG_SZ, "ab"}}));
    // Key lines in another case name the same key; its parent needs no line of its own.
    EXPECT_EQ(root.subkeys.size(), 1u);
    EXPECT_EQ(vendor->subkeys.at(0).values,
              (std::vector<RegistryValue>{{"high", REG_DWORD, "\xff\xff\xff\xff"}}));
    EXPECT_EQ(ParseOrFail("REGEDIT4"), RegistryKey{});
}

TEST(RegistryParser, RefusesFilesItCannotFullyUnderstand) {
    const std::string ok = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n";
    std::string deep = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE";
    for (std::size_t i = 0; i <= kMaxKeyDepth; ++i) {
        deep += "\\k";
    }
    const std::string bad[] = {
        "",
        "REGEDIT4 \r\n",
        "REGEDIT4\r\n\"v\"=\"value before any key\"\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINEX]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\\]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n",
        "REGEDIT4\r\nsomething else\r\n",
        ok + "\"v\"=\"unterminated\r\n",
        ok + "\"v\"=\"bad \\n escape\"\r\n",
        ok + "\"v\"=\"a\" trailing\r\n",
        ok + "\"v\r\n",
        ok + "\"v\"\r\n",
        ok + "\"v\"=-\r\n",
        ok + "\"v\"=dword:123456789\r\n",
        ok + "\"v\"=dword:1g\r\n",
        ok + "\"v\"=hex:123\r\n",
        ok + "\"v\"=hex:01,\r\n",
        ok + "\"v\"=hex:01,,02\r\n",
        ok + "\"v\"=hex:01,\\\r\n",
        ok + "\"v\"=hex:01,\\\r\n  0\r2\r\n",
        ok + "\"v\"=hex(1:01\r\n",
        ok + "\"v\"=hex(123456789):01\r\n",
        ok + "\"v\"=\"NUL\0inside\"\r\n"s,
        deep + "]\r\n",
    };
    for (const std::string& text : bad) {
        RegistryParseError error;
        EXPECT_FALSE(ParseRegistryFile(text, "HKEY_LOCAL_MACHINE", &error).has_value()) << text;
        EXPECT_FALSE(error.reason.empty()) << text;
    }
    RegistryParseError error;
    ParseRegistryFile(ok + "\r\n\"v\"=hex:1,\\\r\n  zz\r\n", "HKEY_LOCAL_MACHINE", &error);
    EXPECT_EQ(error.line, 6u);
}

// The fuzz seeds double as samples of hand-written files that must parse, and survive a rewrite.
TEST(RegistryParser, SampleFilesParseAndSurviveARewrite) {
    std::size_t samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RG_REGISTRY_CORPUS)) {
        const RegistryKey parsed = ParseOrFail(TempFolder::ReadFile(entry.path().string()));
        EXPECT_FALSE(parsed.subkeys.empty()) << entry.path();
        EXPECT_EQ(ParseOrFail(SerializeRegistryFile(parsed, "HKEY_LOCAL_MACHINE")), parsed);
        ++samples;
    }
    EXPECT_GE(samples, 3u);
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
    EXPECT_EQ(&root.SubkeyOrCreate("software", created), &root.subkeys[0]);  // no second key
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
              "\"B\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,"
              "\\\r\n  ab,ab,ab,ab,ab,ab,ab\r\n"
              "\"Odd\"=hex(1234):\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SYSTEM]\r\n\r\n");
}

}  // namespace
}  // namespace rg::test
