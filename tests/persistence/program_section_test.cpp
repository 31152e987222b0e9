// One program's section in the program control profile, byte for byte as the firewall reads
// it: fifteen keys in a fixed order, each value enciphered with the section name.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "persistence/profile_reload.h"
#include "persistence/program_section.h"
#include "platform/ini/profile_api.h"
#include "services/cipher.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "tests/support/temp_install.h"

namespace rg {
namespace {

using test::TempInstall;
using Entries = std::vector<std::pair<std::string, std::string>>;

// The plain values WriteProgramSection must store, in order.
Entries ExpectedEntries(const std::string& version, const std::string& server,
                        const std::string& access, const std::string& path) {
    return {{"Version", version},  {"Column1", server},    {"Column2", server},
            {"Column3", access},   {"Column4", access},    {"Column5", "0"},
            {"Column6", "0"},      {"Path", path},         {"AllowAccess", "0"},
            {"Ports", ""},         {"ICMP_Protocol", "0"}, {"IGMP_Protocol", "0"},
            {"Authenticate", "0"}, {"CheckedPorts", ""},   {"NoCustomizePorts", "0"}};
}

std::string Block(const std::string& header, const std::string& cipherKey, const Entries& entries) {
    std::string block = "[" + header + "]\r\n";
    for (const auto& [key, value] : entries) {
        block += key + "=" + EncryptText(value, cipherKey) + "\r\n";
    }
    return block;
}

class ProgramSectionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ReloadProfiles(install.appPath() + "/Profiles/");
        file = install.appPath() + "/Profiles/ProgramControl.RVL";
    }
    std::string FlushedBytes() {
        EXPECT_EQ(platform::FlushPrivateProfiles(), platform::TRUE);
        return TempInstall::ReadFile(file);
    }

    TempInstall install;
    std::string file;
};

constexpr const char* kIePath = "C:\\Program Files\\Internet Explorer\\iexplore.exe";

TEST_F(ProgramSectionTest, WritesFifteenEncipheredKeysInOrder) {
    WriteProgramSection("Internet Explorer", kIePath, "6.00.2900.2180", 1, 2, file);
    const std::string bytes = FlushedBytes();

    const Entries plain = ExpectedEntries("6.00.2900.2180", "1", "2", kIePath);
    EXPECT_EQ(bytes,
              ";Save Programs Here\r\n" + Block("Internet Explorer", "Internet Explorer", plain));
    for (const auto& [key, value] : plain) {
        EXPECT_EQ(ReadINI("Internet Explorer", key, "<absent>", file, true), value) << key;
    }
    // Enciphered means unreadable without the section name: "0" is not stored as "0".
    EXPECT_EQ(bytes.find("Column5=0\r\n"), std::string::npos);
}

TEST_F(ProgramSectionTest, RewriteInOtherCaseKeepsOneSectionAtTheFirstPlace) {
    WriteProgramSection("Internet Explorer", kIePath, "6.0", 0, 0, file);
    WriteProgramSection("services.exe", "C:\\WINDOWS\\system32\\services.exe", "", 0, 0, file);
    WriteProgramSection("internet explorer", "D:\\ie.exe", "7.0", 2, 1, file);
    const std::string bytes = FlushedBytes();

    // The header keeps its first spelling; the values are enciphered with the second call's
    // section name, which the firewall matches without regard to case.
    EXPECT_EQ(bytes,
              ";Save Programs Here\r\n" +
                  Block("Internet Explorer", "internet explorer",
                        ExpectedEntries("7.0", "2", "1", "D:\\ie.exe")) +
                  Block("services.exe", "services.exe",
                        ExpectedEntries("", "0", "0", "C:\\WINDOWS\\system32\\services.exe")));
}

TEST_F(ProgramSectionTest, UnstorableValueRaisesBeforeTheSectionIsTouched) {
    WriteProgramSection("AB", "C:\\ab.exe", "1.0", 0, 0, file);
    const std::string before = FlushedBytes();

    // Under the key "AB" the first character is shifted by 'B' (66): 0xCB becomes CR.
    EXPECT_THROW(WriteProgramSection("AB", "\xCB:\\x.exe", "2.0", 1, 1, file), RunError);
    EXPECT_THROW(WriteProgramSection("Bad\r\nSection", "C:\\x.exe", "", 0, 0, file), RunError);
    EXPECT_EQ(FlushedBytes(), before);
}

}  // namespace
}  // namespace rg
