// A registry file as large as a real machine's HKEY_LOCAL_MACHINE: N sibling keys of one value
// each. Reading (which finds each key by name as it goes) and writing must grow linearly with N.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/registry/registry_parser.h"
#include "platform/registry/registry_writer.h"

namespace {

std::string FileWithSiblings(benchmark::State& state) {
    state.SetComplexityN(state.range(0));
    std::string text = "REGEDIT4\r\n\r\n";
    for (int n = 0; n < state.range(0); ++n) {
        text += "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Key" + std::to_string(n) +
                "]\r\n\"Value\"=\"data\"\r\n\r\n";
    }
    return text;
}

void Parse(benchmark::State& state) {
    const std::string text = FileWithSiblings(state);
    for (auto _ : state) {
        benchmark::DoNotOptimize(rg::platform::ParseRegistryFile(text, "HKEY_LOCAL_MACHINE"));
    }
}

void Write(benchmark::State& state) {
    const auto root =
        rg::platform::ParseRegistryFile(FileWithSiblings(state), "HKEY_LOCAL_MACHINE");
    for (auto _ : state) {
        benchmark::DoNotOptimize(rg::platform::SerializeRegistryFile(*root, "HKEY_LOCAL_MACHINE"));
    }
}

void Sizes(benchmark::internal::Benchmark* sizes) {
    sizes->RangeMultiplier(10)->Range(10'000, 1'000'000)->Unit(benchmark::kMillisecond);
    sizes->Complexity();
}

}  // namespace

BENCHMARK(Parse)->Apply(Sizes);
BENCHMARK(Write)->Apply(Sizes);
BENCHMARK_MAIN();
