// Finding a resource the way Windows does for the version and icon calls: the three directory
// levels (type, name, language), the loader's choice of language, the order of icon groups,
// and reading a resource's bytes no further than the file goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pe/pe_file.h"

namespace rg::platform {

constexpr std::uint16_t kResourceIcon = 3;
constexpr std::uint16_t kResourceGroupIcon = 14;
constexpr std::uint16_t kResourceVersion = 16;
// The user-interface language the answers are given for (English, United States).
constexpr std::uint16_t kUserInterfaceLanguage = 0x0409;

// The language entry the version and icon calls take: language neutral, the user-interface
// language (which is English), then the first entry. Only data entries count.
std::optional<ResourceEntry> ChooseLanguage(const std::vector<ResourceEntry>& languages);

// The bytes of resource `type`/`name` (both numbers) in the chosen language; at most `maxBytes`,
// and no more than the file holds after the data's start. nullopt when there is no such resource.
std::optional<std::string> ReadResource(const PeFile& pe, std::uint16_t type, std::uint16_t name,
                                        std::size_t maxBytes);

// The first icon group as the shell takes it: groups with string names before numbered ones,
// numbered ones by ascending number; the chosen language of that group.
std::optional<std::string> ReadFirstIconGroup(const PeFile& pe, std::size_t maxBytes);

}  // namespace rg::platform
