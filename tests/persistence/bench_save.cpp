// The whole save (reset of the thirteen files, password, alert choice, one section per listed
// program, the final flush) with 3, 100 and 1,000 listed programs. Plain files stand in for the
// programs. The time per program should stay flat as the list grows.
#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "persistence/save_settings.h"
#include "platform/ini/profile_api.h"
#include "platform/os/file_system.h"
#include "platform/os/registry.h"
#include "startup/globals.h"
#include "startup/password_store.h"
#include "tests/persistence/save_expectations.h"

namespace rg {
namespace {

// A throw-away installation: application folder, machine prefix with its system folder and the
// password key, and `programs` plain files to list.
class BenchInstall {
  public:
    explicit BenchInstall(int programs) {
        std::string pattern = (std::filesystem::temp_directory_path() / "rg-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("mkdtemp failed");
        }
        root_ = pattern;
        std::filesystem::create_directories(root_ + "/app");
        std::filesystem::create_directories(root_ + "/machine/system32");
        std::filesystem::create_directories(root_ + "/programs");
        ::setenv("RAVELGARD_PREFIX", (root_ + "/machine").c_str(), 1);
        platform::OverrideAppPathForTesting(root_ + "/app");
        InitPaths();
        CreatePasswordKey();
        const char* const permissions[] = {"Allow", "Block", "Ask"};
        settings_ = {"Bench pass", 0, 3, {}};
        for (int i = 0; i < programs; ++i) {
            const std::string path = root_ + "/programs/program" + std::to_string(i) + ".exe";
            std::ofstream(path) << "program " << i;
            settings_.Programs.push_back({"Listed Program " + std::to_string(i), path,
                                          permissions[i % 3], permissions[(i / 3) % 3]});
        }
    }
    ~BenchInstall() {
        platform::DiscardPrivateProfileCacheForTesting();
        platform::OverrideAppPathForTesting(std::nullopt);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }
    BenchInstall(const BenchInstall&) = delete;
    BenchInstall& operator=(const BenchInstall&) = delete;

    const WizardSettings& settings() const { return settings_; }
    std::string log() const {
        std::string contents;
        platform::ReadWholeFile(root_ + "/app/Err.log", contents);
        return contents;
    }

  private:
    static void CreatePasswordKey() {
        platform::HKEY key = 0;
        platform::DWORD disposition = 0;
        platform::RegCreateKeyExA(platform::HKEY_LOCAL_MACHINE, kPasswordRegistryKey, 0, nullptr,
                                  platform::REG_OPTION_NON_VOLATILE, platform::KEY_ALL_ACCESS_0x3F,
                                  nullptr, &key, &disposition);
        platform::RegCloseKey(key);
    }

    std::string root_;
    WizardSettings settings_;
};

void BM_WholeSave(benchmark::State& state) {
    const int programs = static_cast<int>(state.range(0));
    BenchInstall install(programs);
    for (auto _ : state) {
        saveStartupWizardSettings(install.settings());
    }
    // A save that failed would be measuring the wrong thing.
    std::string written;
    platform::ReadWholeFile(ProgramControlFilePath, written);
    if (!install.log().empty() ||
        test::SectionHeaders(written).size() != static_cast<std::size_t>(programs)) {
        state.SkipWithError("the save did not write every program");
    }
    state.SetItemsProcessed(state.iterations() * programs);
    state.counters["cpu_per_program"] =
        benchmark::Counter(static_cast<double>(programs) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_WholeSave)->Arg(3)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace rg

BENCHMARK_MAIN();
