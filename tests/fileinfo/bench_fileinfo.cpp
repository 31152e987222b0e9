// Speed of the file property reader and the small-icon lookup over the PE fixtures (files per
// second), and of one program grown (sparse) to 1 GB against the same at 100 kB: the reader
// reads only headers and resources, so both must cost the same.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "fileinfo/file_properties.h"
#include "platform/os/shell_icon.h"

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
            if (state.range(0) == 0) {
                rg::getFileProperty(file);
            } else {
                benchmark::DoNotOptimize(rg::platform::LookUpSmallIcon(file));
            }
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * files.size()));
    state.SetLabel(state.range(0) == 0 ? "properties" : "small icons");
}
BENCHMARK(BM_Fixtures)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_OneProgram(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / "rg_bench_fileinfo.exe";
    fs::copy_file(RG_PE_FIXTURES "/full.exe", file, fs::copy_options::overwrite_existing);
    fs::resize_file(file, static_cast<std::uintmax_t>(state.range(0)));
    for (auto _ : state) {
        rg::getFileProperty(file.string());
        if (rg::fileProperties().FileDescription != "Sample Tool") {
            state.SkipWithError("the version resource was not read");
            break;
        }
    }
    fs::remove(file);
}
BENCHMARK(BM_OneProgram)->Arg(100 << 10)->Arg(1 << 30)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace rg::test

BENCHMARK_MAIN();
