// The whole save (reset of the thirteen files, password, alert choice, one section per listed
// program, the final flush) with 3, 100 and 1,000 listed programs. Plain files stand in for the
// programs. The time per program should stay flat as the list grows.
#include <benchmark/benchmark.h>

#include "persistence/save_settings.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/support/temp_install.h"

namespace rg::test {
namespace {

void BM_WholeSave(benchmark::State& state) {
    const auto programs = static_cast<std::size_t>(state.range(0));
    TempInstall install;
    InitPaths();
    TempInstall::CreateRegistryKey(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey);
    WizardSettings settings{"Bench pass", 0, 3, {}};
    for (std::size_t i = 0; i < programs; ++i) {
        const std::string path = install.root() + "/programs/program" + std::to_string(i) + ".exe";
        TempInstall::WriteFile(path, "program " + std::to_string(i));
        settings.Programs.push_back({"Program " + std::to_string(i), path, "Block", "Ask"});
    }
    for (auto _ : state) {
        // A save that failed would be measuring the wrong thing.
        if (!saveStartupWizardSettings(settings)) {
            state.SkipWithError("the save did not write every program");
        }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_WholeSave)->Arg(3)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rg::test

BENCHMARK_MAIN();
