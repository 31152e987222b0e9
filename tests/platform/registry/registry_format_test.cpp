// The REGEDIT4 file format: what regedit-style files parse to, the exact bytes written, that
// every value survives a write and a read, and that malformed files are refused whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/os/registry.h"
#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

namespace rg::platform {
namespace {

using namespace std::string_literals;

constexpr std::string_view kRoot = "HKEY_LOCAL_MACHINE";

RegistryKey ParseOrFail(std::string_view text) {
    RegistryParseError error;
    auto parsed = ParseRegistryFile(text, kRoot, &error);
    EXPECT_TRUE(parsed.has_value()) << "line " << error.line << ": " << error.reason;
    return parsed.value_or(RegistryKey{});
}

TEST(RegistryFormat, ReadsEveryValueFormAsRegeditWritesIt) {
    const std::string text =
        "REGEDIT4\n\n"
        "; a comment\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor]\r\n"
        "@=\"C:\\\\Program Files\\\\x.exe \\\"%1\\\"\"\r\n"
        "\"Count\"=dword:0000002a\r\n"
        "\"Path\"=hex(2):25,00\r\n"
        "\"Blob\"=hex:01,02,\\\r\n"
        "  03,ff\r\n"
        "\"Raw\"=hex(1):61,62\r\n"
        "\"Empty\"=hex:\r\n"
        "\r\n"
        "[hkey_local_machine\\software\\VENDOR\\Sub]\n";
    const RegistryKey root = ParseOrFail(text);
    const RegistryKey* vendor = FindKey(root, {"SOFTWARE", "Vendor"});
    ASSERT_NE(vendor, nullptr);
    ASSERT_EQ(vendor->values.size(), 6u);
    EXPECT_EQ(*vendor->FindValue(""),
              (RegistryValue{"", REG_SZ, "C:\\Program Files\\x.exe \"%1\"\0"s}));
    EXPECT_EQ(*vendor->FindValue("count"), (RegistryValue{"Count", REG_DWORD, "\x2a\0\0\0"s}));
    EXPECT_EQ(*vendor->FindValue("Path"), (RegistryValue{"Path", REG_EXPAND_SZ, "%\0"s}));
    EXPECT_EQ(*vendor->FindValue("Blob"), (RegistryValue{"Blob", REG_BINARY, "\x01\x02\x03\xff"}));
    EXPECT_EQ(*vendor->FindValue("Raw"), (RegistryValue{"Raw", REG_SZ, "ab"}));
    EXPECT_EQ(*vendor->FindValue("Empty"), (RegistryValue{"Empty", REG_BINARY, ""}));
    // Key lines in another case name the same key; its parent appears without a line of its own.
    ASSERT_EQ(vendor->subkeys.size(), 1u);
    EXPECT_EQ(vendor->subkeys[0].name, "Sub");
    EXPECT_EQ(root.subkeys.size(), 1u);
}

TEST(RegistryFormat, LaterLinesForTheSameValueWin) {
    const RegistryKey root = ParseOrFail(
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n\"v\"=\"one\"\r\n"
        "[HKEY_LOCAL_MACHINE\\a]\r\n\"V\"=dword:00000001\r\n");
    const RegistryKey* a = FindKey(root, {"A"});
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(a->values.size(), 1u);
    EXPECT_EQ(a->values[0], (RegistryValue{"v", REG_DWORD, "\x01\0\0\0"s}));
}

TEST(RegistryFormat, WritesRegeditLayoutWithCrLf) {
    RegistryKey root;
    bool created = false;
    RegistryKey& setup = root.SubkeyOrCreate("SOFTWARE", created).SubkeyOrCreate("Setup", created);
    setup.SetValue("", REG_SZ, "say \"hi\" C:\\\0"s);
    setup.SetValue("RVPSD", REG_SZ, "ab");  // no terminating zero: must keep its exact bytes
    setup.SetValue("N", REG_DWORD, "\x2a\0\0\x80"s);
    setup.SetValue("E", REG_EXPAND_SZ, "%\0"s);
    setup.SetValue("B", REG_BINARY, "\x10");
    setup.SetValue("Odd", 0x1234, "");
    EXPECT_EQ(SerializeRegistryFile(root, kRoot),
              "REGEDIT4\r\n\r\n"
              "[HKEY_LOCAL_MACHINE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE]\r\n\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Setup]\r\n"
              "@=\"say \\\"hi\\\" C:\\\\\"\r\n"
              "\"RVPSD\"=hex(1):61,62\r\n"
              "\"N\"=dword:8000002a\r\n"
              "\"E\"=hex(2):25,00\r\n"
              "\"B\"=hex:10\r\n"
              "\"Odd\"=hex(1234):\r\n\r\n");
}

TEST(RegistryFormat, EveryValueSurvivesWriteAndRead) {
    RegistryKey root;
    bool created = false;
    RegistryKey& key = root.SubkeyOrCreate("K ]x[", created);
    key.SetValue("zero inside", REG_SZ, "ab\0cd\0"s);
    key.SetValue("line ends", REG_SZ, "a\r\nb\0"s);
    key.SetValue("quote\"back\\slash", REG_SZ, "\\\"\0"s);
    key.SetValue("high bytes \xe9\xff", REG_SZ, "\x80\x9f\xe9\xff\0"s);
    key.SetValue("two zeros", REG_SZ, "a\0\0"s);
    key.SetValue("empty", REG_SZ, "");
    key.SetValue("just zero", REG_SZ, "\0"s);
    key.SetValue("short dword", REG_DWORD, "\x01\x02");
    key.SetValue("big type", 0xFFFFFFFF, "x");
    key.SetValue("long", REG_BINARY, std::string(300, '\xab'));
    key.SubkeyOrCreate("child", created).SetValue("", REG_NONE, "\0"s);

    const std::string text = SerializeRegistryFile(root, kRoot);
    EXPECT_EQ(ParseOrFail(text), root);
    // Long byte lists are wrapped, as regedit does, within a screen line.
    std::size_t lineStart = 0;
    for (std::size_t end = text.find("\r\n"); end != std::string::npos;
         lineStart = end + 2, end = text.find("\r\n", lineStart)) {
        EXPECT_LE(end - lineStart, 80u) << text.substr(lineStart, end - lineStart);
    }
}

TEST(RegistryFormat, RefusesFilesItCannotFullyUnderstand) {
    const std::string ok = "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\A]\r\n";
    const std::string deep = "REGEDIT4\r\n[HKEY_LOCAL_MACHINE" + [] {
        std::string levels;
        for (std::size_t i = 0; i <= kMaxKeyDepth; ++i) {
            levels += "\\k";
        }
        return levels;
    }() + "]\r\n";
    const std::string bad[] = {
        "",
        "Windows Registry Editor Version 5.00\r\n",
        "REGEDIT4 \r\n",
        "REGEDIT4\r\n\"v\"=\"value before any key\"\r\n",
        "REGEDIT4\r\n[HKEY_CLASSES_ROOT\\A]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINEX]\r\n",
        "REGEDIT4\r\n[-HKEY_LOCAL_MACHINE\\A]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\\\\B]\r\n",
        "REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A\r\n",
        "REGEDIT4\r\nsomething else\r\n",
        ok + "\"v\"=\"unterminated\r\n",
        ok + "\"v\"=\"bad \\n escape\"\r\n",
        ok + "\"v\"=\"a\" trailing\r\n",
        ok + "\"v\"=-\r\n",
        ok + "\"v\"=dword:123456789\r\n",
        ok + "\"v\"=dword:\r\n",
        ok + "\"v\"=hex:1g\r\n",
        ok + "\"v\"=hex:123\r\n",
        ok + "\"v\"=hex:01,\r\n",
        ok + "\"v\"=hex:01,\\\r\n",
        ok + "\"v\"=hex():01\r\n",
        ok + "\"v\"=hex(123456789):01\r\n",
        ok + "\"v\" = \"spaces around =\"\r\n",
        ok + "\"v\"=\"lone\rCR\"\r\n",
        ok + "\"v\"=\"NUL\0inside\"\r\n"s,
        deep,
    };
    for (const std::string& text : bad) {
        RegistryParseError error;
        EXPECT_FALSE(ParseRegistryFile(text, kRoot, &error).has_value()) << text;
        EXPECT_FALSE(error.reason.empty()) << text;
    }
}

TEST(RegistryFormat, SampleFilesParseAndSurviveARewrite) {
    std::size_t samples = 0;
    for (const auto& entry : std::filesystem::directory_iterator(RG_REGISTRY_CORPUS)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        const RegistryKey parsed = ParseOrFail(text);
        EXPECT_FALSE(parsed.subkeys.empty()) << entry.path();
        EXPECT_EQ(ParseOrFail(SerializeRegistryFile(parsed, kRoot)), parsed) << entry.path();
        ++samples;
    }
    EXPECT_GE(samples, 3u);
}

}  // namespace
}  // namespace rg::platform
