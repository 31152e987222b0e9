#include "tests/persistence/save_expectations.h"

#include <filesystem>
#include <stdexcept>
#include <utility>

#include "programs/default_programs.h"
#include "resources/builtin_profiles.h"
#include "services/cipher.h"
#include "services/registry_access.h"

namespace rg::test {

std::string FactoryBytes(std::string_view profileName) {
    const auto copy = BuiltInProfileCopy(profileName);
    if (!copy) {
        throw std::invalid_argument("no built-in copy of " + std::string(profileName));
    }
    // The copy's text, which ends with exactly one CR LF either by itself (the port database)
    // or by the one the reset adds.
    std::string text(CopyText(*copy));
    return text.ends_with("\r\n") ? text : text + "\r\n";
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

SystemPrograms InstallSystemPrograms(const TempInstall& install, bool registerBrowser) {
    const SystemPrograms programs{
        install.systemDir() + "/services.exe", install.systemDir() + "/svchost.exe",
        install.prefix() + "/Program Files/Internet Explorer/iexplore.exe"};
    std::filesystem::create_directories(std::filesystem::path(programs.browser).parent_path());
    std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/services.exe", programs.services);
    std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/svchost.exe", programs.svchost);
    std::filesystem::copy_file(RG_SYSTEM_FIXTURES "/iexplore.exe", programs.browser);
    if (registerBrowser) {
        RegCreateString(kBrowserCommandKey, platform::HKEY_CLASSES_ROOT,
                        "\"" + programs.browser + "\" %1");
    }
    return programs;
}

std::vector<ExpectedProgram> DefaultProgramSections(const SystemPrograms& programs) {
    return {
        {"Services and Controller app", programs.services,
         "5.1.2600.2180 (xpsp_sp2_rtm.040803-2158)", 0, 0},
        {"svchost.exe", programs.svchost, "", 0, 0},  // no version resource: the file name
        {"Internet Explorer", programs.browser, "6.00.2900.2180 (xpsp_sp2_rtm.040803-2158)", 0, 0},
    };
}

}  // namespace rg::test
