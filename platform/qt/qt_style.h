// The look of the program's windows: Qt's Fusion style, close to the classic Windows dialogs the
// layout was made for, with plain text buttons in message boxes as Windows draws them.
#pragma once

class QStyle;

namespace rg::platform::qt {

// A new style object; QApplication::setStyle takes ownership.
QStyle* CreateWizardStyle();

}  // namespace rg::platform::qt
