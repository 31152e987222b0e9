#include "platform/win32ui/win32_message_box.h"

#include "platform/ui/message_box.h"

#include <windows.h>

namespace rg::platform::win32ui {

// The style bits and answers of the program's boxes are MessageBoxA's own. A box without an
// owner window is modal to the whole program.
int ShowWin32MessageBox(const std::string& text, const std::string& title, unsigned style) {
    HWND owner = ::GetActiveWindow();
    const UINT modality = owner != nullptr ? MB_APPLMODAL : MB_TASKMODAL;
    return ::MessageBoxA(owner, text.c_str(), title.c_str(), style | modality);
}

void InstallWin32MessageBoxHandler() {
    SetMessageBoxHandler(&ShowWin32MessageBox);
}

}  // namespace rg::platform::win32ui
