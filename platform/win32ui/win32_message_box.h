// Message boxes on screen under Windows: MessageBoxA itself, modal to the active window.
#pragma once

#include <string>

namespace rg::platform::win32ui {

int ShowWin32MessageBox(const std::string& text, const std::string& title, unsigned style);
// Routes every message box of the program to ShowWin32MessageBox.
void InstallWin32MessageBoxHandler();

}  // namespace rg::platform::win32ui
