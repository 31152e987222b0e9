#include "resources/builtin_profiles.h"

#include "resources/builtin_profile_table.h"

namespace rg {
namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) {
            return false;
        }
    }
    return true;
}

}  // namespace

std::optional<std::string_view> BuiltInProfileCopy(std::string_view name) {
    for (const auto& entry : resources_detail::BuiltInProfileTable()) {
        if (EqualsIgnoringAsciiCase(entry.name, name)) {
            return entry.bytes;
        }
    }
    return std::nullopt;
}

std::string_view CopyText(std::string_view copy) {
    while (!copy.empty() && copy.back() == '\0') {
        copy.remove_suffix(1);
    }
    return copy;
}

}  // namespace rg
