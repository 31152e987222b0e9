// Message boxes on screen: the handler behind platform/message_box.h that shows a real modal
// QMessageBox with the icon, buttons, default button, title and text that the style asks for.
#pragma once

#include <QMessageBox>
#include <memory>
#include <string>

namespace rg::platform::qt {

// Builds the box for the MessageBoxA style bits (texts in code page 1252), not yet shown.
std::unique_ptr<QMessageBox> BuildMessageBox(const std::string& text, const std::string& title,
                                             unsigned style);

// Shows the box modally (a nested event loop) and returns IDOK, IDYES, IDNO or IDCANCEL.
int ShowQtMessageBox(const std::string& text, const std::string& title, unsigned style);

// Installs ShowQtMessageBox as the program's message box handler.
void InstallQtMessageBoxHandler();

}  // namespace rg::platform::qt
