// The wizard's write pattern: N program sections in one profile file, each one section-emptying
// call and fifteen enciphered key writes, then one flush; against the baseline of writing the
// final file's bytes once.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "services/ini_access.h"

namespace {

const char* const kKeys[] = {"Version",      "Column1",      "Column2",         "Column3",
                             "Column4",      "Column5",      "Column6",         "Path",
                             "AllowAccess",  "Ports",        "ICMP_Protocol",   "IGMP_Protocol",
                             "Authenticate", "CheckedPorts", "NoCustomizePorts"};
// The values as the wizard writes them; the path (key 7) is the section's name.
const char* const kValues[] = {
    "5.1.2600.2180", "0", "0", "2", "2", "0", "0", nullptr, "0", "", "0", "0", "0", "", "0"};

// The file as the profile reset leaves it, written durably before the timing starts.
std::string StartFile() {
    static const std::string file = "/tmp/rg_bench_" + std::to_string(::getpid()) + ".RVL";
    rg::platform::DiscardPrivateProfileCacheForTesting();
    rg::platform::ReplaceFileAtomically(file, ";Save Programs Here\r\n");
    return file;
}

void WritePrograms(const std::string& file, int count) {
    for (int n = 0; n < count; ++n) {
        char program[64];
        std::snprintf(program, sizeof program, "C:\\Program Files\\Vendor%04d\\app%04d.exe", n, n);
        rg::platform::WritePrivateProfileSectionA(program, std::string_view("\0\0", 2), file);
        for (int key = 0; key < 15; ++key) {
            rg::WriteINI(program, kKeys[key], kValues[key] ? kValues[key] : program, file, true);
        }
    }
    rg::platform::FlushPrivateProfiles();
}

void BM_ProgramSections(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string file = StartFile();
        state.ResumeTiming();
        WritePrograms(file, static_cast<int>(state.range(0)));
    }
}

void BM_WriteFinalFileOnce(benchmark::State& state) {
    const std::string file = StartFile();
    WritePrograms(file, static_cast<int>(state.range(0)));
    std::string bytes;
    rg::platform::ReadWholeFile(file, bytes);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rg::platform::ReplaceFileAtomically(file, bytes));
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
    rg::platform::DeleteFileA(file);
}

BENCHMARK(BM_ProgramSections)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFinalFileOnce)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
