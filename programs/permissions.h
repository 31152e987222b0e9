// The permission texts of a program row ("Allow", "Block", "Ask"), the codes they are stored as
// in the program control profile, and the rules of the six permission menu commands that keep
// a row's Server permission never more permissive than its Access permission.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace rg {

inline constexpr std::string_view kPermissionAllow = "Allow";
inline constexpr std::string_view kPermissionBlock = "Block";
inline constexpr std::string_view kPermissionAsk = "Ask";

// The stored code of a permission text: 0 "Allow", 1 "Block", 2 "Ask", letter case ignored.
// Any other text, the empty one included, gives 0 (the code of "Allow"). Never fails.
std::int32_t PermissionToCode(std::string_view text);

// The six commands of the two permission menus (mnuAccess, mnuServer).
enum class PermissionCommand {
    AccessAllow,
    AccessBlock,
    AccessAsk,
    ServerAllow,
    ServerBlock,
    ServerAsk,
};

// The two permission texts of one row.
struct RowPermissions {
    std::string Access;
    std::string Server;
};

// The row's permissions after one menu command. From a row whose Server is at most as
// permissive as its Access (Block < Ask < Allow), the result is such a row again.
RowPermissions ApplyPermissionCommand(PermissionCommand command, RowPermissions row);

}  // namespace rg
