// Start-up time of the wizard: from starting the process to the first paint of its window, on a
// fresh demo installation without a password, on the offscreen platform. Each iteration starts
// one process and waits for its "shown" line.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "startup/password_store.h"

namespace rg::test {
namespace {

void WizardStartup(benchmark::State& state) {
    const auto prefix =
        std::filesystem::temp_directory_path() / ("rg-bench-startup-" + std::to_string(getpid()));
    std::filesystem::create_directories(prefix / "system32");
    std::ofstream(prefix / "system32" / "RVPSD.SYS", std::ios::binary)
        << PasswordFileLine("") << "\r\n";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("RAVELGARD_EXIT_WHEN_SHOWN", "1", 1);
    setenv("RAVELGARD_PREFIX", prefix.c_str(), 1);
    for (auto _ : state) {
        char line[64] = {};
        const auto start = std::chrono::steady_clock::now();
        FILE* child = ::popen(RG_WIZARD_EXE, "r");
        const bool shown = child != nullptr && std::fgets(line, sizeof line, child) != nullptr;
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        if (child != nullptr) {
            ::pclose(child);
        }
        if (!shown) {
            state.SkipWithError("the wizard did not report its window");
            break;
        }
        state.SetIterationTime(took.count());
    }
    std::filesystem::remove_all(prefix);
}

BENCHMARK(WizardStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
}  // namespace rg::test

BENCHMARK_MAIN();
