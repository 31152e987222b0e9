#include "platform/win32ui/win32_window_system.h"

#include <utility>
#include <vector>

#include "platform/win32ui/win32_geometry.h"
#include "platform/win32ui/win32_list_view.h"

#include <windows.h>

#include <commdlg.h>

namespace rg::platform::win32ui {
namespace {

// A new window opens in the middle of its monitor's work area, as the program's windows do.
void CenterOnMonitor(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    ::SetWindowPos(window, nullptr, work.left + (work.right - work.left - width) / 2,
                   work.top + (work.bottom - work.top - height) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

std::string OpenFileFilter(std::string_view filter) {
    std::string list;
    std::size_t start = 0;
    while (start <= filter.size()) {
        const std::size_t bar = filter.find('|', start);
        const std::size_t end = bar == std::string_view::npos ? filter.size() : bar;
        list.append(filter.substr(start, end - start));
        list.push_back('\0');
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    list.push_back('\0');
    return list;
}

Win32WindowSystem::Win32WindowSystem(std::function<void()> onLastFormUnloaded)
    : onLastFormUnloaded_(std::move(onLastFormUnloaded)) {}

Win32WindowSystem::~Win32WindowSystem() = default;

FormWindow& Win32WindowSystem::EnsureWindow(Form& form) {
    std::unique_ptr<FormWindow>& window = windows_[&form];
    if (!window) {
        HWND owner = ::GetActiveWindow();
        window = std::make_unique<FormWindow>(form, owner);
        CenterOnMonitor(window->window());
    }
    return *window;
}

FormWindow* Win32WindowSystem::WindowFor(const Form& form) const {
    const auto found = windows_.find(&form);
    return found == windows_.end() ? nullptr : found->second.get();
}

// A shown form gives the focus to its first control that takes it, as Windows forms do.
void Win32WindowSystem::Present(Form& form, FormWindow& window) {
    ::ShowWindow(window.window(), SW_SHOW);
    ::SetForegroundWindow(window.window());
    if (Control* first = form.FirstFocusable()) {
        if (HWND child = window.WindowFor(*first)) {
            ::SetFocus(child);
        }
    }
}

void Win32WindowSystem::ShowModeless(Form& form) {
    Present(form, EnsureWindow(form));
}

// The other windows stay visible but take no input until the form is unloaded.
void Win32WindowSystem::RunModal(Form& form) {
    FormWindow& window = EnsureWindow(form);
    std::vector<HWND>& disabled = disabledBy_[&form];
    for (const auto& [other, otherWindow] : windows_) {
        if (other != &form && ::IsWindowEnabled(otherWindow->window())) {
            ::EnableWindow(otherWindow->window(), FALSE);
            disabled.push_back(otherWindow->window());
        }
    }
    Present(form, window);
    modalDone_[&form] = !form.loaded();
    while (!modalDone_[&form] && PumpOne()) {
    }
    modalDone_.erase(&form);
    EnableDisabledBy(form);
}

void Win32WindowSystem::EnableDisabledBy(const Form& form) {
    const auto found = disabledBy_.find(&form);
    if (found == disabledBy_.end()) {
        return;
    }
    for (HWND other : found->second) {
        if (::IsWindow(other)) {
            ::EnableWindow(other, TRUE);
        }
    }
    disabledBy_.erase(found);
}

void Win32WindowSystem::FormUnloaded(Form& form) {
    const auto found = windows_.find(&form);
    if (found != windows_.end()) {
        std::unique_ptr<FormWindow> window = std::move(found->second);
        windows_.erase(found);
        EnableDisabledBy(form);  // before the hide, which activates the window below
        window->CloseAfterUnload();
        closing_.push_back(std::move(window));
        ::PostMessageA(nullptr, WM_NULL, 0, 0);  // wakes the loop that destroys it
    }
    if (const auto modal = modalDone_.find(&form); modal != modalDone_.end()) {
        modal->second = true;
    }
    if (windows_.empty() && onLastFormUnloaded_) {
        onLastFormUnloaded_();
    }
}

void Win32WindowSystem::SetFocus(Form& form, Control& control) {
    FormWindow* window = WindowFor(form);
    if (HWND child = window != nullptr ? window->WindowFor(control) : nullptr) {
        ::SetFocus(child);
    }
}

// The key strokes Home, Shift+End. Posted, so that a click that put the focus into the box has
// placed its caret before the selection is made, as the sent key strokes do on Windows.
void Win32WindowSystem::SelectAllText(Form& form, Control& textBox) {
    FormWindow* window = WindowFor(form);
    if (HWND edit = window != nullptr ? window->WindowFor(textBox) : nullptr) {
        ::PostMessageA(edit, EM_SETSEL, 0, -1);
    }
}

// The menu's items are the MenuItem controls inside it, in their order; hidden ones are left
// out, the current value is marked. The chosen item is clicked before the call returns.
void Win32WindowSystem::PopupMenu(Form& form, Control& menu, const Control& anchor, int x, int y) {
    FormWindow* window = WindowFor(form);
    HWND anchorWindow = window != nullptr ? window->WindowFor(anchor) : nullptr;
    if (anchorWindow == nullptr) {
        return;
    }
    HMENU popup = ::CreatePopupMenu();
    std::vector<Control*> items;
    for (const auto& control : form.controls()) {
        if (control->container() == &menu && control->kind() == ControlKind::MenuItem &&
            control->visible()) {
            items.push_back(control.get());
            const UINT flags = MF_STRING | (control->enabled() ? MF_ENABLED : MF_GRAYED) |
                               (control->value() ? MF_CHECKED : MF_UNCHECKED);
            ::AppendMenuA(popup, flags, items.size(), control->caption().c_str());
        }
    }
    POINT at{TwipsToPixels(x, window->dpi()), TwipsToPixels(y, window->dpi())};
    ::ClientToScreen(anchorWindow, &at);
    const auto chosen = static_cast<std::size_t>(::TrackPopupMenu(
        popup, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x,
        at.y, 0, window->window(), nullptr));
    ::DestroyMenu(popup);
    if (chosen >= 1 && chosen <= items.size()) {
        form.Click(*items[chosen - 1]);
    }
}

void Win32WindowSystem::SubItemHitTest(Form& form, const Control& list, LvHitTestInfo& info) {
    FormWindow* window = WindowFor(form);
    HWND listWindow = window != nullptr ? window->WindowFor(list) : nullptr;
    if (listWindow == nullptr) {
        info.iItem = -1;
        info.iSubItem = -1;
        info.flags = LVHT_NOWHERE;
        return;
    }
    HitTestList(listWindow, info);
}

bool Win32WindowSystem::ListCellOrigin(Form& form, const Control& list, int row, int column, int& x,
                                       int& y) {
    FormWindow* window = WindowFor(form);
    HWND listWindow = window != nullptr ? window->WindowFor(list) : nullptr;
    return listWindow != nullptr && win32ui::ListCellOrigin(listWindow, row, column, x, y);
}

std::optional<std::string> Win32WindowSystem::ShowOpenFileDialog(Form& form,
                                                                 const OpenFileRequest& request) {
    FormWindow* window = WindowFor(form);
    const std::string filter = OpenFileFilter(request.filter);
    char path[MAX_PATH * 4] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window != nullptr ? window->window() : nullptr;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = sizeof path;
    dialog.lpstrTitle = request.title.c_str();
    dialog.Flags =
        OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&dialog) || path[0] == '\0') {
        return std::nullopt;
    }
    return std::string(path);
}

bool Win32WindowSystem::PumpOne() {
    closing_.clear();
    MSG message{};
    const BOOL got = ::GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
        quitCode_ = static_cast<int>(message.wParam);
        ::PostQuitMessage(quitCode_);  // a nested loop ends, and the loops around it too
        return false;
    }
    HWND active = ::GetActiveWindow();
    for (const auto& [form, window] : windows_) {
        if (window->window() == active && ::IsDialogMessageA(active, &message)) {
            return true;
        }
    }
    ::TranslateMessage(&message);
    ::DispatchMessageA(&message);
    return true;
}

int Win32WindowSystem::RunMessageLoop() {
    while (PumpOne()) {
    }
    closing_.clear();
    return quitCode_;
}

}  // namespace rg::platform::win32ui
