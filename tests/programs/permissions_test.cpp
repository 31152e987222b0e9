// The permission codes and the six rules of the permission menus, on their own (without the list).
#include <gtest/gtest.h>

#include <string>

#include "programs/permissions.h"

namespace rg::test {
namespace {

TEST(PermissionToCode, KnowsTheThreeTextsInAnyLetterCaseAndGivesAllowForAnythingElse) {
    const struct {
        const char* text;
        int code;
    } cases[] = {{"Allow", 0}, {"ALLOW", 0}, {"block", 1}, {"bLoCk", 1},  {"Ask", 2},
                 {"aSK", 2},   {"", 0},      {"Deny", 0},  {"Blocks", 0}, {"Bloc", 0},
                 {"As", 0},    {"Ask ", 0},  {"\xC1sk", 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(PermissionToCode(c.text), c.code) << c.text;
    }
}

// A row as two characters, Access then Server: '+' Allow, '-' Block, '?' Ask.
std::string Text(char c) {
    return c == '+' ? "Allow" : (c == '-' ? "Block" : "Ask");
}

// Every row before a command, and what each command makes of it.
constexpr const char* kBefore = "++ +- +? -+ -- -? ?+ ?- ??";
const struct {
    PermissionCommand command;
    const char* after;
} kMenuTable[] = {
    {PermissionCommand::AccessAllow, "++ +- +? ++ +- +? ++ +- +?"},
    {PermissionCommand::AccessBlock, "-- -- -- -- -- -- -- -- --"},
    {PermissionCommand::AccessAsk, "?? ?? ?? ?? ?? ?? ?? ?? ??"},
    {PermissionCommand::ServerAllow, "++ ++ ++ ++ ++ ++ ++ ++ ++"},
    {PermissionCommand::ServerBlock, "+- +- +- -- -- -- ?- ?- ?-"},
    {PermissionCommand::ServerAsk, "+? +? +? ?? ?? ?? ?? ?? ??"},
};

TEST(ApplyPermissionCommand, FollowsTheMenuTableFromEveryRow) {
    for (const auto& rule : kMenuTable) {
        for (std::size_t at = 0; at < std::string_view(kBefore).size(); at += 3) {
            SCOPED_TRACE(std::to_string(static_cast<int>(rule.command)) + " on " + kBefore[at] +
                         kBefore[at + 1]);
            const RowPermissions after =
                ApplyPermissionCommand(rule.command, {Text(kBefore[at]), Text(kBefore[at + 1])});
            EXPECT_EQ(after.Access, Text(rule.after[at]));
            EXPECT_EQ(after.Server, Text(rule.after[at + 1]));
        }
    }
}

}  // namespace
}  // namespace rg::test
