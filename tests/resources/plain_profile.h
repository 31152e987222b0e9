// The readable factory sources of the profile files (resources/profiles/*.plain) as the tests
// see them: their lines, and their entries with section, key and plain value.
#pragma once

#include <string>
#include <vector>

namespace rg::testing {

struct PlainEntry {
    std::string section;
    std::string key;
    std::string value;
};

std::string PlainSourcePath(const std::string& profileName);
std::vector<std::string> PlainLines(const std::string& profileName);
std::vector<PlainEntry> PlainEntries(const std::string& profileName);

}  // namespace rg::testing
