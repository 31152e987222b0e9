// The one seam through which every message box of the program passes. The Qt front end installs
// a handler that shows a real modal box; tests install one that answers by script. Without a
// handler the box is written to standard error and answered with its default button.
#pragma once

#include <functional>
#include <string>

namespace rg::platform {

// Style bits, as MessageBoxA takes them.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_ICONHAND = 0x10;  // the critical-stop icon
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_DEFBUTTON1 = 0x0;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_TYPEMASK = 0xF;
constexpr unsigned MB_ICONMASK = 0xF0;
constexpr unsigned MB_DEFMASK = 0xF00;

// Answers.
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Texts are code page 1252 byte strings.
using MessageBoxHandler =
    std::function<int(const std::string& text, const std::string& title, unsigned style)>;

// Installs the handler and returns the one it replaces.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

// Shows a modal message box and returns the button the user chose.
int MessageBoxA(const std::string& text, const std::string& title, unsigned style);

}  // namespace rg::platform
