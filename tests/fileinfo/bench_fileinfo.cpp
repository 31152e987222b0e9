// Speed of the file property reader: every file of a folder of PE files (files per second),
// and one 1 GB program with its version resource at the start against a 100 kB one (the
// reader must read only headers and the resource, so both cost the same).
//
// The folder holds the test fixtures, copied 10 times, and the PE files that Debian's mingw-w64
// packages install under /usr; it is made under /tmp and removed at the end, as is the
// sparse 1 GB file.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "fileinfo/file_properties.h"
#include "platform/os/shell_icon.h"

namespace {

namespace fs = std::filesystem;

const fs::path kWorkFolder = "/tmp/rg_bench_fileinfo";

std::vector<fs::path> SystemPeFiles() {
    std::vector<fs::path> found;
    for (const char* root : {"/usr/lib/gcc/x86_64-w64-mingw32", "/usr/lib/gcc/i686-w64-mingw32",
                             "/usr/x86_64-w64-mingw32/lib", "/usr/i686-w64-mingw32/lib"}) {
        std::error_code error;
        for (auto it = fs::recursive_directory_iterator(root, error);
             !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
            const std::string ext = it->path().extension().string();
            if (it->is_regular_file() && (ext == ".dll" || ext == ".exe")) {
                found.push_back(it->path());
            }
        }
    }
    return found;
}

// Builds the folder once; returns its files.
const std::vector<std::string>& PeFolder() {
    static const std::vector<std::string> files = [] {
        fs::remove_all(kWorkFolder);
        fs::create_directories(kWorkFolder / "pe");
        std::vector<std::string> list;
        int serial = 0;
        for (int copy = 0; copy < 10; ++copy) {
            for (const auto& entry : fs::directory_iterator(RG_PE_FIXTURES)) {
                if (entry.path().extension() == ".exe") {
                    const fs::path target =
                        kWorkFolder / "pe" /
                        (std::to_string(serial++) + "_" + entry.path().filename().string());
                    fs::copy_file(entry.path(), target);
                    list.push_back(target.string());
                }
            }
        }
        for (const fs::path& system : SystemPeFiles()) {
            const fs::path target =
                kWorkFolder / "pe" / (std::to_string(serial++) + "_" + system.filename().string());
            fs::copy_file(system, target);
            list.push_back(target.string());
        }
        return list;
    }();
    return files;
}

void BM_PropertiesOfFolder(benchmark::State& state) {
    const auto& files = PeFolder();
    for (auto _ : state) {
        for (const std::string& file : files) {
            rg::getFileProperty(file);
            benchmark::DoNotOptimize(rg::fileProperties().FileDescription.data());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * files.size()));
    state.counters["files"] = static_cast<double>(files.size());
}
BENCHMARK(BM_PropertiesOfFolder)->Unit(benchmark::kMillisecond);

void BM_SmallIconsOfFolder(benchmark::State& state) {
    const auto& files = PeFolder();
    for (auto _ : state) {
        for (const std::string& file : files) {
            benchmark::DoNotOptimize(rg::platform::LookUpSmallIcon(file));
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * files.size()));
}
BENCHMARK(BM_SmallIconsOfFolder)->Unit(benchmark::kMillisecond);

// A copy of the full fixture grown (sparse) to `size` bytes.
std::string GrownProgram(const std::string& name, off_t size) {
    PeFolder();
    const fs::path target = kWorkFolder / name;
    fs::copy_file(std::string(RG_PE_FIXTURES) + "/full.exe", target,
                  fs::copy_options::overwrite_existing);
    const int fd = ::open(target.c_str(), O_WRONLY);
    if (fd < 0 || ::ftruncate(fd, size) != 0) {
        std::abort();
    }
    ::close(fd);
    return target.string();
}

void BM_OneProgram(benchmark::State& state) {
    const off_t size = static_cast<off_t>(state.range(0));
    const std::string file = GrownProgram("grown_" + std::to_string(size) + ".exe", size);
    for (auto _ : state) {
        rg::getFileProperty(file);
        if (rg::fileProperties().FileDescription != "Sample Tool") {
            state.SkipWithError("the version resource was not read");
            break;
        }
    }
    fs::remove(file);
    state.SetLabel(rg::fileProperties().SizeText);
}
BENCHMARK(BM_OneProgram)->Arg(100 * 1024)->Arg(1024 * 1024 * 1024)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(kWorkFolder);
    return 0;
}
