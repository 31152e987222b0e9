#include "persistence/program_section.h"

#include <array>
#include <string>

#include "platform/ini/profile_api.h"
#include "services/ini_access.h"
#include "services/run_error.h"
#include "startup/globals.h"

namespace rg {
namespace {

struct KeyValue {
    std::string_view key;
    std::string value;
};

using ProgramKeys = std::array<KeyValue, 15>;

ProgramKeys KeysInOrder(std::string_view path, std::string_view version, std::int32_t serverCode,
                        std::int32_t accessCode) {
    const std::string server = std::to_string(serverCode);
    const std::string access = std::to_string(accessCode);
    return {{
        {"Version", std::string(version)},
        {"Column1", server},
        {"Column2", server},
        {"Column3", access},
        {"Column4", access},
        {"Column5", "0"},
        {"Column6", "0"},
        {"Path", std::string(path)},
        {"AllowAccess", "0"},
        {"Ports", ""},
        {"ICMP_Protocol", "0"},
        {"IGMP_Protocol", "0"},
        {"Authenticate", "0"},
        {"CheckedPorts", ""},
        {"NoCustomizePorts", "0"},
    }};
}

// Checked up front, so that a value that cannot be stored leaves the earlier section intact
// instead of emptied and half rewritten.
void RequireStorable(std::string_view section, const ProgramKeys& keys) {
    if (!CanStoreSectionName(section)) {
        throw RunError::InvalidCall("the name \"" + std::string(section) +
                                    "\" cannot name a section of the program settings");
    }
    for (const KeyValue& entry : keys) {
        if (!CanStoreINIValue(section, entry.value, true)) {
            throw RunError::InvalidCall("the value of " + std::string(entry.key) +
                                        " cannot be stored in section [" + std::string(section) +
                                        "]");
        }
    }
}

}  // namespace

void WriteProgramSection(std::string_view section, std::string_view path, std::string_view version,
                         std::int32_t serverCode, std::int32_t accessCode,
                         std::string_view programControlFilePath) {
    const ProgramKeys keys = KeysInOrder(path, version, serverCode, accessCode);
    RequireStorable(section, keys);
    // Neither this call's result nor the key writes' are consulted: a write that the platform
    // refuses (a read-only profile) goes unnoticed, as every INI write does.
    platform::WritePrivateProfileSectionA(section, std::string_view{}, programControlFilePath);
    for (const KeyValue& entry : keys) {
        WriteINI(section, entry.key, entry.value, programControlFilePath, true);
    }
}

void WriteProgramSection(std::string_view section, std::string_view path, std::string_view version,
                         std::int32_t serverCode, std::int32_t accessCode) {
    WriteProgramSection(section, path, version, serverCode, accessCode, ProgramControlFilePath);
}

}  // namespace rg
