#include "programs/permissions.h"

namespace rg {

namespace {

// The three texts are ASCII, so an ASCII-only lower-casing decides equality; a byte outside
// ASCII simply makes the text match none of them (whatever locale the process runs under).
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::int32_t PermissionToCode(std::string_view text) {
    if (EqualsIgnoringCase(text, kPermissionAllow)) {
        return 0;
    }
    if (EqualsIgnoringCase(text, kPermissionBlock)) {
        return 1;
    }
    if (EqualsIgnoringCase(text, kPermissionAsk)) {
        return 2;
    }
    return 0;
}

RowPermissions ApplyPermissionCommand(PermissionCommand command, RowPermissions row) {
    switch (command) {
        case PermissionCommand::AccessAllow:
            row.Access = kPermissionAllow;
            break;
        case PermissionCommand::AccessBlock:
            row.Access = kPermissionBlock;
            row.Server = kPermissionBlock;
            break;
        case PermissionCommand::AccessAsk:
            row.Access = kPermissionAsk;
            row.Server = kPermissionAsk;
            break;
        case PermissionCommand::ServerAllow:
            row.Server = kPermissionAllow;
            row.Access = kPermissionAllow;
            break;
        case PermissionCommand::ServerBlock:
            row.Server = kPermissionBlock;
            break;
        case PermissionCommand::ServerAsk:
            row.Server = kPermissionAsk;
            if (row.Access == kPermissionBlock) {
                row.Access = kPermissionAsk;
            }
            break;
    }
    return row;
}

}  // namespace rg
