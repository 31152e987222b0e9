#include "tests/persistence/save_expectations.h"

#include "resources/builtin_profiles.h"
#include "services/cipher.h"

namespace rg::test {

std::string FactoryBytes(std::string_view profileName) {
    // The copy's text, which ends with exactly one CR LF either by itself (the port database)
    // or by the one the reset adds.
    std::string text(CopyText(BuiltInProfileCopy(profileName).value()));
    return text.ends_with("\r\n") ? text : text + "\r\n";
}

std::string AlertsBytes(std::string_view alertChoice) {
    std::string bytes = FactoryBytes("AlertsAndLogSetting.RVL");
    // "AlertEvent" is a key of "Main", the file's first section, so its first occurrence is it.
    const std::string key = "\r\nAlertEvent=";
    const std::size_t valueStart = bytes.find(key) + key.size();
    const std::size_t valueEnd = bytes.find("\r\n", valueStart);
    bytes.replace(valueStart, valueEnd - valueStart, EncryptText(alertChoice, "Main"));
    return bytes;
}

std::string ProgramControlBytes(const std::vector<ExpectedProgram>& programs) {
    const char* const keys[] = {"Version",      "Column1",      "Column2",         "Column3",
                                "Column4",      "Column5",      "Column6",         "Path",
                                "AllowAccess",  "Ports",        "ICMP_Protocol",   "IGMP_Protocol",
                                "Authenticate", "CheckedPorts", "NoCustomizePorts"};
    std::string bytes = ";Save Programs Here\r\n";
    for (const ExpectedProgram& p : programs) {
        const std::string server = std::to_string(p.serverCode);
        const std::string access = std::to_string(p.accessCode);
        const std::string values[] = {p.version, server, server, access, access, "0", "0", p.path,
                                      "0",       "",     "0",    "0",    "0",    "",  "0"};
        bytes += "[" + p.name + "]\r\n";
        for (int i = 0; i < 15; ++i) {
            bytes += std::string(keys[i]) + "=" + EncryptText(values[i], p.name) + "\r\n";
        }
    }
    return bytes;
}

std::vector<std::string> LogHeads(std::string_view log) {
    std::vector<std::string> heads;
    for (std::size_t at = 0, end; at < log.size(); at = end + 2) {
        end = std::min(log.find("\r\n", at), log.size());
        heads.emplace_back(log.substr(at, std::min(log.find(',', at), end) - at));
    }
    return heads;
}

}  // namespace rg::test
