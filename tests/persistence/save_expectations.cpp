#include "tests/persistence/save_expectations.h"

#include <stdexcept>
#include <utility>

#include "resources/builtin_profiles.h"
#include "services/cipher.h"

namespace rg::test {

std::string FactoryBytes(std::string_view profileName) {
    const auto copy = BuiltInProfileCopy(profileName);
    if (!copy) {
        throw std::invalid_argument("no built-in copy of " + std::string(profileName));
    }
    // Worked out apart from the reset's own code: the copy's text, which ends with exactly one
    // CR LF either by itself (the port database) or by the one the reset adds.
    std::string text(CopyText(*copy));
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) {
        text += "\r\n";
    }
    return text;
}

std::string AlertsBytes(std::string_view alertChoice) {
    std::string bytes = FactoryBytes("AlertsAndLogSetting.RVL");
    // "AlertEvent" is a key of "Main", the file's first section, so its first occurrence is it.
    const std::string key = "\r\nAlertEvent=";
    const std::size_t start = bytes.find(key);
    if (start == std::string::npos) {
        throw std::logic_error("the factory alerts file has no AlertEvent");
    }
    const std::size_t valueStart = start + key.size();
    const std::size_t valueEnd = bytes.find("\r\n", valueStart);
    bytes.replace(valueStart, valueEnd - valueStart, EncryptText(alertChoice, "Main"));
    return bytes;
}

std::string ProgramControlBytes(const std::vector<ExpectedProgram>& programs) {
    std::string bytes = ";Save Programs Here\r\n";
    for (const ExpectedProgram& program : programs) {
        const std::string server = std::to_string(program.serverCode);
        const std::string access = std::to_string(program.accessCode);
        const std::pair<const char*, std::string> entries[] = {
            {"Version", program.version},
            {"Column1", server},
            {"Column2", server},
            {"Column3", access},
            {"Column4", access},
            {"Column5", "0"},
            {"Column6", "0"},
            {"Path", program.path},
            {"AllowAccess", "0"},
            {"Ports", ""},
            {"ICMP_Protocol", "0"},
            {"IGMP_Protocol", "0"},
            {"Authenticate", "0"},
            {"CheckedPorts", ""},
            {"NoCustomizePorts", "0"},
        };
        bytes += "[" + program.name + "]\r\n";
        for (const auto& [key, value] : entries) {
            bytes += std::string(key) + "=" + EncryptText(value, program.name) + "\r\n";
        }
    }
    return bytes;
}

std::vector<std::string> SectionHeaders(std::string_view bytes) {
    std::vector<std::string> headers;
    std::size_t lineStart = 0;
    while (lineStart < bytes.size()) {
        std::size_t lineEnd = bytes.find("\r\n", lineStart);
        if (lineEnd == std::string_view::npos) {
            lineEnd = bytes.size();
        }
        const std::string_view line = bytes.substr(lineStart, lineEnd - lineStart);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            headers.emplace_back(line.substr(1, line.size() - 2));
        }
        lineStart = lineEnd + 2;
    }
    return headers;
}

int LogLines(std::string_view log) {
    int count = 0;
    for (auto at = log.find("\r\n"); at != std::string_view::npos; at = log.find("\r\n", at + 2)) {
        ++count;
    }
    return count;
}

}  // namespace rg::test
