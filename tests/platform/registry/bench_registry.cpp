// A registry file as large as a real machine's HKEY_LOCAL_MACHINE: N sibling keys of one value
// each. Reading, finding every key by name and writing must grow linearly with N.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

namespace {

std::string KeyName(int n) {
    return "Key" + std::to_string(n);
}

std::string FileWithSiblings(int count) {
    std::string text = "REGEDIT4\r\n\r\n";
    for (int n = 0; n < count; ++n) {
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\" + KeyName(n) + "]\r\n\"Value\"=\"data\"\r\n\r\n";
    }
    return text;
}

void Parse(benchmark::State& state) {
    const std::string text = FileWithSiblings(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto root = rg::platform::ParseRegistryFile(text, "HKEY_LOCAL_MACHINE");
        benchmark::DoNotOptimize(root);
    }
    state.SetComplexityN(state.range(0));
}

void FindEveryKey(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    const auto root =
        rg::platform::ParseRegistryFile(FileWithSiblings(count), "HKEY_LOCAL_MACHINE");
    const rg::platform::RegistryKey* software = root->FindSubkey("software");
    for (auto _ : state) {
        for (int n = 0; n < count; ++n) {
            benchmark::DoNotOptimize(software->FindSubkey(KeyName(n)));
        }
    }
    state.SetComplexityN(state.range(0));
}

void Write(benchmark::State& state) {
    const auto root = rg::platform::ParseRegistryFile(
        FileWithSiblings(static_cast<int>(state.range(0))), "HKEY_LOCAL_MACHINE");
    for (auto _ : state) {
        benchmark::DoNotOptimize(rg::platform::SerializeRegistryFile(*root, "HKEY_LOCAL_MACHINE"));
    }
    state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(Parse)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(FindEveryKey)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK(Write)
    ->RangeMultiplier(10)
    ->Range(10'000, 1'000'000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();
BENCHMARK_MAIN();
