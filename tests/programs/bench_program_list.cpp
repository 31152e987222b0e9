// Page 6's list at scale: adding 1,000 programs (file properties, icon, duplicate check), sorting
// them by a header click, and removing 500 selected ones at once (the question names 16).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "platform/os/file_system.h"
#include "platform/ui/message_box.h"
#include "programs/program_list.h"
#include "wizard/page_layout.h"

namespace {

constexpr int kPrograms = 1000;

// 1,000 small files with distinct names, made once for all runs.
const std::vector<std::string>& ProgramFiles() {
    static const std::vector<std::string> files = [] {
        std::string folder = (std::filesystem::temp_directory_path() / "rg-bench-XXXXXX").string();
        if (mkdtemp(folder.data()) == nullptr) {
            std::abort();
        }
        rg::platform::OverrideAppPathForTesting(folder);  // an error log, if any, goes here
        std::vector<std::string> paths;
        for (int i = 0; i < kPrograms; ++i) {
            // Names in an order unlike their sorted one.
            const std::string path =
                folder + "/Program " + std::to_string((i * 7919) % kPrograms) + ".exe";
            std::ofstream(path) << "program " << i;
            paths.push_back(path);
        }
        return paths;
    }();
    return files;
}

struct Page6 {
    rg::platform::Form form{"frmStartupMain"};
    std::unique_ptr<rg::ProgramList> list;

    Page6() {
        rg::wizard::AddPage6(form).setVisible(true);
        auto& access = rg::wizard::AddPermissionMenu(form, "mnuAccess", "Access");
        auto& server = rg::wizard::AddPermissionMenu(form, "mnuServer", "Server");
        list = std::make_unique<rg::ProgramList>(rg::ProgramListControls{
            form.Get("lvwPrograms"), form.Get("cmdAdd"), form.Get("cmdRemove"), access, server});
    }
    void AddAll() {
        for (const std::string& path : ProgramFiles()) {
            list->AddProgramToList(path);
        }
    }
};

void BM_Add1000Programs(benchmark::State& state) {
    ProgramFiles();
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page6>();
        state.ResumeTiming();
        page->AddAll();
        benchmark::DoNotOptimize(page->list->list().list().count());
        state.PauseTiming();
        page.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Add1000Programs)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Sort1000Programs(benchmark::State& state) {
    Page6 page;
    page.AddAll();
    rg::platform::Control& list = page.list->list();
    int column = 0;
    for (auto _ : state) {
        page.form.ColumnClick(list, column);  // each click sorts anew
        column = (column + 1) % 3;
    }
}
BENCHMARK(BM_Sort1000Programs)->Unit(benchmark::kMillisecond)->Iterations(30);

void BM_Remove500Programs(benchmark::State& state) {
    std::size_t promptLines = 0;
    rg::platform::SetMessageBoxHandler([&](const std::string& text, const std::string&, unsigned) {
        promptLines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        return rg::platform::IDYES;
    });
    for (auto _ : state) {
        state.PauseTiming();
        auto page = std::make_unique<Page6>();
        page->AddAll();
        std::vector<std::size_t> every2nd;
        for (std::size_t i = 0; i < kPrograms; i += 2) {
            every2nd.push_back(i);
        }
        page->form.SelectListRows(page->list->list(), every2nd, 0);
        state.ResumeTiming();
        page->form.Click(page->form.Get("cmdRemove"));
        state.PauseTiming();
        if (page->list->list().list().count() != kPrograms / 2) {
            state.SkipWithError("the removal did not remove 500 rows");
        }
        page.reset();
        state.ResumeTiming();
    }
    state.counters["prompt_lines"] = static_cast<double>(promptLines);
    rg::platform::SetMessageBoxHandler({});
}
BENCHMARK(BM_Remove500Programs)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
