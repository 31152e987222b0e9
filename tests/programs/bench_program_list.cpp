// Page 6's list at scale: adding 1,000 programs (file properties, icon, duplicate check), then
// removing 500 selected ones at once.
#include <benchmark/benchmark.h>

#include "platform/os/file_system.h"
#include "platform/ui/message_box.h"
#include "programs/program_list.h"
#include "tests/support/temp_folder.h"
#include "wizard/page_layout.h"

namespace rg::test {
namespace {

constexpr std::size_t kPrograms = 1000;

// The page with its list; AddAll adds 1,000 programs, their files made once.
struct Page6 {
    platform::Form form{"frmStartupMain"};
    ProgramList list{{(wizard::AddPage6(form).setVisible(true), form.Get("lvwPrograms")),
                      form.Get("cmdAdd"), form.Get("cmdRemove"),
                      wizard::AddPermissionMenu(form, "mnuAccess", "Access"),
                      wizard::AddPermissionMenu(form, "mnuServer", "Server")}};

    void AddAll() {
        static const TempFolder folder("rg-bench");
        platform::OverrideAppPathForTesting(folder.path());  // an error log, if any, goes here
        for (std::size_t i = 0; i < kPrograms; ++i) {
            const std::string name = "Program " + std::to_string(i * 7919 % kPrograms) + ".exe";
            list.AddProgramToList(TempFolder::ReadFile(folder / name).empty()
                                      ? folder.Write(name, name)
                                      : folder / name);
        }
    }
};

// Each round adds the 1,000 programs to a fresh page, then removes every second one at once.
void BM_Add1000Remove500(benchmark::State& state) {
    platform::SetMessageBoxHandler([](auto&&...) { return platform::IDYES; });
    std::vector<std::size_t> every2nd;
    for (std::size_t i = 0; i < kPrograms; i += 2) {
        every2nd.push_back(i);
    }
    for (auto _ : state) {
        Page6 page;
        page.AddAll();
        page.form.SelectListRows(page.list.list(), every2nd, 0);
        page.form.Click(page.form.Get("cmdRemove"));
        if (page.list.list().list().count() != kPrograms / 2) {
            state.SkipWithError("the removal did not remove 500 rows");
        }
    }
    platform::SetMessageBoxHandler({});
}
BENCHMARK(BM_Add1000Remove500)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace rg::test

BENCHMARK_MAIN();
