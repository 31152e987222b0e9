// Speed of the file property reader over the PE fixtures (files per second), and of one program
// grown (sparse) to 1 GB against the same at 100 kB: the reader reads only headers and
// resources, so both must cost the same.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "fileinfo/file_properties.h"

namespace rg::test {
namespace {

namespace fs = std::filesystem;

void BM_Fixtures(benchmark::State& state) {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(RG_PE_FIXTURES)) {
        files.push_back(entry.path().string());
    }
    for (auto _ : state) {
        for (const std::string& file : files) {
            getFileProperty(file);
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * files.size()));
}
BENCHMARK(BM_Fixtures)->Unit(benchmark::kMicrosecond);

void BM_OneProgram(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "rg_bench_fileinfo.exe";
    fs::copy_file(RG_PE_FIXTURES "/full.exe", file, fs::copy_options::overwrite_existing);
    fs::resize_file(file, static_cast<std::uintmax_t>(state.range(0)));
    for (auto _ : state) {
        getFileProperty(file.string());
    }
    if (fileProperties().FileDescription != "Sample Tool") {
        state.SkipWithError("the version resource was not read");
    }
    fs::remove(file);
}
BENCHMARK(BM_OneProgram)->Arg(100 << 10)->Arg(1 << 30)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rg::test

BENCHMARK_MAIN();
