// The table of built-in profile copies that the build generates from resources/profiles (see
// resources/generator). Internal to resources/: everyone else asks BuiltInProfileCopy.
#pragma once

#include <span>
#include <string_view>

namespace rg::resources_detail {

struct BuiltInProfileEntry {
    std::string_view name;   // the profile file's name, e.g. "ProgramControl.RVL"
    std::string_view bytes;  // the stored copy: text, then zero bytes up to a multiple of 4
};

std::span<const BuiltInProfileEntry> BuiltInProfileTable();

}  // namespace rg::resources_detail
