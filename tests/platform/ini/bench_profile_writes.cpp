// The wizard's write pattern: N program sections in one profile file, each one section-
// emptying call and fifteen enciphered key writes, then one flush; against the baseline of
// writing the final file's bytes once.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "services/ini_access.h"

namespace {

const char* const kKeys[] = {"Version",      "Column1",      "Column2",         "Column3",
                             "Column4",      "Column5",      "Column6",         "Path",
                             "AllowAccess",  "Ports",        "ICMP_Protocol",   "IGMP_Protocol",
                             "Authenticate", "CheckedPorts", "NoCustomizePorts"};

std::string ScratchFile() {
    static const std::string folder = [] {
        char pattern[] = "/tmp/rg_bench_XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    return folder + "/ProgramControl.RVL";
}

std::string ProgramName(int n) {
    char name[64];
    std::snprintf(name, sizeof name, "C:\\Program Files\\Vendor%04d\\app%04d.exe", n, n);
    return name;
}

// The values of one program section as the wizard writes them (codes, fixed "0"s, empty port
// lists, the version and the path).
std::string ValueFor(const std::string& program, int key) {
    switch (key) {
        case 0:
            return "5.1.2600.2180";
        case 3:
        case 4:
            return "2";
        case 7:
            return program;
        case 9:
        case 13:
            return "";
        default:
            return "0";
    }
}

void WritePrograms(const std::string& file, int count) {
    for (int n = 0; n < count; ++n) {
        const std::string program = ProgramName(n);
        rg::platform::WritePrivateProfileSectionA(program, std::string_view("\0\0", 2), file);
        for (int key = 0; key < 15; ++key) {
            rg::WriteINI(program, kKeys[key], ValueFor(program, key), file, true);
        }
    }
    rg::platform::FlushPrivateProfiles();
}

void StartFile(const std::string& file) {
    rg::platform::DiscardPrivateProfileCacheForTesting();
    // Written durably, as the profile reset leaves it, so that the timed flush does not pay
    // for putting the set-up's bytes on disk.
    rg::platform::ReplaceFileAtomically(file, ";Save Programs Here\r\n");
}

void BM_ProgramSections(benchmark::State& state) {
    const std::string file = ScratchFile();
    const auto count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        StartFile(file);
        state.ResumeTiming();
        WritePrograms(file, count);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(file));
}

void BM_WriteFinalFileOnce(benchmark::State& state) {
    const std::string file = ScratchFile();
    StartFile(file);
    WritePrograms(file, static_cast<int>(state.range(0)));
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (auto _ : state) {
        benchmark::DoNotOptimize(rg::platform::ReplaceFileAtomically(file, bytes));
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}

BENCHMARK(BM_ProgramSections)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFinalFileOnce)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
