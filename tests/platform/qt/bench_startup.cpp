// Start-up time: from starting the process to the first paint of its window, for the wizard
// (on a fresh demo installation, no password) and for a bare Qt dialog. Both run on the
// offscreen platform; each iteration starts one process and waits for its "shown" line.
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "startup/password_store.h"

extern char** environ;

namespace {

// A machine prefix with the password file of a fresh installation.
std::string DemoPrefix() {
    static const std::string prefix = [] {
        const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                          ("rg-bench-startup-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir / "system32");
        std::ofstream(dir / "system32" / "RVPSD.SYS", std::ios::binary)
            << rg::PasswordFileLine("") << "\r\n";
        return dir.string();
    }();
    return prefix;
}

// Starts the program and returns the seconds until it wrote its first line; -1 on failure.
double TimeToShown(const char* program) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    char* argv[] = {const_cast<char*>(program), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, program, &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    char buffer[64];
    const ssize_t got = spawned == 0 ? read(pipeFds[0], buffer, sizeof buffer) : -1;
    const auto end = std::chrono::steady_clock::now();
    close(pipeFds[0]);
    if (spawned == 0) {
        waitpid(child, nullptr, 0);
    }
    return got > 0 ? std::chrono::duration<double>(end - start).count() : -1;
}

void Measure(benchmark::State& state, const char* program) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("RAVELGARD_EXIT_WHEN_SHOWN", "1", 1);
    setenv("RAVELGARD_PREFIX", DemoPrefix().c_str(), 1);
    for (auto _ : state) {
        const double seconds = TimeToShown(program);
        if (seconds < 0) {
            state.SkipWithError("the program did not report its window");
            break;
        }
        state.SetIterationTime(seconds);
    }
}

void BM_WizardStartup(benchmark::State& state) {
    Measure(state, RG_WIZARD_EXE);
}

void BM_BareQtWindowStartup(benchmark::State& state) {
    Measure(state, RG_BARE_EXE);
}

BENCHMARK(BM_WizardStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_BareQtWindowStartup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace

BENCHMARK_MAIN();
