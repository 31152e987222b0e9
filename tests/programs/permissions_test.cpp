// The permission codes and the six menu rules, on their own (without the list).
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "programs/permissions.h"

namespace rg {
namespace {

const std::array<std::string, 3> kValues = {"Allow", "Block", "Ask"};

// How much a permission permits: Block < Ask < Allow.
int Rank(const std::string& permission) {
    return permission == "Block" ? 0 : (permission == "Ask" ? 1 : 2);
}

TEST(PermissionToCode, KnowsTheThreeTextsInAnyCaseAndGivesAllowForAnythingElse) {
    EXPECT_EQ(PermissionToCode("Allow"), 0);
    EXPECT_EQ(PermissionToCode("ALLOW"), 0);
    EXPECT_EQ(PermissionToCode("block"), 1);
    EXPECT_EQ(PermissionToCode("bLoCk"), 1);
    EXPECT_EQ(PermissionToCode("Ask"), 2);
    EXPECT_EQ(PermissionToCode("ASK"), 2);
    for (const char* other : {"", "Deny", "Ask ", " Block", "Allowed", "As", "\xC1sk"}) {
        EXPECT_EQ(PermissionToCode(other), 0) << other;
    }
}

struct MenuRule {
    PermissionCommand command;
    const char* access;  // nullptr: unchanged
    const char* server;  // nullptr: unchanged
};

// The menu table; mnuServerAsk's Access rule ("Ask" only from "Block") is checked separately.
const MenuRule kRules[] = {
    {PermissionCommand::AccessAllow, "Allow", nullptr},
    {PermissionCommand::AccessBlock, "Block", "Block"},
    {PermissionCommand::AccessAsk, "Ask", "Ask"},
    {PermissionCommand::ServerAllow, "Allow", "Allow"},
    {PermissionCommand::ServerBlock, nullptr, "Block"},
};

TEST(PermissionCommands, FollowTheMenuTableFromEveryStartingRow) {
    for (const MenuRule& rule : kRules) {
        for (const std::string& access : kValues) {
            for (const std::string& server : kValues) {
                const RowPermissions after = ApplyPermissionCommand(rule.command, {access, server});
                EXPECT_EQ(after.Access, rule.access ? rule.access : access);
                EXPECT_EQ(after.Server, rule.server ? rule.server : server);
            }
        }
    }
    for (const std::string& access : kValues) {
        const RowPermissions after =
            ApplyPermissionCommand(PermissionCommand::ServerAsk, {access, "Allow"});
        EXPECT_EQ(after.Server, "Ask");
        EXPECT_EQ(after.Access, access == "Block" ? "Ask" : access);
    }
}

TEST(PermissionCommands, NeverLetServerPermitMoreThanAccess) {
    const PermissionCommand all[] = {PermissionCommand::AccessAllow, PermissionCommand::AccessBlock,
                                     PermissionCommand::AccessAsk,   PermissionCommand::ServerAllow,
                                     PermissionCommand::ServerBlock, PermissionCommand::ServerAsk};
    for (const std::string& access : kValues) {
        for (const std::string& server : kValues) {
            if (Rank(server) > Rank(access)) {
                continue;  // not a valid starting row
            }
            for (const PermissionCommand command : all) {
                const RowPermissions after = ApplyPermissionCommand(command, {access, server});
                EXPECT_LE(Rank(after.Server), Rank(after.Access))
                    << access << "/" << server << " command " << static_cast<int>(command);
            }
        }
    }
}

}  // namespace
}  // namespace rg
