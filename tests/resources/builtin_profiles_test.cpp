// The built-in profile copies: what the build embeds deciphers back to the readable factory
// sources, in the stored layout the reset relies on.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "tests/resources/plain_profile.h"

namespace rg {
namespace {

std::vector<std::string> SplitAtCrLf(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos;
         at = text.find("\r\n", start)) {
        lines.emplace_back(text.substr(start, at - start));
        start = at + 2;
    }
    if (start < text.size()) {
        lines.emplace_back(text.substr(start));
    }
    return lines;
}

// Each stored line with its value deciphered under the section it stands in.
std::vector<std::string> DecipheredLines(std::string_view copy) {
    std::vector<std::string> lines;
    std::string section;
    for (const std::string& line : SplitAtCrLf(CopyText(copy))) {
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            lines.push_back(line);
            continue;
        }
        const auto equals = line.find('=');
        if (equals == std::string::npos) {
            lines.push_back(line);
        } else {
            lines.push_back(line.substr(0, equals + 1) +
                            DecryptText(line.substr(equals + 1), section));
        }
    }
    return lines;
}

TEST(BuiltInProfiles, EveryCopyDeciphersToItsPlainSource) {
    for (const std::string_view name : ProfileFileNames) {
        SCOPED_TRACE(std::string(name));
        const auto copy = BuiltInProfileCopy(name);
        ASSERT_TRUE(copy.has_value());
        EXPECT_EQ(DecipheredLines(*copy), testing::PlainLines(std::string(name)));
    }
}

TEST(BuiltInProfiles, ValuesAreStoredEncipheredNotPlain) {
    // "ControlLevel=2" in [Main] must be stored as EncryptText("2", "Main"), i.e. "2" + 'a'.
    const std::string text(CopyText(*BuiltInProfileCopy("ProgramMain.RVL")));
    EXPECT_NE(text.find("ControlLevel=" + EncryptText("2", "Main") + "\r\n"), std::string::npos);
    EXPECT_EQ(text.find("ControlLevel=2\r\n"), std::string::npos);
    EXPECT_EQ(EncryptText("2", "Main"), std::string(1, static_cast<char>('2' + 'a')));
}

TEST(BuiltInProfiles, CopiesArePaddedWithZerosToWholeWords) {
    for (const std::string_view name : ProfileFileNames) {
        SCOPED_TRACE(std::string(name));
        const std::string_view copy = *BuiltInProfileCopy(name);
        const std::string_view text = CopyText(copy);
        EXPECT_EQ(copy.size() % 4, 0u);
        EXPECT_LT(copy.size() - text.size(), 4u);
        EXPECT_EQ(text.find('\0'), std::string_view::npos);
        for (std::size_t i = 0; i < text.size(); ++i) {
            const bool crWithoutLf =
                text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n');
            const bool lfWithoutCr = text[i] == '\n' && (i == 0 || text[i - 1] != '\r');
            ASSERT_FALSE(crWithoutLf || lfWithoutCr) << "stray line break at " << i;
        }
    }
    EXPECT_EQ(*BuiltInProfileCopy("ProgramControl.RVL"),
              std::string_view(";Save Programs Here\0", 20));
}

TEST(BuiltInProfiles, PortDatabaseEndsWithLineEndAndNeedsNoPadding) {
    const std::string_view copy = *BuiltInProfileCopy("Database_PortSetting.RVL");
    ASSERT_GE(copy.size(), 2u);
    EXPECT_EQ(copy.substr(copy.size() - 2), "\r\n");
    EXPECT_EQ(CopyText(copy).size(), copy.size());

    const auto entries = testing::PlainEntries("Database_PortSetting.RVL");
    ASSERT_EQ(entries.size(), 50u * 5u);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char section[24];
        std::snprintf(section, sizeof section, "%04zu", i / 5 + 1);
        EXPECT_EQ(entries[i].section, section);
        EXPECT_EQ(entries[i].key, std::to_string(i % 5 + 1));
        EXPECT_EQ(entries[i].value.empty(), i % 5 == 4) << section << " key " << entries[i].key;
    }
}

TEST(BuiltInProfiles, LookupIgnoresCaseAndKnowsOnlyTheThirteen) {
    EXPECT_EQ(BuiltInProfileCopy("programcontrol.rvl"), BuiltInProfileCopy("ProgramControl.RVL"));
    EXPECT_FALSE(BuiltInProfileCopy("ProgramControl.RV").has_value());
    EXPECT_FALSE(BuiltInProfileCopy("").has_value());
    std::size_t total = 0;
    for (const std::string_view name : ProfileFileNames) {
        total += BuiltInProfileCopy(name).has_value() ? 1 : 0;
    }
    EXPECT_EQ(total, 13u);
}

}  // namespace
}  // namespace rg
