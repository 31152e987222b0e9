#include "platform/ui/window_system.h"

#include <utility>

#include "platform/ui/form.h"

namespace rg::platform {
namespace {

// Used when no front end is installed (tools, benchmarks): nothing is drawn, a modal loop
// returns at once (a login prompt shown this way is therefore refused), focus is immediate.
class HeadlessWindowSystem final : public WindowSystem {
  public:
    void ShowModeless(Form&) override {}
    void RunModal(Form&) override {}
    void FormUnloaded(Form&) override {}
    void SetFocus(Form& form, Control& control) override { form.GotFocus(control); }
    void SelectAllText(Form&, Control&) override {}
};

WindowSystem*& Installed() {
    static WindowSystem* installed = nullptr;
    return installed;
}

}  // namespace

void WindowSystem::PopupMenu(Form&, Control&, const Control&, int, int) {}

bool WindowSystem::ListCellOrigin(Form&, const Control&, int, int, int&, int&) {
    return false;
}

void WindowSystem::SubItemHitTest(Form&, const Control&, LvHitTestInfo& info) {
    info.flags = LVHT_NOWHERE;
    info.iItem = -1;
    info.iSubItem = -1;
}

std::optional<std::string> WindowSystem::ShowOpenFileDialog(Form&, const OpenFileRequest&) {
    return std::nullopt;
}

WindowSystem* SetWindowSystem(WindowSystem* windowSystem) {
    return std::exchange(Installed(), windowSystem);
}

WindowSystem& CurrentWindowSystem() {
    static HeadlessWindowSystem headless;
    WindowSystem* installed = Installed();
    return installed != nullptr ? *installed : headless;
}

}  // namespace rg::platform
