// The built-in profile copies: what the build embeds deciphers back to the readable factory
// sources, in the stored layout the reset relies on.
#include <gtest/gtest.h>

#include <fstream>

#include "resources/builtin_profiles.h"
#include "services/cipher.h"

namespace rg::test {
namespace {

// A readable source as a copy's text holds it: CR LF after every line, each value enciphered
// with its section name.
std::string EncipheredSource(std::string_view profileName) {
    std::ifstream in(RG_PROFILE_SOURCES "/" + std::string(profileName) + ".plain",
                     std::ios::binary);
    std::string text;
    std::string section;
    for (std::string line; std::getline(in, line);) {
        const auto equals = line.find('=');
        if (line.starts_with('[')) {
            section = line.substr(1, line.size() - 2);
        } else if (equals != std::string::npos) {
            line = line.substr(0, equals + 1) + EncryptText(line.substr(equals + 1), section);
        }
        text += line + "\r\n";
    }
    return text;
}

TEST(BuiltInProfiles, EveryCopyIsItsSourceEncipheredWithCrLfLineEndsAndPaddedToWholeWords) {
    for (const std::string_view name : ProfileFileNames) {
        SCOPED_TRACE(name);
        const std::string_view copy = *BuiltInProfileCopy(name);
        const std::string_view text = CopyText(copy);
        // Only the port database's text ends with a line end of its own.
        const bool lineEnd = name == "Database_PortSetting.RVL";
        EXPECT_EQ(std::string(text) + (lineEnd ? "" : "\r\n"), EncipheredSource(name));
        EXPECT_EQ(copy.size() % 4, 0u);
        EXPECT_LT(copy.size() - text.size(), 4u);
    }
    EXPECT_EQ(*BuiltInProfileCopy("ProgramControl.RVL"),
              std::string_view(";Save Programs Here\0", 20));
}

// A copy's text keeps the NUL bytes that are not padding.
TEST(BuiltInProfiles, LookupIgnoresAsciiCaseAndKnowsOnlyTheThirteen) {
    EXPECT_EQ(BuiltInProfileCopy("aLERTSaNDlOGsETTING.rvl"),
              BuiltInProfileCopy(ProfileFileNames[0]));
    EXPECT_FALSE(BuiltInProfileCopy("ProgramControl.RVLs").has_value());
    EXPECT_EQ(CopyText(std::string_view("a\0b\0\0", 5)), std::string_view("a\0b", 3));
}

}  // namespace
}  // namespace rg::test
