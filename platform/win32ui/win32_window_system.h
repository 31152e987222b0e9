// The window system on screen under Windows: one dialog window per shown form, modeless
// windows, modal loops (the other windows disabled meanwhile), focus and the select-all key
// strokes, pop-up menus, the list view's hit test and the open-file dialog, as
// platform/ui/window_system.h asks; and the program's message loop, in which the dialog manager
// sees every message.
#pragma once

#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/ui/window_system.h"
#include "platform/win32ui/win32_form_window.h"

namespace rg::platform::win32ui {

class Win32WindowSystem final : public WindowSystem {
  public:
    // Called when the last window has gone (the program's message loop should end then).
    explicit Win32WindowSystem(std::function<void()> onLastFormUnloaded = {});
    ~Win32WindowSystem() override;

    void ShowModeless(Form& form) override;
    void RunModal(Form& form) override;
    void FormUnloaded(Form& form) override;
    void SetFocus(Form& form, Control& control) override;
    void SelectAllText(Form& form, Control& textBox) override;
    void PopupMenu(Form& form, Control& menu, const Control& anchor, int x, int y) override;
    void SubItemHitTest(Form& form, const Control& list, LvHitTestInfo& info) override;
    bool ListCellOrigin(Form& form, const Control& list, int row, int column, int& x,
                        int& y) override;
    std::optional<std::string> ShowOpenFileDialog(Form& form,
                                                  const OpenFileRequest& request) override;

    // The window of a shown form, or nullptr.
    FormWindow* WindowFor(const Form& form) const;
    bool HasOpenWindows() const { return !windows_.empty(); }

    // Runs the message loop until WM_QUIT; returns its exit code.
    int RunMessageLoop();

  private:
    FormWindow& EnsureWindow(Form& form);
    void Present(Form& form, FormWindow& window);
    // Enables the windows the modal form disabled, once.
    void EnableDisabledBy(const Form& form);
    // One message, given to the dialog manager of the active form first. False on WM_QUIT.
    bool PumpOne();

    std::function<void()> onLastFormUnloaded_;
    std::unordered_map<const Form*, std::unique_ptr<FormWindow>> windows_;
    // Windows of unloaded forms: an unload may run inside a handler of the window itself, so
    // the window goes at the next message, when no handler of it runs any more.
    std::vector<std::unique_ptr<FormWindow>> closing_;
    int quitCode_ = 0;
    std::unordered_map<const Form*, bool> modalDone_;
    // The windows a modal form disabled; enabled again before its own window hides, so that
    // Windows hands the activation back to them (as EndDialog does).
    std::unordered_map<const Form*, std::vector<HWND>> disabledBy_;
};

// Converts the filter of the open-file dialog, "text|patterns|text|patterns", into the list
// GetOpenFileNameA takes: the same parts, each ended by a NUL, and one more NUL at the end.
std::string OpenFileFilter(std::string_view filter);

}  // namespace rg::platform::win32ui
