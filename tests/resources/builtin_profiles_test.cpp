// The built-in profile copies: what the build embeds deciphers back to the readable factory
// sources, in the stored layout the reset relies on.
#include <gtest/gtest.h>

#include <fstream>

#include "resources/builtin_profiles.h"
#include "services/cipher.h"

namespace rg::test {
namespace {

// The lines of a readable source, or of a copy with each value deciphered under its section.
std::vector<std::string> PlainLines(const std::string& profileName) {
    std::ifstream in(RG_PROFILE_SOURCES "/" + profileName + ".plain", std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}
std::vector<std::string> DecipheredLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string section;
    for (std::size_t at = 0, end; at < text.size(); at = end + 2) {
        end = std::min(text.find("\r\n", at), text.size());
        std::string line(text.substr(at, end - at));
        const auto equals = line.find('=');
        if (line.starts_with('[')) {
            section = line.substr(1, line.size() - 2);
        } else if (equals != std::string::npos) {
            line = line.substr(0, equals + 1) + DecryptText(line.substr(equals + 1), section);
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(BuiltInProfiles, EveryCopyIsItsSourceEncipheredWithCrLfLineEndsAndPaddedToWholeWords) {
    for (const std::string_view name : ProfileFileNames) {
        SCOPED_TRACE(name);
        const std::string_view copy = *BuiltInProfileCopy(name);
        const std::string_view text = CopyText(copy);
        EXPECT_EQ(DecipheredLines(text), PlainLines(std::string(name)));
        EXPECT_EQ(copy.size() % 4, 0u);
        EXPECT_LT(copy.size() - text.size(), 4u);
        // Only the port database's text ends with a line end of its own.
        EXPECT_EQ(text.ends_with("\r\n"), name == "Database_PortSetting.RVL");
        EXPECT_EQ(text.find('\0'), std::string_view::npos);
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
