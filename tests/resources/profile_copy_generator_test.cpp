// The build's generator of the built-in profile copies, run on small readable sources: the
// stored bytes it emits, and the sources and arguments it refuses without writing anything.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <filesystem>

#include "tests/support/temp_folder.h"

namespace rg::test {
namespace {

class ProfileCopyGenerator : public ::testing::Test {
  protected:
    // Runs the generator writing to `to`, with `arguments` after it; "@TEXT" stands for the path
    // of a readable source holding TEXT. Returns the exit status.
    int Run(const std::vector<std::string>& arguments, const std::string& to) {
        std::string command = std::string("'") + RG_PROFILE_GENERATOR + "' '" + to + "'";
        for (const std::string& argument : arguments) {
            const std::string word =
                argument.starts_with('@')
                    ? folder.Write("source" + std::to_string(++sources), argument.substr(1))
                    : argument;
            command += " '" + word + "'";
        }
        const int status = std::system((command + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    TempFolder folder;
    const std::string output = folder / "copies.cpp";
    int sources = 0;
};

TEST_F(ProfileCopyGenerator, EmitsTheCopyEncipheredWithCrLfLineEndsAndZeroPadding) {
    ASSERT_EQ(Run({"A.RVL", "@[S]\nk=v\n;note\r\n", "none"}, output), 0);
    // "[S]", "k=" and "v" enciphered with "S" (0xC9), ";note", CR LF between, one byte of padding.
    const std::string generated = TempFolder::ReadFile(output);
    EXPECT_NE(
        generated.find(R"("\133\123\135\015\012\153\075\311\015\012\073\156\157\164\145\000")"),
        std::string::npos)
        << generated;
    EXPECT_NE(generated.find("{\"A.RVL\", {kCopy0, sizeof kCopy0 - 1}},"), std::string::npos);
    EXPECT_EQ(Run({"A.RVL", "@[S]\nk=v\n", "none"}, folder / "missing/copies.cpp"), 1);
}

TEST_F(ProfileCopyGenerator, RefusesWhatTheFirewallCouldNotReadBackAndWritesNothing) {
    const std::vector<std::string> cases[] = {
        {"A.RVL", "@[S]\nk=v\n"},                   // too few arguments
        {"A.RVL", "@[S]\nk=v\n", "none", "B.RVL"},  // a source without its ending
        {"A.RVL", "@[S]\nk=v\n", "lf"},             // an unknown ending
        {"A.RVL", folder / "missing.plain", "none"},
        {"A.RVL", "@", "none"},                 // an empty source
        {"A.RVL", "@[S]\nnonsense\n", "none"},  // neither header, entry nor comment
        {"A.RVL", "@[S]\n\nk=v\n", "none"},     // an empty line
        {"A.RVL", "@k=v\n[S]\n", "none"},       // an entry before the first section
        {"A.RVL", "@[S]\nk= v\n", "none"},      // a value that a write would trim
        {"A.RVL", "@[S]\nk=\xBA\n", "none"},    // enciphered with "S" it is a CR
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments[1]);
        EXPECT_EQ(Run(arguments, output), 1);
        EXPECT_FALSE(std::filesystem::exists(output));
    }
}

}  // namespace
}  // namespace rg::test
