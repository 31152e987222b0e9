// The wizard's write pattern: N program sections in one profile file, each one section-emptying
// call and fifteen enciphered key writes, then one flush.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <string>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "services/ini_access.h"

namespace {

// The keys and values as the wizard writes them; the path (key 7) is the section's name.
const char* const kKeys[] = {"Version",      "Column1",      "Column2",         "Column3",
                             "Column4",      "Column5",      "Column6",         "Path",
                             "AllowAccess",  "Ports",        "ICMP_Protocol",   "IGMP_Protocol",
                             "Authenticate", "CheckedPorts", "NoCustomizePorts"};
const char* const kValues[] = {
    "5.1.2600.2180", "0", "0", "2", "2", "0", "0", nullptr, "0", "", "0", "0", "0", "", "0"};

void BM_ProgramSections(benchmark::State& state) {
    const std::string file = "/tmp/rg_bench_" + std::to_string(::getpid()) + ".RVL";
    for (auto _ : state) {
        state.PauseTiming();  // the file as the profile reset leaves it
        rg::platform::DiscardPrivateProfileCacheForTesting();
        rg::platform::ReplaceFileAtomically(file, ";Save Programs Here\r\n");
        state.ResumeTiming();
        for (int n = 0; n < state.range(0); ++n) {
            const std::string program = "C:\\Program Files\\Vendor" + std::to_string(n) + "\\a.exe";
            rg::platform::WritePrivateProfileSectionA(program, std::string_view("\0\0", 2), file);
            for (int key = 0; key < 15; ++key) {
                rg::WriteINI(program, kKeys[key], kValues[key] ? kValues[key] : program, file,
                             true);
            }
        }
        rg::platform::FlushPrivateProfiles();
    }
    rg::platform::DeleteFileA(file);
}
BENCHMARK(BM_ProgramSections)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
