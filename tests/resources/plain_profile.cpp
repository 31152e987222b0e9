#include "tests/resources/plain_profile.h"

#include <fstream>
#include <stdexcept>

namespace rg::testing {

std::string PlainSourcePath(const std::string& profileName) {
    return std::string(RG_PROFILE_SOURCES) + "/" + profileName + ".plain";
}

std::vector<std::string> PlainLines(const std::string& profileName) {
    std::ifstream in(PlainSourcePath(profileName), std::ios::binary);
    if (!in) {
        throw std::runtime_error("no plain source for " + profileName);
    }
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

std::vector<PlainEntry> PlainEntries(const std::string& profileName) {
    std::vector<PlainEntry> entries;
    std::string section;
    for (const std::string& line : PlainLines(profileName)) {
        if (!line.empty() && line.front() == '[') {
            section = line.substr(1, line.size() - 2);
            continue;
        }
        const auto equals = line.find('=');
        if (equals != std::string::npos) {
            entries.push_back({section, line.substr(0, equals), line.substr(equals + 1)});
        }
    }
    return entries;
}

}  // namespace rg::testing
