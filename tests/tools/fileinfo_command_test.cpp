// ravelgard-tool fileinfo: the text and JSON layouts and the exit codes.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <sstream>

#include "tests/support/pe_builder.h"
#include "tools/commands.h"

namespace rg::tool {
namespace {

struct CommandResult {
    int code;
    std::string out;
    std::string err;
};

CommandResult Fileinfo(const Args& args) {
    std::ostringstream out;
    std::ostringstream err;
    const int code = RunFileinfoCommand(args, out, err);
    return {code, out.str(), err.str()};
}

TEST(FileinfoCommand, TextShowsOneFieldPerLineAndABlankLineBetweenFiles) {
    const CommandResult run = Fileinfo({test::FixturePath("full"), test::FixturePath("marks")});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find("FileName: full.exe\n"), std::string::npos);
    EXPECT_NE(run.out.find("FileDescription: Sample Tool\n"), std::string::npos);
    EXPECT_NE(run.out.find("CompanyName: Trade\xE2\x84\xA2 Co\n"), std::string::npos);  // UTF-8
    EXPECT_TRUE(std::regex_search(run.out, std::regex("\nModified: \\d{4}-\\d\\d-\\d\\d\n")));
    EXPECT_NE(run.out.find("ProductVersion: 1.2\n\nFullPath: "), std::string::npos);
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 2 * 15 + 1);
}

TEST(FileinfoCommand, JsonPrintsOneObjectPerLineWithEscapes) {
    const test::ScratchFolder folder;
    const CommandResult run =
        Fileinfo({"--json", test::FixturePath("marks"), folder.path() + "/gone.exe"});
    EXPECT_EQ(run.code, 1);  // one path did not exist
    const std::size_t newline = run.out.find('\n');
    ASSERT_NE(newline, std::string::npos);
    const std::string first = run.out.substr(0, newline);
    EXPECT_EQ(first.rfind("{\"FullPath\":\"", 0), 0u);
    EXPECT_NE(first.find("\"SizeBytes\":4608,\"SizeText\":\"4 KB\""), std::string::npos) << first;
    EXPECT_NE(first.find("\"CompanyName\":\"Trade\\u2122 Co\""), std::string::npos);
    EXPECT_TRUE(std::regex_search(first, std::regex("\"Created\":\"\\d{4}-\\d\\d-\\d\\d\"")));
    EXPECT_NE(run.out.find("\"Modified\":null"), std::string::npos);
    EXPECT_EQ(run.out.back(), '\n');
    const CommandResult tab = Fileinfo({"--json", test::FixturePath("empty_desc")});
    EXPECT_NE(tab.out.find("\"CompanyName\":\"\\u0009Tab\""), std::string::npos) << tab.out;
}

TEST(FileinfoCommand, UsageErrors) {
    const CommandResult run = Fileinfo({});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("Usage"), std::string::npos);
    EXPECT_EQ(Fileinfo({"--json"}).code, 2);
}

}  // namespace
}  // namespace rg::tool
