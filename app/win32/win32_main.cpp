// ravelgard-wizard.exe: the Windows front end. Installs the on-screen window system and the
// message boxes, then hands over to the start-up sequence, which opens the wizard window.
#include <memory>

#include "platform/ui/window_system.h"
#include "platform/win32ui/win32_message_box.h"
#include "platform/win32ui/win32_window_system.h"
#include "startup/startup.h"
#include "wizard/startup_main_form.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_LISTVIEW_CLASSES;
    ::InitCommonControlsEx(&controls);
    rg::platform::win32ui::InstallWin32MessageBoxHandler();

    // The form outlives its window: the window system goes first.
    std::unique_ptr<rg::StartupMainForm> wizard;
    rg::platform::win32ui::Win32WindowSystem windowSystem([] { ::PostQuitMessage(0); });
    rg::platform::SetWindowSystem(&windowSystem);

    rg::Main([&wizard]() -> rg::platform::Form& {
        if (!wizard) {
            wizard = std::make_unique<rg::StartupMainForm>();
        }
        return *wizard;
    });
    const int exitCode = windowSystem.HasOpenWindows() ? windowSystem.RunMessageLoop() : 0;
    rg::platform::SetWindowSystem(nullptr);
    return exitCode;
}
