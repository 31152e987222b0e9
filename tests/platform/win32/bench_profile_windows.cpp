// The save's write pattern for 1,000 programs (per program: the section emptied, then its 15
// keys written) through the profile engine and through the real Windows profile API, timed
// under Wine. Google Benchmark has no Windows build in Debian, so this program times the two
// runs itself: ravelgard-bench-profile-windows.exe [PROGRAMS]
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/ini/profile_api.h"
#include "tests/support/temp_folder.h"

#include <windows.h>

namespace {

constexpr const char* kKeys[] = {"Version",      "Column1",      "Column2",         "Column3",
                                 "Column4",      "Column5",      "Column6",         "Path",
                                 "AllowAccess",  "Ports",        "ICMP_Protocol",   "IGMP_Protocol",
                                 "Authenticate", "CheckedPorts", "NoCustomizePorts"};

template <typename EmptySection, typename WriteValue>
double SecondsToSave(int programs, EmptySection emptySection, WriteValue writeValue) {
    const auto start = std::chrono::steady_clock::now();
    for (int program = 0; program < programs; ++program) {
        const std::string section = "Program number " + std::to_string(program);
        emptySection(section);
        for (const char* key : kKeys) {
            writeValue(section, key, "C:\\Program Files\\Vendor " + std::to_string(program));
        }
    }
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int programs = argc > 1 ? std::atoi(argv[1]) : 1000;
    rg::test::TempFolder folder("rg-bench");
    const std::string ours = folder / "own.ini";
    const std::string theirs = folder / "windows.ini";
    const double ownSeconds = SecondsToSave(
        programs,
        [&](const std::string& section) {
            rg::platform::WritePrivateProfileSectionA(section, std::string_view(), ours);
        },
        [&](const std::string& section, const char* key, const std::string& value) {
            rg::platform::WritePrivateProfileStringA(section, key, value, ours);
        });
    const auto flushStart = std::chrono::steady_clock::now();
    rg::platform::FlushPrivateProfiles();
    const double flushSeconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - flushStart).count();
    const double windowsSeconds = SecondsToSave(
        programs,
        [&](const std::string& section) {
            ::WritePrivateProfileSectionA(section.c_str(), "\0", theirs.c_str());
        },
        [&](const std::string& section, const char* key, const std::string& value) {
            ::WritePrivateProfileStringA(section.c_str(), key, value.c_str(), theirs.c_str());
        });
    const double ownTotal = ownSeconds + flushSeconds;
    std::printf(
        "%d programs: profile engine %.3f s (writes %.3f s, flush %.3f s), "
        "Windows profile API %.3f s, %.0f times faster; files %s\n",
        programs, ownTotal, ownSeconds, flushSeconds, windowsSeconds, windowsSeconds / ownTotal,
        rg::test::TempFolder::ReadFile(ours) == rg::test::TempFolder::ReadFile(theirs)
            ? "identical"
            : "DIFFERENT");
    return 0;
}
